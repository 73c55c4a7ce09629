#include "dane/PlikIni.h"

#include "tests/wspolne/PelnyDysk.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class PlikIniTest : public ::testing::Test {
protected:
    std::filesystem::path Sciezka(const std::string& nazwa) const {
        return std::filesystem::path(katalog_.path().toStdString()) / nazwa;
    }
    void Zapisz(const std::string& tresc) const {
        std::ofstream(Sciezka("Konfiguracja.ini"), std::ios::binary) << tresc;
    }
    std::string Czytaj() const {
        std::ifstream plik(Sciezka("Konfiguracja.ini"), std::ios::binary);
        return {std::istreambuf_iterator<char>(plik), std::istreambuf_iterator<char>()};
    }

    QTemporaryDir katalog_;
    PlikIni ini_{Sciezka("Konfiguracja.ini")};
};

TEST_F(PlikIniTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini_.CzytajTekst("Opcje okna", "Dzwieki", "x"), "x");
    EXPECT_EQ(ini_.CzytajLiczbe("Opcje okna", "Numer portu", 2), 2);
    EXPECT_TRUE(ini_.CzytajBool("Opcje okna", "ZawszeNaWierzchu", true));
    Zapisz("[Opcje okna]\r\nDzwieki=1\r\n");
    EXPECT_EQ(ini_.CzytajLiczbe("Opcje programu", "Dzwieki", 7), 7);
    EXPECT_EQ(ini_.CzytajLiczbe("Opcje okna", "Komunikacja", 7), 7);
}

// The file is the host link's configuration as it is: an option read through
// that interface sees its default until a typed write puts the value under
// the option's own section and key.
TEST_F(PlikIniTest, TypedOptionsReadTheirDefaultAndWriteUnderTheirSectionAndKey) {
    constexpr hostlink::Opcja<bool> Flaga{"S", "Flaga", true};
    constexpr hostlink::Opcja<int> Liczba{"S", "Liczba", 3};
    const hostlink::KonfiguracjaLacza& konfiguracja = ini_;
    EXPECT_TRUE(konfiguracja.Czytaj(Flaga));
    EXPECT_EQ(konfiguracja.Czytaj(Liczba), 3);

    ini_.Zapisz(Liczba, 12);
    ini_.Zapisz(Flaga, false);
    EXPECT_EQ(Czytaj(), "[S]\r\nLiczba=12\r\nFlaga=0\r\n");
    EXPECT_FALSE(konfiguracja.Czytaj(Flaga));
    EXPECT_EQ(konfiguracja.Czytaj(Liczba), 12);
}

TEST_F(PlikIniTest, NamesMatchWithoutRegardToCaseAndSpaces) {
    Zapisz("[ opcje OKNA ]\nnumer PORTU = 1 \n[Opcje programu]\r\nPodtrzymanie LR,HR,AR=0\r\n");
    EXPECT_EQ(ini_.CzytajLiczbe("Opcje okna", "Numer portu", 2), 1);
    EXPECT_FALSE(ini_.CzytajBool("OPCJE PROGRAMU", "podtrzymanie lr,hr,ar", true));
}

TEST_F(PlikIniTest, EveryReadSeesTheFileAsItIsNow) {
    Zapisz("[A]\r\nK=1\r\n");
    EXPECT_EQ(ini_.CzytajLiczbe("A", "K", 0), 1);
    Zapisz("[A]\r\nK=2\r\n");
    EXPECT_EQ(ini_.CzytajLiczbe("A", "K", 0), 2);
}

TEST_F(PlikIniTest, NumbersAsTheRunTimeReadsThem) {
    const struct {
        const char* wartosc;
        int wynik;
    } przypadki[] = {
        {"12", 12},  {"-3", -3},        {"+4", 4},    {"$1F", 31}, {"0x10", 16},
        {"abc", 99}, {"", 99},          {"1 2", 99},  {"12a", 99}, {"99999999999", 99},
        {"$", 99},   {"0x", 99},        {"\"5\"", 5}, {"-0", 0},   {"2147483647", 2147483647},
        {"$-1", 99}, {"$FFFFFFFF", -1},
    };
    for (const auto& p : przypadki) {
        Zapisz(std::string("[S]\r\nK=") + p.wartosc + "\r\n");
        EXPECT_EQ(ini_.CzytajLiczbe("S", "K", 99), p.wynik) << "value \"" << p.wartosc << "\"";
    }
    Zapisz("[S]\r\nK=2\r\nL=0\r\nM=nie\r\n");
    EXPECT_TRUE(ini_.CzytajBool("S", "K", false));
    EXPECT_FALSE(ini_.CzytajBool("S", "L", true));
    EXPECT_TRUE(ini_.CzytajBool("S", "M", true));
}

TEST_F(PlikIniTest, TheFirstOfTwoSectionsOrKeysCounts) {
    Zapisz("[S]\r\nK=1\r\nK=2\r\n[S]\r\nK=3\r\n");
    EXPECT_EQ(ini_.CzytajLiczbe("S", "K", 0), 1);
    ini_.ZapiszLiczbe("S", "K", 5);
    EXPECT_EQ(Czytaj(), "[S]\r\nK=5\r\nK=2\r\n[S]\r\nK=3\r\n");
}

TEST_F(PlikIniTest, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
    const std::string przed = "; uwaga\r\n[Opcje okna]\r\nZawszeNaWierzchu = 1\r\n"
                              "Dziwny wiersz\r\n\r\n[Model sterownika]\r\nCPU=1\r\n";
    Zapisz(przed);
    ini_.ZapiszBool("opcje okna", "zawszenawierzchu", false);
    EXPECT_EQ(Czytaj(), "; uwaga\r\n[Opcje okna]\r\nZawszeNaWierzchu =0\r\n"
                        "Dziwny wiersz\r\n\r\n[Model sterownika]\r\nCPU=1\r\n");
}

TEST_F(PlikIniTest, WriteAppendsKeyToItsSectionAndNewSectionsAtTheEnd) {
    Zapisz("[A]\r\nX=1\r\n\r\n[B]\r\nY=2");
    ini_.ZapiszTekst("A", "Z", "3");
    ini_.ZapiszTekst("B", "W", "4");
    ini_.ZapiszTekst("C", "V", "5");
    EXPECT_EQ(Czytaj(), "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\nW=4\r\n\r\n[C]\r\nV=5\r\n");
}

TEST_F(PlikIniTest, WriteCreatesTheFileAndKeepsItsLineEnds) {
    ini_.ZapiszLiczbe("Opcje okna", "Numer portu", 1);
    EXPECT_EQ(Czytaj(), "[Opcje okna]\r\nNumer portu=1\r\n");
    Zapisz("[A]\nX=1\n");
    ini_.ZapiszTekst("A", "Y", "2");
    EXPECT_EQ(Czytaj(), "[A]\nX=1\nY=2\n");
}

// The new contents arrive by renaming a complete file over the old one: a
// second name for the old file keeps the old contents whole.
TEST_F(PlikIniTest, WriteReplacesTheFileAtomically) {
    Zapisz("[A]\r\nX=1\r\n");
    std::filesystem::create_hard_link(Sciezka("Konfiguracja.ini"), Sciezka("stary.ini"));
    ini_.ZapiszTekst("A", "X", "2");
    EXPECT_EQ(Czytaj(), "[A]\r\nX=2\r\n");
    std::ifstream stary(Sciezka("stary.ini"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stary), {}), "[A]\r\nX=1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Sciezka("")),
                            std::filesystem::directory_iterator()),
              2); // no temporary file left behind
}

TEST_F(PlikIniTest, RefusedWriteNamesTheFullFileAndChangesNothing) {
    std::filesystem::create_directory(Sciezka("Konfiguracja.ini"));
    try {
        ini_.ZapiszLiczbe("A", "X", 1);
        FAIL() << "the write must be refused";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + Sciezka("Konfiguracja.ini").string());
    }
    EXPECT_EQ(ini_.CzytajLiczbe("A", "X", 7), 7);

    PlikIni brakKatalogu(Sciezka("brak/Konfiguracja.ini"));
    EXPECT_THROW(brakKatalogu.ZapiszLiczbe("A", "X", 1), std::runtime_error);
}

// A disk that fills up part way through the write refuses it the same way,
// and the old file stays whole.
TEST_F(PlikIniTest, AWriteOntoAFullDiskIsRefusedAndChangesNothing) {
    const std::string stary = "[A]\r\nX=1\r\n" + std::string(100, ';') + "\r\n";
    Zapisz(stary);
    try {
        const PelnyDysk dysk(64);
        ini_.ZapiszTekst("A", "X", std::string(200, '2'));
        ADD_FAILURE() << "the write must be refused";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + Sciezka("Konfiguracja.ini").string());
    }
    EXPECT_EQ(Czytaj(), stary);
}

} // namespace
