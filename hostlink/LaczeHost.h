#pragma once

#include "Interfejsy.h"
#include "TransferProgramu.h"
#include "ZapisLacza.h"

#include "engine/CyklPracy.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The controller's side of the command protocol and its operating modes:
// the receive buffer, the transfer counters, the RUN and MONITOR flags and the
// model in use. It owns no widgets; the main window owns one and gives it the
// panel, the port and the configuration. Every operation runs on the window
// thread.
namespace hostlink {

class LaczeHost {
public:
    // `wyjscia` is the output sink the scan worker was given.
    LaczeHost(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
              plc::WyjsciaSterownika& wyjscia, PortLacza& port, PanelLacza& panel,
              const KonfiguracjaLacza& konfiguracja, std::filesystem::path plikProgramu);

    // Characters gathered without a final CR beyond this are dropped with the
    // buffer, and so is the rest of their line up to its CR: a peer cannot make
    // the buffer grow without end, and a line's tail is never taken for a frame.
    static constexpr std::size_t NajwiekszyBufor = 64 * 1024;

    // Handler of ComPort's received-characters event. A failure inside the
    // frame's handling empties the buffer and starts the COMM timer as after
    // any frame, then propagates for the standard error report.
    void ReakcjaNaZnak();
    void WyczyscBufor() {
        bufor_.clear();
        odrzucanieDoCR_ = false;
    }
    const std::string& Bufor() const { return bufor_; }

    // Recording of the line. Until a recorder is given nothing is recorded
    // and nothing is spent on it. The clock gives microseconds from any
    // fixed point.
    using ZegarUs = std::function<std::int64_t()>;
    void UstawZapis(ZapisLacza* zapis, ZegarUs zegar);
    // The rows' time counts from here: called at switch-on.
    void OznaczZalaczenie();

    enum class ZdarzenieLinii {
        Zalaczenie,
        Wylaczenie,
        PortOtwarty,
        PortZamkniety,
        KlientPolaczony,
        KlientRozlaczony,
        BladLinii,
        UstawieniaKlienta,
    };
    // A row for an event of the line; the details (the port's name, which
    // errors, the client's settings) follow its description.
    void ZapiszZdarzenie(ZdarzenieLinii zdarzenie, std::string_view szczegoly = {});
    // Characters that reached a port while the simulator is off: a row for
    // each frame (up to and with its CR), with its meaning, never answered.
    void OdebranoPrzyWylaczonym(std::string_view znaki);

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
    // The port as the protocol sees it: every reply is noted for the
    // recording before it goes to the real port.
    class PortZapisujacy : public PortLacza {
    public:
        PortZapisujacy(LaczeHost& lacze, PortLacza& port) : lacze_(lacze), port_(port) {}
        std::string ReadText() override { return port_.ReadText(); }
        void WriteText(std::string_view tekst) override;

    private:
        LaczeHost& lacze_;
        PortLacza& port_;
    };

    bool Zapisuje() const { return zapis_ != nullptr; }
    std::int64_t Czas() const;
    void Opisz(std::string znaczenie);
    void BezOdpowiedzi(std::string_view powod);
    // Drops the characters up to and including the CR that ends an
    // overflowed line; what follows the CR is kept for the buffer.
    void OdrzucDoCR(std::string& odebrane);
    void ZapiszPrzepelnienie();
    void ObsluzRamke();
    void ZapiszRamke();

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
    plc::WyjsciaSterownika& wyjscia_;
    PortZapisujacy port_;
    PanelLacza& panel_;
    const KonfiguracjaLacza& konfiguracja_;

    TransferProgramu transfer_;
    std::string bufor_;
    std::uint8_t run_ = 0;
    std::uint8_t monitor_ = 0;
    std::uint8_t model_ = 1;

    bool odrzucanieDoCR_ = false;
    std::size_t odrzucone_ = 0;

    ZapisLacza* zapis_ = nullptr;
    ZegarUs zegar_;
    std::int64_t poczatek_us_ = 0;
    // The frame being handled: when it was complete, what it was taken for,
    // why it got no reply, and the replies, recorded after it.
    std::int64_t odebrana_us_ = 0;
    std::string znaczenie_;
    std::string powod_;
    std::vector<WpisLacza> odpowiedzi_;
};

} // namespace hostlink
