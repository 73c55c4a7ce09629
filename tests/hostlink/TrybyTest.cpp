// Operating modes: the mode change "0404", the status read "1A03", the
// start-mode choice and the scan worker they start and stop.

#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoHosta.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace hostlink::test {
namespace {

const std::vector<std::string> WejscieWTrybPracy = {"RUN zielony", "ERR zgaszona", "wejscia",
                                                    "suwak 1", "suwak 2"};
const std::vector<std::string> WejscieWTrybProgram = {
    "RUN bialy", "ERR zgaszona", "wyjscie 0", "wyjscie 1", "wyjscie 2", "wyjscie 3",
    "wyjscie 4", "wyjscie 5",    "wyjscie 6", "wyjscie 7", "wyjscie 8"};

class Tryby : public ::testing::Test {
protected:
    Tryby() {
        // The always-on bit SR253 bit 13 drives IR 010 bit 00 and work bit IR 020 bit 00
        // on every scan.
        const char* slowa[] = {"8FD5", "20A8", "8000", "8FD5", "2148", "8000"};
        for (int k = 0; k < 6; ++k) {
            s.program.ustaw(k, slowa[k]);
        }
        s.program.ustawLiczbeLinii(6);
    }

    std::string ZmianaTrybu(const char* tryb) {
        return s.Odbierz(Polecenie(std::string("@00MB0404") + tryb));
    }

    bool ObszaryPuste() const {
        for (int kanal = 0; kanal < plc::LiczbaKanalow; ++kanal) {
            if (s.pamiec.IR.slowo(kanal) != 0 || s.pamiec.HR.slowo(kanal) != 0) {
                return false;
            }
        }
        return true;
    }

    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
};

TEST_F(Tryby, ModeChangesAreAnsweredAndReportedByTheStatusRead) {
    struct Krok {
        const char* tryb;
        std::string odpowiedz;
        std::string status;
        bool skan;
    };
    const Krok kroki[] = {
        {"0004", Potwierdzenie, StatusRun, true},
        {"0002", Potwierdzenie, StatusMonitor, true},
        {"0004", Potwierdzenie, StatusRun, true},
        {"0001", StatusRun, StatusProgram, false},
        {"0002", Potwierdzenie, StatusMonitor, false},
        {"0001", StatusRun, StatusProgram, false},
        {"0003", "", StatusProgram, false},
    };
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1A03")), StatusProgram);
    for (const Krok& krok : kroki) {
        SCOPED_TRACE(krok.tryb);
        EXPECT_EQ(ZmianaTrybu(krok.tryb), krok.odpowiedz);
        EXPECT_EQ(s.Odbierz(Polecenie("@00MB1A03")), krok.status);
        EXPECT_EQ(s.skan.Dziala(), krok.skan);
    }
}

TEST_F(Tryby, RunEntryLoadsInputsAndStartsTheScan) {
    EXPECT_EQ(ZmianaTrybu("0004"), Potwierdzenie);
    EXPECT_EQ(s.panel.zdarzenia, WejscieWTrybPracy);
    EXPECT_TRUE(s.lacze.FlagaRUN());
    EXPECT_FALSE(s.lacze.FlagaMONITOR());
    EXPECT_TRUE(s.skan.Dziala());

    // Twice in a row keeps the one worker.
    EXPECT_EQ(ZmianaTrybu("0004"), Potwierdzenie);
    EXPECT_TRUE(s.skan.Dziala());
}

TEST_F(Tryby, ProgramEntryLeavesNoScanWritingAfterItReturns) {
    ZmianaTrybu("0004");
    s.panel.zdarzenia.clear();
    EXPECT_EQ(ZmianaTrybu("0001"), StatusRun);
    EXPECT_FALSE(s.skan.Dziala());
    EXPECT_EQ(s.panel.zdarzenia, WejscieWTrybProgram);
    EXPECT_TRUE(ObszaryPuste());
    const int zapalenia = s.wyjscia.zapalenia.load();
    // Another PROGRAM entry and a fresh RUN right after both behave.
    EXPECT_EQ(ZmianaTrybu("0001"), StatusRun);
    EXPECT_TRUE(ObszaryPuste());
    EXPECT_EQ(s.wyjscia.zapalenia.load(), zapalenia);
    EXPECT_EQ(ZmianaTrybu("0004"), Potwierdzenie);
    EXPECT_EQ(ZmianaTrybu("0001"), StatusRun);
    EXPECT_TRUE(ObszaryPuste());
}

TEST_F(Tryby, MonitorByTheHostOnlySetsTheFlags) {
    EXPECT_EQ(ZmianaTrybu("0002"), Potwierdzenie);
    EXPECT_TRUE(s.lacze.FlagaMONITOR());
    EXPECT_FALSE(s.lacze.FlagaRUN());
    EXPECT_FALSE(s.skan.Dziala());
    EXPECT_TRUE(s.panel.zdarzenia.empty());
}

TEST_F(Tryby, SwitchOffStopsTheScanAndClearsTheFlags) {
    s.lacze.TrybMonitor();
    EXPECT_TRUE(s.skan.Dziala());
    s.lacze.ZatrzymajSkan();
    EXPECT_FALSE(s.skan.Dziala());
    EXPECT_FALSE(s.lacze.FlagaRUN());
    EXPECT_FALSE(s.lacze.FlagaMONITOR());
}

TEST_F(Tryby, StartModeFollowsTheOptionsInOrder) {
    struct Przypadek {
        std::map<std::string, int> opcje;
        std::string status;
        std::vector<std::string> zdarzenia;
        std::uint8_t model;
    };
    const Przypadek przypadki[] = {
        {{}, StatusProgram, WejscieWTrybProgram, 1},
        {{{"Opcje programu/Program", 1}, {"Opcje programu/Run", 1}},
         StatusProgram,
         WejscieWTrybProgram,
         1},
        {{{"Opcje programu/Program", 0},
          {"Opcje programu/Monitor", 1},
          {"Opcje programu/Run", 1},
          {"Model sterownika/CPU", 2}},
         StatusMonitor,
         WejscieWTrybPracy,
         2},
        {{{"Opcje programu/Program", 0}, {"Opcje programu/Run", 1}, {"Model sterownika/CPU", 3}},
         StatusRun,
         WejscieWTrybPracy,
         3},
        {{{"Opcje programu/Program", 0}, {"Model sterownika/CPU", 258}}, StatusProgram, {}, 2},
    };
    for (const Przypadek& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.status + " model " + std::to_string(przypadek.model));
        s.lacze.ZatrzymajSkan();
        s.panel.zdarzenia.clear();
        s.konfiguracja.wartosci = przypadek.opcje;
        s.lacze.SprawdzenieTrybuPracy();
        EXPECT_EQ(s.panel.zdarzenia, przypadek.zdarzenia);
        EXPECT_EQ(s.lacze.ModelWUzyciu(), przypadek.model);
        EXPECT_EQ(s.Odbierz(Polecenie("@00MB1A03")), przypadek.status);
    }
}

TEST_F(Tryby, MonitorReadFollowsTheRunningScan) {
    ZmianaTrybu("0004");
    // The program drives IR 010 bit 00 on every scan: wait until a scan has
    // run, failing rather than hanging if none does.
    const auto koniec = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (s.pamiec.IR.bit(10, 0) == 0) {
        ASSERT_LT(std::chrono::steady_clock::now(), koniec) << "no scan ran";
        std::this_thread::yield();
    }
    const std::string odpowiedz = s.Odbierz(Polecenie("@00MB3084020000114"));
    EXPECT_EQ(odpowiedz, RamkaKoncowa("@00MB00840200,00010000"));
}

TEST_F(Tryby, ADownloadUnderTheRunningScanReplacesTheProgramWordByWord) {
    ZmianaTrybu("0004");
    const std::string rungi[] = {"8008C00920A88000", "A008C00920A98000"};
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(s.Odbierz(Polecenie("@00MB1286080000000" + rungi[i % 2])), Potwierdzenie);
    }
    // The scan may have ended on an entry the download had just emptied; the
    // table, the line count and the file hold the last program whole.
    EXPECT_EQ(s.program.slowo(0), "A008");
    EXPECT_EQ(s.program.slowo(2), "20A9");
    EXPECT_EQ(s.program.liczbaLinii(), 4);
    EXPECT_EQ(LiniePliku(s.plikProgramu),
              (std::vector<std::string>{"A008", "C009", "20A9", "8000"}));
    EXPECT_EQ(ZmianaTrybu("0001"), StatusRun);
    EXPECT_FALSE(s.skan.Dziala());
}

} // namespace
} // namespace hostlink::test
