#include "panel/Lampka.h"

#include <QMouseEvent>
#include <QPainter>

Lampka::Lampka(Ksztalt ksztalt, QColor obrys, QColor kolor, QWidget* rodzic)
    : QWidget(rodzic), ksztalt_(ksztalt), obrys_(obrys), kolor_(kolor) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void Lampka::UstawKolor(QColor kolor) {
    if (kolor == kolor_)
        return;
    kolor_ = kolor;
    update();
}

void Lampka::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit Klikniecie();
    QWidget::mousePressEvent(event);
}

void Lampka::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, ksztalt_ == Ksztalt::Kolo);
    if (obrys_.isValid())
        p.setPen(QPen(obrys_, 1));
    else
        p.setPen(Qt::NoPen);
    p.setBrush(kolor_);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (ksztalt_ == Ksztalt::Kolo)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}
