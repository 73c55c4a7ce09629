#pragma once

// A host link wired to fakes of the port, the front panel and the options,
// with the real memory, program table and scan worker, so frames go in and
// replies come out without a window.

#include "hostlink/Fcs.h"
#include "hostlink/LaczeHost.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
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

class FakePanel : public PanelLacza {
public:
    void UstawKontrolkeRUN(std::uint32_t kolor) override {
        zdarzenia.push_back(kolor == KolorBialy ? "RUN bialy" : "RUN zielony");
    }
    void ZgasKontrolkeERR() override { zdarzenia.emplace_back("ERR zgaszona"); }
    void ZgasWyjscia(int n) override { zdarzenia.push_back("wyjscie " + std::to_string(n)); }
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

// A directory of its own for each test, removed afterwards.
class KatalogTymczasowy {
public:
    KatalogTymczasowy() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string nazwa = "parvolen-hostlink-" + std::string(test->test_suite_name()) + "-" +
                            std::string(test->name()) + "-" + std::to_string(::getpid());
        std::replace(nazwa.begin(), nazwa.end(), '/', '_');
        sciezka_ = std::filesystem::temp_directory_path() / nazwa;
        std::filesystem::remove_all(sciezka_);
        std::filesystem::create_directories(sciezka_);
    }
    ~KatalogTymczasowy() {
        std::error_code blad;
        std::filesystem::remove_all(sciezka_, blad);
    }
    KatalogTymczasowy(const KatalogTymczasowy&) = delete;
    KatalogTymczasowy& operator=(const KatalogTymczasowy&) = delete;
    const std::filesystem::path& sciezka() const { return sciezka_; }

private:
    std::filesystem::path sciezka_;
};

struct Stanowisko {
    explicit Stanowisko(std::filesystem::path plik)
        : plikProgramu(std::move(plik)),
          lacze(pamiec, program, skan, port, panel, konfiguracja, plikProgramu) {
        pamiec.resetZalaczenia();
    }

    // Delivers the characters as one received-characters event and returns
    // everything written in answer, joined.
    std::string Odbierz(std::string_view znaki) {
        const std::size_t przed = port.wyslane.size();
        port.doOdczytu += znaki;
        lacze.ReakcjaNaZnak();
        std::string odpowiedz;
        for (std::size_t i = przed; i < port.wyslane.size(); ++i) {
            odpowiedz += port.wyslane[i];
        }
        return odpowiedz;
    }

    std::filesystem::path plikProgramu;
    plc::Pamiec pamiec;
    plc::TabelaProgramu program;
    FakeWyjscia wyjscia;
    plc::TCyklPracy skan{pamiec, program, [] { return std::uint32_t{0}; }, wyjscia};
    FakePort port;
    FakePanel panel;
    FakeKonfiguracja konfiguracja;
    LaczeHost lacze;
};

// A command frame as the programming software sends it: text, FCS, "*", CR.
inline std::string Polecenie(std::string_view tekst) {
    return RamkaKoncowa(tekst);
}

inline std::vector<std::string> LiniePliku(const std::filesystem::path& plik) {
    std::ifstream wejscie(plik, std::ios::binary);
    std::vector<std::string> linie;
    std::string linia;
    while (std::getline(wejscie, linia)) {
        if (!linia.empty() && linia.back() == '\r') {
            linia.pop_back();
        }
        linie.push_back(linia);
    }
    return linie;
}

} // namespace hostlink::test
