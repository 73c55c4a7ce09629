#pragma once

#include "serial/VaTypes.h"

#include <QColor>

#include <exception>
#include <string>

// What the port settings dialog needs of the window that owns the serial
// port. The main window implements it over ComPort, its PWR lamp and its
// standard error report; tests give a fake. Called on the window thread.
class CelUstawienPortu {
public:
    virtual ~CelUstawienPortu() = default;

    virtual bool PortOtwarty() const = 0;
    // The port only: the scan, the mode, the lamps and the receive buffer
    // stay as they are.
    virtual void ZamknijPortSzeregowy() = 0;
    // Opens the port again under the same device name; throws the port's
    // error when the device refuses.
    virtual void OtworzPortSzeregowy() = 0;

    // Line settings of the port: ComPort.SetBaudrate, SetDatabits and
    // SetStopbits. They may throw while the port is open.
    virtual void UstawPredkosc(TVaBaudrate predkosc) = 0;
    virtual void UstawBityDanych(TVaDatabits bity) = 0;
    virtual void UstawBityStopu(TVaStopbits bity) = 0;

    // The port name chosen on the panel ("COM1" or "COM2"): the one whose
    // device the dialog shows and stores.
    virtual std::string WybranyPort() const = 0;
    // What the name means now: kVaVirtualDevice, a network address or a
    // device path.
    virtual std::string UrzadzeniePortu(const std::string& port) const = 0;
    // Stores the device for the name in the user's own settings; the next
    // opening of the port uses it. Throws when the settings cannot be written.
    virtual void UstawUrzadzeniePortu(const std::string& port, const std::string& urzadzenie) = 0;

    // How the network client's line differs from the controller's, for the
    // user to read; empty when it does not or there is none.
    virtual std::string OpisKlientaSieci() const = 0;

    virtual bool SymulatorWlaczony() const = 0;
    virtual void UstawKolorKontrolkiPWR(const QColor& kolor) = 0;

    // The application's standard error report for a failed step.
    virtual void ZglosBlad(const std::exception& blad) = 0;
};
