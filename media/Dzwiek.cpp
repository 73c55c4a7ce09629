#include "media/Dzwiek.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <memory>
#include <vector>

namespace {

struct ZamknijSndfile {
    void operator()(SNDFILE* f) const noexcept { sf_close(f); }
};
struct ZwolnijPulse {
    void operator()(pa_simple* s) const noexcept { pa_simple_free(s); }
};

// A click is a fraction of a second; anything far longer is not ours to play.
constexpr sf_count_t NajwiecejRamek = 10 * 48000;

} // namespace

void OdtworzDzwiek(const std::filesystem::path& plik) noexcept {
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, ZamknijSndfile> wav(sf_open(plik.c_str(), SFM_READ, &info));
    if (!wav || info.channels < 1 || info.channels > 8 || info.samplerate < 1 || info.frames < 1 ||
        info.frames > NajwiecejRamek) {
        return;
    }

    try {
        std::vector<short> probki(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t ramki = sf_readf_short(wav.get(), probki.data(), info.frames);
        if (ramki < 1) {
            return;
        }

        pa_sample_spec format{};
        format.format = PA_SAMPLE_S16NE;
        format.rate = static_cast<std::uint32_t>(info.samplerate);
        format.channels = static_cast<std::uint8_t>(info.channels);
        int blad = 0;
        const std::unique_ptr<pa_simple, ZwolnijPulse> dzwiek(
            pa_simple_new(nullptr, "Parvolen", PA_STREAM_PLAYBACK, nullptr, "Klik", &format,
                          nullptr, nullptr, &blad));
        if (!dzwiek) {
            return;
        }
        const auto bajty = static_cast<std::size_t>(ramki * info.channels) * sizeof(short);
        if (pa_simple_write(dzwiek.get(), probki.data(), bajty, &blad) < 0) {
            return;
        }
        pa_simple_drain(dzwiek.get(), &blad);
    } catch (...) {
        // Out of memory for the samples: no click, as with any other failure.
    }
}
