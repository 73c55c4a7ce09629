#include "tests/wspolne/SkanTestowy.h"

#include <string>
#include <vector>

namespace plc {
namespace {

using Skan = test::SkanTestowy;

class Timery : public Skan {
protected:
    // Input 00 rises now and input 01 40 ms later; scans every 10 ms and
    // gives the times (ms after its own input rose) at which each timer counted.
    std::vector<std::vector<std::uint32_t>> Odliczaj(std::uint32_t ms) {
        constexpr std::uint32_t opoznienie = 40;
        std::vector<std::vector<std::uint32_t>> chwile(2);
        std::vector<std::int32_t> przed = {pamiec->TC[0].wartosc(), pamiec->TC[1].wartosc()};
        const std::uint32_t poczatek = czas;
        Wejscie(0, 1);
        while (czas - poczatek < ms) {
            if (czas - poczatek == opoznienie) {
                Wejscie(1, 1);
            }
            Skanuj();
            for (std::size_t n = 0; n < 2; ++n) {
                const std::int32_t teraz = pamiec->TC[n].wartosc();
                if (teraz != przed[n]) {
                    EXPECT_EQ(teraz, przed[n] - 1);
                    chwile[n].push_back(czas - poczatek - (n == 1 ? opoznienie : 0));
                    przed[n] = teraz;
                }
            }
            czas += 10;
        }
        return chwile;
    }
};

TEST_F(Timery, ThreeSecondsCountedInTenthsWhileTheInputIsOn) {
    // TIMER 000 #0030 on input 00 and TIMER 001 #0010 on input 01, each with
    // an LD of its completion flag into an output.
    Program({"8008", "0800", "0030", "9000", "20A8", "80A8", //
             "8009", "0801", "0010", "9001", "20A9", "80A9"});
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(pamiec->TC[0].wartosc(), 30);
    Skanuj();
    EXPECT_EQ(pamiec->TC[0].status(), "2800");
    czas += 37; // the input rises at some point of the tick's period
    const auto chwile = Odliczaj(3100);

    ASSERT_EQ(chwile[0].size(), 30u);
    ASSERT_EQ(chwile[1].size(), 10u);
    EXPECT_LT(chwile[0][0], 100u);
    EXPECT_LT(chwile[1][0], 100u);
    // An input rising in the first half of a tick counts at once, so the
    // first interval may be short; after it every count is one tick apart.
    for (std::size_t i = 2; i < chwile[0].size(); ++i) {
        EXPECT_EQ(chwile[0][i] - chwile[0][i - 1], 100u) << i;
    }
    for (std::size_t i = 2; i < chwile[1].size(); ++i) {
        EXPECT_EQ(chwile[1][i] - chwile[1][i - 1], 100u) << i;
    }
    EXPECT_LT(chwile[0].back(), 3000u);
    EXPECT_GT(chwile[0].back(), 2850u);
    EXPECT_EQ(pamiec->TC[0].status(), "E800");
    EXPECT_EQ(Wyjscie(0), 1);
    EXPECT_EQ(Wyjscie(1), 1);

    Wejscie(0, 0);
    Skanuj();
    EXPECT_EQ(pamiec->TC[0].wartosc(), 30);
    EXPECT_EQ(pamiec->TC[0].status(), "2800");
    EXPECT_EQ(Wyjscie(0), 0);
    EXPECT_EQ(pamiec->TC[1].wartosc(), 0);
}

TEST_F(Timery, StatusShowsTimingAndTheFlagTurnsOnAtZero) {
    Program({"8008", "0800", "0003", "B000", "20A8", "80A8"}); // LD NOT of the flag
    PierwszySkan();
    Skanuj();
    Wejscie(0, 1);
    std::string statusy;
    std::string wyjscia;
    for (int i = 0; i < 40; ++i) {
        czas += 10;
        Skanuj();
        if (statusy.empty() || statusy.substr(statusy.size() - 4) != pamiec->TC[0].status()) {
            statusy += pamiec->TC[0].status();
        }
        wyjscia += static_cast<char>('0' + Wyjscie(0));
    }
    EXPECT_EQ(statusy.substr(statusy.size() - 4), "E800");
    EXPECT_NE(statusy.find("6800"), std::string::npos);
    // LD NOT of the flag is 1 while the timer runs and 0 from its zero on.
    EXPECT_EQ(wyjscia.find_first_of('0'), wyjscia.find_last_of('1') + 1);
    EXPECT_EQ(wyjscia.back(), '0');
    EXPECT_EQ(wyjscia.front(), '1');
}

TEST_F(Timery, FirstScanLoadsTheSetValueInBothForms) {
    Program({"8008", "0800", "0030", "8008", "0C01", "0CC8"}); // #0030 and DM 0100
    pamiec->DM[100] = 45;
    pamiec->TC[0].ustawWartosc(7);
    pamiec->TC[1].ustawWartosc(0);
    Wejscie(0, 1);
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(pamiec->TC[0].wartosc(), 30);
    EXPECT_EQ(pamiec->TC[1].wartosc(), 45);

    // The set value is read afresh in every scan.
    pamiec->DM[100] = 12;
    Wejscie(0, 0);
    Skanuj();
    EXPECT_EQ(pamiec->TC[1].wartosc(), 12);
    EXPECT_EQ(pamiec->TC[1].status(), "2800");

    // A negative set value is done at once rather than counting down for ever.
    pamiec->DM[100] = -5;
    Skanuj();
    Wejscie(0, 1);
    for (int i = 0; i < 30; ++i) {
        czas += 10;
        Skanuj();
    }
    EXPECT_EQ(pamiec->TC[1].wartosc(), -5);
    EXPECT_EQ(pamiec->TC[1].status(), "E800");
}

TEST_F(Skan, CounterCountsRisesAndReloadsOnReset) {
    // LD 000.02 stays below the counter's two inputs: the counter removes
    // exactly its two, so OUT 010.01 shows input 02.
    Program({"800A", "8008", "8009", "0A03", "0003", "20A9", "80A9", "9003", "20A8", "80A8"});
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(pamiec->TC[3].wartosc(), 3);
    struct Krok {
        int liczenie, kasowanie, wejscie2;
        std::int32_t wartosc;
        const char* status;
        int zakonczony;
    };
    for (const Krok k : {Krok{1, 0, 1, 2, "7800", 0},
                         {1, 0, 0, 2, "3800", 0},
                         {0, 0, 1, 2, "3800", 0},
                         {1, 0, 0, 1, "7800", 0},
                         {0, 0, 0, 1, "3800", 0},
                         {1, 0, 1, 0, "7800", 1},
                         {0, 0, 0, 0, "F800", 1},
                         {1, 0, 0, 0, "F800", 1},
                         {1, 1, 1, 3, "F800", 0},
                         {0, 1, 0, 3, "3800", 0},
                         {1, 0, 0, 2, "7800", 0}}) {
        Wejscie(0, k.liczenie);
        Wejscie(1, k.kasowanie);
        Wejscie(2, k.wejscie2);
        Skanuj();
        SCOPED_TRACE(testing::Message() << k.liczenie << k.kasowanie << " -> " << k.wartosc);
        EXPECT_EQ(pamiec->TC[3].wartosc(), k.wartosc);
        EXPECT_EQ(pamiec->TC[3].status(), k.status);
        EXPECT_EQ(Wyjscie(0), k.zakonczony);
        EXPECT_EQ(Wyjscie(1), k.wejscie2);
    }
}

TEST_F(Skan, CounterSetValueFromAWord) {
    Program({"8008", "8009", "0E04", "0006"}); // HR 003 holds the set value
    ZapisLiczby(pamiec->HR, 3, "0012");
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(pamiec->TC[4].wartosc(), 12);
}

TEST_F(Skan, IncrementAndDecrementWrapInBcd) {
    struct Przypadek {
        const char* nazwa;
        const char* instrukcja;
        const char* operand;
        std::int32_t dm100; // for DM operands
        const char* kanal;  // BCD digits of IR 016 before
        std::int32_t dmPo;
        std::uint16_t kanalPo;
    };
    for (const Przypadek p : {
             Przypadek{"INC channel 9999", "1C26", "0120", 0, "9999", 0, 0x0000},
             {"INC channel 0199", "1C26", "0120", 0, "0199", 0, 0x0200},
             {"DEC channel 0", "1C27", "0120", 0, "0", 0, 0x9999},
             {"DEC channel 0100", "1C27", "0120", 0, "0100", 0, 0x0099},
             {"INC DM 9999", "1C26", "0CC8", 9999, "0", 0, 0},
             {"DEC DM 0", "1C27", "0CC8", 0, "0", 9999, 0},
             {"INC DM 41", "1C26", "0CC8", 41, "0", 42, 0},
             {"INC present value: not writable", "1C26", "0400", 0, "0", 0, 0},
         }) {
        SCOPED_TRACE(p.nazwa);
        Program({"8FD5", p.instrukcja, p.operand, "8FD5", "20A8", "80A8"});
        pamiec->DM[100] = p.dm100;
        ZapisLiczby(pamiec->IR, 16, p.kanal);
        pamiec->IR.ustaw(10, 0, 0);
        Skanuj();
        EXPECT_EQ(pamiec->DM[100], p.dmPo);
        EXPECT_EQ(pamiec->IR.slowo(16), p.kanalPo);
        EXPECT_EQ(Wyjscie(0), 1); // the operand word was consumed
    }
    // A channel whose nibbles are no decimal digits counts past 9999; only
    // the last four digits fit, and the next channel stays untouched.
    Program({"8FD5", "1C26", "0120"});
    for (int b = 0; b < 16; ++b) {
        pamiec->IR.ustaw(16, b, 1);
    }
    Skanuj();
    EXPECT_EQ(pamiec->IR.slowo(16), 0x6666);
    EXPECT_EQ(pamiec->IR.slowo(17), 0);
}

TEST_F(Skan, RisingEdgeFormsActOncePerRise) {
    Program({"8008", "1CA6", "0C02",   // INC DM 0001 on the rise
             "8008", "1CA7", "0C04",   // DEC DM 0002 on the rise
             "8008", "1C9B", "0120",   // ROTATE LEFT IR 016 on the rise
             "8008", "1C9C", "0C06"}); // ROTATE RIGHT DM 0003 on the rise
    pamiec->DM[2] = 10;
    pamiec->DM[3] = 64;
    pamiec->IR.ustaw(16, 0, 1);
    for (const int wejscie : {1, 1, 1, 0, 0, 1, 1, 0, 1}) {
        Wejscie(0, wejscie);
        Skanuj();
    }
    EXPECT_EQ(pamiec->DM[1], 3);
    EXPECT_EQ(pamiec->DM[2], 7);
    EXPECT_EQ(pamiec->IR.slowo(16), 0x0008);
    EXPECT_EQ(pamiec->DM[3], 8);
}

TEST_F(Skan, RotatesThroughTheCarry) {
    struct Przypadek {
        const char* nazwa;
        const char* instrukcja;
        const char* operand;
        std::uint16_t kanal; // IR 016 before, as bits
        std::int32_t dm;     // DM 0100 before
        std::uint16_t kanalPo;
        std::int32_t dmPo;
        int przeniesienie;
    };
    for (const Przypadek p : {
             Przypadek{"left, only bit 15", "1C1B", "0120", 0x8000, 0, 0x0001, 0, 1},
             {"left, only bit 0", "1C1B", "0120", 0x0001, 0, 0x0002, 0, 0},
             {"right, only bit 0", "1C1C", "0120", 0x0001, 0, 0x8000, 0, 1},
             {"left, DM 1234", "1C1B", "0CC8", 0, 1234, 0, 2468, 0},
             {"right, DM 1235", "1C1C", "0CC8", 0, 1235, 0, 617, 0},
         }) {
        SCOPED_TRACE(p.nazwa);
        Program({"8FD5", p.instrukcja, p.operand, "8FFC", "20A8", "80A8"}); // LD the carry
        for (int b = 0; b < 16; ++b) {
            pamiec->IR.ustaw(16, b, static_cast<std::uint8_t>((p.kanal >> b) & 1));
        }
        pamiec->DM[100] = p.dm;
        pamiec->IR.ustaw(255, 4, 1);
        Skanuj();
        EXPECT_EQ(pamiec->IR.slowo(16), p.kanalPo);
        EXPECT_EQ(pamiec->DM[100], p.dmPo);
        EXPECT_EQ(Wyjscie(0), p.przeniesienie);
    }
    // The carry is cleared even when the rotate does not act.
    Program({"8FD6", "1C1B", "0120"});
    pamiec->IR.ustaw(255, 4, 1);
    pamiec->IR.ustaw(16, 15, 1);
    Skanuj();
    EXPECT_EQ(pamiec->IR.bit(255, 4), 0);
    EXPECT_EQ(pamiec->IR.bit(16, 15), 1);
}

TEST_F(Skan, CompareSetsTheFlagsForTheWordsAfterIt) {
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> porownanie;
        int warunek;
        const char* flagi; // greater, equal, less as seen after the compare
    };
    const std::vector<Przypadek> przypadki = {
        {"word 125 with constant 0125", {"1C04", "0CC8", "0125"}, 1, "010"},
        {"word with constant, condition 0", {"1C04", "0CC8", "0125"}, 0, "000"},
        {"constant with constant", {"1804", "0100", "0200"}, 1, "001"},
        {"DEAD in form 8", {"1804", "DEAD", "0000"}, 1, "000"},
        {"constant with word", {"1A04", "0200", "0CC8"}, 1, "100"},
        {"word with present value", {"1E04", "0CC8", "0404"}, 1, "100"},
        {"channel with constant", {"1C04", "0120", "0125"}, 1, "010"},
        {"form A other operation, condition 0", {"1A07", "ZZZZ", "ZZZZ"}, 0, "000"},
        {"form A other operation, condition 1", {"1A07", "ZZZZ", "ZZZZ"}, 1, "001"},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        // A first compare leaves "less" set; then the one under test.
        std::vector<std::string> slowa = {"8FD5", "1804", "0001", "0002", "8008"};
        slowa.insert(slowa.end(), p.porownanie.begin(), p.porownanie.end());
        slowa.insert(slowa.end(),
                     {"8FFD", "20AD", "80AD", "8FFE", "20AE", "80AE", "8FFF", "20AF", "80AF"});
        Program(slowa);
        pamiec->DM[100] = 125;
        ZapisLiczby(pamiec->IR, 16, "125");
        pamiec->TC[2].ustawWartosc(30);
        Wejscie(0, p.warunek);
        Skanuj();
        const std::string flagi = {static_cast<char>('0' + Wyjscie(5)),
                                   static_cast<char>('0' + Wyjscie(6)),
                                   static_cast<char>('0' + Wyjscie(7))};
        EXPECT_EQ(flagi, p.flagi);
        EXPECT_EQ(pamiec->IR.slowo(255) & 0xE0, 0); // cleared at the end of the scan
    }
}

TEST_F(Skan, MoveIntoDmAndChannels) {
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> przeniesienie;
        int warunek;
        std::int32_t dm5;
        std::uint16_t ir010;
        std::uint16_t hr003;
    };
    const std::vector<Przypadek> przypadki = {
        {"0042 to DM 0005", {"1A05", "0042", "0C0A"}, 1, 42, 0, 0},
        {"0042 to IR 010", {"1A05", "0042", "0114"}, 1, 0, 0x0042, 0},
        {"condition 0 moves nothing", {"1A05", "0042", "0114"}, 0, 0, 0, 0},
        {"DM 0100 to HR 003", {"1E05", "0CC8", "0006"}, 1, 0, 0, 0x0125},
        {"present value to DM 0005", {"1E05", "0404", "0C0A"}, 1, 30, 0, 0},
        {"IR 016 to DM 0005", {"1E05", "0120", "0C0A"}, 1, 9876, 0, 0},
        {"into a present value: nothing", {"1A05", "0042", "0404"}, 1, 0, 0, 0},
        {"DM 12345 keeps its last four digits", {"1E05", "0C0C", "0006"}, 1, 0, 0, 0x2345},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::vector<std::string> slowa = {"8008"};
        slowa.insert(slowa.end(), p.przeniesienie.begin(), p.przeniesienie.end());
        Program(slowa);
        pamiec->IR.zeruj();
        pamiec->HR.zeruj();
        pamiec->DM[5] = 0;
        pamiec->DM[6] = 12345;
        pamiec->DM[100] = 125;
        pamiec->TC[2].ustawWartosc(30);
        ZapisLiczby(pamiec->IR, 16, "9876");
        pamiec->IR.ustaw(255, 7, 1);
        Wejscie(0, p.warunek);
        Skanuj();
        EXPECT_EQ(pamiec->DM[5], p.dm5);
        EXPECT_EQ(pamiec->IR.slowo(10), p.ir010);
        EXPECT_EQ(pamiec->HR.slowo(3), p.hr003);
        EXPECT_EQ(pamiec->HR.slowo(4), 0);
        EXPECT_EQ(pamiec->TC[2].wartosc(), 30);
    }
}

// Words that do nothing still take exactly the words the encoding gives them:
// a following word that ran would fail to decode, and a marker rung after
// them that was skipped would leave its output off.
TEST_F(Skan, WordsThatDoNothingKeepTheWordsAfterThemAligned) {
    struct Przypadek {
        const char* slowo;
        int nastepne;
    };
    for (const Przypadek p : {Przypadek{"1400", 0},
                              {"1805", 0},
                              {"18F0", 0},
                              {"1C05", 0},
                              {"1C0F", 0},
                              {"0400", 0},
                              {"0900", 0},
                              {"1A06", 2},
                              {"1E07", 2},
                              {"1AF0", 2},
                              {"1C36", 1},
                              {"1C07", 1},
                              {"1C3B", 1},
                              {"1C2C", 1}}) {
        SCOPED_TRACE(p.slowo);
        std::vector<std::string> slowa = {"8FD6", p.slowo};
        slowa.insert(slowa.end(), static_cast<std::size_t>(p.nastepne), "ZZZZ");
        slowa.insert(slowa.end(), {"8FD5", "20A8", "80A8"});
        Program(slowa);
        pamiec->IR.ustaw(10, 0, 0);
        Skanuj();
        EXPECT_EQ(Wyjscie(0), 1);
    }
}

} // namespace
} // namespace plc
