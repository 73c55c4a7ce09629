#include "tests/wspolne/SkanTestowy.h"

#include <string>
#include <vector>

namespace plc {
namespace {

using Skan = test::SkanTestowy;

TEST_F(Skan, RungFollowsTheInputsWithinOneScan) {
    // LD IR 000.00, AND NOT IR 000.01, OUT IR 010.00
    Program({"8008", "E009", "20A8", "80A8"});
    for (const auto& [in0, in1, out] :
         std::vector<std::array<int, 3>>{{1, 0, 1}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 0, 1}}) {
        Wejscie(0, in0);
        Wejscie(1, in1);
        Skanuj();
        EXPECT_EQ(Wyjscie(0), out) << in0 << in1;
        EXPECT_EQ(lampy.lampy[0], out == 1);
    }
}

TEST_F(Skan, OutActionWordRunsAsALoadBelowTheNextRung) {
    // After OUT 010.00 the action word 80A8 pushes IR 010.00; AND BLOCK then
    // joins it with the next rung's LD IR 000.01 into OUT 010.01.
    Program({"8008", "20A8", "80A8", "8009", "1000", "20A9", "80A9"});
    for (const auto& [in0, in1, out1] :
         std::vector<std::array<int, 3>>{{1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}}) {
        Wejscie(0, in0);
        Wejscie(1, in1);
        Skanuj();
        EXPECT_EQ(Wyjscie(0), in0);
        EXPECT_EQ(Wyjscie(1), out1) << in0 << in1;
    }
}

TEST_F(Skan, OutToTrKeepsTheStackAndOutToIrEmptiesIt) {
    // LD 000.00, OUT x (action word LD x), AND 000.01, OR BLOCK, OUT 010.00.
    // With the stack kept, OR BLOCK sees the rung result below and gives it back.
    struct Przypadek {
        const char* wyjscie;
        const char* akcja;
        int wynik; // 010.00 with input 00 on and 01 off
    };
    for (const Przypadek p :
         {Przypadek{"2FF0", "8FF0", 1}, {"2FF3", "8FF3", 1}, {"20A9", "80A9", 0}}) {
        SCOPED_TRACE(p.wyjscie);
        Program({"8008", p.wyjscie, p.akcja, "C009", "1200", "20A8", "80A8"});
        Wejscie(0, 1);
        Wejscie(1, 0);
        Skanuj();
        EXPECT_EQ(Wyjscie(0), p.wynik);
    }
    EXPECT_EQ(pamiec->TR[0], 1);
    EXPECT_EQ(pamiec->TR[3], 1);
    EXPECT_EQ(pamiec->IR.bit(255, 0), 0); // TR 0 is not SR255 bit 00
}

TEST_F(Skan, LogicTruthTable) {
    // Every bit group on inputs 00 and 01 into its own output. An OR or AND
    // with an empty stack pushes nothing, so OUT TR1 has nothing to write and
    // the action word's LD TR1 brings the 1 that TR1 held.
    Program({
        "4008", "C008", "2FF1", "8FF1", "20AE", "80AE", // empty stack: OR, AND, OUT do nothing
        "8008", "C009", "20A8", "80A8",                 // AND
        "8008", "4009", "20A9", "80A9",                 // OR
        "A008", "E009", "20AA", "80AA",                 // LD NOT, AND NOT
        "8008", "6009", "20AB", "80AB",                 // OR NOT
        "8008", "8009", "1200", "20AC", "80AC",         // OR BLOCK
        "8008", "8009", "1000", "20AD", "80AD",         // AND BLOCK
        "8008", "20AF", "A0AF",                         // OUT NOT
    });
    pamiec->TR[1] = 1;
    for (int in0 = 0; in0 <= 1; ++in0) {
        for (int in1 = 0; in1 <= 1; ++in1) {
            Wejscie(0, in0);
            Wejscie(1, in1);
            Skanuj();
            SCOPED_TRACE(testing::Message() << in0 << in1);
            EXPECT_EQ(Wyjscie(0), in0 & in1);
            EXPECT_EQ(Wyjscie(1), in0 | in1);
            EXPECT_EQ(Wyjscie(2), (1 - in0) & (1 - in1));
            EXPECT_EQ(Wyjscie(3), in0 | (1 - in1));
            EXPECT_EQ(Wyjscie(4), in0 | in1);
            EXPECT_EQ(Wyjscie(5), in0 & in1);
            EXPECT_EQ(Wyjscie(6), 1);
            EXPECT_EQ(Wyjscie(7), 1 - in0);
            EXPECT_EQ(pamiec->TR[1], 1);
        }
    }
}

TEST_F(Skan, SetResetAndKeepInBothAreas) {
    // Input 00 is the set (or only) condition, input 01 the reset condition.
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> slowa;
        bool hr;
        int kanal, bit;
        int przed, in0, in1, po;
    };
    const std::vector<Przypadek> przypadki = {
        {"SET IR", {"8008", "20AA", "0000"}, false, 10, 2, 0, 1, 0, 1},
        {"SET IR holds", {"8008", "20AA", "0000"}, false, 10, 2, 1, 0, 0, 1},
        {"SET HR", {"8008", "205A", "1000"}, true, 5, 2, 0, 1, 0, 1},
        {"RESET IR", {"8008", "20AA", "2000"}, false, 10, 2, 1, 1, 0, 0},
        {"RESET HR idle", {"8008", "205A", "3000"}, true, 5, 2, 1, 0, 0, 1},
        {"SET SR255 via FF", {"8008", "2FF0", "0000"}, false, 255, 0, 0, 1, 0, 1},
        {"group 3 SET HR", {"8008", "300A", "1050"}, true, 5, 2, 0, 1, 0, 1},
        {"group 3 SET IR", {"8008", "300A", "0050"}, false, 5, 2, 0, 1, 0, 1},
        {"group 3 RESET IR", {"8008", "300A", "2050"}, false, 5, 2, 1, 1, 0, 0},
        {"group 3 RESET HR", {"8008", "300A", "3050"}, true, 5, 2, 1, 1, 0, 0},
        {"KEEP IR set", {"8008", "8009", "20AA", "C000"}, false, 10, 2, 0, 1, 0, 1},
        {"KEEP IR both", {"8008", "8009", "20AA", "C000"}, false, 10, 2, 1, 1, 1, 0},
        {"KEEP IR neither", {"8008", "8009", "20AA", "C000"}, false, 10, 2, 1, 0, 0, 1},
        {"KEEP HR reset", {"8008", "8009", "205A", "D000"}, true, 5, 2, 1, 0, 1, 0},
        {"group 3 KEEP HR", {"8008", "8009", "307A", "D000"}, true, 7, 2, 0, 1, 0, 1},
        {"KEEP with one entry", {"8009", "20AA", "C000"}, false, 10, 2, 1, 0, 1, 1},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        pamiec->IR.zeruj();
        pamiec->HR.zeruj();
        // The action word is consumed: an LD after it proves alignment.
        std::vector<std::string> slowa = p.slowa;
        slowa.insert(slowa.end(), {"8008", "20A0", "80A0"});
        Program(slowa);
        ObszarBitowy& obszar = p.hr ? pamiec->HR : pamiec->IR;
        obszar.ustaw(p.kanal, p.bit, static_cast<std::uint8_t>(p.przed));
        Wejscie(0, p.in0);
        Wejscie(1, p.in1);
        Skanuj();
        EXPECT_EQ(obszar.bit(p.kanal, p.bit), p.po);
        EXPECT_EQ(Wyjscie(8), p.in0);
        EXPECT_EQ((p.hr ? pamiec->IR : pamiec->HR).slowo(p.kanal), 0);
    }
}

TEST_F(Skan, PulsesLastOneScanWhateverOtherEdgeWordsDo) {
    // Input 01 feeds a FALL PULSE and a counting INCREMENT before the RISE
    // PULSE of input 00, so the flags in front of it change every scan.
    Program({"8009", "1C0E", "0149", "8009", "1CA6", "0C02", // FALL 020.01, INC DM 0001 on rise
             "8008", "1C0D", "0148"});                       // RISE 020.00
    Wejscie(0, 1);
    std::string rise;
    std::string fall;
    for (int skan = 0; skan < 10; ++skan) {
        Wejscie(1, skan % 2 == 0 ? 1 : 0);
        Skanuj();
        rise += static_cast<char>('0' + pamiec->IR.bit(20, 0));
        fall += static_cast<char>('0' + pamiec->IR.bit(20, 1));
    }
    EXPECT_EQ(rise, "1000000000");
    EXPECT_EQ(fall, "0101010101");
    EXPECT_EQ(pamiec->DM[1], 5);

    // A falling condition that was never 1 gives no pulse; a new rise pulses again.
    Wejscie(0, 0);
    Wejscie(1, 0);
    Skanuj(2);
    EXPECT_EQ(pamiec->IR.bit(20, 1), 0);
    Wejscie(0, 1);
    Skanuj();
    EXPECT_EQ(pamiec->IR.bit(20, 0), 1);
    Skanuj();
    EXPECT_EQ(pamiec->IR.bit(20, 0), 0);
}

TEST_F(Skan, FallPulseNeedsAOneFirst) {
    Program({"8008", "1C0E", "0148"});
    Skanuj(3);
    EXPECT_EQ(pamiec->IR.bit(20, 0), 0);
}

TEST_F(Skan, FirstScanFlagAndSpecialBits) {
    // LD SR253.15 (first scan), LD SR253.13 (always on), LD SR253.14 (always off).
    Program({"8FD7", "20A8", "80A8", "8FD5", "20A9", "80A9", "8FD6", "20AA", "80AA"});
    pamiec->IR.ustaw(253, 14, 1); // the stored bits play no part
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(Wyjscie(0), 1);
    EXPECT_EQ(Wyjscie(1), 1);
    EXPECT_EQ(Wyjscie(2), 0);
    EXPECT_EQ(pamiec->IR.bit(253, 15), 0);
    EXPECT_EQ(pamiec->IR.bit(253, 13), 0);
    Skanuj();
    EXPECT_EQ(Wyjscie(0), 0);
    EXPECT_FALSE(lampy.lampy[0]);
    EXPECT_TRUE(lampy.lampy[1]);
}

TEST_F(Skan, EndLeavesTheRestUnexecutedButEndsTheScan) {
    Program({"8008", "20A8", "80A8", "1801", "8008", "20A9", "80A9"});
    Wejscie(0, 1);
    for (int skan = 0; skan < 3; ++skan) {
        pamiec->IR.ustaw(255, 5, 1);
        pamiec->IR.ustaw(255, 6, 1);
        pamiec->IR.ustaw(255, 7, 1);
        PierwszySkan();
        Skanuj();
        EXPECT_EQ(Wyjscie(0), 1);
        EXPECT_EQ(Wyjscie(1), 0);
        EXPECT_EQ(pamiec->IR.slowo(255) & 0xE0, 0);
        EXPECT_EQ(pamiec->IR.bit(253, 15), 0);
    }
    EXPECT_EQ(lampy.odswiezenia, 27);
}

TEST_F(Skan, EmptyProgramStillEndsTheScanAndRefreshes) {
    Program({});
    pamiec->IR.ustaw(10, 8, 1);
    pamiec->IR.ustaw(255, 6, 1);
    PierwszySkan();
    Skanuj();
    EXPECT_EQ(lampy.odswiezenia, 9);
    EXPECT_TRUE(lampy.lampy[8]);
    EXPECT_EQ(pamiec->IR.bit(255, 6), 0);
    EXPECT_EQ(pamiec->IR.bit(253, 15), 0);
}

// Each word naming a clock bit owns its slot; a timer word between two of
// them owns another, so the clocks keep their periods.
TEST_F(Skan, ClockBitsEachKeepTheirOwnSlot) {
    struct Zegar {
        const char* ld;
        int kanal, bit;
        std::uint32_t wlaczony, okres;
    };
    for (const Zegar z : {Zegar{"8FE8", 254, 0, 30001, 60001}, Zegar{"8FFA", 255, 2, 501, 1001}}) {
        SCOPED_TRACE(z.ld);
        Program({z.ld, "20A8", "80A8", "8008", "0800", "0030", z.ld, "20A9", "80A9"});
        Wejscie(0, 1);
        pamiec->IR.ustaw(z.kanal, z.bit, 0);
        const std::uint32_t poczatek = czas += 100'000;
        struct Chwila {
            std::uint32_t ms;
            int bit;
            int drugi; // 010.01: the second word sees the first word's update
        };
        for (const Chwila c : {Chwila{0, 0, 0},
                               {1, 1, 1},
                               {z.wlaczony - 1, 1, 1},
                               {z.wlaczony, 0, 0},
                               {z.okres - 1, 0, 0},
                               {z.okres, 0, 0},
                               {z.okres + 1, 1, 1},
                               {z.okres + z.wlaczony, 0, 0}}) {
            czas = poczatek + c.ms;
            Skanuj();
            EXPECT_EQ(pamiec->IR.bit(z.kanal, z.bit), c.bit) << c.ms;
            EXPECT_EQ(Wyjscie(1), c.drugi) << c.ms;
        }
    }
}

TEST_F(Skan, ClockWrapsWithTheMillisecondCount) {
    Program({"8FFA", "20A8", "80A8"});
    czas = 0xFFFF'FF00u;
    Skanuj();      // restamps
    czas += 0x200; // wraps past 2^32: 512 ms later
    Skanuj();
    EXPECT_EQ(pamiec->IR.bit(255, 2), 0);
    czas -= 0x100; // 256 ms after the stamp
    Skanuj();
    EXPECT_EQ(pamiec->IR.bit(255, 2), 1);
}

} // namespace
} // namespace plc
