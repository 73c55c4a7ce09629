// What the host link records of the line: each frame with its meaning and,
// when it got no reply, why; the replies with their latency; the bounded
// ring the rows go to; and the row texts the monitor shows and saves.

#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoHosta.h"

#include "hostlink/OpisWpisu.h"
#include "hostlink/PierscienZapisu.h"
#include "hostlink/Znaczenia.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hostlink::test {
namespace {

const std::string Nadmiar = std::string(LaczeHost::NajwiekszyBufor, 'A');

// What a test compares of a row: the rest (time, FCS) has tests of its own.
struct Wiersz {
    Kierunek kierunek;
    std::string ramka;
    std::string znaczenie;
    std::string powod;

    bool operator==(const Wiersz&) const = default;
};

void PrintTo(const Wiersz& w, std::ostream* os) {
    *os << (w.kierunek == Kierunek::Odebrana  ? "→ "
            : w.kierunek == Kierunek::Wyslana ? "← "
                                              : "• ")
        << WidocznaRamka(w.ramka) << " | " << w.znaczenie << " | " << w.powod;
}

class Zapis : public ::testing::Test {
protected:
    Zapis() {
        s.lacze.UstawZapis(&pierscien, [this] { return zegar_us; });
    }

    // Every row recorded since the last call.
    std::vector<Wiersz> Nowe() {
        std::vector<Wiersz> wiersze;
        for (auto& [numer, wpis] : pierscien.Od(przeczytane)) {
            wiersze.push_back({wpis.kierunek, wpis.ramka, wpis.znaczenie, wpis.powod});
            przeczytane = numer + 1;
        }
        return wiersze;
    }

    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
    PierscienZapisu pierscien;
    std::int64_t zegar_us = 0;
    std::uint64_t przeczytane = 0;
};

constexpr auto O = Kierunek::Odebrana;
constexpr auto W = Kierunek::Wyslana;

const std::string Status = Polecenie("@00MB1A03");
const std::string Nieznane = Polecenie("@00MB9999");
const std::string ZlaKonwersja = Polecenie("@00MB3084ZZ0000114");
const std::string Monitor16 = Polecenie("@00MB3084200000114" + std::string(60, '0'));
const std::string Wysylanie = Polecenie("@00MB1107");
const std::string Przerwanie = Polecenie("@00XZ");
const std::string RamkaWypelnienia = std::string(126, '0') + "\r";
const std::string RamkaZamykajaca = std::string(40, '0') + "*\r";
const std::vector<std::string> Pobieranie = RamkiPobierania(Slowa(24), "30");

struct Przypadek {
    const char* nazwa;
    std::vector<std::string> przygotowanie;
    std::vector<std::string> odczyty;
    std::vector<Wiersz> wiersze;
};

TEST_F(Zapis, EachFrameIsRecordedWithItsMeaningAndWhyItGotNoReply) {
    // Replies whose text other tests check, taken from a link of their own.
    const std::string OdpowiedzMonitora = s.Odbierz(Monitor16);
    for (const std::string& ramka : RamkiPobierania(Slowa(2), "04")) {
        s.Odbierz(ramka);
    }
    const std::string PierwszaRamkaWysylania = s.Odbierz(Wysylanie);

    const Przypadek przypadki[] = {
        {"status read",
         {},
         {Status},
         {{O, Status, "odczyt statusu", ""}, {W, StatusProgram, "", ""}}},
        {"unknown command",
         {},
         {Nieznane},
         {{O, Nieznane, "polecenie MB 9999", "nieznane polecenie — bez odpowiedzi"}}},
        {"conversion error",
         {},
         {ZlaKonwersja},
         {{O, ZlaKonwersja, "monitor", "błąd konwersji: '$ZZ' is not a valid integer value"}}},
        {"monitor read",
         {},
         {Monitor16},
         {{O, Monitor16, "monitor: 16 pozycji", ""}, {W, OdpowiedzMonitora, "", ""}}},
        {"download of two frames",
         {},
         Pobieranie,
         {{O, Pobieranie[0], "wgrywanie programu, ramka 1", ""},
          {W, "\r", "", ""},
          {O, Pobieranie[1], "wgrywanie programu, ramka 2", ""},
          {W, Potwierdzenie, "", ""}}},
        {"upload with fill frames",
         RamkiPobierania(Slowa(2), "04"),
         {Wysylanie, "\r", "\r", "\r"},
         {{O, Wysylanie, "odczyt programu, ramka 1", ""},
          {W, PierwszaRamkaWysylania, "", ""},
          {O, "\r", "odczyt programu, ramka wypełnienia", ""},
          {W, RamkaWypelnienia, "", ""},
          {O, "\r", "odczyt programu, ramka wypełnienia", ""},
          {W, RamkaWypelnienia, "", ""},
          {O, "\r", "odczyt programu, ramka zamykająca", ""},
          {W, RamkaZamykajaca, "", ""}}},
        {"lone CR",
         {},
         {"\r"},
         {{O, "\r", "dalsza część odpowiedzi", ""},
          {W, "0,436300630000000000000000000000000000000071*\r", "", ""}}},
        {"abort",
         {},
         {Przerwanie},
         {{O, Przerwanie, "przerwanie (XZ)", "przerwanie — bez odpowiedzi"}}},
        {"overflow, then the line's tail",
         {},
         {Nadmiar, "A", "AA\r", Status},
         {{O, Nadmiar.substr(0, 1024), "", "bufor przepełniony — odrzucono 65 537 znaków"},
          {O, "AA\r", "", "koniec przepełnionej linii — odrzucono 3 znaki"},
          {O, Status, "odczyt statusu", ""},
          {W, StatusProgram, "", ""}}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Stanowisko nowe{katalog.sciezka() / "Program.cpm"};
        PierscienZapisu nowy;
        nowe.lacze.UstawZapis(&nowy, [] { return std::int64_t{0}; });
        for (const std::string& znaki : p.przygotowanie) {
            nowe.Odbierz(znaki);
        }
        const std::uint64_t od = nowy.NastepnyNumer();
        for (const std::string& znaki : p.odczyty) {
            try {
                nowe.Odbierz(znaki);
            } catch (const std::exception&) {
                // The window's wrapper reports it; the row says it too.
            }
        }
        std::vector<Wiersz> wiersze;
        for (const auto& [numer, wpis] : nowy.Od(od)) {
            wiersze.push_back({wpis.kierunek, wpis.ramka, wpis.znaczenie, wpis.powod});
        }
        EXPECT_EQ(wiersze, p.wiersze);
    }
}

TEST_F(Zapis, AFrameWhileOffIsRecordedAndNotAnswered) {
    Nowe();
    s.lacze.OdebranoPrzyWylaczonym(Status + Status + "@00XZ");
    EXPECT_EQ(Nowe(),
              (std::vector<Wiersz>{{O, Status, "odczyt statusu", "symulator wyłączony"},
                                   {O, Status, "odczyt statusu", "symulator wyłączony"},
                                   {O, "@00XZ", "przerwanie (XZ)", "symulator wyłączony"}}));
    EXPECT_TRUE(s.port.wyslane.empty());
}

TEST_F(Zapis, ReceivedFramesCarryTheirFcsCheckAndRepliesTheirLatency) {
    zegar_us = 5'000'000;
    s.lacze.OznaczZalaczenie();
    zegar_us += 1'500;
    s.port.doOdczytu = "@00MB1A0300*\r";
    s.lacze.ReakcjaNaZnak();
    s.Odbierz(Status);

    const auto wiersze = pierscien.Od(0);
    ASSERT_EQ(wiersze.size(), 4U);
    const WpisLacza& zla = wiersze[0].wpis;
    EXPECT_EQ(zla.czas_us, 1'500);
    EXPECT_EQ(zla.fcsPrzeslana, "00");
    EXPECT_EQ(zla.fcsObliczona, FCS("@00MB1A03"));
    EXPECT_TRUE(zla.FcsRozna());
    // The check sequence is only shown: the frame is answered all the same.
    EXPECT_EQ(wiersze[1].wpis.ramka, StatusProgram);
    EXPECT_FALSE(wiersze[2].wpis.FcsRozna());
    EXPECT_EQ(wiersze[2].wpis.fcsPrzeslana, FCS("@00MB1A03"));
    EXPECT_EQ(wiersze[0].wpis.opoznienie_us, -1);
    EXPECT_EQ(wiersze[1].wpis.opoznienie_us, 0);
}

TEST_F(Zapis, LineEventsGetRowsOfTheirOwn) {
    Nowe();
    s.lacze.ZapiszZdarzenie(LaczeHost::ZdarzenieLinii::PortOtwarty, "COM1");
    s.lacze.ZapiszZdarzenie(LaczeHost::ZdarzenieLinii::KlientRozlaczony);
    const auto wiersze = Nowe();
    ASSERT_EQ(wiersze.size(), 2U);
    EXPECT_EQ(wiersze[0].kierunek, Kierunek::Linia);
    EXPECT_EQ(wiersze[0].znaczenie, "port otwarty: COM1");
    EXPECT_EQ(wiersze[1].znaczenie, "klient rozłączony");
}

// Before the mend the CR that ends an overflowed line was a lone CR of its
// own: answered with the second frame of a response, and in an upload it
// moved on the fill frames.
TEST(PrzepelnienieBufora, TheRestOfAnOverflowedLineIsDroppedThroughItsCr) {
    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
    EXPECT_EQ(s.Odbierz(Nadmiar + "A"), "");
    EXPECT_EQ(s.Odbierz("\r"), "");
    EXPECT_TRUE(s.lacze.Bufor().empty());
    EXPECT_EQ(s.Odbierz(Status), StatusProgram);

    for (const std::string& ramka : RamkiPobierania(Slowa(2), "04")) {
        s.Odbierz(ramka);
    }
    s.Odbierz(Wysylanie);
    s.Odbierz(Nadmiar + "A");
    EXPECT_EQ(s.Odbierz("\r"), "");
    // Two fill frames for two words are still to come, then the closing one.
    EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia);
    EXPECT_EQ(s.Odbierz("\r"), RamkaWypelnienia);
    EXPECT_EQ(s.Odbierz("\r"), RamkaZamykajaca);
}

TEST(PierscienZapisu, HoldsTheLastTenThousandRowsAndNumbersThemOn) {
    PierscienZapisu pierscien;
    for (int i = 0; i < 10'005; ++i) {
        WpisLacza wpis;
        wpis.czas_us = i;
        pierscien.Zapisz(wpis);
    }
    EXPECT_EQ(pierscien.Rozmiar(), PierscienZapisu::Pojemnosc);
    const auto wszystkie = pierscien.Od(0);
    ASSERT_EQ(wszystkie.size(), 10'000U);
    EXPECT_EQ(wszystkie.front().numer, 5U);
    EXPECT_EQ(wszystkie.front().wpis.czas_us, 5);
    EXPECT_EQ(wszystkie.back().wpis.czas_us, 10'004);
    EXPECT_EQ(pierscien.Od(10'003).size(), 2U);

    pierscien.Wyczysc();
    EXPECT_TRUE(pierscien.Od(0).empty());
    pierscien.Zapisz({});
    const auto po = pierscien.Od(10'005);
    ASSERT_EQ(po.size(), 1U);
    EXPECT_EQ(po.front().numer, 10'005U);
}

TEST(OpisWpisu, ControlCharactersAreShownAndNumbersGrouped) {
    const std::pair<std::string, std::string> ramki[] = {
        {"@00MB1A0300*\r", "@00MB1A0300*⏎"},
        {std::string("A\0\x1b\t", 4), "A\\x00\\x1B\\x09"},
        {"\xC3\xA9\\", "\\xC3\\xA9\\\\"},
    };
    for (const auto& [ramka, widoczna] : ramki) {
        EXPECT_EQ(WidocznaRamka(ramka), widoczna);
    }
    EXPECT_EQ(Odmiana(1, "znak", "znaki", "znaków"), "1 znak");
    EXPECT_EQ(Odmiana(22, "znak", "znaki", "znaków"), "22 znaki");
    EXPECT_EQ(Odmiana(12, "znak", "znaki", "znaków"), "12 znaków");
    EXPECT_EQ(Odmiana(65'536, "znak", "znaki", "znaków"), "65 536 znaków");
    EXPECT_EQ(Odmiana(1'000'000, "znak", "znaki", "znaków"), "1 000 000 znaków");
}

TEST(OpisWpisu, ARowIsOneTabSeparatedLine) {
    WpisLacza odebrana;
    odebrana.czas_us = 12'345'678;
    odebrana.kierunek = Kierunek::Odebrana;
    odebrana.ramka = "@00MB1A0300*\r";
    odebrana.znaczenie = "odczyt statusu";
    odebrana.fcsObliczona = "3C";
    odebrana.fcsPrzeslana = "00";
    EXPECT_EQ(WierszTekstowy(odebrana), "12345\t→\t@00MB1A0300*⏎\todczyt statusu\t3C ≠ 00\t\t");

    WpisLacza odpowiedz;
    odpowiedz.czas_us = 12'345'720;
    odpowiedz.kierunek = Kierunek::Wyslana;
    odpowiedz.ramka = "\r";
    odpowiedz.opoznienie_us = 42;
    odpowiedz.powod = "x";
    EXPECT_EQ(WierszTekstowy(odpowiedz), "12345\t←\t⏎\t\t\t0,042\tx");
}

} // namespace
} // namespace hostlink::test
