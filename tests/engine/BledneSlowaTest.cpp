#include "tests/wspolne/SkanTestowy.h"

#include <string>
#include <vector>

namespace plc {
namespace {

using Skan = test::SkanTestowy;

// Everything a word may change, to see that nothing else was touched.
struct Obraz {
    explicit Obraz(const Pamiec& p) {
        for (int k = 0; k < LiczbaKanalow; ++k) {
            ir.push_back(p.IR.slowo(k));
            hr.push_back(p.HR.slowo(k));
        }
        for (const auto& tc : p.TC) {
            wartosci.push_back(tc.wartosc());
            statusy.push_back(tc.status());
        }
        for (const auto& slowo : p.DM) {
            dm.push_back(slowo.load());
        }
    }
    bool operator==(const Obraz&) const = default;
    std::vector<std::uint16_t> ir, hr;
    std::vector<std::int32_t> wartosci, dm;
    std::vector<std::string> statusy;
};

TEST_F(Skan, UndecodableWordAbandonsTheScan) {
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> slowa;
    };
    const std::vector<Przypadek> przypadki = {
        {"not a hexadecimal digit", {"8Z08"}},
        {"short entry", {"80"}},
        {"empty entry inside the count", {""}},
        {"timer set value not decimal", {"8008", "0800", "00A0"}},
        {"compare constant not decimal", {"8008", "1804", "1234", "12G4"}},
        {"move constant with a letter", {"8008", "1A05", "12A4", "0114"}},
        {"move operand word short", {"8008", "1E05", "0C", "0114"}},
        {"increment operand not hexadecimal", {"8008", "1C26", "XYZW"}},
        {"negative DM value into a channel", {"8008", "1E05", "0C00", "0114"}},
        {"group 3 action word without channel", {"8008", "300A", "1"}},
        {"pulse bit word short", {"8008", "1C0D", "01"}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::vector<std::string> slowa = {"8008", "20A8", "80A8"};
        slowa.insert(slowa.end(), p.slowa.begin(), p.slowa.end());
        slowa.insert(slowa.end(), {"8008", "20A9", "80A9"});
        Program(slowa);
        pamiec->IR.zeruj();
        pamiec->DM[0] = -5;
        Wejscie(0, 1);
        PierwszySkan();
        lampy.odswiezenia = 0;
        EXPECT_FALSE(cykl.Przebieg());
        EXPECT_EQ(Wyjscie(0), 1); // words before the bad one ran
        EXPECT_EQ(Wyjscie(1), 0); // words after it did not
        EXPECT_EQ(lampy.odswiezenia, 0);
        EXPECT_EQ(pamiec->IR.bit(253, 15), 1); // no end-of-scan steps
    }
}

TEST_F(Skan, WordsAtTheEndOfTheTableReadNothingBeyondIt) {
    // Instructions in the last entries take their following words from
    // entries 255 and 256: the latter does not exist and reads as empty.
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> ostatnie; // entries 253, 254, 255
        bool dekodowane;
    };
    const std::vector<Przypadek> przypadki = {
        {"compare reads 256", {"8FD5", "1804", "0001"}, false},
        {"move into 256", {"8FD5", "1A05", "0001"}, false},
        {"timer set value in 255", {"8FD5", "0800", "0001"}, true},
        {"OUT with its action word in 255", {"8FD5", "20A8", "80A8"}, true},
        {"OUT with no action word", {"8FD5", "8FD5", "20A8"}, true},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tabela.wyczysc();
        for (int k = 0; k < 253; ++k) {
            tabela.ustaw(k, "8008");
        }
        tabela.ustaw(253, p.ostatnie[0]);
        tabela.ustaw(254, p.ostatnie[1]);
        tabela.ustaw(255, p.ostatnie[2]);
        tabela.ustawLiczbeLinii(255);
        EXPECT_EQ(cykl.Przebieg(), p.dekodowane);
    }
}

TEST_F(Skan, EntriesPast127AndDm1024TouchNothing) {
    Program({
        "8FD5", "0880", "0010",         // TIMER 128
        "8FD5", "8FD5", "0AFF", "0003", // COUNTER 255
        "9080", "20A8", "80A8",         // LD of entry 128's flag: 0
        "8FD5", "1A05", "0042", "13FF", // MOVE 0042 to DM 1024
        "8FD5", "1C26", "13FF",         // INCREMENT DM 1024
        "8FD5", "1C1B", "13FF",         // ROTATE LEFT DM 1024
        "8FD5", "1E05", "13FF", "0CC8", // MOVE DM 1024 (reads 0) to DM 0100
        "8FD5", "1C26", "0A10",         // INCREMENT of an area code with no address
    });
    pamiec->DM[100] = 77;
    pamiec->DM[1023] = 5;
    pamiec->TC[127].ustawWartosc(3);
    Obraz oczekiwany(*pamiec);
    oczekiwany.dm[100] = 0;
    for (int skan = 0; skan < 3; ++skan) {
        Skanuj();
        Obraz obraz(*pamiec);
        obraz.ir[253] = obraz.ir[255] = 0; // flags the scan itself keeps
        EXPECT_TRUE(obraz == oczekiwany) << "scan " << skan;
    }
}

} // namespace
} // namespace plc
