#pragma once

// The host link behind the real serial port component, the port opened on
// the slave of a pseudo-terminal pair whose master plays the programming
// software.

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

struct StanowiskoPty {
    explicit StanowiskoPty(std::filesystem::path plik, plc::Zegar zegar)
        : plikProgramu(std::move(plik)), skan(pamiec, program, std::move(zegar), wyjscia),
          lacze(pamiec, program, skan, panel, adapter, panel, konfiguracja, plikProgramu) {
        pamiec.resetZalaczenia();
        port.SetDeviceName(gospodarz.Sciezka());
        PodlaczLinie(port, lacze, bledy);
        port.Open();
    }
    ~StanowiskoPty() {
        lacze.ZatrzymajSkan();
        port.Close();
    }
    StanowiskoPty(const StanowiskoPty&) = delete;
    StanowiskoPty& operator=(const StanowiskoPty&) = delete;

    Gospodarz gospodarz;
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

} // namespace hostlink::test
