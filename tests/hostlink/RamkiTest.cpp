// Frame reception, recognition and the fixed answers of the MB commands.

#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoHosta.h"

#include "engine/Funkcje.h"

#include <gtest/gtest.h>

#include <string>

namespace hostlink::test {
namespace {

const std::string DrugaRamka = "0,436300630000000000000000000000000000000071*\r";

class Ramki : public ::testing::Test {
protected:
    KatalogTymczasowy katalog;
    Stanowisko s{katalog.sciezka() / "Program.cpm"};
};

TEST(Fcs, IsTheExclusiveOrOfTheTextAsTwoUppercaseDigits) {
    EXPECT_EQ(FCS("@00MB00040000"), "4B");
    EXPECT_EQ(FCS(""), "00");
    EXPECT_EQ(FCS(std::string(126, '0')), "00");
    EXPECT_EQ(FCS("0"), "30");
    EXPECT_EQ(FCS("\x8F"), "8F");
    EXPECT_EQ(RamkaKoncowa("@00MB00040000"), Potwierdzenie);
    EXPECT_EQ(RamkaPosrednia("@00MB00040000"), "@00MB000400004B\r");
}

struct StalaOdpowiedz {
    const char* polecenie;
    std::string odpowiedz;
};

TEST_F(Ramki, FixedAnswersAreSentByteForByte) {
    const StalaOdpowiedz przypadki[] = {
        {"@00MB1604", "@00MB000700000000064E*\r"},
        {"@00MB10060000000", "@00MB008902000000410000,800865*\r"},
        {"@00MB10060200000", "@00MB008904000002420004,201880186C*\r"},
        {"@00MB10060300000", "@00MB008902000003210008,180160*\r"},
        {"@00MB10060700000", ""},
        {"@00MB5E9E0000", "\r"},
        {"@00MB4103", "@00MB00100000000006C0000000000EC0AAC04E*\r"},
        {"@00MB5208", Potwierdzenie},
        {"@00MB0703", Potwierdzenie},
        {"@00MB4B8600", "\r"},
        {"@00MB4A07", "@00MB0087000006C080," + std::string(106, '0') + "11\r"},
        {"@00MB1A03", "@00MB00110000010E01000000000000000000003A*\r"},
        {"@00MB04040007", ""},
        {"@00MB9999", ""},
        {"@00MB1a03", ""},
    };
    for (const auto& [polecenie, odpowiedz] : przypadki) {
        SCOPED_TRACE(polecenie);
        EXPECT_EQ(s.Odbierz(Polecenie(polecenie)), odpowiedz);
        EXPECT_TRUE(s.lacze.Bufor().empty());
    }
}

TEST_F(Ramki, IdentityFollowsTheModelInUse) {
    const std::string wspolne = "@00MB008F1E0001FF3F631B01FF19FF0000,";
    const std::pair<int, std::string> przypadki[] = {
        {1, wspolne + "090243504D312D31304344522020202020203936313232342030312E323012*\r"},
        {2, wspolne + "091243504D312D32304344522020202020203937303630362030312E333015*\r"},
        {3, wspolne + "092243504D312D33304344522020202020203936313232342030312E323012*\r"},
        {0, ""},
        {4, ""},
        {255, ""},
    };
    for (const auto& [model, odpowiedz] : przypadki) {
        SCOPED_TRACE(model);
        s.lacze.UstawModel(static_cast<std::uint8_t>(model));
        EXPECT_EQ(s.Odbierz(Polecenie("@00MB2D04")), odpowiedz);
    }
}

TEST_F(Ramki, OnlyPositionsOneAndFourAreExamined) {
    // Another unit, a wrong FCS and no "*" are answered all the same, always as unit 00.
    EXPECT_EQ(s.Odbierz("@05MB1604ZZ*\r"), "@00MB000700000000064E*\r");
    EXPECT_EQ(s.Odbierz("@00MB160400\r"), "@00MB000700000000064E*\r");
    EXPECT_EQ(s.Odbierz(Polecenie("@00MS1604")), "@00MB000700000000064E*\r");
    // Unknown headers and frames too short to carry one get nothing.
    EXPECT_EQ(s.Odbierz(Polecenie("@00RD00000001")), "");
    EXPECT_EQ(s.Odbierz("@\r"), "");
    EXPECT_EQ(s.Odbierz("@00M\r"), "");
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1604")), "@00MB000700000000064E*\r");
}

TEST_F(Ramki, AbortWritesNothingAndLeavesADownloadWhereItWas) {
    // A download of 24 words waits for its continuation frame.
    s.Odbierz(Polecenie("@00MB1286300000000" + std::string(23 * 4, '8')));
    const std::size_t zapisow = s.port.wyslane.size();
    EXPECT_EQ(s.Odbierz(Polecenie("@00XZ")), "");
    ASSERT_EQ(s.port.wyslane.size(), zapisow + 1);
    EXPECT_EQ(s.port.wyslane.back(), "");
    EXPECT_EQ(s.Odbierz(Polecenie("C008")), Potwierdzenie);
    EXPECT_EQ(s.program.slowo(23), "C008");
}

TEST_F(Ramki, AFrameArrivingInPiecesIsHandledOnceWhenTheCrArrives) {
    EXPECT_EQ(s.Odbierz("@00MB16"), "");
    EXPECT_EQ(s.Odbierz("04"), "");
    EXPECT_EQ(s.lacze.Bufor(), "@00MB1604");
    EXPECT_EQ(s.panel.zapaleniaCOMM, 2);
    EXPECT_EQ(s.panel.startyTimera, 0);
    EXPECT_EQ(s.Odbierz("4E*\r"), "@00MB000700000000064E*\r");
    EXPECT_EQ(s.panel.zapaleniaCOMM, 3);
    EXPECT_EQ(s.panel.startyTimera, 1);
    EXPECT_TRUE(s.lacze.Bufor().empty());
}

TEST_F(Ramki, OnlyAFinalCrCompletesAFrame) {
    // The end of one frame and the start of the next in one read: nothing yet.
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1604") + "@00MB52"), "");
    // The CR that arrives makes the whole buffer one frame, read by its first header.
    EXPECT_EQ(s.Odbierz("0800*\r"), "@00MB000700000000064E*\r");
    EXPECT_TRUE(s.lacze.Bufor().empty());
}

TEST_F(Ramki, AnEventWithNothingWaitingHandlesNothing) {
    EXPECT_EQ(s.Odbierz(""), "");
    EXPECT_TRUE(s.port.wyslane.empty());
    EXPECT_EQ(s.panel.startyTimera, 0);
}

TEST_F(Ramki, ExchangesOfTheFixedMultiFrameCommands) {
    const std::string koniec5E9E =
        "FF003F0063001B000001FF81FF0000000019FF27FF0060000F17FF000000000000004033020000000400630"
        "0630000000000000000000000000000000072*\r";
    const std::string odpowiedz5E9E =
        "@00MB5E9E5380000000000143582D5365727665722020202020202030312E3230,43323030485A202020202"
        "02020202020000000000001FF003F0063001B0011\r";
    ASSERT_EQ(koniec5E9E.size(), 126U);
    ASSERT_EQ(odpowiedz5E9E.size(), 129U);

    EXPECT_EQ(s.Odbierz(Polecenie("@00MB5E9E0000")), "\r");
    EXPECT_EQ(s.Odbierz(koniec5E9E), odpowiedz5E9E);
    EXPECT_EQ(s.Odbierz("\r"), DrugaRamka);

    EXPECT_EQ(s.Odbierz(Polecenie("@00MB4A07")).size(), 129U);
    EXPECT_EQ(s.Odbierz("\r"), DrugaRamka);

    EXPECT_EQ(s.Odbierz(Polecenie("@00MB4B8600")), "\r");
    EXPECT_EQ(s.Odbierz(std::string(126, '0') + "\r"), "\r");
    EXPECT_EQ(s.Odbierz(std::string(126, '0') + "\r"), "\r");
    EXPECT_EQ(s.Odbierz(std::string(50, '0') + "*\r"), Potwierdzenie);

    // A frame without "@" that nothing expects gets no reply.
    EXPECT_EQ(s.Odbierz("0123\r"), "");
    EXPECT_EQ(s.Odbierz(std::string(49, '0') + "*\r"), "");
}

TEST_F(Ramki, AFailedFrameIsDroppedAndTheNextOneAnswered) {
    try {
        s.Odbierz(Polecenie("@00MB3084G20000114"));
        FAIL() << "a count that is not hexadecimal must fail";
    } catch (const plc::BladKonwersji& blad) {
        EXPECT_STREQ(blad.what(), "'$G2' is not a valid integer value");
    }
    EXPECT_TRUE(s.port.wyslane.empty());
    EXPECT_TRUE(s.lacze.Bufor().empty());
    EXPECT_EQ(s.panel.startyTimera, 1);

    s.port.pelnaKolejka = true;
    EXPECT_THROW(s.Odbierz(Polecenie("@00MB1604")), std::runtime_error);
    EXPECT_TRUE(s.lacze.Bufor().empty());
    EXPECT_EQ(s.panel.startyTimera, 2);

    s.port.pelnaKolejka = false;
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1604")), "@00MB000700000000064E*\r");
}

TEST_F(Ramki, TheBufferIsDroppedWhenItGrowsTooLongWithoutCr) {
    EXPECT_EQ(s.Odbierz(std::string(LaczeHost::NajwiekszyBufor, 'A')), "");
    EXPECT_EQ(s.lacze.Bufor().size(), LaczeHost::NajwiekszyBufor);
    EXPECT_EQ(s.Odbierz("A"), "");
    EXPECT_TRUE(s.lacze.Bufor().empty());
    // Up to its CR the frame is still the overlong line.
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1604")), "");
    EXPECT_TRUE(s.lacze.Bufor().empty());
    EXPECT_EQ(s.Odbierz(Polecenie("@00MB1604")), "@00MB000700000000064E*\r");
}

} // namespace
} // namespace hostlink::test
