// Whole analysis runs on a generated 6000 x 4000 picture (about half leaf, with
// lesions), without painting. Counters give samples per second for each pass
// and the process's peak resident memory.
#include "analysis_run.h"
#include "synthetic_leaves.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace verdalis;
using Clock = std::chrono::steady_clock;

constexpr int PictureWidth = 6000;
constexpr int PictureHeight = 4000;

const std::vector<std::uint32_t> &scenePicture()
{
    static const std::vector<std::uint32_t> pixels =
        renderScene(randomLeafScene(PictureWidth, PictureHeight, 2024));
    return pixels;
}

// The scene with every channel shifted by up to +-6: tens of thousands of
// distinct colours, as in a photograph.
const std::vector<std::uint32_t> &noisyPicture()
{
    static const std::vector<std::uint32_t> pixels = [] {
        std::vector<std::uint32_t> p = scenePicture();
        std::mt19937 random(7);
        for (std::uint32_t &pixel : p) {
            const std::uint32_t r = random();
            std::uint32_t out = 0xFF000000u;
            for (int channel = 0; channel < 3; ++channel) {
                const int shift = 8 * channel;
                const int value =
                    int((pixel >> shift) & 0xFFu) + int((r >> (4 * channel)) % 13) - 6;
                out |= std::uint32_t(std::clamp(value, 0, 255)) << shift;
            }
            pixel = out;
        }
        return p;
    }();
    return pixels;
}

AnalysisSettings settingsFor(int system, int tenths)
{
    static const double bases[] = {25.0, 25.0, 1750.0, 40.0, 330.0};
    static const int steps[] = {5, 5, 50, 1, 10};
    AnalysisSettings s;
    s.detection.systemIndex = system;
    s.detection.baseThreshold = bases[system];
    s.detection.thresholdStep = steps[system];
    s.unitStepTenths = tenths;
    s.sizeRatio = 1.0;
    return s;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

enum class Drive { Ticks, RunToEnd };

// args: system, unit step tenths, drive, noisy picture
void BM_Analysis(benchmark::State &state)
{
    const int system = int(state.range(0));
    const int tenths = int(state.range(1));
    const Drive drive = state.range(2) == 0 ? Drive::Ticks : Drive::RunToEnd;
    const std::vector<std::uint32_t> &pixels = state.range(3) ? noisyPicture() : scenePicture();
    const PixelBuffer picture{pixels.data(), PictureWidth, PictureHeight, PictureWidth};
    const AnalysisSettings settings = settingsFor(system, tenths);

    double samplingSeconds = 0;
    double laterSeconds = 0;
    std::int64_t samples = 0;
    std::int64_t ticks = 0;
    AnalysisFigures figures;
    for (auto _ : state) {
        AnalysisRun run;
        const auto begin = Clock::now();
        run.start(picture, settings);
        if (drive == Drive::RunToEnd) {
            run.runToEnd();
        } else {
            while (run.state() == RunState::Sampling) {
                run.tick();
                ++ticks;
            }
        }
        const auto sampled = Clock::now();
        while (!run.finished()) {
            run.tick();
            ++ticks;
        }
        const auto end = Clock::now();
        samplingSeconds += std::chrono::duration<double>(sampled - begin).count();
        laterSeconds += std::chrono::duration<double>(end - sampled).count();
        samples += run.geometry().sampleCount();
        figures = run.figures();
        benchmark::DoNotOptimize(figures);
    }
    const double runs = double(state.iterations());
    if (drive == Drive::Ticks) {
        // Per pass: the spot scan or edge trace walks every sample once more.
        state.counters["sampling_samples_per_s"] = double(samples) / samplingSeconds;
        state.counters[system == 0 ? "edge_samples_per_s" : "scan_probes_per_s"] =
            double(samples) / laterSeconds;
        state.counters["ticks"] = double(ticks) / runs;
    }
    state.counters["samples"] = double(samples) / runs;
    state.counters["leaf_share"] = double(figures.leafSamples) / (double(samples) / runs);
    state.counters["spots"] = double(figures.spotCount);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

void coarseArgs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"system", "tenths", "runToEnd", "noisy"});
    for (int system : {2, 0})
        for (int drive : {0, 1})
            b->Args({system, 10, drive, 0});
    b->Args({1, 10, 0, 0});
    b->Args({1, 10, 0, 1});
    b->Args({3, 10, 0, 1});
}

void fineArgs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"system", "tenths", "runToEnd", "noisy"});
    for (int system : {2, 0})
        for (int drive : {0, 1})
            b->Args({system, 1, drive, 0});
    b->Args({1, 1, 0, 1});
}

BENCHMARK(BM_Analysis)->Apply(coarseArgs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Analysis)
    ->Name("BM_AnalysisFine")
    ->Apply(fineArgs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
