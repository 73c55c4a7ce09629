// Round trip over a pty: bytes written to the master until OnRxChar has run on
// the window thread and the reply it queued with WriteText is back at the
// master. The figure to watch is the median.
#include "bench/Mediana.h"
#include "serial/VaComm.h"
#include "tests/wspolne/PtyLine.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

void RoundTrip(benchmark::State& state) {
    PtyMaster pty;
    TVaComm port;
    port.SetDeviceName(pty.SlavePath());
    SetControllerLine(port);

    const std::string request = "@00MS5A*\r";
    const std::string reply = "@00MS0000000000000000000000*\r";
    std::string gathered;
    bool answered = false;
    port.OnRxChar = [&](TVaCustomComm& sender, std::int32_t) {
        gathered += sender.ReadText();
        if (gathered.ends_with('\r')) {
            gathered.clear();
            sender.WriteText(reply);
            answered = true;
        }
    };
    port.Open();

    std::vector<double> samples;
    std::string back;
    char chunk[256];
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        answered = false;
        back.clear();
        if (::write(pty.Fd(), request.data(), request.size()) !=
            static_cast<ssize_t>(request.size())) {
            state.SkipWithError("write to the master failed");
            break;
        }
        while (!answered) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        while (back.size() < reply.size()) {
            pollfd ready{pty.Fd(), POLLIN, 0};
            ::poll(&ready, 1, -1);
            const ssize_t got = ::read(pty.Fd(), chunk, sizeof chunk);
            if (got > 0) {
                back.append(chunk, static_cast<std::size_t>(got));
            }
        }
        samples.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        // Let the transmit-queue-empty hand-over finish outside the timing.
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    ZapiszMediane(state, std::move(samples));
    port.Close();
}

BENCHMARK(RoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(5);

} // namespace
