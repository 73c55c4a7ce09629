#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QWidget;

// Small helpers the dialogs share for their look.
namespace wyglad {

// A font of the named family, falling back to DejaVu Sans where the family
// (a Windows font such as Verdana or MS Sans Serif) is not installed.
QFont Czcionka(const QString& rodzina, int rozmiarPx, bool pogrubiona = false);

// The whole palette of a window or control with a fixed background: every
// role derived from the background alone, as under the bare default style, so
// that a dark desktop theme cannot put its light text on it. The three text
// roles (WindowText, ButtonText, Text) take `tekst`; disabled text stays grey.
QPalette StalaPaleta(const QColor& tlo, const QColor& tekst = Qt::black);

// Fills the widget's background with a plain colour and fixes its text
// colours with it (StalaPaleta).
void UstawTlo(QWidget& widget, const QColor& kolor, const QColor& tekst = Qt::black);

// The panel's own font, pinned in pixels: the system font (9 to 12 pt on the
// desktops in use) would not fit the fixed places of the controls.
QFont CzcionkaPanelu(const QWidget& widget);

// Places a top-level window in the middle of its screen's free area.
void WysrodkujNaEkranie(QWidget& okno);

} // namespace wyglad
