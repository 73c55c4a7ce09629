// The programming software's side of the line going away: its end of the pty
// closes while the simulator runs (a pulled cable, a closed terminal
// program), then the user switches off and on and a new client connects on a
// fresh pty. The host link must answer the new client as the first.

#include "tests/wspolne/PtyPair.h"
#include "tests/wspolne/RamkiHosta.h"
#include "tests/wspolne/StanowiskoPty.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace hostlink::test {
namespace {

class Linia : public ::testing::Test {
protected:
    Linia() {
        pamiec.resetZalaczenia();
        // LD SR 253.13 (always on), OUT IR 010.00, END
        const char* slowa[] = {"8FD5", "20A8", "8000", "1801"};
        for (int k = 0; k < 4; ++k) {
            program.ustaw(k, slowa[k]);
        }
        program.ustawLiczbeLinii(4);
        PodlaczLinie(port, lacze, bledy);
    }
    ~Linia() override {
        lacze.ZatrzymajSkan();
        port.Close();
    }

    // Switch-on and switch-off as the front panel does them: the port opened
    // on the client's pty and the start mode (PROGRAM) entered; the scan
    // stopped, the port closed and the receive buffer emptied.
    void Zalacz(const Gospodarz& klient) {
        port.SetDeviceName(klient.Sciezka());
        port.Open();
        lacze.SprawdzenieTrybuPracy();
    }
    void Wylacz() {
        lacze.ZatrzymajSkan();
        port.Close();
        lacze.WyczyscBufor();
    }

    KatalogTymczasowy katalog;
    plc::Pamiec pamiec;
    plc::TabelaProgramu program;
    FakeWyjscia wyjscia;
    plc::TCyklPracy skan{pamiec, program, plc::ZegarSystemowy(), wyjscia};
    TVaComm port;
    PortComm adapter{port};
    FakePanel panel;
    FakeKonfiguracja konfiguracja;
    std::filesystem::path plikProgramu = katalog.sciezka() / "Program.cpm";
    LaczeHost lacze{pamiec, program, skan, panel, adapter, panel, konfiguracja, plikProgramu};
    std::vector<std::string> bledy;
};

TEST_F(Linia, ANewClientIsAnsweredAfterTheFirstHungUpAndASwitchOffAndOn) {
    auto pierwszy = std::make_unique<Gospodarz>();
    Zalacz(*pierwszy);
    ASSERT_EQ(pierwszy->Zapytaj(RamkaKoncowa("@00MB1A03")), StatusProgram);
    ASSERT_EQ(pierwszy->Zapytaj(RamkaKoncowa("@00MB04040004")), Potwierdzenie);
    ASSERT_TRUE(skan.Dziala());
    // Half a frame, then the other side goes away.
    pierwszy->ZapytajBezOdpowiedzi("@00MB1A", std::chrono::milliseconds(20));
    pierwszy.reset();

    // The port stays open on a hung-up line; its event thread must not spin
    // on the hang-up it is told of again and again, and the scan goes on.
    const double cpuPrzed = ProcessCpuSeconds();
    const auto przed = std::chrono::steady_clock::now();
    RunEventsFor(std::chrono::milliseconds(500));
    const double sciana =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - przed).count();
    EXPECT_LT(ProcessCpuSeconds() - cpuPrzed, 0.5 * sciana) << "a thread spins on the hang-up";
    EXPECT_TRUE(skan.Dziala());
    EXPECT_TRUE(port.IsOpen());

    Wylacz();
    EXPECT_FALSE(skan.Dziala());
    Gospodarz drugi;
    Zalacz(drugi);
    // Nothing of the first client's half frame is left to spoil the first
    // frame of the new one.
    EXPECT_EQ(drugi.Zapytaj(RamkaKoncowa("@00MB1A03")), StatusProgram);
    EXPECT_EQ(drugi.Zapytaj(RamkaKoncowa("@00MB04040004")), Potwierdzenie);
    EXPECT_EQ(drugi.Zapytaj(RamkaKoncowa("@00MB1A03")), StatusRun);
    // The scan runs again: output 010.00 comes on within a bounded number of
    // monitor reads, each a real exchange on the line.
    const std::string wlaczone = RamkaKoncowa("@00MB00840200,00010000");
    std::string odczyt;
    for (int proba = 0; proba < 2000 && odczyt != wlaczone; ++proba) {
        odczyt = drugi.Zapytaj(RamkaKoncowa("@00MB3084020000114"));
    }
    EXPECT_EQ(odczyt, wlaczone);
    EXPECT_TRUE(bledy.empty()) << bledy.front();
}

} // namespace
} // namespace hostlink::test
