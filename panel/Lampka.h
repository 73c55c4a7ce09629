#pragma once

#include <QColor>
#include <QWidget>

// A lamp of the front panel: a filled circle or rectangle with an outline.
// Recolouring to the colour it already has costs no drawing.
class Lampka : public QWidget {
    Q_OBJECT
public:
    enum class Ksztalt { Kolo, Prostokat };

    Lampka(Ksztalt ksztalt, QColor obrys, QColor kolor, QWidget* rodzic);

    QColor Kolor() const { return kolor_; }
    void UstawKolor(QColor kolor);

signals:
    void Klikniecie();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Ksztalt ksztalt_;
    QColor obrys_;
    QColor kolor_;
};
