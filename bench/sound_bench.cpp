// Benchmarks of the sounds: making and levelling all of them, which the first device
// opened waits for once (after the first frame), and counting out the largest payout,
// which the step that lands winnings does on the main thread.
// Run: build/release/bench/slot-sound-bench
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/bank.h"
#include "audio/loudness.h"
#include "audio/payout.h"

namespace {

// What makeBank does the first time: every variant of every sound made, panned and
// measured for its level.
void BM_MakeEverySound(benchmark::State& state) {
    Wave mono;
    std::vector<float> stereo;
    for (auto _ : state) {
        for (int s = 0; s < SoundCount; ++s) {
            for (int v = 0; v < soundPlans[s].variants; ++v) {
                makeSound(static_cast<Sound>(s), v, mono);
                stereo.assign(2 * mono.size(), 0.0f);
                for (size_t i = 0; i < mono.size(); ++i) stereo[2 * i] = stereo[2 * i + 1] = mono[i];
                benchmark::DoNotOptimize(momentaryMax(stereo.data(), mono.size(), 2));
            }
        }
    }
}

void BM_RenderLargestPayout(benchmark::State& state) {
    makeBank();
    std::vector<float> out(2 * PayoutFrames);
    Variation variation;
    for (auto _ : state) {
        renderPayout(PayoutMaxBeats, PayoutMaxBeats, true, variation, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}

}  // namespace

BENCHMARK(BM_MakeEverySound)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_RenderLargestPayout)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK_MAIN();
