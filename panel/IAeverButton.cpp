#include "panel/IAeverButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

TIAeverButton::TIAeverButton(QWidget* parent)
    : QAbstractButton(parent), buttonColor_(palette().color(QPalette::Button)),
      buttonColor1_(palette().color(QPalette::Dark)) {
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
    ZbudujKsztalt();
}

QSize TIAeverButton::sizeHint() const {
    return {75, 25};
}

// Taken at drawing time, so that a font the window sets later still reaches
// the caption.
QFont TIAeverButton::CzcionkaNapisu() const {
    QFont czcionka = font();
    czcionka.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    return czcionka;
}

void TIAeverButton::SetButtonKind(TIAButtonKind kind) {
    if (kind == buttonKind_)
        return;
    buttonKind_ = kind;
    ZbudujKsztalt();
    Zmieniono();
}

void TIAeverButton::SetButtonWidth(int w) {
    resize(w, height());
}

void TIAeverButton::SetButtonHeight(int h) {
    resize(width(), h);
}

void TIAeverButton::SetButtonDepth(int depth) {
    if (depth == buttonDepth_)
        return;
    buttonDepth_ = depth;
    ZbudujKsztalt();
    Zmieniono();
}

void TIAeverButton::SetButtonColor(const QColor& colour) {
    if (colour == buttonColor_)
        return;
    buttonColor_ = colour;
    Zmieniono();
}

void TIAeverButton::SetButtonColor1(const QColor& colour) {
    if (colour == buttonColor1_)
        return;
    buttonColor1_ = colour;
    Zmieniono();
}

void TIAeverButton::SetGradientKind(TIAGradientKind kind) {
    if (kind == gradientKind_)
        return;
    gradientKind_ = kind;
    Zmieniono();
}

void TIAeverButton::SetButton3DKind(TIA3DKind kind) {
    if (kind == button3DKind_)
        return;
    button3DKind_ = kind;
    Zmieniono();
}

void TIAeverButton::SetCaption3dKind(TIACaption3dKind kind) {
    if (kind == caption3dKind_)
        return;
    caption3dKind_ = kind;
    Zmieniono();
}

void TIAeverButton::SetCaptionHAlign(TIAHAlign align) {
    if (align == captionHAlign_)
        return;
    captionHAlign_ = align;
    Zmieniono();
}

void TIAeverButton::SetCaptionVAlign(TIAVAlign align) {
    if (align == captionVAlign_)
        return;
    captionVAlign_ = align;
    Zmieniono();
}

void TIAeverButton::SetShowFocusRGN(bool show) {
    if (show == showFocusRGN_)
        return;
    showFocusRGN_ = show;
    Zmieniono();
}

void TIAeverButton::Zmieniono() {
    liceNieaktualne_ = true;
    update();
}

void TIAeverButton::ZbudujKsztalt() {
    const int w = width();
    const int h = height();
    const QPolygon obrys = buttonKind_ == bkRoundRect
                               ? iaever::ObrysZaokraglony(w, h, 2 * buttonDepth_)
                               : iaever::ObrysProstokatny(w, h);
    windowRegion_ = iaever::RegionObrysu(obrys);
    bevel_ = iaever::PodzielFaze(obrys, iaever::ObrysWewnetrzny(obrys, buttonDepth_));
    focusRegion_ = iaever::RegionObrysu(iaever::ObrysWewnetrzny(obrys, buttonDepth_ + 4));
    setMask(windowRegion_);
    ksztaltDla_ = size();
    liceNieaktualne_ = true;
}

TIAeverButton::StanLica TIAeverButton::BiezacyStan() const {
    return {isDown(), isEnabled(), showFocusRGN_ && hasFocus()};
}

void TIAeverButton::RysujGradient(QPainter& painter, const QColor& gora, const QColor& dol) const {
    if (gradientKind_ == gkNone) {
        painter.fillRect(rect(), gora);
        return;
    }
    // The circular kind is not used by the program's windows; it is drawn
    // as the linear one.
    for (const auto& pas : iaever::PasyGradientu(gora, dol, height()))
        painter.fillRect(0, pas.y, width(), pas.wysokosc, pas.kolor);
}

void TIAeverButton::RysujNapis(QPainter& painter, bool wcisniety) const {
    const auto napis = iaever::RozbierzNapis(text());
    const QFont czcionka = CzcionkaNapisu();
    const QFontMetrics miary(czcionka);
    const QSize rozmiar(miary.horizontalAdvance(napis.tekst), miary.height());
    const QPoint lewyGorny = iaever::PolozenieNapisu(size(), rozmiar, wcisniety);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // Piece by piece, so that only the accelerator is underlined.
    int x = lewyGorny.x();
    const int linia = lewyGorny.y() + miary.ascent();
    auto rysuj = [&](const QString& kawalek, bool podkreslony) {
        if (kawalek.isEmpty())
            return;
        QFont f = czcionka;
        f.setUnderline(podkreslony);
        painter.setFont(f);
        painter.drawText(x, linia, kawalek);
        x += miary.horizontalAdvance(kawalek);
    };
    if (napis.akcelerator < 0) {
        rysuj(napis.tekst, false);
        return;
    }
    rysuj(napis.tekst.left(napis.akcelerator), false);
    rysuj(napis.tekst.mid(napis.akcelerator, 1), true);
    rysuj(napis.tekst.mid(napis.akcelerator + 1), false);
}

void TIAeverButton::ZbudujLico(const StanLica& stan) {
    face_ = QImage(size(), QImage::Format_RGB888);
    QPainter painter(&face_);
    RysujGradient(painter, buttonColor_, buttonColor1_);
    RysujNapis(painter, stan.wcisniety);

    // Each clipped fill in its own saved state: clipping switched off and on
    // again with setClipping would leak the next fill over the whole face.
    auto wObszarze = [&painter](const QRegion& obszar, auto&& rysuj) {
        painter.save();
        painter.setClipRegion(obszar);
        rysuj();
        painter.restore();
    };

    if (button3DKind_ != dkNone) {
        const QColor jasnyGora = iaever::Jasniejszy(buttonColor_);
        const QColor jasnyDol = iaever::Jasniejszy(buttonColor1_);
        const QColor ciemnyGora = iaever::Ciemniejszy(buttonColor_);
        const QColor ciemnyDol = iaever::Ciemniejszy(buttonColor1_);
        const bool swiatloNaJasnej = !stan.wcisniety;
        wObszarze(bevel_.jasna, [&] {
            RysujGradient(painter, swiatloNaJasnej ? jasnyGora : ciemnyGora,
                          swiatloNaJasnej ? jasnyDol : ciemnyDol);
        });
        wObszarze(bevel_.ciemna, [&] {
            RysujGradient(painter, swiatloNaJasnej ? ciemnyGora : jasnyGora,
                          swiatloNaJasnej ? ciemnyDol : jasnyDol);
        });
    }

    // A one-pixel frame along the inside of the window region.
    const QRegion& r = windowRegion_;
    const QRegion wnetrze =
        r & r.translated(1, 0) & r.translated(-1, 0) & r.translated(0, 1) & r.translated(0, -1);
    wObszarze(r - wnetrze, [&] {
        painter.fillRect(rect(), iaever::Ciemniejszy(iaever::Ciemniejszy(buttonColor_)));
    });

    if (stan.skupiony) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(focusRegion_.boundingRect().adjusted(0, 0, -1, -1));
    }
    stanLica_ = stan;
    liceNieaktualne_ = false;
}

void TIAeverButton::paintEvent(QPaintEvent*) {
    // A widget resized while hidden gets its resize event only when shown;
    // a grab before that still needs the shape of the current size.
    if (ksztaltDla_ != size())
        ZbudujKsztalt();
    const StanLica stan = BiezacyStan();
    if (liceNieaktualne_ || stan != stanLica_ || face_.size() != size())
        ZbudujLico(stan);
    QPainter painter(this);
    painter.drawImage(0, 0, face_);
}

void TIAeverButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    ZbudujKsztalt();
}

void TIAeverButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        Zmieniono();
}

bool TIAeverButton::hitButton(const QPoint& pos) const {
    return windowRegion_.contains(pos);
}
