#include "dane/KatalogDanych.h"
#include "dane/PlikiWspolne.h"

#include "tests/wspolne/KatalogTymczasowy.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string DomyslnyProgram = "domyslny\r\n";
const std::string DomyslneDM = "0\r\n0\r\n";

void ZapiszPlik(const fs::path& plik, const std::string& tresc) {
    std::ofstream(plik, std::ios::binary) << tresc;
}

// A folder for each place the choice looks at: the system settings' choice,
// the executable's directory, the user's data folder and the installed
// defaults, which hold a recognisable Program.cpm and DM.cpm.
class KatalogDanychTest : public ::testing::Test {
protected:
    KatalogDanychTest() {
        for (const char* nazwa : {"instalacja", "bin", "dom", "share/parvolen"}) {
            fs::create_directories(Sciezka(nazwa));
        }
        Zapisz("share/parvolen/Program.cpm", DomyslnyProgram);
        Zapisz("share/parvolen/DM.cpm", DomyslneDM);
        miejsca_ = {.zUstawien = {},
                    .programu = Sciezka("bin"),
                    .uzytkownika = Sciezka("dom/Parvolen"),
                    .domyslnych = Sciezka("share/parvolen")};
    }

    fs::path Sciezka(const std::string& nazwa) const { return katalog_.sciezka() / nazwa; }
    void Zapisz(const std::string& nazwa, const std::string& tresc) const {
        ZapiszPlik(Sciezka(nazwa), tresc);
    }
    std::string Czytaj(const std::string& nazwa) const { return katalog_.czytaj(nazwa); }
    std::vector<std::string> Pliki(const std::string& nazwa) const {
        std::vector<std::string> pliki;
        for (const auto& wpis : fs::directory_iterator(Sciezka(nazwa))) {
            pliki.push_back(wpis.path().filename().string());
        }
        std::sort(pliki.begin(), pliki.end());
        return pliki;
    }

    plc::test::KatalogTymczasowy katalog_;
    MiejscaDanych miejsca_;
};

// Which directory is taken, and what the preparation leaves in the user's.
struct Przypadek {
    const char* nazwa;
    // Lays out the places before the choice.
    std::function<void(MiejscaDanych&)> uklad;
    const char* katalog;
    // Program.cpm and DM.cpm of the user's directory afterwards; null when
    // the directory is not made at all.
    const char* programUzytkownika;
    const char* dmUzytkownika;
};

void PrintTo(const Przypadek& p, std::ostream* wyjscie) {
    *wyjscie << p.nazwa;
}

class WyborKatalogu : public KatalogDanychTest, public ::testing::WithParamInterface<Przypadek> {};

void Instalacja(MiejscaDanych& m) {
    m.zUstawien = m.programu.parent_path() / "instalacja";
}
void Staging(const MiejscaDanych& m) {
    ZapiszPlik(m.programu / "Program.cpm", "");
    ZapiszPlik(m.programu / "DM.cpm", "");
}

const Przypadek Przypadki[] = {
    {"InstallPathSetIsTakenAsItIs", Instalacja, "instalacja", nullptr, nullptr},
    {"InstallPathWinsOverAStagedExecutableDirectory",
     [](MiejscaDanych& m) {
         Staging(m);
         Instalacja(m);
     },
     "instalacja", nullptr, nullptr},
    {"WritableExecutableDirectoryWithTheDataFiles", Staging, "bin", nullptr, nullptr},
    {"ExecutableDirectoryWithoutDMcpmIsNotADataDirectory",
     [](MiejscaDanych& m) { ZapiszPlik(m.programu / "Program.cpm", ""); }, "dom/Parvolen",
     DomyslnyProgram.c_str(), DomyslneDM.c_str()},
    {"OtherwiseTheUsersDirectoryIsMadeAndSeeded", [](MiejscaDanych&) {}, "dom/Parvolen",
     DomyslnyProgram.c_str(), DomyslneDM.c_str()},
    {"ExistingFileOfTheUserIsKept",
     [](MiejscaDanych& m) {
         fs::create_directories(m.uzytkownika);
         ZapiszPlik(m.uzytkownika / "Program.cpm", "8009\r\n");
     },
     "dom/Parvolen", "8009\r\n", DomyslneDM.c_str()},
    {"EmptyFilesOfTheUserAreKeptToo",
     [](MiejscaDanych& m) {
         fs::create_directories(m.uzytkownika);
         ZapiszPlik(m.uzytkownika / "Program.cpm", "");
         ZapiszPlik(m.uzytkownika / "DM.cpm", "");
     },
     "dom/Parvolen", "", ""},
};

TEST_P(WyborKatalogu, ChoosesAndPrepares) {
    const Przypadek& p = GetParam();
    p.uklad(miejsca_);
    EXPECT_EQ(WybierzKatalogDanych(miejsca_), Sciezka(p.katalog));
    EXPECT_EQ(PrzygotujKatalogDanych(miejsca_), Sciezka(p.katalog));
    // A second start finds the same directory and changes nothing in it.
    EXPECT_EQ(PrzygotujKatalogDanych(miejsca_), Sciezka(p.katalog));
    if (p.programUzytkownika == nullptr) {
        EXPECT_FALSE(fs::exists(miejsca_.uzytkownika));
        return;
    }
    EXPECT_EQ(Czytaj("dom/Parvolen/Program.cpm"), p.programUzytkownika);
    EXPECT_EQ(Czytaj("dom/Parvolen/DM.cpm"), p.dmUzytkownika);
    // No options file, and no temporary file left behind.
    EXPECT_EQ(Pliki("dom/Parvolen"), (std::vector<std::string>{"DM.cpm", "Program.cpm"}));
}

INSTANTIATE_TEST_SUITE_P(KatalogDanych, WyborKatalogu, ::testing::ValuesIn(Przypadki),
                         [](const auto& przypadek) { return std::string(przypadek.param.nazwa); });

// The failures: each names the user's directory and says why. The read-only
// folder stops only an unprivileged user, so under root the preparation runs
// in a child that has given root up.
TEST_F(KatalogDanychTest, ReadOnlyDataHomeIsAnError) {
    ::chmod(katalog_.sciezka().c_str(), 0755);
    ::chmod(Sciezka("share").c_str(), 0755);
    ::chmod(Sciezka("dom").c_str(), 0555);
    const std::string katalog = Sciezka("dom/Parvolen").string();
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            try {
                PrzygotujKatalogDanych(miejsca_);
            } catch (const BladKataloguDanych& blad) {
                std::fprintf(stderr, "[%s] %s", blad.katalog().c_str(), blad.przyczyna().c_str());
                std::_Exit(3);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "\\[" + katalog + "\\] Permission denied");
    EXPECT_FALSE(fs::exists(miejsca_.uzytkownika));
}

TEST_F(KatalogDanychTest, DataHomeThatIsAFileIsAnError) {
    Zapisz("plik", "");
    miejsca_.uzytkownika = Sciezka("plik/Parvolen");
    try {
        PrzygotujKatalogDanych(miejsca_);
        FAIL() << "no error";
    } catch (const BladKataloguDanych& blad) {
        EXPECT_EQ(blad.katalog(), Sciezka("plik/Parvolen"));
        EXPECT_EQ(blad.przyczyna(), "Not a directory");
        EXPECT_EQ(std::string(blad.what()),
                  Sciezka("plik/Parvolen").string() + ": Not a directory");
    }
}

TEST_F(KatalogDanychTest, MissingDefaultIsAnErrorThatNamesIt) {
    fs::remove(Sciezka("share/parvolen/DM.cpm"));
    try {
        PrzygotujKatalogDanych(miejsca_);
        FAIL() << "no error";
    } catch (const BladKataloguDanych& blad) {
        EXPECT_EQ(blad.katalog(), miejsca_.uzytkownika);
        EXPECT_EQ(blad.przyczyna().rfind(
                      "brak pliku domyślnego " + Sciezka("share/parvolen/DM.cpm").string(), 0),
                  0u)
            << blad.przyczyna();
    }
    // What could be seeded was; a later start with the default back in place
    // completes the directory without touching it.
    EXPECT_EQ(Czytaj("dom/Parvolen/Program.cpm"), DomyslnyProgram);
    Zapisz("dom/Parvolen/Program.cpm", "8009\r\n");
    Zapisz("share/parvolen/DM.cpm", DomyslneDM);
    PrzygotujKatalogDanych(miejsca_);
    EXPECT_EQ(Czytaj("dom/Parvolen/Program.cpm"), "8009\r\n");
    EXPECT_EQ(Czytaj("dom/Parvolen/DM.cpm"), DomyslneDM);
}

// The process's own places: the settings file named by XDG_CONFIG_DIRS (the
// test's main points it at a folder of its own), $XDG_DATA_HOME, and the
// executable's folder with the installation's share/ beside it.
TEST_F(KatalogDanychTest, PlacesOfTheProcessComeFromTheEnvironment) {
    ::setenv("XDG_DATA_HOME", Sciezka("dom").c_str(), 1);
    const fs::path programu = QCoreApplication::applicationDirPath().toStdString();
    MiejscaDanych m = MiejscaDanychSystemu();
    EXPECT_EQ(m.zUstawien, fs::path());
    EXPECT_EQ(m.programu, programu);
    EXPECT_EQ(m.uzytkownika, Sciezka("dom/Parvolen"));
    EXPECT_EQ(m.domyslnych, (programu / "../share/parvolen").lexically_normal());

    const char* katalogi = std::getenv("XDG_CONFIG_DIRS");
    ASSERT_NE(katalogi, nullptr);
    QSettings plik(QDir(katalogi).filePath("Orvanta/Parvolen.conf"), QSettings::IniFormat);
    plik.setValue("Setup/InstallPath",
                  QString::fromStdString(Sciezka("instalacja").string()) + "//");
    plik.sync();
    m = MiejscaDanychSystemu();
    EXPECT_EQ(m.zUstawien, Sciezka("instalacja"));
    EXPECT_EQ(KatalogDanych(), Sciezka("instalacja"));
    plik.remove("Setup/InstallPath");
    plik.sync();
}

// The shared files: the current directory first, then the others in order.
TEST_F(KatalogDanychTest, SharedFileIsTakenFromTheFirstDirectoryThatHasIt) {
    for (const char* nazwa : {"a/Pomoc", "b/Pomoc", "c/Pomoc"}) {
        fs::create_directories(Sciezka(nazwa));
    }
    const std::vector<fs::path> katalogi{Sciezka("a"), Sciezka("b"), Sciezka("c")};
    const fs::path strona = "Pomoc/help.html";
    EXPECT_EQ(ZnajdzPlik(strona, katalogi), std::nullopt);
    Zapisz("c/Pomoc/help.html", "");
    EXPECT_EQ(ZnajdzPlik(strona, katalogi), Sciezka("c/Pomoc/help.html"));
    Zapisz("b/Pomoc/help.html", "");
    EXPECT_EQ(ZnajdzPlik(strona, katalogi), Sciezka("b/Pomoc/help.html"));
    // A folder of the file's name is not the file.
    fs::create_directories(Sciezka("a/Pomoc/help.html"));
    EXPECT_EQ(ZnajdzPlik(strona, katalogi), Sciezka("b/Pomoc/help.html"));

    const fs::path programu = QCoreApplication::applicationDirPath().toStdString();
    EXPECT_EQ(KatalogiPlikowWspolnych(),
              (std::vector<fs::path>{fs::current_path(), programu,
                                     (programu / "../share/parvolen").lexically_normal()}));
}

} // namespace
