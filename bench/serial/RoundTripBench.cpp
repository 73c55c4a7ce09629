// Round trip over a pty: bytes written by the client until OnRxChar has run on
// the window thread and the reply it queued with WriteText is back at the
// client. The client is the master of a pty pair whose slave the port opens,
// or a client on the link of the port's own virtual port. The figure to watch
// is the median.
#include "bench/Mediana.h"
#include "serial/VaComm.h"
#include "tests/wspolne/KatalogTymczasowy.h"
#include "tests/wspolne/LinkClient.h"
#include "tests/wspolne/PtyLine.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Exchanges with the port over the client's descriptor.
void Exchange(benchmark::State& state, TVaComm& port, int client) {
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
        if (::write(client, request.data(), request.size()) !=
            static_cast<ssize_t>(request.size())) {
            state.SkipWithError("write to the master failed");
            break;
        }
        while (!answered) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        while (back.size() < reply.size()) {
            pollfd ready{client, POLLIN, 0};
            ::poll(&ready, 1, -1);
            const ssize_t got = ::read(client, chunk, sizeof chunk);
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

void RoundTrip(benchmark::State& state) {
    PtyMaster pty;
    TVaComm port;
    port.SetDeviceName(pty.SlavePath());
    Exchange(state, port, pty.Fd());
}

void RoundTripVirtual(benchmark::State& state) {
    const plc::test::KatalogTymczasowy runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.sciezka().c_str(), 1);
    TVaComm port;
    port.SetDeviceName("COM1");
    port.SetResolver([](const std::string&) { return std::string(kVaVirtualDevice); });
    // Opened once first, so that the link exists for the client.
    port.Open();
    port.Close();
    const LinkClient client(VaVirtualLinkPath("COM1"));
    if (!client.IsOpen() || client.SetControllerLine() != 0) {
        state.SkipWithError("no client on the virtual port's link");
        return;
    }
    Exchange(state, port, client.Fd());
}

BENCHMARK(RoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(5);
BENCHMARK(RoundTripVirtual)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(5);

} // namespace
