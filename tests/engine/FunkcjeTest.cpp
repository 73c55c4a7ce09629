#include "engine/Funkcje.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace plc {
namespace {

void UstawBity(ObszarBitowy& obszar, int kanal, std::initializer_list<int> bity) {
    for (const int b : bity) {
        obszar.ustaw(kanal, b, 1);
    }
}

TEST(WartoscKanalu, SumsBcdWeightsWithoutCheckingDigits) {
    auto pamiec = std::make_unique<Pamiec>();
    UstawBity(pamiec->IR, 7, {0, 2, 5, 8});
    EXPECT_EQ(WartoscKanalu(pamiec->IR, 7), 125);
    for (int b = 0; b < 16; ++b) {
        pamiec->HR.ustaw(200, b, 1);
    }
    EXPECT_EQ(WartoscKanalu(pamiec->HR, 200), 16665);
    EXPECT_EQ(WartoscKanalu(pamiec->IR, 8), 0);
}

TEST(ZapisLiczby, WritesDigitsByBcdPositions) {
    struct Przypadek {
        const char* cyfry;
        std::uint16_t slowo;
    };
    for (const Przypadek p : {Przypadek{"200", 0x0200},
                              {"0000", 0},
                              {"0", 0},
                              {"0042", 0x0042},
                              {"9999", 0x9999},
                              {"7", 0x0007},
                              {"", 0},
                              // Digits beyond the fourth have no place in the channel.
                              {"12345", 0x2345},
                              {"16666", 0x6666}}) {
        SCOPED_TRACE(p.cyfry);
        auto pamiec = std::make_unique<Pamiec>();
        UstawBity(pamiec->IR, 10, {0, 3, 15});
        ZapisLiczby(pamiec->IR, 10, p.cyfry);
        EXPECT_EQ(pamiec->IR.slowo(10), p.slowo);
        EXPECT_EQ(pamiec->IR.slowo(9), 0);
        EXPECT_EQ(pamiec->IR.slowo(11), 0);
    }
}

TEST(ZapisLiczby, RefusesNonDigitsAndLeavesTheChannel) {
    auto pamiec = std::make_unique<Pamiec>();
    UstawBity(pamiec->HR, 3, {4, 9});
    for (const char* zle : {"12A4", "-5", " 12", "1.0"}) {
        SCOPED_TRACE(zle);
        EXPECT_THROW(ZapisLiczby(pamiec->HR, 3, zle), BladKonwersji);
        EXPECT_EQ(pamiec->HR.slowo(3), 0x0210);
    }
    try {
        ZapisLiczby(pamiec->HR, 3, "12A4");
        FAIL();
    } catch (const BladKonwersji& e) {
        EXPECT_STREQ(e.what(), "'A' is not a valid integer value");
    }
}

TEST(Obroty, MoveTheOuterBitAcrossAndReturnIt) {
    auto pamiec = std::make_unique<Pamiec>();
    pamiec->IR.ustaw(20, 0, 1);
    EXPECT_EQ(ObrotWPrawo(pamiec->IR, 20), 1);
    EXPECT_EQ(pamiec->IR.slowo(20), 0x8000);
    EXPECT_EQ(ObrotWPrawo(pamiec->IR, 20), 0);
    EXPECT_EQ(pamiec->IR.slowo(20), 0x4000);

    pamiec->HR.ustaw(20, 0, 1);
    pamiec->HR.ustaw(20, 15, 1);
    EXPECT_EQ(ObrotWLewo(pamiec->HR, 20), 1);
    EXPECT_EQ(pamiec->HR.slowo(20), 0x0003);
    EXPECT_EQ(ObrotWLewo(pamiec->HR, 20), 0);
    EXPECT_EQ(pamiec->HR.slowo(20), 0x0006);
    EXPECT_EQ(pamiec->HR.slowo(21), 0);
    EXPECT_EQ(pamiec->IR.slowo(21), 0);
}

TEST(UstawKasuj, ResetWinsAndNeitherKeeps) {
    struct Przypadek {
        std::uint8_t przed, ustaw, kasuj, po;
    };
    for (const Przypadek p : {Przypadek{0, 0, 0, 0},
                              {1, 0, 0, 1},
                              {0, 1, 0, 1},
                              {1, 1, 0, 1},
                              {0, 0, 1, 0},
                              {1, 0, 1, 0},
                              {0, 1, 1, 0},
                              {1, 1, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << int{p.przed} << int{p.ustaw} << int{p.kasuj});
        auto pamiec = std::make_unique<Pamiec>();
        pamiec->HR.ustaw(5, 12, p.przed);
        UstawKasuj(pamiec->HR, 5, 12, p.ustaw, p.kasuj);
        EXPECT_EQ(pamiec->HR.bit(5, 12), p.po);
        EXPECT_EQ(pamiec->HR.slowo(5) & ~(1u << 12), 0u);
    }
}

TEST(Porownanie, SetsExactlyOneFlag) {
    auto pamiec = std::make_unique<Pamiec>();
    struct Przypadek {
        std::int32_t a, b;
        std::uint16_t flagi; // bits 05-07 of SR255
    };
    for (const Przypadek p : {Przypadek{5, 3, 0x20}, {125, 125, 0x40}, {-1, 0, 0x80}}) {
        UstawBity(pamiec->IR, 255, {4, 5, 6, 7});
        Porownanie(*pamiec, p.a, p.b);
        EXPECT_EQ(pamiec->IR.slowo(255), 0x10 | p.flagi) << p.a << " " << p.b;
    }
}

TEST(DekodujAdres, NamesAreaAndNumber) {
    struct Przypadek {
        const char* slowo;
        RodzajAdresu rodzaj;
        int numer;
    };
    for (const Przypadek p : {
             Przypadek{"0CC8", RodzajAdresu::DM, 100},
             {"13D0", RodzajAdresu::DM, 1000},
             {"0114", RodzajAdresu::IR, 10},
             {"02F4", RodzajAdresu::IR, 250},
             {"040A", RodzajAdresu::WartoscTC, 5},
             {"0805", RodzajAdresu::StatusTC, 2},
             {"0009", RodzajAdresu::HR, 4},
             {"03FE", RodzajAdresu::HR, 255},
             {"0c03", RodzajAdresu::DM, 2}, // 1.5 rounds to even
             {"0C05", RodzajAdresu::DM, 2}, // 2.5 rounds to even
             {"0C07", RodzajAdresu::DM, 4},
             {"13FF", RodzajAdresu::DM, 1024}, // past the area; the callers guard it
             {"0A10", RodzajAdresu::Brak, 0},
             {"14FF", RodzajAdresu::Brak, 0},
         }) {
        SCOPED_TRACE(p.slowo);
        const AdresOperandu adres = DekodujAdres(p.slowo);
        EXPECT_EQ(adres.rodzaj, p.rodzaj);
        EXPECT_EQ(adres.numer, p.numer);
        EXPECT_EQ(AdresKanalu(p.slowo, false), p.rodzaj == RodzajAdresu::Brak ? -1 : p.numer);
    }
    EXPECT_EQ(AdresKanalu("1A3F", true), 0xA3);
    EXPECT_EQ(AdresKanalu("20F8", true), 0x0F);
}

TEST(Konwersje, ReportTheRunTimeMessage) {
    EXPECT_EQ(LiczbaSzesnastkowa("ff"), 255);
    EXPECT_EQ(LiczbaSzesnastkowa("0C"), 12);
    EXPECT_EQ(LiczbaSzesnastkowa("FFFFFFFF"), -1);
    EXPECT_EQ(LiczbaDziesietna("0150"), 150);
    EXPECT_EQ(LiczbaDziesietna("42"), 42);
    struct Przypadek {
        bool szesnastkowo;
        const char* tekst;
        const char* komunikat;
    };
    for (const Przypadek p : {Przypadek{true, "XY", "'$XY' is not a valid integer value"},
                              {true, "", "'$' is not a valid integer value"},
                              {true, "1G", "'$1G' is not a valid integer value"},
                              {true, "123456789", "'$123456789' is not a valid integer value"},
                              {false, "DEAD", "'DEAD' is not a valid integer value"},
                              {false, "", "'' is not a valid integer value"},
                              {false, "-001", "'-001' is not a valid integer value"}}) {
        SCOPED_TRACE(p.tekst);
        try {
            p.szesnastkowo ? LiczbaSzesnastkowa(p.tekst) : LiczbaDziesietna(p.tekst);
            FAIL();
        } catch (const BladKonwersji& e) {
            EXPECT_STREQ(e.what(), p.komunikat);
        }
    }
    EXPECT_THROW(DekodujAdres("0C"), BladKonwersji);
    EXPECT_THROW(AdresKanalu("1", true), BladKonwersji);
}

TEST(Znaki, ConvertBitsOfTheResultStack) {
    EXPECT_EQ(ZnakNaBit('1'), 1);
    EXPECT_EQ(ZnakNaBit('0'), 0);
    EXPECT_EQ(ZnakNaBit('x'), 0);
    EXPECT_EQ(BitNaZnak(0), '0');
    EXPECT_EQ(BitNaZnak(7), '1');
    EXPECT_EQ(NumerBitu(0x8), 0);
    EXPECT_EQ(NumerBitu(0x5), 13);
}

} // namespace
} // namespace plc
