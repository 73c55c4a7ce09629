// The scan period as a user sees it: the real scan worker with the real clock
// runs a 255-word program in RUN, and an output sink notes the moment of each
// output refresh (the refresh calls ZapalWyjscia/ZgasWyjscia for lamps 0 to 8
// in turn; lamp 8's call closes one refresh). Prints the mean and the 99th
// percentile of the time between refreshes, and the worker's share of one
// core (its thread CPU time over the wall time).
//
// Usage: parvolen_okres_skanu [seconds] [relay|mixed]   (default: 10 relay)
#include "bench/engine/ProgramyWzorcowe.h"

#include "engine/CyklPracy.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using Zegarek = std::chrono::steady_clock;

class ZapisOdswiezen : public plc::WyjsciaSterownika {
public:
    explicit ZapisOdswiezen(std::size_t pojemnosc) { chwile_.reserve(pojemnosc); }
    void ZapalWyjscia(int n) override { Odnotuj(n); }
    void ZgasWyjscia(int n) override { Odnotuj(n); }
    void BladProgramu() override { blad_.store(true); }

    // Read only after the worker has ended.
    const std::vector<Zegarek::time_point>& Chwile() const { return chwile_; }
    bool Blad() const { return blad_.load(); }
    clockid_t ZegarWatku() const { return zegarWatku_.load(); }
    bool MaZegar() const { return maZegar_.load(); }

private:
    void Odnotuj(int n) {
        if (!maZegar_.load(std::memory_order_relaxed)) {
            clockid_t id{};
            if (::pthread_getcpuclockid(::pthread_self(), &id) == 0) {
                zegarWatku_.store(id);
                maZegar_.store(true);
            }
        }
        if (n == 8 && chwile_.size() < chwile_.capacity()) {
            chwile_.push_back(Zegarek::now());
        }
    }

    std::vector<Zegarek::time_point> chwile_;
    std::atomic<bool> blad_{false};
    std::atomic<bool> maZegar_{false};
    std::atomic<clockid_t> zegarWatku_{};
};

double CzasCpu(clockid_t zegar) {
    timespec t{};
    ::clock_gettime(zegar, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

int main(int argc, char** argv) {
    const double sekundy = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string rodzaj = argc > 2 ? argv[2] : "relay";
    if (sekundy <= 0 || (rodzaj != "relay" && rodzaj != "mixed")) {
        std::fprintf(stderr, "usage: %s [seconds] [relay|mixed]\n", argv[0]);
        return 2;
    }

    auto pamiec = std::make_unique<plc::Pamiec>();
    pamiec->resetZalaczenia();
    plc::TabelaProgramu tabela;
    plc::bench::Wypelnij(tabela, rodzaj == "relay" ? plc::bench::SzczebleStykowe()
                                                   : plc::bench::SzczebleMieszane());
    // Room for a refresh every 0.25 ms; a period can only be longer.
    ZapisOdswiezen lampy(static_cast<std::size_t>(sekundy * 4000) + 16);
    plc::TCyklPracy cykl(*pamiec, tabela, plc::ZegarSystemowy(), lampy);

    const auto poczatek = Zegarek::now();
    cykl.Start();
    // Inputs change now and then, as a user would switch them.
    int krok = 0;
    while (Zegarek::now() - poczatek < std::chrono::duration<double>(sekundy) && !lampy.Blad()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ++krok;
        for (int n = 0; n < 6; ++n) {
            pamiec->IR.ustaw(0, n, static_cast<std::uint8_t>((krok >> n) & 1));
        }
    }
    // The thread's CPU clock is read while the worker still runs.
    const double cpu = lampy.MaZegar() ? CzasCpu(lampy.ZegarWatku()) : -1.0;
    const double sciana = std::chrono::duration<double>(Zegarek::now() - poczatek).count();
    cykl.ZadajStop();
    cykl.CzekajNaKoniec();

    if (lampy.Blad()) {
        std::fprintf(stderr, "the worker ended on a word it could not decode\n");
        return 1;
    }
    const auto& chwile = lampy.Chwile();
    if (chwile.size() < 3) {
        std::fprintf(stderr, "fewer than three output refreshes\n");
        return 1;
    }
    std::vector<double> okresy;
    okresy.reserve(chwile.size());
    for (std::size_t i = 1; i < chwile.size(); ++i) {
        okresy.push_back(
            std::chrono::duration<double, std::milli>(chwile[i] - chwile[i - 1]).count());
    }
    const double srednia =
        std::accumulate(okresy.begin(), okresy.end(), 0.0) / static_cast<double>(okresy.size());
    std::sort(okresy.begin(), okresy.end());
    const double p99 = okresy[std::min(okresy.size() - 1, okresy.size() * 99 / 100)];
    std::printf("scan period, 255-word %s program, %.1f s: %zu refreshes, mean %.3f ms, "
                "p99 %.3f ms, max %.3f ms, worker CPU %.1f %%\n",
                rodzaj.c_str(), sciana, okresy.size(), srednia, p99, okresy.back(),
                cpu >= 0 ? 100.0 * cpu / sciana : -1.0);
    return 0;
}
