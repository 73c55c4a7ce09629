#pragma once

#include "panel/CelUstawienPortu.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The port settings dialog: four editable lists (rate, data bits, parity,
// stop bits), the device of the port chosen on the panel, and three buttons.
// "Za&stosuj" applies the lists to the port through CelUstawienPortu; the
// parity list is shown but not applied, so the port keeps even parity. The
// four lists start from their initial texts at every opening, whatever was
// applied before; the device list starts from what the port name means now,
// offers the virtual port and the serial devices present at this opening,
// and takes a typed path. A changed device is stored with the apply, and a
// port that is open is reopened on it; a typed path that is no character
// device is refused before anything is applied. For the virtual port the
// dialog shows the link a client opens, with a button that copies it; for a
// network port (raw TCP or RFC 2217) the address it listens at, editable,
// loopback unless the user types another, with a warning when another
// machine could reach it, and a note when the connected client set a line
// other than the controller's.
class TPort : public QDialog {
    Q_OBJECT

public:
    explicit TPort(CelUstawienPortu& cel, QWidget* parent = nullptr);

public slots:
    void Button1Click(); // "&Domyślne"
    void Button2Click(); // "Za&stosuj"
    void Button3Click(); // "&Zamknij"
    void Button4Click(); // "&Kopiuj"

private:
    void ZastosujListy();
    // kVaVirtualDevice or the path typed or chosen in ComboBox5.
    std::string WybraneUrzadzenie() const;
    // The list's entry for a stored value.
    static QString NazwaNaLiscie(const std::string& urzadzenie);
    void PokazSciezkePortu();
    void PokazOstrzezenie();

    CelUstawienPortu& cel_;
    const std::string port_;
    std::string urzadzenie_; // what port_ means, as stored
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QComboBox* ComboBox5; // the device
    QLineEdit* Edit1;     // the virtual port's link, or the network port's address
    QLabel* Ostrzezenie;  // who can reach a network port that is not loopback
    QLabel* KlientSieci;  // the network client's line when it is not the controller's
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
};
