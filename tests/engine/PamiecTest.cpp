#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include <gtest/gtest.h>

#include <memory>

namespace plc {
namespace {

TEST(Pamiec, PowerOnResetClearsBitsAndTimersButNotDmOrTr) {
    auto pamiec = std::make_unique<Pamiec>();
    EXPECT_EQ(pamiec->TC[0].status(), "");
    pamiec->IR.ustaw(10, 3, 1);
    pamiec->HR.ustaw(255, 15, 1);
    pamiec->TC[127].ustawWartosc(42);
    pamiec->TC[127].ustawStatus("E800");
    pamiec->DM[1023] = 7;
    pamiec->TR[7] = 1;
    pamiec->zbocza[3] = 1;

    pamiec->resetZalaczenia();

    EXPECT_EQ(pamiec->IR.slowo(10), 0);
    EXPECT_EQ(pamiec->HR.slowo(255), 0);
    EXPECT_EQ(pamiec->TC[127].wartosc(), 0);
    EXPECT_EQ(pamiec->TC[127].status(), "0000");
    EXPECT_EQ(pamiec->TC[0].status(), "0000");
    EXPECT_EQ(pamiec->DM[1023], 7);
    EXPECT_EQ(pamiec->TR[7], 1);
}

TEST(Pamiec, ChannelWordIsBinaryOfTheBitBytes) {
    auto pamiec = std::make_unique<Pamiec>();
    pamiec->IR.ustaw(0, 0, 1);
    pamiec->IR.ustaw(0, 15, 1);
    pamiec->IR.ustaw(1, 4, 1);
    EXPECT_EQ(pamiec->IR.slowo(0), 0x8001);
    EXPECT_EQ(pamiec->IR.slowo(1), 0x0010);
}

TEST(TabelaProgramu, KeepsUpToFourCharactersPerEntry) {
    TabelaProgramu tabela;
    tabela.ustaw(0, "8008");
    tabela.ustaw(1, "20A8XYZ");
    tabela.ustaw(2, "80");
    tabela.ustaw(255, "18F1");
    tabela.ustaw(256, "8008"); // outside: ignored
    tabela.ustaw(-1, "8008");
    EXPECT_EQ(tabela.slowo(0), "8008");
    EXPECT_EQ(tabela.slowo(1), "20A8");
    EXPECT_EQ(tabela.slowo(2), "80");
    EXPECT_EQ(tabela.odczytaj(2).dlugosc, 2);
    EXPECT_EQ(tabela.slowo(255), "18F1");
    EXPECT_EQ(tabela.slowo(256), "");
    EXPECT_EQ(tabela.odczytaj(-1).dlugosc, 0);
    tabela.ustaw(0, std::string_view("8\0"
                                     "08",
                                     4));
    EXPECT_EQ(tabela.slowo(0), "8");

    tabela.ustawLiczbeLinii(3);
    tabela.wyczysc();
    for (int k = 0; k < RozmiarTabeli; ++k) {
        EXPECT_EQ(tabela.odczytaj(k).dlugosc, 0) << k;
    }
    EXPECT_EQ(tabela.liczbaLinii(), 3);
}

} // namespace
} // namespace plc
