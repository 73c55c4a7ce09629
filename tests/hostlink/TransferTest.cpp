// Program download ("1286" and its continuation frames) and upload ("1107").

#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoHosta.h"

#include "engine/Funkcje.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

namespace hostlink::test {
namespace {

const std::string RamkaWypelnienia = std::string(126, '0') + "\r";
const std::string RamkaZamykajaca = std::string(40, '0') + "*\r";

class Transfer : public ::testing::Test {
protected:
    // Sends the download of these words, n given as two hexadecimal
    // characters; the replies, in order.
    std::vector<std::string> Pobierz(const std::vector<std::string>& slowa, const char* n) {
        std::vector<std::string> odpowiedzi;
        for (const std::string& ramka : RamkiPobierania(slowa, n)) {
            odpowiedzi.push_back(s.Odbierz(ramka));
        }
        return odpowiedzi;
    }

    std::vector<std::string> Tabela() const {
        std::vector<std::string> slowa;
        for (int k = 0; k < plc::RozmiarTabeli; ++k) {
            slowa.push_back(s.program.slowo(k));
        }
        return slowa;
    }

    static std::vector<std::string> TabelaZ(std::vector<std::string> slowa) {
        slowa.resize(plc::RozmiarTabeli);
        return slowa;
    }

    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
};

struct Pobieranie {
    const char* n;
    int slow;
    std::vector<std::string> odpowiedzi;
};

TEST_F(Transfer, DownloadFillsTheTableTheFileAndTheLineCount) {
    const Pobieranie przypadki[] = {
        {"2E", 23, {Potwierdzenie}},
        {"30", 24, {"\r", Potwierdzenie}},
        {"6E", 55, {"\r", "\r", Potwierdzenie}},
        {"00", 0, {Potwierdzenie}},
        {"2D", 22, {Potwierdzenie}},
        {"2F", 24, {"\r", Potwierdzenie}},
        {"FF", 128, {"\r", "\r", "\r", "\r", Potwierdzenie}},
    };
    for (const Pobieranie& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.n);
        const std::vector<std::string> slowa = Slowa(przypadek.slow);
        EXPECT_EQ(Pobierz(slowa, przypadek.n), przypadek.odpowiedzi);
        EXPECT_EQ(Tabela(), TabelaZ(slowa));
        EXPECT_EQ(s.program.liczbaLinii(), przypadek.slow);
        EXPECT_EQ(LiniePliku(s.plikProgramu), slowa);
    }
}

TEST_F(Transfer, TheFileReloadsToTheSameTableAndLineCount) {
    const std::vector<std::string> slowa = Slowa(60);
    Pobierz(slowa, "78");
    plc::TabelaProgramu wczytana;
    plc::Pamiec pamiec;
    plc::WczytajProgram(wczytana, pamiec, s.plikProgramu);
    for (int k = 0; k < plc::RozmiarTabeli; ++k) {
        EXPECT_EQ(wczytana.slowo(k), s.program.slowo(k)) << "entry " << k;
    }
    EXPECT_EQ(wczytana.liczbaLinii(), 60);
}

// A frame that carries fewer words than its count announces, as a noisy line
// may deliver one: the words come from the frame's text only, never from its
// FCS, "*" and CR, so Program.cpm keeps whole lines and the next upload
// works. The replies are those of a well-formed download.
TEST_F(Transfer, AnOverCountedFrameStoresOnlyTheWordsOfItsText) {
    const std::vector<std::string> slowa = Slowa(23);
    const struct {
        const char* nazwa;
        std::vector<std::string> ramki;
        std::vector<std::string> odpowiedzi;
        std::vector<std::string> tabela; // the entries from 0 on
    } przypadki[] = {
        {"three announced, one sent",
         {Polecenie("@00MB12860600000008000")},
         {Potwierdzenie},
         {"8000"}},
        {"four announced, one and a half sent",
         {Polecenie("@00MB1286080000000800020")},
         {Potwierdzenie},
         {"8000", "20"}},
        {"the first of two frames short",
         {RamkaPosrednia("@00MB1286300000000" + Zlacz(slowa, 0, 20)), Polecenie("C008")},
         {"\r", Potwierdzenie},
         [&] {
             std::vector<std::string> t(slowa.begin(), slowa.begin() + 20);
             t.resize(23);
             t.push_back("C008");
             return t;
         }()},
        {"the last frame carries no word",
         {RamkaPosrednia("@00MB1286300000000" + Zlacz(slowa, 0, 23)), Polecenie("")},
         {"\r", Potwierdzenie},
         slowa},
        {"a second frame in the same read",
         {Polecenie("@00MB12860600000008000") + Polecenie("@00MB1A03")},
         {Potwierdzenie},
         {"8000"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::vector<std::string> odpowiedzi;
        for (const std::string& ramka : p.ramki) {
            odpowiedzi.push_back(s.Odbierz(ramka));
        }
        EXPECT_EQ(odpowiedzi, p.odpowiedzi);
        EXPECT_EQ(Tabela(), TabelaZ(p.tabela));

        std::string plik;
        int niepuste = 0;
        for (const std::string& slowo : p.tabela) {
            if (!slowo.empty()) {
                plik += slowo + "\r\n";
                ++niepuste;
            }
        }
        EXPECT_EQ(katalog.czytaj("Program.cpm"), plik);
        EXPECT_EQ(s.program.liczbaLinii(), niepuste);
        plc::TabelaProgramu wczytana;
        plc::Pamiec pamiec;
        plc::WczytajProgram(wczytana, pamiec, s.plikProgramu);
        EXPECT_EQ(wczytana.liczbaLinii(), niepuste);
    }
    // Whole words upload again.
    s.Odbierz(Polecenie("@00MB12860600000008000"));
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1107")).substr(0, 28),
              std::string("@00MB00890000000080") + "0800," + "8000");
}

TEST_F(Transfer, AnAbandonedDownloadKeepsWhatArrivedAndANewOneStartsAfresh) {
    const std::vector<std::string> slowa = Slowa(40);
    EXPECT_EQ(s.Odbierz(RamkaPosrednia("@00MB1286500000000" + Zlacz(slowa, 0, 23))), "\r");
    EXPECT_EQ(s.program.liczbaLinii(), 23);
    EXPECT_EQ(LiniePliku(s.plikProgramu).size(), 23U);

    const std::vector<std::string> nowe = {"8000", "2008"};
    EXPECT_EQ(Pobierz(nowe, "04"), std::vector<std::string>{Potwierdzenie});
    EXPECT_EQ(Tabela(), TabelaZ(nowe));
    EXPECT_EQ(LiniePliku(s.plikProgramu), nowe);
}

TEST_F(Transfer, ZeroFramesOfTheOtherCommandsAreNotTakenAsDownloadWords) {
    const std::vector<std::string> slowa = Slowa(30);
    s.Odbierz(RamkaPosrednia("@00MB12863C0000000" + Zlacz(slowa, 0, 23)));
    EXPECT_EQ(s.Odbierz(std::string(126, '0') + "\r"), "\r");
    EXPECT_EQ(s.Odbierz(std::string(50, '0') + "*\r"), Potwierdzenie);
    EXPECT_EQ(s.program.slowo(23), "");
    // The download still expects its continuation frame.
    EXPECT_EQ(s.Odbierz(RamkaKoncowa(Zlacz(slowa, 23, 7))), Potwierdzenie);
    EXPECT_EQ(Tabela(), TabelaZ(slowa));
}

TEST_F(Transfer, AnUploadInTheMiddleOfADownloadLeavesNothingMoreToStore) {
    std::vector<std::string> slowa = Slowa(60);
    s.Odbierz(RamkaPosrednia("@00MB1286780000000" + Zlacz(slowa, 0, 23)));
    s.Odbierz(RamkaPosrednia(Zlacz(slowa, 23, 31)));
    // The upload counts the 54 words held so far: 29 still to go after its first frame,
    // fewer than this download has already stored.
    s.Odbierz(Polecenie("@00MB1107"));
    EXPECT_EQ(s.Odbierz(RamkaKoncowa(Zlacz(slowa, 54, 6))), Potwierdzenie);
    slowa.resize(54);
    EXPECT_EQ(Tabela(), TabelaZ(slowa));
    EXPECT_EQ(s.program.liczbaLinii(), 54);
    // The frame line counter was left at 0: the upload's 29 fill frames follow.
    for (int i = 0; i < 29; ++i) {
        EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia) << "lone CR " << i;
    }
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);
}

TEST_F(Transfer, ANonHexadecimalCountEmptiesTheTableButKeepsFileAndLineCount) {
    Pobierz({"8000", "2008"}, "04");
    try {
        s.Odbierz(Polecenie("@00MB1286G40000000C000"));
        FAIL() << "the count must fail";
    } catch (const plc::BladKonwersji& blad) {
        EXPECT_STREQ(blad.what(), "'$G4' is not a valid integer value");
    }
    EXPECT_EQ(Tabela(), TabelaZ({}));
    EXPECT_EQ(s.program.liczbaLinii(), 2);
    EXPECT_EQ(LiniePliku(s.plikProgramu), (std::vector<std::string>{"8000", "2008"}));
    EXPECT_EQ(s.port.wyslane.size(), 1U);
}

TEST_F(Transfer, AFileThatCannotBeWrittenFailsAfterTheReply) {
    Stanowisko bezKatalogu{katalog.sciezka() / "brak" / "Program.cpm"};
    EXPECT_THROW(bezKatalogu.Odbierz(Polecenie("@00MB1286040000000C0002008")), std::system_error);
    EXPECT_EQ(bezKatalogu.port.wyslane, std::vector<std::string>{Potwierdzenie});
    EXPECT_EQ(bezKatalogu.program.slowo(0), "C000");
    EXPECT_EQ(bezKatalogu.program.liczbaLinii(), 2);
    EXPECT_EQ(bezKatalogu.Odbierz(Polecenie("@00MB1604")), "@00MB000700000000064E*\r");
}

TEST_F(Transfer, UploadOfAnEmptyTable) {
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1107")), "@00MB00890000000080"
                                                 "0800," +
                                                     std::string(102, '0') + "62\r");
}

TEST_F(Transfer, UploadCarriesTheSummaryNumberAndThePaddedText) {
    Pobierz({"8008", "2008", "8000", "1801"}, "08");
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1107")), "@00MB00890000000080"
                                                 "07FF,8008200880001801" +
                                                     std::string(86, '0') + "67\r");
}

TEST_F(Transfer, SummaryCountsGroupTwoTimersWithAKindAndGroupOneButEnd) {
    // Counted: 2..., 0 with a non-zero kind, 1 with a last digit other than 1.
    Pobierz({"2000", "0800", "0000", "1802", "1801", "8000", "C008", "1A04"}, "10");
    const std::string odpowiedz = s.Odbierz(Polecenie("@00MB1107"));
    EXPECT_EQ(odpowiedz.substr(19, 5), "07FC,");
}

TEST_F(Transfer, UploadOfAWordThatIsNotHexadecimalFailsWithoutReply) {
    Pobierz({"8000", "X008"}, "04");
    try {
        s.Odbierz(Polecenie("@00MB1107"));
        FAIL() << "the upload must fail";
    } catch (const plc::BladKonwersji& blad) {
        EXPECT_STREQ(blad.what(), "'$X' is not a valid integer value");
    }
    EXPECT_EQ(s.port.wyslane.size(), 1U);
}

TEST_F(Transfer, FillFramesThenTheClosingFrameByTheFrameLineCounter) {
    Pobierz(Slowa(10), "14");
    s.Odbierz(Polecenie("@00MB1107"));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia) << "lone CR " << i;
    }
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);

    // The counter is not reset by the next upload: it closes at once.
    s.Odbierz(Polecenie("@00MB1107"));
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);

    // Only the final frame of "5E9E" clears the upload flag.
    s.Odbierz(Polecenie("@00MB5E9E0000"));
    s.Odbierz(
        "FF003F0063001B000001FF81FF0000000019FF27FF0060000F17FF000000000000004033020000000400630"
        "0630000000000000000000000000000000072*\r");
    EXPECT_EQ(s.Odbierz("\r"), "0,436300630000000000000000000000000000000071*\r");
}

// The first frame's program text, then the parts asked for with a frame that
// no earlier answer takes, put back together into words.
std::vector<std::string> Wyslij(Stanowisko& s, std::size_t slow) {
    const std::string pierwsza = s.Odbierz(Polecenie("@00MB1107"));
    EXPECT_EQ(pierwsza.size(), 129U);
    std::string tekst = pierwsza.substr(24, 102);
    for (int czesc = 0; czesc < 16; ++czesc) {
        const std::string ramka = s.Odbierz("?\r");
        if (ramka.empty()) {
            break;
        }
        EXPECT_EQ(ramka.size(), 131U);
        EXPECT_EQ(ramka.substr(128), FCS(ramka.substr(0, 128)) + "\r");
        tekst += ramka.substr(0, 128);
    }
    std::vector<std::string> slowa;
    for (std::size_t i = 0; i < slow; ++i) {
        slowa.push_back(tekst.substr(4 * i, 4));
    }
    EXPECT_EQ(tekst.find_first_not_of('0', 4 * slow), std::string::npos);
    return slowa;
}

TEST_F(Transfer, LongProgramsAreUploadedWhole) {
    const std::pair<int, const char*> przypadki[] = {{26, "34"}, {60, "78"}, {128, "FF"}};
    for (const auto& [slow, n] : przypadki) {
        SCOPED_TRACE(slow);
        const std::vector<std::string> slowa = Slowa(slow);
        Pobierz(slowa, n);
        EXPECT_EQ(Wyslij(s, slowa.size()), slowa);
    }
}

TEST_F(Transfer, ALongUploadKeepsTheFirstFrameAndTheFillFrames) {
    const std::vector<std::string> slowa = Slowa(28);
    Pobierz(slowa, "38");
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1107")), RamkaPosrednia("@00MB00890000000080"
                                                                "0800," +
                                                                Zlacz(slowa, 0, 25) + "C0"));
    // Three words to go after the first frame: three fill frames, then the close.
    EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia);
    EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia);
    EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia);
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);
    // The rest of the program is still there for the asking, once.
    EXPECT_EQ(s.Odbierz("?\r"), RamkaPosrednia("19" + Zlacz(slowa, 26, 2) + std::string(118, '0')));
    EXPECT_EQ(s.Odbierz("?\r"), "");
}

} // namespace
} // namespace hostlink::test
