#pragma once

// The colours of the lamps and of the window as the tests expect them.

#include <QColor>

inline const QColor Projektowy(0xCC, 0xEF, 0xCF);
inline const QColor Zgaszona(0xEE, 0xFE, 0xEE);
inline const QColor ZgaszonaBledu(0xFF, 0xF9, 0xF9);
inline const QColor Czerwona(0xFF, 0x00, 0x00);
inline const QColor Zielona(0x00, 0xFF, 0x00);
inline const QColor Biala(0xFF, 0xFF, 0xFF);
