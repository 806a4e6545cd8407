#include "analysis_run.h"

#include "reference_analysis.h"
#include "synthetic_leaves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <tuple>

namespace verdalis {
namespace {

using enginetest::builtInSettings;
using enginetest::pictureFromSamples;
using enginetest::RecordingPainter;
using enginetest::referenceAnalysis;
using enginetest::SampleGridPicture;
using Outcome = enginetest::ReferenceOutcome;

Outcome analyse(const PixelBuffer &picture, const AnalysisSettings &settings)
{
    RecordingPainter painter;
    AnalysisRun run;
    run.start(picture, settings, &painter);
    run.runToEnd();
    EXPECT_TRUE(run.finished());
    return {run.figures(), painter.dots, run.progressValue()};
}

Outcome analyseGrid(const std::vector<std::string> &rows, int system, int tenths = 10,
                    double sizeRatio = 1.0)
{
    const SampleGridPicture picture = pictureFromSamples(rows, tenths);
    return analyse(picture.buffer(), builtInSettings(system, 0, tenths, sizeRatio));
}

// ---- Sample grid and picture coordinates -------------------------------------

TEST(AnalysisRunTest, SampleReadsPixelAtFloorOfCoordinateTimes48kOver127)
{
    // {tenths, leaf pixel column, samples reading it}. unitStep 1.0 reads pixels
    // 0, 3, 7, ...; 0.5 reads ... 15, 17 (2160/127 = 17.008), 18; at 0.1 several
    // samples read each pixel (0.378 pixels per unit).
    const int cases[][3] = {{10, 3, 1}, {10, 6, 0}, {5, 17, 1}, {5, 18, 1}, {1, 0, 3}, {1, 2, 2}};
    for (const auto &[tenths, column, samples] : cases) {
        // One leaf pixel in a white strip one pixel high: every sample row reads
        // pixel row 0, so each sample column reading the pixel adds a row of leaf.
        std::vector<std::uint32_t> pixels(40, 0xFFFFFFFFu);
        pixels[std::size_t(column)] = argbPixel(healthyLeafColour());
        AnalysisRun run;
        run.start({pixels.data(), 40, 1, 40}, builtInSettings(0, 0, tenths));
        run.runToEnd();
        EXPECT_EQ(run.figures().leafSamples, samples * run.geometry().rows())
            << tenths << " " << column;
    }
}

TEST(AnalysisRunTest, SamplesPastThePictureEdgeReadBlack)
{
    // 480 pixels at unitStep 1.0 are exactly 127 units: the last column and row
    // (x or y = 127) read pixel 480, one past the picture.
    std::vector<std::uint32_t> pixels(480 * 480, argbPixel(healthyLeafColour()));
    const PixelBuffer picture{pixels.data(), 480, 480, 480};
    const Outcome leafOnly = analyse(picture, builtInSettings(0));
    EXPECT_EQ(leafOnly.figures.leafSamples, 127 * 127);
    EXPECT_DOUBLE_EQ(leafOnly.figures.leafArea, 127 * 127);

    // A custom system looking for black finds exactly that L-shaped strip as
    // one spot (it has no leaf gate).
    const Outcome black = analyse(picture, builtInSettings(5, 0, 10, 1.0, {0, 0, 0}));
    EXPECT_EQ(black.figures.spotCount, 1);
    EXPECT_EQ(black.figures.symptomSamples, 128 + 127);

    // One pixel more and the last samples read the picture.
    std::vector<std::uint32_t> wider(481 * 481, argbPixel(healthyLeafColour()));
    const Outcome inside = analyse({wider.data(), 481, 481, 481}, builtInSettings(0));
    EXPECT_EQ(inside.figures.leafSamples, 128 * 128);
}

// ---- Grids worked out by hand -------------------------------------------------

// Spots grow through edges and corners; the last row is never scanned, so a
// lone symptom there starts no spot but joins one grown from above; symptom
// beyond System 2's leaf gate (white, black) breaks a spot. The perimeter
// weighs an inside edge sample by its open sides (1, 1.414, 2.414, 1 for 1 to
// 4), a border sample 1 whatever surrounds it; only "Leaf area only" traces it.
TEST(AnalysisRunTest, GridsGiveTheirWorkedOutFigures)
{
    const struct {
        std::vector<std::string> rows;
        int system;
        std::int64_t spots;
        std::int64_t symptomSamples;
        double perimeterCount;
    } grids[] = {
        {{"LLLL", "LCLL", "LLCL", "LLLL"}, 2, 1, 2, 0},
        {{"LLLL", "LLCL", "LCLL", "LLLL"}, 2, 1, 2, 0},
        {{"LLLLL", "LCCCL", "LCLCL", "LCCCL", "LLLLL"}, 2, 1, 8, 0},
        {{"LLLL", "LLLL", "LCLL"}, 2, 0, 0, 0},
        {{"LLLL", "LCLL", "LLCL"}, 2, 1, 2, 0},
        {{"LLLC", "LLLL", "LLLL"}, 2, 1, 1, 0},
        {{"LCLCL", "L.L#L", "LLLLL"}, 2, 2, 2, 0},
        {{"...", ".L.", "..."}, 0, 0, 0, 1},
        {{".....", ".LLL.", "....."}, 0, 0, 0, 2 * 2.414 + 1 * 1.414},
        {{".....", "..L..", ".LLL.", "..L..", "....."}, 0, 0, 0, 4 * 2.414},
        {{"L..", "L..", "L..", "L.."}, 0, 0, 0, 4},
        {{"....", "...L", "...L", "LLLL"}, 0, 0, 0, 6},
    };
    for (const auto &grid : grids) {
        SCOPED_TRACE(::testing::PrintToString(grid.rows));
        const Outcome outcome = analyseGrid(grid.rows, grid.system);
        EXPECT_EQ(outcome.figures.spotCount, grid.spots);
        EXPECT_EQ(outcome.figures.symptomSamples, grid.symptomSamples);
        EXPECT_NEAR(outcome.figures.perimeterCount, grid.perimeterCount, 1e-9);
    }
}

TEST(AnalysisRunTest, AreasScaleWithUnitStepAndRatioSquaredThePerimeterWithBoth)
{
    // unitStep 0.5 and sizeRatio 3: a sample is 0.25 x 9 square units.
    const std::vector<std::string> rows = {"........", ".LLLLLL.", ".LCCLLL.",
                                           ".LCCLCL.", ".LLLLLL.", "........"};
    const Outcome spots = analyseGrid(rows, 2, 5, 3.0);
    EXPECT_EQ(spots.figures.symptomSamples, 5);
    EXPECT_DOUBLE_EQ(spots.figures.symptomArea, 5 * 0.25 * 9);
    EXPECT_DOUBLE_EQ(spots.figures.leafArea, 24 * 0.25 * 9);
    // Lesion colours are leaf: a 6 x 4 block, sides weigh 1 and corners 1.414.
    const Outcome edge = analyseGrid(rows, 0, 5, 3.0);
    EXPECT_NEAR(edge.figures.perimeter, (12 + 4 * 1.414) * 0.5 * 3, 1e-9);
}

// ---- Ticks, states and budgets -----------------------------------------------

struct TickRecord {
    RunState state;        // before the tick
    std::int64_t progress; // after it
};

std::vector<TickRecord> tickThrough(AnalysisRun &run)
{
    std::vector<TickRecord> ticks;
    while (!run.finished()) {
        const RunState before = run.state();
        run.tick();
        ticks.push_back({before, run.progressValue()});
        if (ticks.size() > 100000)
            break;
    }
    return ticks;
}

// Every tick uses its whole budget unless it ends its state: a scan tick may
// stop at a seed, any tick at the end of its pass; spot growth never moves the
// bar.
void expectWholeBudgets(const std::vector<TickRecord> &ticks, std::int64_t finalProgress)
{
    std::int64_t before = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const TickRecord &tick = ticks[i];
        const bool lastOfState = i + 1 == ticks.size() || ticks[i + 1].state != tick.state;
        const std::int64_t moved = tick.progress - before;
        if (tick.state == RunState::SpotGrow) {
            EXPECT_EQ(moved, 0);
        } else {
            const int budget = tick.state == RunState::Sampling ? AnalysisRun::SamplingBudget
                                                                : AnalysisRun::SpotScanBudget;
            EXPECT_TRUE(moved == budget || (lastOfState && moved > 0))
                << "tick " << i << " moved " << moved;
        }
        before = tick.progress;
    }
    EXPECT_EQ(before, finalProgress);
}

// The random pictures compared with the reference below hold every tick to its
// budget; here a spot too large for one tick is grown over two.
TEST(AnalysisRunTest, SpotGrowthIsCutIntoTicksToo)
{
    // 30 x 30 samples with a 12 x 12 symptom block: 144 samples grow in 101 + 43
    // queue items.
    std::vector<std::string> rows(30, std::string(30, 'L'));
    for (int y = 5; y <= 16; ++y)
        rows[std::size_t(y)].replace(10, 12, std::string(12, 'C'));
    const SampleGridPicture picture = pictureFromSamples(rows);
    AnalysisRun run;
    run.start(picture.buffer(), builtInSettings(2));
    const std::vector<TickRecord> ticks = tickThrough(run);
    expectWholeBudgets(ticks, run.progressValue());
    EXPECT_EQ(std::count_if(ticks.begin(), ticks.end(),
                            [](const TickRecord &t) { return t.state == RunState::SpotGrow; }),
              2);
    EXPECT_EQ(run.figures().symptomSamples, 144);
}

TEST(AnalysisRunTest, ProgressMaximumUsesUnroundedSize)
{
    // 100 x 50 pixels at unitStep 0.5 are 52.92 x 26.46 units.
    AnalysisRun run;
    std::vector<std::uint32_t> pixels(100 * 50, 0xFFFFFFFFu);
    run.start({pixels.data(), 100, 50, 100}, builtInSettings(0, 0, 5));
    EXPECT_NEAR(run.progressMaximum(), 3125.6736111, 1e-6);
    run.runToEnd();
    EXPECT_LE(double(run.progressValue()), run.progressMaximum());
}

// The window shows the leaf area as soon as sampling ends. (A run started
// again forgets the earlier one: the reference comparison reuses one run.)
TEST(AnalysisRunTest, LeafAreaIsKnownAfterSampling)
{
    const SampleGridPicture picture = pictureFromSamples({"LLL", "LCL", "LLL"});
    AnalysisRun run;
    run.runToEnd(); // idle: nothing to do
    EXPECT_FALSE(run.samplingFinished());
    run.start(picture.buffer(), builtInSettings(2, 0, 10, 2.0));
    run.tick(); // all 9 samples
    EXPECT_TRUE(run.samplingFinished());
    EXPECT_DOUBLE_EQ(run.figures().leafArea, 9 * 4.0);
    EXPECT_EQ(run.figures().spotCount, 0);
}

// ---- Pictures less than one unit ---------------------------------------------

TEST(AnalysisRunTest, GridOfOneRowOrColumnEndsAfterSampling)
{
    const std::uint32_t lesion = argbPixel(lesionColour(LesionKind::Chlorotic));
    // 3 pixels at unitStep 1.0 are 0.79 units: MaxY = 0, then MaxX = 0; an
    // empty picture is one sample past its edge.
    for (const auto &[w, h] : {std::pair{40, 3}, std::pair{3, 40}, std::pair{0, 0}}) {
        std::vector<std::uint32_t> pixels(std::size_t(w * h), lesion);
        RecordingPainter painter;
        AnalysisRun run;
        run.start({w ? pixels.data() : nullptr, w, h, w}, builtInSettings(2), &painter);
        const std::vector<TickRecord> ticks = tickThrough(run);
        ASSERT_TRUE(run.finished());
        EXPECT_EQ(ticks.back().state, RunState::Sampling);
        EXPECT_EQ(run.figures().leafSamples, w ? run.geometry().sampleCount() : 0);
        EXPECT_EQ(run.figures().spotCount, 0);
        EXPECT_EQ(run.progressValue(), run.geometry().sampleCount());
        EXPECT_TRUE(painter.dots.empty());
    }
}

// ---- Refusals ----------------------------------------------------------------

TEST(AnalysisRunTest, RefusesWhatCannotBeAnalysed)
{
    const std::uint32_t pixel = 0xFFFFFFFFu;
    const auto refused = [&](PixelBuffer picture, AnalysisSettings settings) {
        // After a finished run, so that a refused start is seen to forget it.
        AnalysisRun run;
        run.start({&pixel, 1, 1, 1}, builtInSettings(0));
        run.runToEnd();
        try {
            run.start(picture, settings);
        } catch (const AnalysisError &error) {
            EXPECT_NE(std::string(error.what()), "");
            return run.state() == RunState::Idle;
        }
        return false;
    };
    const int huge = std::numeric_limits<int>::max();
    // More than 2^31 columns at unitStep 0.1.
    EXPECT_TRUE(refused({&pixel, huge, 1, huge}, builtInSettings(2, 0, 1)));
    // 6e11 samples: planes far beyond any memory.
    EXPECT_TRUE(refused({&pixel, 300000, 300000, 300000}, builtInSettings(0, 0, 1)));
    EXPECT_TRUE(refused({&pixel, 1, 1, 1}, builtInSettings(0, 0, 0)));
    EXPECT_TRUE(refused({&pixel, 1, 1, 1}, builtInSettings(0, 0, 11)));
    EXPECT_TRUE(refused({nullptr, 5, 5, 5}, builtInSettings(0)));
    EXPECT_TRUE(refused({&pixel, 5, 5, 2}, builtInSettings(0)));
}

// ---- Compact run against the plain reference --------------------------------

std::vector<std::uint32_t> randomPicture(std::mt19937 &random, int width, int height)
{
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    const std::uint32_t palette[] = {
        0xFFFFFFFFu, // white
        0xFF000000u, // black
        argbPixel(healthyLeafColour()),
        argbPixel(lesionColour(LesionKind::Chlorotic)),
        argbPixel(lesionColour(LesionKind::Necrotic)),
        0xFF646464u, // grey: hue 0
        0xFF79000Au, // dark red: hue 0..1
        0xFF96A565u,
    };
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height), palette[pick(2)]);
    // Blobs of palette colours, some of them speckled with arbitrary colours.
    const int blobs = 3 + pick(12);
    for (int b = 0; b < blobs; ++b) {
        const int x0 = pick(width), y0 = pick(height);
        const int w = 1 + pick(width / 2 + 1), h = 1 + pick(height / 2 + 1);
        const std::uint32_t colour = palette[pick(8)];
        const int speckle = pick(4);
        for (int y = y0; y < std::min(height, y0 + h); ++y)
            for (int x = x0; x < std::min(width, x0 + w); ++x)
                pixels[std::size_t(y * width + x)] =
                    speckle == 0 && pick(3) == 0 ? 0xFF000000u | (random() & 0xFFFFFFu) : colour;
    }
    return pixels;
}

// Parameters: random seed, largest picture width in pixels.
class ReferenceComparisonTest : public ::testing::TestWithParam<std::tuple<std::uint32_t, int>> {};

// Exact equality: the same operations in the same order.
void expectSameAsReference(const Outcome &o, const Outcome &reference)
{
    const auto all = [](const Outcome &x) {
        const AnalysisFigures &f = x.figures;
        return std::tie(f.leafArea, f.symptomArea, f.perimeter, f.perimeterCount, f.leafSamples,
                        f.symptomSamples, f.spotCount, x.progress);
    };
    EXPECT_EQ(all(o), all(reference));
    EXPECT_TRUE(o.dots == reference.dots);
}

TEST_P(ReferenceComparisonTest, TicksRunToEndAndReferenceAgree)
{
    const auto [seed, maxWidth] = GetParam();
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    AnalysisRun run; // started again each round: nothing of the last may stay
    for (int round = 0; round < 12; ++round) {
        const int width = 2 + pick(maxWidth);
        const int height = 2 + pick(maxWidth * 3 / 4);
        // Rows padded with pixels the samples must not read.
        const int stride = width + pick(3);
        const std::vector<std::uint32_t> pixels = randomPicture(random, stride, height);
        const PixelBuffer picture{pixels.data(), width, height, stride};
        const int system = pick(7);
        const int slider = system == 3 ? pick(21) - 10 : pick(14) - 3;
        const RgbColour custom{pick(256), pick(256), pick(256)};
        const AnalysisSettings settings =
            builtInSettings(system, slider, 1 + pick(10), 0.05 + pick(1000) / 97.0, custom);
        SCOPED_TRACE(::testing::Message()
                     << "round " << round << " system " << system << " " << width << "x" << height
                     << " k " << settings.unitStepTenths);

        const Outcome reference = referenceAnalysis(picture, settings);
        const Outcome whole = analyse(picture, settings);
        RecordingPainter painter;
        run.start(picture, settings, &painter);
        const std::vector<TickRecord> ticks = tickThrough(run);
        expectWholeBudgets(ticks, run.progressValue());
        ASSERT_TRUE(run.finished());

        expectSameAsReference(whole, reference);
        expectSameAsReference({run.figures(), painter.dots, run.progressValue()}, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(Small, ReferenceComparisonTest,
                         ::testing::Combine(::testing::Range(1u, 41u), ::testing::Values(90)));
INSTANTIATE_TEST_SUITE_P(Large, ReferenceComparisonTest,
                         ::testing::Combine(::testing::Range(1u, 4u), ::testing::Values(400)));

} // namespace
} // namespace verdalis
