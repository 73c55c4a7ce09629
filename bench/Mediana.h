#pragma once

// The median of the times a benchmark took itself, one per exchange, as a
// counter beside the library's mean: a single slow wake-up of a thread moves
// the mean of a few thousand exchanges but not their median.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <vector>

inline void ZapiszMediane(benchmark::State& stan, std::vector<double> czasyUs) {
    if (czasyUs.empty()) {
        return;
    }
    const auto srodek = czasyUs.begin() + static_cast<std::ptrdiff_t>(czasyUs.size() / 2);
    std::nth_element(czasyUs.begin(), srodek, czasyUs.end());
    stan.counters["median_us"] = *srodek;
}
