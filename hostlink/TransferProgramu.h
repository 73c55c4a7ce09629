#pragma once

#include "Interfejsy.h"

#include "engine/TabelaProgramu.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace hostlink {

// Program download ("1286" and its continuation frames) and upload ("1107"
// and the frames the host asks for after it), with the counters that carry a
// transfer from one frame to the next. Runs on the window thread; the scan
// may read the table meanwhile, which takes every word whole.
class TransferProgramu {
public:
    TransferProgramu(plc::TabelaProgramu& program, PortLacza& port,
                     std::filesystem::path plikProgramu);

    // "1286": the next download frame is the first of a new download.
    void RozpocznijPobieranie() noexcept { ramkaPobierania_ = 0; }
    // Stores the words of a download frame, replies, then rewrites the
    // program file. Words are taken from the frame's text only: a position
    // past it stores an empty entry, one partly past it the characters that
    // are there. A failure to write the file is thrown after the reply.
    void ObslugaProgramuPrzychodzacego(std::string_view ramka);

    // "1107": the next upload frame is the first of a new upload.
    void RozpocznijWysylanie() noexcept { ramkaWysylania_ = 0; }
    // The first upload frame, or, while a program of more than 25 words is
    // being uploaded, the next part of its text.
    void ObslugaProgramuWychodzacego();

    // The host's lone CR after an upload: a fill frame while the frame line
    // counter is below the transfer line count, the closing frame after.
    void RamkaPoWysylaniu();

    bool OczekujePobierania() const noexcept { return ramkaPobierania_ > 0; }
    bool OczekujeWysylania() const noexcept { return ramkaWysylania_ > 0; }
    bool FlagaWysylania() const noexcept { return flagaWysylania_; }
    // The continuation frame a download expects (0: none), and whether the
    // next lone CR of an upload gets a fill frame rather than the closing one.
    std::int32_t RamkaPobierania() const noexcept { return ramkaPobierania_; }
    bool NastepnaWypelnienie() const noexcept { return licznikLiniiRamki_ < liczbaLiniiTransferu_; }
    void WyczyscFlageWysylania() noexcept { flagaWysylania_ = false; }

private:
    void PierwszaRamkaWysylania();
    void DalszaRamkaWysylania();
    void ZapiszPlikProgramu();

    plc::TabelaProgramu& program_;
    PortLacza& port_;
    std::filesystem::path plikProgramu_;

    // 0: the next "1286" opens a download; k > 0: continuation frame k is expected.
    std::int32_t ramkaPobierania_ = 0;
    // 1 while the text of a program of more than 25 words is still to be sent.
    std::int32_t ramkaWysylania_ = 0;
    // Download: the words announced. Upload: the words still to go after the first frame.
    std::uint8_t liczbaLiniiTransferu_ = 0;
    // The fill and closing frames sent since the last download frame, which
    // sets it to 0; not reset when an upload starts.
    std::uint8_t licznikLiniiRamki_ = 0;
    // The program text still to be uploaded after the first frame: the second
    // half of entry 25, then the entries after it.
    std::string resztaWysylania_;
    bool flagaWysylania_ = false;
};

} // namespace hostlink
