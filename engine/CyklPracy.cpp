#include "CyklPracy.h"

#include "Funkcje.h"
#include "MapaAdresow.h"

#include <cerrno>
#include <chrono>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace plc {

namespace {

// One step above normal. Unprivileged processes may not raise their priority
// on Linux; the request is then simply not granted.
void PodniesPriorytet() noexcept {
#if defined(__linux__)
    const auto watek = static_cast<id_t>(::gettid());
    errno = 0;
    const int obecny = ::getpriority(PRIO_PROCESS, watek);
    if (errno == 0) {
        ::setpriority(PRIO_PROCESS, watek, obecny - 1);
    }
#endif
}

} // namespace

TCyklPracy::TCyklPracy(Pamiec& pamiec, const TabelaProgramu& program, Zegar zegar,
                       WyjsciaSterownika& wyjscia)
    : pamiec_(pamiec), zegar_(std::move(zegar)), wyjscia_(wyjscia),
      interpreter_(pamiec, program, zegar_) {}

TCyklPracy::~TCyklPracy() {
    ZadajStop();
    CzekajNaKoniec();
}

void TCyklPracy::Start() {
    if (Dziala()) {
        return;
    }
    CzekajNaKoniec();
    stop_.store(false);
    dziala_.store(true);
    try {
        watek_ = std::thread([this] { Execute(); });
    } catch (...) {
        dziala_.store(false);
        throw;
    }
}

void TCyklPracy::ZadajStop() noexcept {
    stop_.store(true);
}

void TCyklPracy::CzekajNaKoniec() {
    if (watek_.joinable()) {
        watek_.join();
    }
}

bool TCyklPracy::Dziala() const noexcept {
    return dziala_.load() && !stop_.load();
}

bool TCyklPracy::Przebieg() {
    if (!interpreter_.Przebieg()) {
        return false;
    }
    pamiec_.IR.ustaw(PierwszyCykl, 0);
    ZerujFlagiPorownania(pamiec_);
    for (int n = 0; n < LiczbaPunktowWeWy; ++n) {
        if (pamiec_.IR.bit(KanalWyjsc, n) != 0) {
            wyjscia_.ZapalWyjscia(n);
        } else {
            wyjscia_.ZgasWyjscia(n);
        }
    }
    return true;
}

void TCyklPracy::Execute() {
    PodniesPriorytet();
    bool blad = false;
    try {
        while (!stop_.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!Przebieg()) {
                blad = true;
                break;
            }
        }
    } catch (...) {
        blad = true;
    }
    dziala_.store(false);
    if (blad) {
        try {
            wyjscia_.BladProgramu();
        } catch (...) {
            // Nothing is left to tell; the worker ends either way.
        }
    }
}

} // namespace plc
