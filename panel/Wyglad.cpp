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

QPalette StalaPaleta(const QColor& tlo, const QColor& tekst) {
    // Buttons and edit fields as the default style draws them.
    QPalette paleta(QColor(0xEF, 0xEF, 0xEF), tlo);
    for (const auto rola : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        paleta.setColor(QPalette::Active, rola, tekst);
        paleta.setColor(QPalette::Inactive, rola, tekst);
    }
    return paleta;
}

void UstawTlo(QWidget& widget, const QColor& kolor, const QColor& tekst) {
    widget.setPalette(StalaPaleta(kolor, tekst));
    widget.setAutoFillBackground(true);
}

QFont CzcionkaPanelu(const QWidget& widget) {
    QFont font = widget.font();
    font.setPixelSize(11);
    return font;
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
