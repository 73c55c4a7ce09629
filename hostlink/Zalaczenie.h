#pragma once

#include "Interfejsy.h"
#include "LaczeHost.h"

#include "engine/CyklPracy.h"

namespace hostlink {

// What the switch-on and the switch-off need of the window: its files, its
// serial port and its drawing. Every step runs on the window thread.
class KrokiZalaczenia {
public:
    virtual ~KrokiZalaczenia() = default;
    // Program.cpm and DM.cpm into memory; throws when either cannot be read.
    virtual void WczytajPliki() = 0;
    // The switch button offers the switch-off.
    virtual void PokazZalaczanie() = 0;
    // Throws the port's error when it cannot be opened.
    virtual void OtworzPortSzeregowy() = 0;
    virtual void ZamknijPortSzeregowy() = 0;
    // The PWR lamp lit.
    virtual void PokazZasilanie() = 0;
    // The port could not be opened or the start mode could not be entered.
    virtual void ZglosBrakPortu() = 0;
    // The switch button offers the switch-on; the status lamps go out.
    virtual void PokazWylaczenie() = 0;
};

// The order of the switch-on and switch-off steps and their error handling,
// apart from the window that draws them. The switch-off stops the scan and
// waits for it before anything else, so no scan lights a lamp or writes
// memory after the lamps are put out.
class Zalaczenie {
public:
    Zalaczenie(LaczeHost& lacze, plc::WyjsciaSterownika& wyjscia,
               const KonfiguracjaLacza& konfiguracja, KrokiZalaczenia& kroki)
        : lacze_(lacze), wyjscia_(wyjscia), konfiguracja_(konfiguracja), kroki_(kroki) {}

    // A file that cannot be read throws out before anything else is done: the
    // simulator stays off. A port that cannot be opened, or a start mode that
    // cannot be entered, is told to the user and ends in the switch-off.
    void Zalacz();
    void Wylacz();

    bool Zalaczony() const { return zalaczony_; }
    // Switched on with the serial port: it belongs open until the switch-off.
    bool PortWUzyciu() const { return portWUzyciu_; }
    // A switch-on went through in this run: memory holds this run's DM words.
    bool ZalaczonyChocRaz() const { return zalaczonyChocRaz_; }

private:
    LaczeHost& lacze_;
    plc::WyjsciaSterownika& wyjscia_;
    const KonfiguracjaLacza& konfiguracja_;
    KrokiZalaczenia& kroki_;

    bool zalaczony_ = false;
    bool portWUzyciu_ = false;
    bool zalaczonyChocRaz_ = false;
};

} // namespace hostlink
