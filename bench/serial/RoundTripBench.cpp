// Round trip over a pty: bytes written to the master until OnRxChar has run on
// the window thread and the reply it queued with WriteText is back at the
// master. The figure to watch is the median.
#include "bench/Mediana.h"
#include "serial/VaComm.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {};
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
            ::ptsname_r(master_, name, sizeof name) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        slave_ = name;
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    ~Pty() { ::close(master_); }

    int master_ = -1;
    std::string slave_;
};

void RoundTrip(benchmark::State& state) {
    Pty pty;
    TVaComm port;
    port.SetDeviceName(pty.slave_);
    port.SetBaudrate(br9600);
    port.SetParity(paEven);
    port.SetParityCheck(true);
    port.SetDatabits(db7);
    port.SetStopbits(sb2);

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
        if (::write(pty.master_, request.data(), request.size()) !=
            static_cast<ssize_t>(request.size())) {
            state.SkipWithError("write to the master failed");
            break;
        }
        while (!answered) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        while (back.size() < reply.size()) {
            pollfd ready{pty.master_, POLLIN, 0};
            ::poll(&ready, 1, -1);
            const ssize_t got = ::read(pty.master_, chunk, sizeof chunk);
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
