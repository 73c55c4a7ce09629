#pragma once

// Fakes of what the host link is given: the port, the front panel, the
// options and the output lamps the scan worker drives.

#include "hostlink/Interfejsy.h"

#include "engine/CyklPracy.h"
#include "tests/wspolne/KatalogTymczasowy.h"

#include <atomic>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostlink::test {

class FakePort : public PortLacza {
public:
    std::string ReadText() override { return std::exchange(doOdczytu, {}); }
    void WriteText(std::string_view tekst) override {
        if (pelnaKolejka) {
            throw std::runtime_error("Output buffer is full. Please check comm status.");
        }
        wyslane.emplace_back(tekst);
    }

    std::string doOdczytu;
    std::vector<std::string> wyslane;
    bool pelnaKolejka = false;
};

// Also the output sink the host link puts the lamps out through, so one list
// shows the order of everything the mode entries do to the panel.
class FakePanel : public PanelLacza, public plc::WyjsciaSterownika {
public:
    void PokazRUN(bool skanDziala) override {
        zdarzenia.emplace_back(skanDziala ? "RUN zielony" : "RUN bialy");
    }
    void ZgasKontrolkeERR() override { zdarzenia.emplace_back("ERR zgaszona"); }
    void ZapalWyjscia(int n) override {
        zdarzenia.push_back("wyjscie zapalone " + std::to_string(n));
    }
    void ZgasWyjscia(int n) override { zdarzenia.push_back("wyjscie " + std::to_string(n)); }
    void BladProgramu() override { zdarzenia.emplace_back("blad programu"); }
    void OdswiezWejscia() override { zdarzenia.emplace_back("wejscia"); }
    void RegulacjaAnalogowa1() override { zdarzenia.emplace_back("suwak 1"); }
    void RegulacjaAnalogowa2() override { zdarzenia.emplace_back("suwak 2"); }
    void ZapalKontrolkeCOMM() override { ++zapaleniaCOMM; }
    void UruchomTimerKontrolek() override { ++startyTimera; }

    std::vector<std::string> zdarzenia;
    int zapaleniaCOMM = 0;
    int startyTimera = 0;
};

class FakeKonfiguracja : public KonfiguracjaLacza {
public:
    bool CzytajBool(std::string_view sekcja, std::string_view klucz,
                    bool domyslnie) const override {
        const auto it = wartosci.find(std::string(sekcja) + "/" + std::string(klucz));
        return it == wartosci.end() ? domyslnie : it->second != 0;
    }
    int CzytajLiczbe(std::string_view sekcja, std::string_view klucz,
                     int domyslnie) const override {
        const auto it = wartosci.find(std::string(sekcja) + "/" + std::string(klucz));
        return it == wartosci.end() ? domyslnie : it->second;
    }

    std::map<std::string, int> wartosci;
};

// Output lamps driven by the scan worker, from the worker's thread.
class FakeWyjscia : public plc::WyjsciaSterownika {
public:
    void ZapalWyjscia(int) override { zapalenia.fetch_add(1, std::memory_order_relaxed); }
    void ZgasWyjscia(int) override {}
    void BladProgramu() override {}

    std::atomic<int> zapalenia{0};
};

// The engine tests' temporary directory.
using plc::test::KatalogTymczasowy;

} // namespace hostlink::test
