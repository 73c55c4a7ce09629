#pragma once

#include "KluczeKonfiguracji.h"

#include <cstdint>
#include <string>
#include <string_view>

// What the host link needs from the rest of the program. The main window
// implements the panel, the options file the configuration; an adapter wraps
// ComPort. Tests give fakes, so the whole protocol runs without a window.
// Everything here is called on the window thread.
namespace hostlink {

class PortLacza {
public:
    virtual ~PortLacza() = default;
    // All characters waiting, as one string; empty when none wait.
    virtual std::string ReadText() = 0;
    // Queues the text for sending; throws the port's error when it cannot.
    virtual void WriteText(std::string_view tekst) = 0;
};

// The front-panel operations that the protocol and the mode entries use. The
// output lamps are not among them: the host link puts them out through the
// scan worker's own output sink.
class PanelLacza {
public:
    virtual ~PanelLacza() = default;
    // The RUN lamp: lit while a scan runs (MONITOR, RUN), white in PROGRAM.
    virtual void PokazRUN(bool skanDziala) = 0;
    // Mode entries put the ERR lamp out (it shows a scan ended on a bad word).
    virtual void ZgasKontrolkeERR() = 0;
    // IR 000 bits 00-08 from the input switches; SR250 / SR251 from the sliders.
    virtual void OdswiezWejscia() = 0;
    virtual void RegulacjaAnalogowa1() = 0;
    virtual void RegulacjaAnalogowa2() = 0;
    // Receiving: stop TimerKontrolek and light the COMM lamp.
    virtual void ZapalKontrolkeCOMM() = 0;
    // A frame was handled: start TimerKontrolek (80 ms afterglow).
    virtual void UruchomTimerKontrolek() = 0;
};

// Options read from Konfiguracja.ini at the moment of use, with the
// run-time's ReadBool / ReadInteger meaning.
class KonfiguracjaLacza {
public:
    virtual ~KonfiguracjaLacza() = default;
    virtual bool CzytajBool(std::string_view sekcja, std::string_view klucz,
                            bool domyslnie) const = 0;
    virtual int CzytajLiczbe(std::string_view sekcja, std::string_view klucz,
                             int domyslnie) const = 0;

    bool Czytaj(const Opcja<bool>& opcja) const {
        return CzytajBool(opcja.sekcja, opcja.klucz, opcja.domyslnie);
    }
    int Czytaj(const Opcja<int>& opcja) const {
        return CzytajLiczbe(opcja.sekcja, opcja.klucz, opcja.domyslnie);
    }
};

} // namespace hostlink
