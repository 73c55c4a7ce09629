#pragma once

#include "panel/CelUstawienPortu.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// The port settings dialog: four editable lists (rate, data bits, parity,
// stop bits) and three buttons. "Za&stosuj" applies the lists to the port
// through CelUstawienPortu; the parity list is shown but not applied, so
// the port keeps even parity. The lists start from their initial texts at
// every opening, whatever was applied before.
class TPort : public QDialog {
    Q_OBJECT

public:
    explicit TPort(CelUstawienPortu& cel, QWidget* parent = nullptr);

public slots:
    void Button1Click(); // "&Domyślne"
    void Button2Click(); // "Za&stosuj"
    void Button3Click(); // "&Zamknij"

private:
    void ZastosujListy();

    CelUstawienPortu& cel_;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
};
