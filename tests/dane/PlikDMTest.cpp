#include "dane/PlikDM.h"

#include "tests/wspolne/PelnyDysk.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

namespace {

class PlikDMTest : public ::testing::Test {
protected:
    std::filesystem::path Plik() const {
        return std::filesystem::path(katalog_.path().toStdString()) / "DM.cpm";
    }
    void Zapisz(const std::string& tresc) const {
        std::ofstream(Plik(), std::ios::binary) << tresc;
    }
    std::string Czytaj() const {
        std::ifstream plik(Plik(), std::ios::binary);
        return {std::istreambuf_iterator<char>(plik), std::istreambuf_iterator<char>()};
    }

    QTemporaryDir katalog_;
    std::unique_ptr<plc::Pamiec> pamiec_ = std::make_unique<plc::Pamiec>();
};

TEST(LiczbaZWierszaDM, AcceptsOnlyAWholeSigned32BitNumber) {
    EXPECT_EQ(LiczbaZWierszaDM("0"), 0);
    EXPECT_EQ(LiczbaZWierszaDM("-2147483648"), INT32_MIN);
    EXPECT_EQ(LiczbaZWierszaDM("+17"), 17);
    EXPECT_EQ(LiczbaZWierszaDM("  5"), 5);
    for (const char* zle : {"", "abc", "1.5", "12 ", "2147483648", "0x10", "-", "1e3"}) {
        try {
            LiczbaZWierszaDM(zle);
            ADD_FAILURE() << "accepted \"" << zle << "\"";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(zle) + "' is not a valid integer value");
        }
    }
}

TEST_F(PlikDMTest, LoadsLineKIntoWordKWithAnyLineEnd) {
    Zapisz("5\r\n-6\n7\r8\r\n");
    OdczytDM(Plik(), true, *pamiec_);
    EXPECT_EQ(pamiec_->DM[0].load(), 5);
    EXPECT_EQ(pamiec_->DM[1].load(), -6);
    EXPECT_EQ(pamiec_->DM[2].load(), 7);
    EXPECT_EQ(pamiec_->DM[3].load(), 8);
    EXPECT_EQ(pamiec_->DM[4].load(), 0);
}

TEST_F(PlikDMTest, WithoutRetentionTheFileMustExistButNothingLoads) {
    EXPECT_THROW(OdczytDM(Plik(), false, *pamiec_), std::system_error);
    Zapisz("5\r\nnie liczba\r\n");
    OdczytDM(Plik(), false, *pamiec_);
    EXPECT_EQ(pamiec_->DM[0].load(), 0);
}

// The conversion error says which line, counted from 1 as an editor shows it.
TEST_F(PlikDMTest, ABadLineIsNamedAndStoresNothing) {
    const struct {
        const char* zla;
        int wiersz; // of the bad line
        const char* komunikat;
    } przypadki[] = {
        {"abc", 101, "'abc' is not a valid integer value (DM.cpm, wiersz 101)"},
        {"99999999999", 101, "'99999999999' is not a valid integer value (DM.cpm, wiersz 101)"},
        {"", 3, "'' is not a valid integer value (DM.cpm, wiersz 3)"},
        {"x", 1, "'x' is not a valid integer value (DM.cpm, wiersz 1)"},
        {"7", 255, nullptr},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.zla);
        std::string tresc;
        for (int wiersz = 1; wiersz <= 255; ++wiersz) {
            tresc += (wiersz == p.wiersz ? std::string(p.zla) : std::to_string(wiersz)) + "\r\n";
        }
        Zapisz(tresc);
        if (p.komunikat == nullptr) {
            OdczytDM(Plik(), true, *pamiec_);
            EXPECT_EQ(pamiec_->DM[254].load(), 7);
            continue;
        }
        try {
            OdczytDM(Plik(), true, *pamiec_);
            ADD_FAILURE() << "the load must fail";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), p.komunikat);
        }
        EXPECT_EQ(pamiec_->DM[0].load(), 0);
    }
}

// The system's text first, then the file's full path.
TEST_F(PlikDMTest, AFileThatCannotBeReadNamesItself) {
    for (const bool podtrzymanie : {false, true}) {
        try {
            OdczytDM(Plik(), podtrzymanie, *pamiec_);
            ADD_FAILURE() << "a missing file must fail";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.what(), "No such file or directory (" + Plik().string() + ")");
        }
    }
    std::filesystem::create_directory(Plik());
    try {
        OdczytDM(Plik(), true, *pamiec_);
        ADD_FAILURE() << "a directory must fail";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.what(), "Is a directory (" + Plik().string() + ")");
    }
}

// What a save killed half way left beside the file goes at the next load.
TEST_F(PlikDMTest, ALoadRemovesTheTemporaryFileAKilledSaveLeft) {
    Zapisz("5\r\n");
    const auto tymczasowy = Plik().parent_path() / "DM.cpm.tmp";
    std::ofstream(tymczasowy, std::ios::binary) << "5\r\n6";
    OdczytDM(Plik(), true, *pamiec_);
    EXPECT_FALSE(std::filesystem::exists(tymczasowy));
    EXPECT_EQ(Czytaj(), "5\r\n");
}

TEST_F(PlikDMTest, LinesPastTheDMAreaAreIgnored) {
    std::string tresc;
    for (int k = 0; k < 1030; ++k) {
        tresc += std::to_string(k + 1) + "\r\n";
    }
    Zapisz(tresc + "nie liczba\r\n");
    OdczytDM(Plik(), true, *pamiec_);
    EXPECT_EQ(pamiec_->DM[1023].load(), 1024);
}

TEST_F(PlikDMTest, SavesExactly255Lines) {
    for (int k = 0; k < plc::LiczbaDM; ++k) {
        pamiec_->DM[static_cast<std::size_t>(k)].store(k * 1000 - 5);
    }
    Zapisz("stara zawartosc, dluzsza niz wiersz");
    ZapisDM(Plik(), *pamiec_);
    std::string oczekiwane;
    for (int k = 0; k < 255; ++k) {
        oczekiwane += std::to_string(k * 1000 - 5) + "\r\n";
    }
    EXPECT_EQ(Czytaj(), oczekiwane);

    auto wczytana = std::make_unique<plc::Pamiec>();
    OdczytDM(Plik(), true, *wczytana);
    EXPECT_EQ(wczytana->DM[254].load(), 253995);
    EXPECT_EQ(wczytana->DM[255].load(), 0);
}

TEST_F(PlikDMTest, AFailedSaveNamesTheFileAndLeavesNoFile) {
    std::filesystem::create_directory(Plik());
    try {
        ZapisDM(Plik(), *pamiec_);
        ADD_FAILURE() << "the save must fail";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.what(), "Is a directory (" + Plik().string() + ")");
    }
    EXPECT_TRUE(std::filesystem::is_directory(Plik()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Plik().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

// A disk that fills up part way through the save: the save fails with the
// system's reason and the old file stays whole (not a truncated new one).
TEST_F(PlikDMTest, ASaveOntoAFullDiskThrowsAndKeepsTheOldFile) {
    Zapisz(std::string(255 * 3, '0'));
    for (int k = 0; k < SlowaPlikuDM; ++k) {
        pamiec_->DM[static_cast<std::size_t>(k)].store(-100000 - k);
    }
    try {
        const PelnyDysk dysk(300);
        ZapisDM(Plik(), *pamiec_);
        ADD_FAILURE() << "the save must fail";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), "File too large (" + Plik().string() + ")");
    }
    EXPECT_EQ(Czytaj(), std::string(255 * 3, '0'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Plik().parent_path()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind
}

TEST_F(PlikDMTest, LengthFromTheDirectoryEntry) {
    EXPECT_EQ(DlugoscPliku(Plik()), 0u);
    Zapisz(std::string(764, '0'));
    EXPECT_EQ(DlugoscPliku(Plik()), 764u);
}

} // namespace
