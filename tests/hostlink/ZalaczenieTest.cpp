// The switch-on and switch-off sequences without a window: the order of the
// steps, what a failed step leaves, and the state the window reads back.

#include "tests/wspolne/StanowiskoHosta.h"

#include "hostlink/Zalaczenie.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace hostlink::test {
namespace {

// The window's steps, recorded in the same list as the panel's and the output
// lamps', so one list shows the whole order.
class FakeKroki : public KrokiZalaczenia {
public:
    explicit FakeKroki(std::vector<std::string>& zdarzenia) : zdarzenia_(zdarzenia) {}

    void WczytajPliki() override {
        zdarzenia_.emplace_back("pliki");
        if (plikiNieczytelne) {
            throw std::runtime_error("DM.cpm: No such file or directory");
        }
    }
    void PokazZalaczanie() override { zdarzenia_.emplace_back("przycisk Wyłącz"); }
    void OtworzPortSzeregowy() override {
        zdarzenia_.emplace_back("port otwarty");
        if (portZajety) {
            throw std::runtime_error("Device or resource busy");
        }
    }
    void ZamknijPortSzeregowy() override { zdarzenia_.emplace_back("port zamknięty"); }
    void PokazZasilanie() override { zdarzenia_.emplace_back("PWR"); }
    void ZglosBrakPortu() override { zdarzenia_.emplace_back("brak portu"); }
    void PokazWylaczenie() override { zdarzenia_.emplace_back("przycisk Włącz"); }

    bool plikiNieczytelne = false;
    bool portZajety = false;

private:
    std::vector<std::string>& zdarzenia_;
};

std::vector<std::string> Polacz(std::initializer_list<std::vector<std::string>> czesci) {
    std::vector<std::string> wynik;
    for (const auto& czesc : czesci) {
        wynik.insert(wynik.end(), czesc.begin(), czesc.end());
    }
    return wynik;
}

const std::vector<std::string> WyjsciaZgaszone = {"wyjscie 0", "wyjscie 1", "wyjscie 2",
                                                  "wyjscie 3", "wyjscie 4", "wyjscie 5",
                                                  "wyjscie 6", "wyjscie 7", "wyjscie 8"};
// The PROGRAM entry, the start mode a fresh options file gives.
const std::vector<std::string> TrybProgram =
    Polacz({{"RUN bialy", "ERR zgaszona"}, WyjsciaZgaszone});
const std::vector<std::string> Wylaczenie =
    Polacz({WyjsciaZgaszone, {"port zamknięty", "przycisk Włącz"}});

// The output lamps as the switch-off puts them out, each noted as put out
// while the scan still ran or not.
class WyjsciaPoSkanie : public plc::WyjsciaSterownika {
public:
    WyjsciaPoSkanie(const plc::TCyklPracy& skan, std::vector<std::string>& zdarzenia)
        : skan_(skan), zdarzenia_(zdarzenia) {}

    void ZapalWyjscia(int) override {}
    void ZgasWyjscia(int n) override {
        zdarzenia_.push_back(skan_.Dziala() ? "wyjscie przy skanie"
                                            : "wyjscie " + std::to_string(n));
    }
    void BladProgramu() override {}

private:
    const plc::TCyklPracy& skan_;
    std::vector<std::string>& zdarzenia_;
};

class Zalaczanie : public ::testing::Test {
protected:
    KatalogTymczasowy katalog;
};

TEST_F(Zalaczanie, SwitchOnRunsItsStepsInOrderAndAFailedStepLeavesTheSimulatorOff) {
    struct Przypadek {
        const char* nazwa;
        bool bezPortu;
        bool plikiNieczytelne;
        bool portZajety;
        std::vector<std::string> kroki;
        bool zalaczony;
        bool portWUzyciu;
    };
    const Przypadek przypadki[] = {
        {"with the port", false, false, false,
         Polacz({{"pliki", "przycisk Wyłącz", "port otwarty", "PWR"}, TrybProgram}), true, true},
        {"without the port", true, false, false,
         Polacz({{"pliki", "przycisk Wyłącz", "PWR"}, TrybProgram}), true, false},
        // Nothing is drawn and nothing opened: the button still offers the switch-on.
        {"unreadable files", false, true, false, {"pliki"}, false, false},
        // Told once, then switched off as by the button.
        {"busy port", false, false, true,
         Polacz({{"pliki", "przycisk Wyłącz", "port otwarty", "brak portu"}, Wylaczenie}), false,
         false},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Stanowisko stanowisko{katalog.sciezka() / "Program.cpm"};
        FakeKroki f{stanowisko.panel.zdarzenia};
        f.plikiNieczytelne = p.plikiNieczytelne;
        f.portZajety = p.portZajety;
        if (p.bezPortu) {
            stanowisko.konfiguracja.wartosci["Opcje okna/Komunikacja"] = 1;
        }
        Zalaczenie z{stanowisko.lacze, stanowisko.panel, stanowisko.konfiguracja, f};

        if (p.plikiNieczytelne) {
            EXPECT_THROW(z.Zalacz(), std::runtime_error);
        } else {
            z.Zalacz();
        }
        EXPECT_EQ(stanowisko.panel.zdarzenia, p.kroki);
        EXPECT_EQ(z.Zalaczony(), p.zalaczony);
        EXPECT_EQ(z.PortWUzyciu(), p.portWUzyciu);
        EXPECT_EQ(z.ZalaczonyChocRaz(), p.zalaczony);
    }
}

// The scan is stopped and waited for before the lamps go out, and a switch-on
// that went through stays on record for the DM file after the switch-off.
TEST_F(Zalaczanie, SwitchOffStopsTheScanFirstAndKeepsTheRecordOfTheSwitchOn) {
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
    FakeKroki kroki{s.panel.zdarzenia};
    WyjsciaPoSkanie wyjscia{s.skan, s.panel.zdarzenia};
    Zalaczenie zalaczenie{s.lacze, wyjscia, s.konfiguracja, kroki};
    s.konfiguracja.wartosci["Opcje programu/Program"] = 0;
    s.konfiguracja.wartosci["Opcje programu/Run"] = 1;
    zalaczenie.Zalacz();
    ASSERT_TRUE(s.skan.Dziala());
    ASSERT_TRUE(s.lacze.FlagaRUN());
    s.panel.zdarzenia.clear();

    zalaczenie.Wylacz();
    EXPECT_FALSE(s.skan.Dziala());
    EXPECT_FALSE(s.lacze.FlagaRUN());
    EXPECT_EQ(s.panel.zdarzenia, Wylaczenie);
    EXPECT_FALSE(zalaczenie.Zalaczony());
    EXPECT_FALSE(zalaczenie.PortWUzyciu());
    EXPECT_TRUE(zalaczenie.ZalaczonyChocRaz());
}

} // namespace
} // namespace hostlink::test
