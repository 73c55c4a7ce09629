#include "tests/wspolne/KatalogTymczasowy.h"

#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace plc {
namespace {

class PlikProgramu : public testing::Test {
protected:
    void SetUp() override {
        // What a previous run leaves: old words, live bits, used edge flags.
        for (int k = 0; k < RozmiarTabeli; ++k) {
            tabela.ustaw(k, "FFFF");
        }
        tabela.ustawLiczbeLinii(200);
        pamiec->IR.ustaw(10, 0, 1);
        pamiec->TC[5].ustawWartosc(9);
        pamiec->zbocza[1] = 1;
        pamiec->zbocza[255] = 1;
    }

    std::vector<std::string> Wpisy(int ile) const {
        std::vector<std::string> wpisy;
        for (int k = 0; k < ile; ++k) {
            wpisy.push_back(tabela.slowo(k));
        }
        return wpisy;
    }

    test::KatalogTymczasowy katalog;
    TabelaProgramu tabela;
    std::unique_ptr<Pamiec> pamiec = std::make_unique<Pamiec>();
};

TEST_F(PlikProgramu, LoadsLinesCutToFourCharacters) {
    struct Przypadek {
        const char* nazwa;
        std::string tresc;
        std::vector<std::string> wpisy; // entries 0-4
        int linie;
    };
    const std::vector<Przypadek> przypadki = {
        {"empty file", "", {"", "", "", "", ""}, 0},
        {"CR LF", "8008\r\n20A8\r\n80A8\r\n", {"8008", "20A8", "80A8", "", ""}, 3},
        {"LF, no final line end", "8008\n20A8\n80A8", {"8008", "20A8", "80A8", "", ""}, 3},
        {"short and long lines", "80\r\n20A8XYZW\r\n8\r\n", {"80", "20A8", "8", "", ""}, 3},
        // The last word lies beyond the count and is never executed.
        {"empty line before the last word",
         "8008\r\n20A8\r\n\r\n80A8\r\n",
         {"8008", "20A8", "", "80A8", ""},
         3},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        SetUp();
        WczytajProgram(tabela, *pamiec, katalog.zapisz("Program.cpm", p.tresc));
        EXPECT_EQ(Wpisy(5), p.wpisy);
        EXPECT_EQ(tabela.liczbaLinii(), p.linie);
        EXPECT_EQ(tabela.slowo(254), "");
        EXPECT_EQ(tabela.slowo(255), "FFFF"); // entry 255 is not loaded
        EXPECT_EQ(pamiec->IR.bit(10, 0), 0);
        EXPECT_EQ(pamiec->TC[5].wartosc(), 0);
        EXPECT_EQ(pamiec->TC[5].status(), "0000");
        EXPECT_EQ(pamiec->zbocza[1], 0);
        EXPECT_EQ(pamiec->zbocza[255], 0);
    }
}

TEST_F(PlikProgramu, LoadsTheFirst255LinesOfALongFile) {
    std::string tresc;
    for (int i = 0; i < 300; ++i) {
        tresc += std::to_string(1000 + i) + "\r\n";
    }
    WczytajProgram(tabela, *pamiec, katalog.zapisz("Program.cpm", tresc));
    EXPECT_EQ(tabela.liczbaLinii(), 255);
    EXPECT_EQ(tabela.slowo(0), "1000");
    EXPECT_EQ(tabela.slowo(254), "1254");
    EXPECT_EQ(tabela.slowo(255), "FFFF");
}

TEST_F(PlikProgramu, MissingFileChangesNothing) {
    try {
        WczytajProgram(tabela, *pamiec, katalog.sciezka() / "Program.cpm");
        FAIL();
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_THROW(WczytajProgram(tabela, *pamiec, katalog.sciezka()), std::system_error);
    EXPECT_EQ(tabela.slowo(0), "FFFF");
    EXPECT_EQ(tabela.liczbaLinii(), 200);
    EXPECT_EQ(pamiec->IR.bit(10, 0), 1);
    EXPECT_EQ(pamiec->TC[5].wartosc(), 9);
    EXPECT_EQ(pamiec->zbocza[1], 1);
}

TEST_F(PlikProgramu, WritesNonEmptyEntriesAndReloadsTheSame) {
    tabela.wyczysc();
    tabela.ustaw(0, "8008");
    tabela.ustaw(1, "20A8");
    tabela.ustaw(2, "80A8");
    tabela.ustaw(7, "18F1"); // a gap is closed up in the file
    const auto plik = katalog.sciezka() / "Program.cpm";
    katalog.zapisz("Program.cpm", "old contents that must go\r\n");

    EXPECT_EQ(ZapiszProgram(tabela, plik), 4);
    EXPECT_EQ(katalog.czytaj("Program.cpm"), "8008\r\n20A8\r\n80A8\r\n18F1\r\n");
    EXPECT_FALSE(std::filesystem::exists(katalog.sciezka() / "Program.cpm.tmp"));

    tabela.wyczysc();
    tabela.ustaw(0, "8008");
    tabela.ustaw(1, "20A8");
    tabela.ustaw(2, "80A8");
    tabela.ustaw(3, "18F1");
    const std::vector<std::string> zapisane = Wpisy(256);
    WczytajProgram(tabela, *pamiec, plik);
    EXPECT_EQ(Wpisy(256), zapisane);
    EXPECT_EQ(tabela.liczbaLinii(), 4);
}

TEST_F(PlikProgramu, RefusedWriteThrowsAndKeepsTheOldFile) {
    const auto plik = katalog.sciezka() / "brak" / "Program.cpm";
    EXPECT_THROW(ZapiszProgram(tabela, plik), std::system_error);
    EXPECT_FALSE(std::filesystem::exists(plik));
}

} // namespace
} // namespace plc
