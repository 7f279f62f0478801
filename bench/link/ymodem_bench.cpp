// Firmware transfer of a 200 KB image over a pseudo-terminal to the simulated processor, which
// answers at once. The line is paced in 15-byte pieces, 3 ms apart, so the pacing bound of a
// transfer is pieces x 3 ms; the figure of interest is the share of that bound the transfer reaches
// (of_bound_pct: bound / elapsed; 100 would be no time lost beyond the pacing).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "link/uart.h"
#include "link/ymodem.h"
#include "link/ymodem_transfer.h"
#include "sim/processor.h"

namespace {

constexpr std::size_t kImageSize = 200 * 1024;

int Pieces(int bytes) {
    return (bytes + 14) / 15;
}

void BM_Transfer200K(benchmark::State& state) {
    char folder[] = "/tmp/k417b-ymodem-bench.XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    sim::Options options;
    options.firmwareDir = folder;
    sim::Processor processor(options);
    std::string error;
    if (!processor.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    Uart uart;
    if (uart.Open(processor.SlavePath()) != 1) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    std::vector<std::uint8_t> image(kImageSize);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31 + 7);
    ymodem::Timing timing;
    timing.settle = std::chrono::milliseconds(0);  // a fixed sleep, not pacing: left out of the figure
    const int blocks = static_cast<int>((kImageSize + Ymodem::kDataSize - 1) / Ymodem::kDataSize);
    const int pieces =
        Pieces(6) + Pieces(Ymodem::kHeaderSize) + blocks * Pieces(Ymodem::kBlockSize) + Pieces(1);
    const double boundMs = pieces * 3.0;

    double elapsedMs = 0;
    int result = 0;
    for (auto _ : state) {
        Ymodem file;
        file.Hold("fw.bin", image);
        const auto start = std::chrono::steady_clock::now();
        result = ymodem::RunOnUart(uart, file, timing);
        elapsedMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsedMs / 1000.0);
    }
    if (result != ymodem::kOk) state.SkipWithError("the transfer failed");
    state.counters["bound_ms"] = boundMs;
    state.counters["elapsed_ms"] = elapsedMs;
    state.counters["of_bound_pct"] = 100.0 * boundMs / elapsedMs;
    uart.Close();
    processor.Stop();
    std::remove((std::string(folder) + "/fw.bin").c_str());
    ::rmdir(folder);
}
BENCHMARK(BM_Transfer200K)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
