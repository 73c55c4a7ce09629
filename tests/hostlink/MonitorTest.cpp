// The monitor read "3084": items by area code, the count and the failures.

#include "tests/wspolne/StanowiskoHosta.h"

#include "engine/Funkcje.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace hostlink::test {
namespace {

class Monitor : public ::testing::Test {
protected:
    // A monitor read with the count n (two hexadecimal characters) and the items.
    std::string Odczyt(std::string_view n, std::string_view pozycje) {
        return s.Odbierz(Polecenie("@00MB3084" + std::string(n) + "000" + std::string(pozycje)));
    }

    // The items of a reply whose header carries the given count; checks the
    // frame around them, FCS included.
    static std::string Pozycje(const std::string& odpowiedz, std::string_view licznik) {
        const std::string poczatek = "@00MB0084" + std::string(licznik) + "00,";
        EXPECT_EQ(odpowiedz.substr(0, poczatek.size()), poczatek);
        EXPECT_GE(odpowiedz.size(), poczatek.size() + 4);
        if (odpowiedz.size() < poczatek.size() + 4) {
            return {};
        }
        const std::string tekst = odpowiedz.substr(0, odpowiedz.size() - 4);
        EXPECT_EQ(odpowiedz.substr(odpowiedz.size() - 4), FCS(tekst) + "*\r");
        return tekst.substr(poczatek.size());
    }

    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
};

TEST_F(Monitor, AnOutputChannelWithBitsZeroAndThree) {
    s.pamiec.IR.ustaw(10, 0, 1);
    s.pamiec.IR.ustaw(10, 3, 1);
    EXPECT_EQ(Odczyt("02", "0114"), "@00MB00840200,0009000064*\r");
}

struct Pozycja {
    const char* opis;
    std::function<void(plc::Pamiec&)> ustaw;
    const char* slowo;
    const char* wynik;
};

TEST_F(Monitor, EachAreaCodeGivesItsItem) {
    const Pozycja przypadki[] = {
        {"IR 010 shows its bits as hex digits",
         [](plc::Pamiec& p) {
             p.IR.ustaw(10, 15, 1);
             p.IR.ustaw(10, 4, 1);
         },
         "0114", "80100000"},
        {"IR 000 from an odd byte offset", [](plc::Pamiec& p) { p.IR.ustaw(0, 8, 1); }, "0101",
         "01000000"},
        {"SR 250 holding 125 in BCD", [](plc::Pamiec& p) { plc::ZapisLiczby(p.IR, 250, "125"); },
         "02F4", "01250000"},
        {"channel 253 whatever its bits",
         [](plc::Pamiec& p) {
             p.IR.ustaw(253, 15, 1);
             p.IR.ustaw(253, 0, 1);
         },
         "02FA", "20000000"},
        {"channel 254 with the minute clock on", [](plc::Pamiec& p) { p.IR.ustaw(254, 0, 1); },
         "02FC", "00070000"},
        {"channel 254 with the minute clock off", [](plc::Pamiec& p) { p.IR.ustaw(254, 1, 1); },
         "02FC", "00000000"},
        {"channel 255 with the second clock on", [](plc::Pamiec& p) { p.IR.ustaw(255, 2, 1); },
         "02FE", "00070000"},
        {"channel 255 with the second clock off", [](plc::Pamiec& p) { p.IR.ustaw(255, 5, 1); },
         "02FE", "00000000"},
        {"HR 005", [](plc::Pamiec& p) { p.HR.ustaw(5, 1, 1); }, "000A", "00020000"},
        {"HR 130, not IR 130",
         [](plc::Pamiec& p) {
             p.HR.ustaw(130, 12, 1);
             p.IR.ustaw(130, 0, 1);
         },
         "0304", "10000000"},
        {"timer 003 timing at 25",
         [](plc::Pamiec& p) {
             p.TC[3].ustawWartosc(25);
             p.TC[3].ustawStatus("6800");
         },
         "0406", "00256800"},
        {"counter 127 done",
         [](plc::Pamiec& p) {
             p.TC[127].ustawWartosc(0);
             p.TC[127].ustawStatus("F800");
         },
         "04FF", "0000F800"},
        {"status word twice", [](plc::Pamiec& p) { p.TC[3].ustawStatus("E800"); }, "0806",
         "E800E800"},
        {"DM 0100", [](plc::Pamiec& p) { p.DM[100] = 1234; }, "0CC8", "12340000"},
        {"DM 1000", [](plc::Pamiec& p) { p.DM[1000] = 77; }, "13D0", "00770000"},
        {"DM 0000 rounds the byte half to even", [](plc::Pamiec& p) { p.DM[0] = 9; }, "0C01",
         "00090000"},
        {"DM 0002 from the byte 03", [](plc::Pamiec& p) { p.DM[2] = 3; }, "0C03", "00030000"},
        {"a short negative value padded in front of its sign", [](plc::Pamiec& p) { p.DM[5] = -5; },
         "0C0A", "00-50000"},
        {"a negative value of four digits goes unpadded", [](plc::Pamiec& p) { p.DM[5] = -1234; },
         "0C0A", "-12340000"},
        {"a value above 9999 goes unpadded", [](plc::Pamiec& p) { p.DM[5] = 123456; }, "0C0A",
         "1234560000"},
        {"DM 1024 lies past the area and reads 0", [](plc::Pamiec& p) { p.DM[1023] = 5; }, "13FF",
         "00000000"},
        {"area 05 is left out", [](plc::Pamiec&) {}, "0500", ""},
        {"area 14 is left out", [](plc::Pamiec&) {}, "1400", ""},
    };
    for (const Pozycja& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.opis);
        s.pamiec.resetZalaczenia();
        przypadek.ustaw(s.pamiec);
        EXPECT_EQ(Pozycje(Odczyt("02", przypadek.slowo), "02"), przypadek.wynik);
    }
}

TEST_F(Monitor, ItemsComeInRequestOrderAndTheCountIsTakenFromTheRequest) {
    s.pamiec.IR.ustaw(10, 1, 1);
    s.pamiec.DM[100] = 42;
    EXPECT_EQ(Pozycje(Odczyt("06", "0CC805000114"), "06"), "0042000000020000");
}

TEST_F(Monitor, TheCountIsHalvedWithHalvesToEven) {
    const std::string cztery = "0CC80CC80CC80CC80CC8";
    EXPECT_EQ(Pozycje(Odczyt("01", cztery), "00"), "");
    EXPECT_EQ(Pozycje(Odczyt("03", cztery), "04"), std::string(16, '0'));
    EXPECT_EQ(Pozycje(Odczyt("05", cztery), "04"), std::string(16, '0'));
    EXPECT_EQ(Pozycje(Odczyt("07", cztery), "08"), std::string(32, '0'));
}

TEST_F(Monitor, OneHundredAndTwentyEightItemsCarryAThreeDigitCount) {
    std::string pozycje;
    for (int i = 0; i < 128; ++i) {
        pozycje += "0CC8";
    }
    s.pamiec.DM[100] = 7;
    std::string oczekiwane;
    for (int i = 0; i < 128; ++i) {
        oczekiwane += "00070000";
    }
    EXPECT_EQ(Pozycje(Odczyt("FF", pozycje), "100"), oczekiwane);
}

TEST_F(Monitor, ItemsThatAreNotHexadecimalFailWithoutReply) {
    const std::pair<const char*, const char*> przypadki[] = {
        {"ZZ14", "'$ZZ' is not a valid integer value"},
        {"01Z4", "'$Z4' is not a valid integer value"},
    };
    for (const auto& [slowo, komunikat] : przypadki) {
        SCOPED_TRACE(slowo);
        try {
            Odczyt("02", slowo);
            ADD_FAILURE() << "the item must fail";
        } catch (const plc::BladKonwersji& blad) {
            EXPECT_STREQ(blad.what(), komunikat);
        }
    }
    // A count larger than the items sent runs into the frame's end.
    EXPECT_THROW(Odczyt("04", "0114"), plc::BladKonwersji);
    EXPECT_TRUE(s.port.wyslane.empty());
    EXPECT_EQ(Pozycje(Odczyt("02", "0114"), "02"), "00000000");
}

} // namespace
} // namespace hostlink::test
