#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// Small helpers the dialogs share for their look.
namespace wyglad {

// A font of the named family, falling back to DejaVu Sans where the family
// (a Windows font such as Verdana or MS Sans Serif) is not installed.
QFont Czcionka(const QString& rodzina, int rozmiarPx, bool pogrubiona = false);

// Fills the widget's background with a plain colour.
void UstawTlo(QWidget& widget, const QColor& kolor);

// Places a top-level window in the middle of its screen's free area.
void WysrodkujNaEkranie(QWidget& okno);

} // namespace wyglad
