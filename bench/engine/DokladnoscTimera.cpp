// How long a TIMER with the set value 0030 takes, with the real clock and the
// real scan worker, from its input turning on to its present value reaching
// 0. Eight timers run side by side, their inputs switched on at staggered
// moments so that they meet the 100 ms tick in different phases.
#include "engine/CyklPracy.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Zegarek = std::chrono::steady_clock;
constexpr int LiczbaTimerow = 8;
constexpr int LiczbaRund = 5;

class BezLamp : public plc::WyjsciaSterownika {
public:
    void ZapalWyjscia(int) override {}
    void ZgasWyjscia(int) override {}
    void BladProgramu() override {}
};

} // namespace

int main() {
    auto pamiec = std::make_unique<plc::Pamiec>();
    plc::TabelaProgramu tabela;
    int k = 0;
    for (int n = 0; n < LiczbaTimerow; ++n) {
        // LD IR 000.0n, TIMER 00n #0030
        tabela.ustaw(k++, "800" + std::string(1, "89ABCDEF"[n]));
        tabela.ustaw(k++, "080" + std::to_string(n));
        tabela.ustaw(k++, "0030");
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(k));
    BezLamp lampy;
    plc::TCyklPracy cykl(*pamiec, tabela, plc::ZegarSystemowy(), lampy);
    pamiec->IR.ustaw(253, 15, 1);
    cykl.Start();

    // Until every timer holds its set value: after the first scan, and after
    // each round once the inputs are off.
    const auto czekajNaNastawy = [&pamiec] {
        while (std::any_of(pamiec->TC.begin(), pamiec->TC.begin() + LiczbaTimerow,
                           [](const plc::PozycjaTC& tc) { return tc.wartosc() != 30; })) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };

    std::vector<double> czasy;
    for (int runda = 0; runda < LiczbaRund; ++runda) {
        czekajNaNastawy();
        std::this_thread::sleep_for(std::chrono::milliseconds(37));
        std::array<Zegarek::time_point, LiczbaTimerow> start{};
        std::array<bool, LiczbaTimerow> gotowy{};
        const auto poczatek = Zegarek::now();
        int wlaczone = 0;
        int gotowe = 0;
        while (gotowe < LiczbaTimerow) {
            const auto teraz = Zegarek::now();
            // Input n goes on 11 n + 3 r ms into the round.
            while (wlaczone < LiczbaTimerow &&
                   teraz - poczatek >= std::chrono::milliseconds(11 * wlaczone + 3 * runda)) {
                start[static_cast<std::size_t>(wlaczone)] = teraz;
                pamiec->IR.ustaw(0, wlaczone, 1);
                ++wlaczone;
            }
            for (int n = 0; n < wlaczone; ++n) {
                const auto i = static_cast<std::size_t>(n);
                if (!gotowy[i] && pamiec->TC[i].wartosc() <= 0) {
                    gotowy[i] = true;
                    ++gotowe;
                    czasy.push_back(std::chrono::duration<double>(teraz - start[i]).count());
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        for (int n = 0; n < LiczbaTimerow; ++n) {
            pamiec->IR.ustaw(0, n, 0);
        }
    }
    cykl.ZadajStop();
    cykl.CzekajNaKoniec();

    std::sort(czasy.begin(), czasy.end());
    const double mediana = czasy.size() % 2 == 1
                               ? czasy[czasy.size() / 2]
                               : (czasy[czasy.size() / 2 - 1] + czasy[czasy.size() / 2]) / 2;
    std::printf("TIMER #0030, %zu runs: min %.4f s, median %.4f s, max %.4f s\n", czasy.size(),
                czasy.front(), mediana, czasy.back());
    return 0;
}
