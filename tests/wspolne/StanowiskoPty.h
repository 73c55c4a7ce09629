#pragma once

// The host link behind the real serial port component, the port opened on
// a device of the test's choice or on the slave of a pseudo-terminal pair
// whose master plays the programming software.

#include "tests/wspolne/Atrapy.h"
#include "tests/wspolne/Gospodarz.h"

#include "hostlink/Fcs.h"
#include "hostlink/LaczeHost.h"

#include "hostlink/PortComm.h"
#include "serial/VaComm.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hostlink::test {

// The line as the controller's port is set, each character
// handed to the host link and each error the port reports kept.
inline void PodlaczLinie(TVaComm& port, LaczeHost& lacze, std::vector<std::string>& bledy) {
    SetControllerLine(port);
    port.OnRxChar = [&lacze](TVaCustomComm&, std::int32_t) { lacze.ReakcjaNaZnak(); };
    port.RaportBledu = [&bledy](const std::string& komunikat) { bledy.push_back(komunikat); };
}

// The host link behind the real serial port component opened on the device
// the name stands for (a path, a network address).
struct StanowiskoLinii {
    StanowiskoLinii(std::filesystem::path plik, plc::Zegar zegar, const std::string& urzadzenie)
        : plikProgramu(std::move(plik)), skan(pamiec, program, std::move(zegar), wyjscia),
          lacze(pamiec, program, skan, panel, adapter, panel, konfiguracja, plikProgramu) {
        pamiec.resetZalaczenia();
        port.SetDeviceName(urzadzenie);
        PodlaczLinie(port, lacze, bledy);
        port.Open();
    }
    ~StanowiskoLinii() {
        lacze.ZatrzymajSkan();
        port.Close();
    }
    StanowiskoLinii(const StanowiskoLinii&) = delete;
    StanowiskoLinii& operator=(const StanowiskoLinii&) = delete;

    std::filesystem::path plikProgramu;
    plc::Pamiec pamiec;
    plc::TabelaProgramu program;
    FakeWyjscia wyjscia;
    plc::TCyklPracy skan;
    TVaComm port;
    PortComm adapter{port};
    FakePanel panel;
    FakeKonfiguracja konfiguracja;
    LaczeHost lacze;
    std::vector<std::string> bledy;
};

// The programming software's end of the pty pair, there before the port
// opens the other end and gone after it closes.
struct GospodarzPty {
    Gospodarz gospodarz;
};

// The port opened on the slave of a pseudo-terminal pair whose master plays
// the programming software.
struct StanowiskoPty : GospodarzPty, StanowiskoLinii {
    StanowiskoPty(std::filesystem::path plik, plc::Zegar zegar)
        : StanowiskoLinii(std::move(plik), std::move(zegar), gospodarz.Sciezka()) {}
};

} // namespace hostlink::test
