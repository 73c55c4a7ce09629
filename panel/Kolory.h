#pragma once

#include <QColor>

// Colours of the front panel.
namespace kolory {

inline const QColor Tlo{0xFF, 0xFA, 0xAF};
inline const QColor TloPaska{0xFF, 0xFB, 0xC4};
inline const QColor TloPodpowiedzi{0xFF, 0xFF, 0xE1};
inline const QColor Projektowy{0xCC, 0xEF, 0xCF}; // lamps before their first update
inline const QColor Zgaszona{0xEE, 0xFE, 0xEE};
inline const QColor Czerwona{0xFF, 0x00, 0x00};
inline const QColor Zielona{0x00, 0xFF, 0x00};
inline const QColor Biala{0xFF, 0xFF, 0xFF};
inline const QColor ZgaszonaBledu{0xFF, 0xF9, 0xF9}; // ERR and COMM off
inline const QColor Granat{0x00, 0x00, 0x80};
inline const QColor Morski{0x00, 0x80, 0x80};
inline const QColor Kasztan{0x80, 0x00, 0x00};
inline const QColor PrzyciskWylaczony{0xDA, 0xFF, 0xEC};
inline const QColor PrzyciskWylaczony1{0x9F, 0xFF, 0xCF};
inline const QColor PrzyciskZalaczony{0xFF, 0xEA, 0xEA};
inline const QColor PrzyciskZalaczony1{0xFF, 0xAA, 0xAA};
inline const QColor PrzyciskMaly{0xE8, 0xFE, 0xFF}; // Port, Opcje, Info, Pomoc
inline const QColor PrzyciskMaly1{0xB6, 0xEB, 0xFA};
inline const QColor TloDialogu{0x90, 0xB0, 0xE0};      // Port, Opcje, Info
inline const QColor TloRamkiDialogu{0xB5, 0xD5, 0xF5}; // the sunken frame inside them
inline const QColor NapisPrzycisku{0x00, 0x00, 0x00};  // on the shaped button's light gradient
inline const QColor NapisPrzyciskuNieczynnego{0x80, 0x80, 0x80};

} // namespace kolory
