// The protocol end to end: the real port on a pseudo-terminal, the scan
// worker running, the test playing the programming software on the master.

#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoHosta.h"
#include "tests/wspolne/StanowiskoPty.h"

#include <gtest/gtest.h>

#include <string>

namespace hostlink::test {
namespace {

class ProtokolPrzezPty : public ::testing::Test {
protected:
    std::string Zapytaj(std::string_view tekst) { return s.gospodarz.Zapytaj(RamkaKoncowa(tekst)); }

    // Monitor reads of IR 010 until the item shows the expected bits; a
    // bounded number of tries, each one a real exchange on the line.
    bool WyjscieDochodziDo(const std::string& pozycja) {
        const std::string oczekiwana = RamkaKoncowa("@00MB00840200," + pozycja);
        for (int proba = 0; proba < 2000; ++proba) {
            if (Zapytaj("@00MB3084020000114") == oczekiwana) {
                return true;
            }
        }
        return false;
    }

    KatalogTymczasowy katalog;
    StanowiskoPty s{katalog.sciezka() / "Program.cpm", plc::ZegarSystemowy()};
};

TEST_F(ProtokolPrzezPty, DownloadRunMonitorAndUploadARung) {
    EXPECT_EQ(Zapytaj("@00MB1A03"), StatusProgram);

    // LD IR 000 bit 00, OUT IR 010 bit 00, END.
    EXPECT_EQ(Zapytaj("@00MB1286080000000800820A880001801"), Potwierdzenie);
    EXPECT_EQ(LiniePliku(s.plikProgramu),
              (std::vector<std::string>{"8008", "20A8", "8000", "1801"}));

    EXPECT_EQ(Zapytaj("@00MB04040004"), Potwierdzenie);
    EXPECT_EQ(Zapytaj("@00MB1A03"), StatusRun);
    EXPECT_TRUE(s.skan.Dziala());

    // The input switch, as the front panel writes it.
    s.pamiec.IR.ustaw(0, 0, 1);
    EXPECT_TRUE(WyjscieDochodziDo("00010000"));
    s.pamiec.IR.ustaw(0, 0, 0);
    EXPECT_TRUE(WyjscieDochodziDo("00000000"));

    EXPECT_EQ(Zapytaj("@00MB1107"), RamkaPosrednia("@00MB00890000000080"
                                                   "07FF,800820A880001801" +
                                                   std::string(86, '0')));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.gospodarz.Zapytaj("\r"), std::string(126, '0') + "\r");
    }
    EXPECT_EQ(s.gospodarz.Zapytaj("\r"), std::string(40, '0') + "*\r");

    EXPECT_EQ(Zapytaj("@00MB04040001"), StatusRun);
    EXPECT_FALSE(s.skan.Dziala());
    EXPECT_EQ(s.pamiec.IR.slowo(10), 0);
    EXPECT_TRUE(s.bledy.empty());
}

TEST_F(ProtokolPrzezPty, AFailedFrameIsReportedAndTheNextOneAnswered) {
    EXPECT_EQ(s.gospodarz.ZapytajBezOdpowiedzi(RamkaKoncowa("@00MB3084G2000114"),
                                               std::chrono::milliseconds(100)),
              "");
    EXPECT_EQ(s.bledy, std::vector<std::string>{"'$G2' is not a valid integer value"});
    EXPECT_EQ(Zapytaj("@00MB1604"), "@00MB000700000000064E*\r");
}

} // namespace
} // namespace hostlink::test
