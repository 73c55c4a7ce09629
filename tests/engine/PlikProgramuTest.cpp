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
        // A lone CR ends a line as CR LF and LF do.
        {"lone CR", "8FD5\r1C26\r80A8\r", {"8FD5", "1C26", "80A8", "", ""}, 3},
        {"mixed line ends, long line cut before its CR",
         "8008\r20A8XYZW\r\n80A8\n18F1",
         {"8008", "20A8", "80A8", "18F1", ""},
         4},
        {"two lone CRs leave an empty line", "8008\r\r20A8\r\n", {"8008", "", "20A8", "", ""}, 2},
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

// The system's text first, then the file's full path.
TEST_F(PlikProgramu, AFileThatCannotBeReadNamesItselfAndChangesNothing) {
    const auto brak = katalog.sciezka() / "Program.cpm";
    const auto katalogZamiastPliku = katalog.sciezka() / "katalog" / "Program.cpm";
    std::filesystem::create_directories(katalogZamiastPliku);
    const struct {
        std::filesystem::path plik;
        std::errc kod;
        std::string komunikat;
    } przypadki[] = {
        {brak, std::errc::no_such_file_or_directory,
         "No such file or directory (" + brak.string() + ")"},
        {katalogZamiastPliku, std::errc::is_a_directory,
         "Is a directory (" + katalogZamiastPliku.string() + ")"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.komunikat);
        try {
            WczytajProgram(tabela, *pamiec, p.plik);
            ADD_FAILURE() << "the load must fail";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), p.kod);
            EXPECT_EQ(e.what(), p.komunikat);
        }
    }
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

TEST_F(PlikProgramu, RefusedWriteNamesTheFile) {
    const auto plik = katalog.sciezka() / "brak" / "Program.cpm";
    try {
        ZapiszProgram(tabela, plik);
        ADD_FAILURE() << "the write must fail";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.what(), "No such file or directory (" + plik.string() + ")");
    }
    EXPECT_FALSE(std::filesystem::exists(plik));
}

// A write killed between its temporary file and the rename leaves
// Program.cpm.tmp beside the program. The next load of the real file clears
// it away; nothing else in the folder is touched.
TEST_F(PlikProgramu, ALoadRemovesTheTemporaryFileAKilledWriteLeft) {
    const auto plik = katalog.zapisz("Program.cpm", "8008\r\n");
    katalog.zapisz("Program.cpm.tmp", "8008\r\n20");
    katalog.zapisz("Program.cpm.bak", "2008\r\n");
    katalog.zapisz("Program.cpm.tmp2", "2008\r\n");

    WczytajProgram(tabela, *pamiec, plik);
    EXPECT_EQ(tabela.slowo(0), "8008");
    EXPECT_FALSE(std::filesystem::exists(katalog.sciezka() / "Program.cpm.tmp"));
    EXPECT_EQ(katalog.czytaj("Program.cpm"), "8008\r\n");
    EXPECT_TRUE(std::filesystem::exists(katalog.sciezka() / "Program.cpm.bak"));
    EXPECT_TRUE(std::filesystem::exists(katalog.sciezka() / "Program.cpm.tmp2"));
}

// Without the real file the temporary one may be the only copy of a program:
// it stays for the user.
TEST_F(PlikProgramu, AFailedLoadKeepsTheTemporaryFile) {
    katalog.zapisz("Program.cpm.tmp", "8008\r\n");
    EXPECT_THROW(WczytajProgram(tabela, *pamiec, katalog.sciezka() / "Program.cpm"),
                 std::system_error);
    EXPECT_EQ(katalog.czytaj("Program.cpm.tmp"), "8008\r\n");
}

// A stale temporary file of any kind does not stand in the write's way, and a
// link in its place is replaced, not written through.
TEST_F(PlikProgramu, AWriteReplacesAStaleTemporaryFileWithoutFollowingIt) {
    const auto plik = katalog.sciezka() / "Program.cpm";
    const auto obcy = katalog.zapisz("obcy.txt", "not the program's");
    std::filesystem::create_symlink(obcy, katalog.sciezka() / "Program.cpm.tmp");
    tabela.wyczysc();
    tabela.ustaw(0, "8008");

    EXPECT_EQ(ZapiszProgram(tabela, plik), 1);
    EXPECT_EQ(katalog.czytaj("Program.cpm"), "8008\r\n");
    EXPECT_FALSE(std::filesystem::is_symlink(plik));
    EXPECT_EQ(katalog.czytaj("obcy.txt"), "not the program's");
    EXPECT_FALSE(std::filesystem::exists(
        std::filesystem::symlink_status(katalog.sciezka() / "Program.cpm.tmp")));
}

} // namespace
} // namespace plc
