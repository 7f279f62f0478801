// Cost of the response curves the equaliser graph recomputes on every repaint.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "controls/response.h"

namespace {

controls::BandResponse Band(int type, float freq, float gain, float q) {
    controls::BandResponse b;
    b.freq = freq;
    b.gain = gain;
    b.q = q;
    b.type = type;
    b.sampleRate = 48000;
    return b;
}

// One peaking band; the figure to read is the time per point (items).
void BM_OneBand(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<float> db(n);
    for (auto _ : state) {
        controls::BandResponse b = Band(1, 1000.0f, 6.0f, 1.4f);
        benchmark::DoNotOptimize(controls::CalcBiquadResponse(b, db.data(), n));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_OneBand)->Arg(800)->Arg(2000);

// A full microphone graph: high-pass, 15 peaking bands, low-pass, 800 points each, summed.
void BM_SeventeenBands(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::array<controls::BandResponse, 17> bands;
    bands[0] = Band(4, 40.0f, 0.0f, 0.7f);
    for (int i = 1; i < 16; ++i)
        bands[i] = Band(1, 25.0f * static_cast<float>(1 << (i / 2)) * (1 + i % 2),
                        static_cast<float>(i % 7) * 3 - 9, 0.5f + i);
    bands[16] = Band(5, 16000.0f, 0.0f, 0.7f);
    std::vector<float> db(n), sum(n);
    for (auto _ : state) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (controls::BandResponse b : bands) {
            controls::CalcBiquadResponse(b, db.data(), n);
            for (int i = 0; i < n; ++i) sum[i] += db[i];
        }
        benchmark::DoNotOptimize(sum.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n * 17);
}
BENCHMARK(BM_SeventeenBands)->Arg(800)->Unit(benchmark::kMicrosecond);

}  // namespace
