#pragma once

#include "Interfejsy.h"
#include "TransferProgramu.h"

#include "engine/CyklPracy.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The controller's side of the command protocol and its operating modes:
// the receive buffer, the transfer counters, the RUN and MONITOR flags and the
// model in use. It owns no widgets; the main window owns one and gives it the
// panel, the port and the configuration. Every operation runs on the window
// thread.
namespace hostlink {

class LaczeHost {
public:
    LaczeHost(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
              PortLacza& port, PanelLacza& panel, const KonfiguracjaLacza& konfiguracja,
              std::filesystem::path plikProgramu);

    // Characters gathered without a final CR beyond this are dropped with the
    // buffer, so a peer cannot make it grow without end.
    static constexpr std::size_t NajwiekszyBufor = 64 * 1024;

    // Handler of ComPort's received-characters event. A failure inside the
    // frame's handling empties the buffer and starts the COMM timer as after
    // any frame, then propagates for the standard error report.
    void ReakcjaNaZnak();
    void WyczyscBufor() { bufor_.clear(); }
    const std::string& Bufor() const { return bufor_; }

    // Start-mode choice at switch-on, and the mode entries.
    void SprawdzenieTrybuPracy();
    void TrybProgram();
    void TrybMonitor();
    void TrybRUN();
    // Switch-off: asks a running scan to stop, waits for it, clears both flags.
    void ZatrzymajSkan();

    bool FlagaRUN() const { return run_ != 0; }
    bool FlagaMONITOR() const { return monitor_ != 0; }
    std::uint8_t ModelWUzyciu() const { return model_; }
    void UstawModel(std::uint8_t model) { model_ = model; }

private:
    // The whole buffer as one frame, told apart by positions 1 and 4.
    void RozpoznaniePolecenia();
    void PolecenieXZ();
    void PolecenieMB(std::string_view kod);
    void ZmianaTrybu();
    // Every frame that does not begin with "@".
    void InneOdpowiedzi();
    void Monitoruj();
    // The steps the MONITOR and RUN entries share, up to the start of the scan.
    void UruchomSkan();

    plc::Pamiec& pamiec_;
    plc::TCyklPracy& skan_;
    PortLacza& port_;
    PanelLacza& panel_;
    const KonfiguracjaLacza& konfiguracja_;

    TransferProgramu transfer_;
    std::string bufor_;
    std::uint8_t run_ = 0;
    std::uint8_t monitor_ = 0;
    std::uint8_t model_ = 1;
};

} // namespace hostlink
