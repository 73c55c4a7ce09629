#include "panel/Wyglad.h"

#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace wyglad {

QFont Czcionka(const QString& rodzina, int rozmiarPx, bool pogrubiona) {
    QFont font;
    font.setFamilies({rodzina, QStringLiteral("DejaVu Sans")});
    font.setPixelSize(rozmiarPx);
    font.setBold(pogrubiona);
    return font;
}

void UstawTlo(QWidget& widget, const QColor& kolor) {
    QPalette paleta = widget.palette();
    paleta.setColor(QPalette::Window, kolor);
    widget.setPalette(paleta);
    widget.setAutoFillBackground(true);
}

void WysrodkujNaEkranie(QWidget& okno) {
    const QScreen* ekran = okno.screen();
    if (ekran == nullptr)
        return;
    QRect ramka = okno.frameGeometry();
    ramka.moveCenter(ekran->availableGeometry().center());
    okno.move(ramka.topLeft());
}

} // namespace wyglad
