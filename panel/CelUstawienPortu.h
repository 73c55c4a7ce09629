#pragma once

#include <QColor>

#include <exception>

// What the port settings dialog needs of the window that owns the serial
// port. The main window implements it over ComPort, its PWR lamp and its
// standard error report; tests give a fake. Called on the window thread.
class CelUstawienPortu {
public:
    // Stop bits as the dialog's list gives them ("15" is 1.5).
    enum class BityStopu { Jeden, Poltora, Dwa };

    virtual ~CelUstawienPortu() = default;

    virtual bool PortOtwarty() const = 0;
    // The port only: the scan, the mode, the lamps and the receive buffer
    // stay as they are.
    virtual void ZamknijPortSzeregowy() = 0;
    // Opens the port again under the same device name; throws the port's
    // error when the device refuses.
    virtual void OtworzPortSzeregowy() = 0;

    // Line settings of the port. The dialog passes only values the port
    // knows: 300, 1200, 2400, 4800, 9600, 19200, 38400, 57600 bits per
    // second and 4 to 8 data bits. They may throw while the port is open.
    virtual void UstawPredkosc(int bitowNaSekunde) = 0;
    virtual void UstawBityDanych(int bity) = 0;
    virtual void UstawBityStopu(BityStopu bity) = 0;

    virtual bool SymulatorWlaczony() const = 0;
    virtual void UstawKolorKontrolkiPWR(const QColor& kolor) = 0;

    // The application's standard error report for a failed step.
    virtual void ZglosBlad(const std::exception& blad) = 0;
};
