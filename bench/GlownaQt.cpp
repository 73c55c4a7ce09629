// The main of the benchmarks that run the serial port component: its threads
// hand their events over to the thread of a Qt application object.

#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    const QCoreApplication aplikacja(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
