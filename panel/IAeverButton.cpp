#include "panel/IAeverButton.h"

#include "panel/Kolory.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <algorithm>

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

namespace {

QPolygon ObrysPrzycisku(TIAButtonKind kind, QSize rozmiar, int glebokosc) {
    return kind == bkRoundRect
               ? iaever::ObrysZaokraglony(rozmiar.width(), rozmiar.height(), 2 * glebokosc)
               : iaever::ObrysProstokatny(rozmiar.width(), rozmiar.height());
}

} // namespace

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

// The mask and the click test are in the widget's own units; the face is
// built in the screen's pixels from the same outline at the screen's scale,
// so that the bevel and the caption stay sharp at 2x.
void TIAeverButton::ZbudujKsztalt() {
    const QPolygon obrys = ObrysPrzycisku(buttonKind_, size(), buttonDepth_);
    windowRegion_ = iaever::RegionObrysu(obrys);
    focusRegion_ = iaever::RegionObrysu(iaever::ObrysWewnetrzny(obrys, buttonDepth_ + 4));
    setMask(windowRegion_);

    skalaKsztaltu_ = devicePixelRatioF();
    const int glebokosc = qRound(buttonDepth_ * skalaKsztaltu_);
    const QPolygon obrysLica = ObrysPrzycisku(buttonKind_, RozmiarLica(), glebokosc);
    bevel_ = iaever::PodzielFaze(obrysLica, iaever::ObrysWewnetrzny(obrysLica, glebokosc));
    // A frame one widget pixel wide along the inside of the outline.
    const QRegion lico = iaever::RegionObrysu(obrysLica);
    const int k = std::max(1, qRound(skalaKsztaltu_));
    ramka_ = lico - (lico & lico.translated(k, 0) & lico.translated(-k, 0) & lico.translated(0, k) &
                     lico.translated(0, -k));
    ksztaltDla_ = size();
    liceNieaktualne_ = true;
}

QSize TIAeverButton::RozmiarLica() const {
    return (QSizeF(size()) * skalaKsztaltu_).toSize();
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
    // Fixed, as the gradient is: a desktop theme's button text may be light.
    painter.setPen(isEnabled() ? kolory::NapisPrzycisku : kolory::NapisPrzyciskuNieczynnego);
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
    face_ = QImage(RozmiarLica(), QImage::Format_RGB888);
    {
        QPainter painter(&face_);
        // Gradient, caption and focus mark in the widget's units; the bevel
        // and the frame come in the face's own pixels.
        painter.scale(skalaKsztaltu_, skalaKsztaltu_);
        RysujGradient(painter, buttonColor_, buttonColor1_);
        RysujNapis(painter, stan.wcisniety);

        // Each clipped fill in its own saved state: clipping switched off and
        // on again with setClipping would leak the next fill over the face.
        auto wObszarze = [&painter, this](const QRegion& obszar, auto&& rysuj) {
            painter.save();
            painter.resetTransform();
            painter.setClipRegion(obszar);
            painter.scale(skalaKsztaltu_, skalaKsztaltu_);
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
        wObszarze(ramka_, [&] {
            painter.fillRect(rect(), iaever::Ciemniejszy(iaever::Ciemniejszy(buttonColor_)));
        });

        if (stan.skupiony) {
            painter.setPen(QPen(kolory::NapisPrzycisku, 1, Qt::DotLine));
            painter.drawRect(focusRegion_.boundingRect().adjusted(0, 0, -1, -1));
        }
    }
    face_.setDevicePixelRatio(skalaKsztaltu_);
    stanLica_ = stan;
    liceNieaktualne_ = false;
}

void TIAeverButton::paintEvent(QPaintEvent*) {
    // A widget resized while hidden gets its resize event only when shown;
    // a grab before that still needs the shape of the current size. A move
    // to a screen of another scale needs a face of its pixels.
    if (ksztaltDla_ != size() || !qFuzzyCompare(skalaKsztaltu_, devicePixelRatioF()))
        ZbudujKsztalt();
    const StanLica stan = BiezacyStan();
    if (liceNieaktualne_ || stan != stanLica_)
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
