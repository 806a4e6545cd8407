#include "analysis_run.h"

#include "reference_analysis.h"
#include "synthetic_leaves.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace verdalis {
namespace {

using enginetest::BuiltInSettings;
using enginetest::PaintedDot;
using enginetest::PictureFromSamples;
using enginetest::RecordingPainter;
using enginetest::ReferenceAnalysis;
using enginetest::ReferenceOutcome;
using enginetest::SampleGridPicture;

struct Outcome {
    AnalysisFigures figures;
    std::vector<PaintedDot> dots;
    std::int64_t progress = 0;
};

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
    const SampleGridPicture picture = PictureFromSamples(rows, tenths);
    return analyse(picture.buffer(), BuiltInSettings(system, 0, tenths, sizeRatio));
}

std::vector<PaintedDot> dotsAt(const std::vector<std::pair<int, int>> &points, RgbColour colour,
                               int width)
{
    std::vector<PaintedDot> dots;
    for (const auto &[x, y] : points)
        dots.push_back({x, y, colour, width});
    return dots;
}

// ---- Sample grid and picture coordinates -------------------------------------

struct MappingCase {
    int tenths;
    int leafPixelColumn;
    std::int64_t samplesReadingIt;
};

class SampleMappingTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SampleMappingTest, SampleReadsPixelAtFloorOfCoordinateTimes48kOver127)
{
    // One leaf pixel in a white strip one pixel high: every sample row reads
    // pixel row 0, so the leaf count is the columns that read the pixel times
    // the rows.
    const MappingCase &c = GetParam();
    std::vector<std::uint32_t> pixels(40, 0xFFFFFFFFu);
    pixels[std::size_t(c.leafPixelColumn)] = ArgbPixel(HealthyLeafColour());
    const PixelBuffer picture{pixels.data(), 40, 1, 40};
    AnalysisRun run;
    run.start(picture, BuiltInSettings(0, 0, c.tenths));
    run.runToEnd();
    const std::int64_t rows = run.geometry().rows();
    EXPECT_EQ(run.figures().leafSamples, c.samplesReadingIt * rows);
}

INSTANTIATE_TEST_SUITE_P(
    UnitSteps, SampleMappingTest,
    ::testing::Values(
        // unitStep 1.0: samples read pixels 0, 3, 7, 11, ...
        MappingCase{10, 0, 1}, MappingCase{10, 1, 0}, MappingCase{10, 2, 0},
        MappingCase{10, 3, 1}, MappingCase{10, 6, 0}, MappingCase{10, 7, 1},
        // unitStep 0.5: 0, 1, 3, 5, ... 15, 17, 18
        MappingCase{5, 1, 1}, MappingCase{5, 2, 0}, MappingCase{5, 17, 1}, MappingCase{5, 18, 1},
        // unitStep 0.1: several samples per pixel (0.378 pixels per unit).
        MappingCase{1, 0, 3}, MappingCase{1, 1, 3}, MappingCase{1, 2, 2}));

TEST(SampleGeometryTest, SizesAreExactFloors)
{
    const SampleGeometry g(6000, 4000, 10);
    EXPECT_DOUBLE_EQ(g.width(), 6000.0 * 127 / 480);
    EXPECT_EQ(g.maxX(), 1587); // 1587.5
    EXPECT_EQ(g.maxY(), 1058); // 1058.33
    const SampleGeometry whole(480, 96, 10);
    EXPECT_EQ(whole.maxX(), 127); // exactly 127 units wide
    EXPECT_EQ(whole.maxY(), 25);  // 25.4
    EXPECT_EQ(SampleGeometry(6000, 4000, 1).sampleCount(), std::int64_t(15876) * 10584);
}

TEST(AnalysisRunTest, SamplesPastThePictureEdgeReadBlack)
{
    // 480 pixels at unitStep 1.0 are exactly 127 units: the last column and row
    // (x or y = 127) read pixel 480, one past the picture.
    std::vector<std::uint32_t> pixels(480 * 480, ArgbPixel(HealthyLeafColour()));
    const PixelBuffer picture{pixels.data(), 480, 480, 480};
    const Outcome leafOnly = analyse(picture, BuiltInSettings(0));
    EXPECT_EQ(leafOnly.figures.leafSamples, 127 * 127);
    EXPECT_DOUBLE_EQ(leafOnly.figures.leafArea, 127 * 127);

    // A custom system looking for black finds exactly that L-shaped strip as
    // one spot (it has no leaf gate).
    const Outcome black = analyse(picture, BuiltInSettings(5, 0, 10, 1.0, {0, 0, 0}));
    EXPECT_EQ(black.figures.spotCount, 1);
    EXPECT_EQ(black.figures.symptomSamples, 128 + 127);

    // One pixel more and the last samples read the picture.
    std::vector<std::uint32_t> wider(481 * 481, ArgbPixel(HealthyLeafColour()));
    const Outcome inside = analyse({wider.data(), 481, 481, 481}, BuiltInSettings(0));
    EXPECT_EQ(inside.figures.leafSamples, 128 * 128);
}

TEST(AnalysisRunTest, StrideSkipsPaddingPixels)
{
    // Rows 5 pixels apart, only 3 of them picture: the padding is never read.
    const std::uint32_t leaf = ArgbPixel(HealthyLeafColour());
    const std::uint32_t pad = ArgbPixel(LesionColour(LesionKind::Chlorotic));
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 8; ++y)
        pixels.insert(pixels.end(), {leaf, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, leaf, pad, pad});
    const PixelBuffer picture{pixels.data(), 5, 8, 7};
    const Outcome outcome = analyse(picture, BuiltInSettings(2));
    // maxX = 1 (pixels 0 and 3), maxY = 2 (rows 0, 3, 7): column 0 is leaf.
    EXPECT_EQ(outcome.figures.leafSamples, 3);
    EXPECT_EQ(outcome.figures.spotCount, 0);
}

// ---- Areas and calibration ---------------------------------------------------

TEST(AnalysisRunTest, HundredLeafSamplesAtHalfUnitStepGiveTwentyFive)
{
    std::vector<std::string> rows(12, std::string(12, '.'));
    for (int y = 1; y <= 10; ++y)
        rows[std::size_t(y)] = "." + std::string(10, 'L') + ".";
    const Outcome outcome = analyseGrid(rows, 0, 5);
    EXPECT_EQ(outcome.figures.leafSamples, 100);
    EXPECT_DOUBLE_EQ(outcome.figures.leafArea, 25.0);
    EXPECT_EQ(outcome.figures.symptomArea, 0.0); // "Leaf area only" finds no symptom
}

TEST(AnalysisRunTest, HalfUnitStepAndSizeRatioTwoGiveCountsAsFigures)
{
    const std::vector<std::string> rows = {
        "......", //
        ".LLLL.", //
        ".LLLL.", //
        ".LLL..", //
        "......", //
    };
    const Outcome outcome = analyseGrid(rows, 0, 5, 2.0);
    EXPECT_EQ(outcome.figures.leafArea, 11.0);
    EXPECT_GT(outcome.figures.perimeterCount, 0.0);
    EXPECT_EQ(outcome.figures.perimeter, outcome.figures.perimeterCount);
}

TEST(AnalysisRunTest, SymptomAreaIsSpotSamplesTimesUnitAndRatioSquared)
{
    const std::vector<std::string> rows = {
        "........", //
        ".LLLLLL.", //
        ".LCCLLL.", //
        ".LCCLCL.", //
        ".LLLLLL.", //
        "........", //
    };
    const Outcome outcome = analyseGrid(rows, 2, 5, 3.0);
    EXPECT_EQ(outcome.figures.spotCount, 2);
    EXPECT_EQ(outcome.figures.symptomSamples, 5);
    EXPECT_DOUBLE_EQ(outcome.figures.symptomArea, 4 * 0.25 * 9 + 1 * 0.25 * 9);
    EXPECT_DOUBLE_EQ(outcome.figures.leafArea, 24 * 0.25 * 9);
    EXPECT_EQ(outcome.figures.perimeter, 0.0); // only "Leaf area only" traces the edge
}

TEST(AnalysisRunTest, AllBackgroundGivesZeroFigures)
{
    for (int system : {0, 2}) {
        const Outcome outcome = analyseGrid({"....", "....", "...."}, system);
        EXPECT_EQ(outcome.figures.leafArea, 0.0);
        EXPECT_EQ(outcome.figures.symptomArea, 0.0);
        EXPECT_EQ(outcome.figures.perimeter, 0.0);
        EXPECT_TRUE(outcome.dots.empty());
    }
}

// ---- Spot growth -------------------------------------------------------------

struct SpotCase {
    const char *name;
    std::vector<std::string> rows;
    std::int64_t spots;
    std::int64_t symptomSamples;
};

std::ostream &operator<<(std::ostream &out, const SpotCase &c)
{
    return out << c.name;
}

class SpotGrowthTest : public ::testing::TestWithParam<SpotCase> {};

TEST_P(SpotGrowthTest, CountsSpotsAndTheirSamples)
{
    const Outcome outcome = analyseGrid(GetParam().rows, 2);
    EXPECT_EQ(outcome.figures.spotCount, GetParam().spots);
    EXPECT_EQ(outcome.figures.symptomSamples, GetParam().symptomSamples);
    EXPECT_DOUBLE_EQ(outcome.figures.symptomArea, double(GetParam().symptomSamples));
}

INSTANTIATE_TEST_SUITE_P(
    Grids, SpotGrowthTest,
    ::testing::Values(
        SpotCase{"corner_join", {"LLLL", "LCLL", "LLCL", "LLLL"}, 1, 2},
        SpotCase{"anti_diagonal", {"LLLL", "LLCL", "LCLL", "LLLL"}, 1, 2},
        SpotCase{"two_spots", {"LLLLLL", "LCCLLL", "LCLLCL", "LLLLCL", "LLLLLL"}, 2, 5},
        SpotCase{"ring_is_one_spot", {"LLLLL", "LCCCL", "LCLCL", "LCCCL", "LLLLL"}, 1, 8},
        SpotCase{"snake", {"CLCCC", "CLCLC", "CCCLC", "LLLLL"}, 1, 11},
        // The last row is never scanned: a lone symptom there starts no spot...
        SpotCase{"last_row_alone", {"LLLL", "LLLL", "LCLL"}, 0, 0},
        // ...but joins a spot grown from above, through an edge or a corner.
        SpotCase{"last_row_joins", {"LLLL", "LCLL", "LLCL"}, 1, 2},
        // The last column is scanned like any other.
        SpotCase{"last_column", {"LLLC", "LLLL", "LLLL"}, 1, 1},
        SpotCase{"first_row_and_column", {"CLL", "LLL", "LLL"}, 1, 1},
        // Symptom beyond the leaf gate of System 2 is not symptom: white and
        // black break a spot.
        SpotCase{"background_breaks", {"LCLCL", "L.L#L", "LLLLL"}, 2, 2}),
    [](const ::testing::TestParamInfo<SpotCase> &info) { return std::string(info.param.name); });

TEST(AnalysisRunTest, SpotsArePaintedAsTheScanReachesThemExceptTheLastRow)
{
    const std::vector<std::string> rows = {
        "LLLL", //
        "LCCL", //
        "LLCL", //
        "LLCC", //
    };
    const Outcome outcome = analyseGrid(rows, 2, 5);
    EXPECT_EQ(outcome.figures.symptomSamples, 5);
    // Column by column; (2, 3) and (3, 3) lie on the last row and stay unpainted.
    EXPECT_EQ(outcome.dots, dotsAt({{1, 1}, {2, 1}, {2, 2}}, SymptomDotColour, 3));
}

TEST(AnalysisRunTest, ProgressCountsSamplesProbesAndSeedProbesTwice)
{
    const std::vector<std::string> rows = {"LLLLL", "LCLLC", "LLLLL", "LCLLL"};
    const Outcome symptoms = analyseGrid(rows, 2);
    // 20 samples, 5 columns x 3 probed rows, and one extra probe per seed.
    EXPECT_EQ(symptoms.figures.spotCount, 2);
    EXPECT_EQ(symptoms.progress, 20 + 15 + 2);
    const Outcome edge = analyseGrid(rows, 0);
    EXPECT_EQ(edge.progress, 20 + 20);
}

// ---- Perimeter ---------------------------------------------------------------

std::vector<std::string> rectangleGrid(int a, int b)
{
    std::vector<std::string> rows(std::size_t(b + 4), std::string(std::size_t(a + 4), '.'));
    for (int y = 2; y < b + 2; ++y)
        rows[std::size_t(y)].replace(2, std::size_t(a), std::string(std::size_t(a), 'L'));
    return rows;
}

class RectanglePerimeterTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(RectanglePerimeterTest, SidesCountOneAndCornersDiagonal)
{
    const auto [a, b] = GetParam();
    const Outcome outcome = analyseGrid(rectangleGrid(a, b), 0);
    EXPECT_NEAR(outcome.figures.perimeterCount, 2 * (a - 2) + 2 * (b - 2) + 4 * 1.414, 1e-9);
    EXPECT_EQ(outcome.figures.perimeter, outcome.figures.perimeterCount);
    EXPECT_EQ(outcome.figures.leafSamples, a * b);
    EXPECT_EQ(std::int64_t(outcome.dots.size()), 2 * a + 2 * b - 4);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RectanglePerimeterTest,
                         ::testing::Values(std::pair{2, 2}, std::pair{3, 2}, std::pair{5, 3},
                                           std::pair{7, 7}, std::pair{10, 4}));

struct PerimeterCase {
    const char *name;
    std::vector<std::string> rows;
    double count;
};

std::ostream &operator<<(std::ostream &out, const PerimeterCase &c)
{
    return out << c.name;
}

class PerimeterShapeTest : public ::testing::TestWithParam<PerimeterCase> {};

TEST_P(PerimeterShapeTest, AddsTheWeightOfEachEdgeSample)
{
    EXPECT_NEAR(analyseGrid(GetParam().rows, 0).figures.perimeterCount, GetParam().count, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PerimeterShapeTest,
    ::testing::Values(
        PerimeterCase{"isolated_sample", {"...", ".L.", "..."}, 1},
        PerimeterCase{"line_of_3", {".....", ".LLL.", "....."}, 2 * 2.414 + 1 * 1.414},
        PerimeterCase{"line_of_6", {"........", ".LLLLLL.", "........"}, 2 * 2.414 + 4 * 1.414},
        PerimeterCase{"vertical_line_of_4", {"...", ".L.", ".L.", ".L.", ".L.", "..."},
                      2 * 2.414 + 2 * 1.414},
        PerimeterCase{"plus", {".....", "..L..", ".LLL.", "..L..", "....."}, 4 * 2.414},
        // Leaf on the grid's border counts 1 per sample, whatever surrounds it.
        PerimeterCase{"border_column", {"L..", "L..", "L..", "L.."}, 4},
        PerimeterCase{"full_grid", {"LLLL", "LLLL", "LLLL"}, 10},
        PerimeterCase{"last_column_and_row", {"....", "...L", "...L", "LLLL"}, 6}),
    [](const ::testing::TestParamInfo<PerimeterCase> &info) {
        return std::string(info.param.name);
    });

TEST(AnalysisRunTest, EdgeDotsSkipTheBorderAndTheInside)
{
    const std::vector<std::string> rows = {
        "L.....", //
        "L.LLL.", //
        "L.LLL.", //
        "L.LLL.", //
        "......", //
    };
    const Outcome outcome = analyseGrid(rows, 0);
    // Column 0 lies on the border (counted, not painted); (3, 2) is inside.
    EXPECT_EQ(outcome.dots, dotsAt({{2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 3}, {4, 1}, {4, 2}, {4, 3}},
                                   LeafEdgeDotColour, 4));
    EXPECT_NEAR(outcome.figures.perimeterCount, 4 + 4 * 1.414 + 4 * 1, 1e-9);
}

struct WidthCase {
    int tenths;
    int symptom;
    int edge;
};

class DotWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(DotWidthTest, DotsNarrowWithTheUnitStep)
{
    const WidthCase &c = GetParam();
    EXPECT_EQ(SymptomDotWidth(c.tenths / 10.0), c.symptom);
    EXPECT_EQ(LeafEdgeDotWidth(c.tenths / 10.0), c.edge);
    // The run paints with the same widths.
    if (c.tenths >= 3) {
        const std::vector<std::string> rows = {".....", ".LLL.", ".LCL.", ".LLL.", "....."};
        const Outcome spots = analyseGrid(rows, 2, c.tenths);
        ASSERT_EQ(spots.dots.size(), 1u);
        EXPECT_EQ(spots.dots[0].width, c.symptom);
        const Outcome edge = analyseGrid(rows, 0, c.tenths);
        ASSERT_FALSE(edge.dots.empty());
        EXPECT_EQ(edge.dots[0].width, c.edge);
    }
}

INSTANTIATE_TEST_SUITE_P(UnitSteps, DotWidthTest,
                         ::testing::Values(WidthCase{10, 5, 4}, WidthCase{5, 3, 2},
                                           WidthCase{1, 1, 1}, WidthCase{3, 2, 2}));

// ---- Ticks, states and budgets -----------------------------------------------

struct TickRecord {
    RunState state; // before the tick
    std::int64_t progress; // after it
    bool operator==(const TickRecord &o) const
    {
        return state == o.state && progress == o.progress;
    }
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
        switch (tick.state) {
        case RunState::Sampling:
            EXPECT_TRUE(moved == AnalysisRun::SamplingBudget || (lastOfState && moved > 0));
            break;
        case RunState::SpotScan:
        case RunState::EdgeTrace:
            EXPECT_TRUE(moved == AnalysisRun::SpotScanBudget || (lastOfState && moved > 0))
                << "tick " << i << " moved " << moved;
            break;
        case RunState::SpotGrow:
            EXPECT_EQ(moved, 0);
            break;
        default:
            ADD_FAILURE() << "tick in an idle state";
        }
        before = tick.progress;
    }
    EXPECT_EQ(before, finalProgress);
}

TEST(AnalysisRunTest, TicksKeepTheBudgetsAndTheSeedEndsAScanTick)
{
    // 30 x 30 samples with a 12 x 12 symptom block at x 10..21, y 5..16.
    std::vector<std::string> rows(30, std::string(30, 'L'));
    for (int y = 5; y <= 16; ++y)
        rows[std::size_t(y)].replace(10, 12, std::string(12, 'C'));
    const SampleGridPicture picture = PictureFromSamples(rows);
    AnalysisRun run;
    run.start(picture.buffer(), BuiltInSettings(2));
    EXPECT_EQ(run.state(), RunState::Sampling);
    const std::vector<TickRecord> ticks = tickThrough(run);

    using S = RunState;
    std::vector<TickRecord> expected = {{S::Sampling, 501}, {S::Sampling, 900}};
    // The seed (10, 5) is probe 296: 10 columns of 29 probes, then 6 more.
    expected.push_back({S::SpotScan, 900 + 101});
    expected.push_back({S::SpotScan, 900 + 202});
    expected.push_back({S::SpotScan, 900 + 296});
    // 144 samples grow in 101 + 43 queue items; the bar stands still.
    expected.push_back({S::SpotGrow, 900 + 296});
    expected.push_back({S::SpotGrow, 900 + 296});
    // 30 x 29 probes plus the seed probed again: 575 left.
    for (std::int64_t done = 296 + 101; done < 871; done += 101)
        expected.push_back({S::SpotScan, 900 + done});
    expected.push_back({S::SpotScan, 900 + 871});
    EXPECT_EQ(ticks, expected);
    EXPECT_EQ(run.figures().symptomSamples, 144);
    EXPECT_EQ(run.figures().spotCount, 1);
}

TEST(AnalysisRunTest, EdgeTraceTicksWalk101SamplesEach)
{
    const SampleGridPicture picture = PictureFromSamples(rectangleGrid(20, 20));
    AnalysisRun run;
    run.start(picture.buffer(), BuiltInSettings(0));
    const std::vector<TickRecord> ticks = tickThrough(run);
    // 24 x 24 = 576 samples: 2 sampling ticks, then 5 full and one of 71.
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_EQ(ticks[1], (TickRecord{RunState::Sampling, 576}));
    EXPECT_EQ(ticks[2], (TickRecord{RunState::EdgeTrace, 576 + 101}));
    EXPECT_EQ(ticks[7], (TickRecord{RunState::EdgeTrace, 1152}));
}

TEST(AnalysisRunTest, SamplingFinishedBringsTheLeafArea)
{
    const SampleGridPicture picture = PictureFromSamples(rectangleGrid(30, 30));
    AnalysisRun run;
    run.start(picture.buffer(), BuiltInSettings(1, 0, 10, 2.0));
    EXPECT_FALSE(run.samplingFinished());
    run.tick(); // 501 of 1156 samples
    EXPECT_FALSE(run.samplingFinished());
    run.tick();
    EXPECT_FALSE(run.samplingFinished());
    run.tick();
    EXPECT_TRUE(run.samplingFinished());
    EXPECT_EQ(run.state(), RunState::SpotScan);
    EXPECT_DOUBLE_EQ(run.figures().leafArea, 900 * 4.0);
}

TEST(AnalysisRunTest, ProgressMaximumUsesUnroundedSize)
{
    AnalysisRun run;
    std::vector<std::uint32_t> pixels(100 * 50, 0xFFFFFFFFu);
    run.start({pixels.data(), 100, 50, 100}, BuiltInSettings(0, 0, 5));
    const double w = 100 * 127 / 240.0;
    const double h = 50 * 127 / 240.0;
    EXPECT_DOUBLE_EQ(run.progressMaximum(), 2 * (w + 2) * (h + 2));
    run.runToEnd();
    EXPECT_LE(double(run.progressValue()), run.progressMaximum());
}

TEST(AnalysisRunTest, IdleRunDoesNothing)
{
    AnalysisRun run;
    EXPECT_EQ(run.state(), RunState::Idle);
    run.tick();
    run.runToEnd();
    EXPECT_EQ(run.state(), RunState::Idle);
    EXPECT_FALSE(run.samplingFinished());
}

TEST(AnalysisRunTest, StartingAgainForgetsTheEarlierRun)
{
    const SampleGridPicture picture = PictureFromSamples({"LLL", "LCL", "LLL"});
    AnalysisRun run;
    run.start(picture.buffer(), BuiltInSettings(2));
    run.runToEnd();
    EXPECT_EQ(run.figures().spotCount, 1);
    run.start(picture.buffer(), BuiltInSettings(2));
    EXPECT_EQ(run.figures().spotCount, 0);
    EXPECT_EQ(run.progressValue(), 0);
    run.runToEnd();
    EXPECT_EQ(run.figures().spotCount, 1);
    EXPECT_EQ(run.figures().leafSamples, 9);
}

// ---- Pictures less than one unit ---------------------------------------------

TEST(AnalysisRunTest, GridOfOneRowOrColumnEndsAfterSampling)
{
    const std::uint32_t lesion = ArgbPixel(LesionColour(LesionKind::Chlorotic));
    // 3 pixels at unitStep 1.0 are 0.79 units: MaxY = 0 (and MaxX = 0).
    for (const auto &[w, h] : {std::pair{40, 3}, std::pair{3, 40}, std::pair{3, 3}}) {
        std::vector<std::uint32_t> pixels(std::size_t(w * h), lesion);
        RecordingPainter painter;
        AnalysisRun run;
        run.start({pixels.data(), w, h, w}, BuiltInSettings(2), &painter);
        const std::vector<TickRecord> ticks = tickThrough(run);
        ASSERT_TRUE(run.finished());
        EXPECT_EQ(ticks.back().state, RunState::Sampling);
        EXPECT_EQ(run.figures().leafSamples, run.geometry().sampleCount());
        EXPECT_EQ(run.figures().spotCount, 0);
        EXPECT_EQ(run.progressValue(), run.geometry().sampleCount());
        EXPECT_TRUE(painter.dots.empty());
    }
    // "Leaf area only" still traces its (all border) edge.
    std::vector<std::uint32_t> strip(40 * 3, ArgbPixel(HealthyLeafColour()));
    const Outcome edge = analyse({strip.data(), 40, 3, 40}, BuiltInSettings(0));
    EXPECT_EQ(edge.figures.perimeterCount, 11.0); // MaxX = 10: 11 border samples
    EXPECT_TRUE(edge.dots.empty());
}

TEST(AnalysisRunTest, EmptyPictureGivesOneBlackSample)
{
    AnalysisRun run;
    run.start({nullptr, 0, 0, 0}, BuiltInSettings(5, 0, 10, 1.0, {0, 0, 0}));
    run.runToEnd();
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(run.geometry().sampleCount(), 1);
    EXPECT_EQ(run.figures().leafSamples, 0);
    EXPECT_EQ(run.figures().spotCount, 0);
}

// ---- Refusals ----------------------------------------------------------------

TEST(AnalysisRunTest, RefusesWhatCannotBeAnalysed)
{
    const std::uint32_t pixel = 0xFFFFFFFFu;
    const auto refused = [&](PixelBuffer picture, AnalysisSettings settings) {
        AnalysisRun run;
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
    EXPECT_TRUE(refused({&pixel, huge, 1, huge}, BuiltInSettings(2, 0, 1)));
    // 6e11 samples: planes far beyond any memory.
    EXPECT_TRUE(refused({&pixel, 300000, 300000, 300000}, BuiltInSettings(0, 0, 1)));
    EXPECT_TRUE(refused({&pixel, 1, 1, 1}, BuiltInSettings(0, 0, 0)));
    EXPECT_TRUE(refused({&pixel, 1, 1, 1}, BuiltInSettings(0, 0, 11)));
    EXPECT_TRUE(refused({nullptr, 5, 5, 5}, BuiltInSettings(0)));
    EXPECT_TRUE(refused({&pixel, 5, 5, 2}, BuiltInSettings(0)));
}

// ---- Compact run against the plain reference --------------------------------

std::vector<std::uint32_t> randomPicture(std::mt19937 &random, int width, int height)
{
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    const std::uint32_t palette[] = {
        0xFFFFFFFFu,                                  // white
        0xFF000000u,                                  // black
        ArgbPixel(HealthyLeafColour()),
        ArgbPixel(LesionColour(LesionKind::Chlorotic)),
        ArgbPixel(LesionColour(LesionKind::Necrotic)),
        0xFF646464u,                                  // grey: hue 0
        0xFF79000Au,                                  // dark red: hue 0..1
        0xFF96A565u,
    };
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height),
                                      palette[pick(2)]);
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
class ReferenceComparisonTest
    : public ::testing::TestWithParam<std::tuple<std::uint32_t, int>> {};

TEST_P(ReferenceComparisonTest, TicksRunToEndAndReferenceAgree)
{
    const auto [seed, maxWidth] = GetParam();
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    for (int round = 0; round < 12; ++round) {
        const int width = 2 + pick(maxWidth);
        const int height = 2 + pick(maxWidth * 3 / 4);
        const std::vector<std::uint32_t> pixels = randomPicture(random, width, height);
        const PixelBuffer picture{pixels.data(), width, height, width};
        const int system = pick(7);
        const int slider = system == 3 ? pick(21) - 10 : pick(14) - 3;
        const RgbColour custom{pick(256), pick(256), pick(256)};
        const AnalysisSettings settings =
            BuiltInSettings(system, slider, 1 + pick(10), 0.05 + pick(1000) / 97.0, custom);
        SCOPED_TRACE(::testing::Message() << "round " << round << " system " << system << " "
                                          << width << "x" << height << " k "
                                          << settings.unitStepTenths);

        const ReferenceOutcome reference = ReferenceAnalysis(picture, settings);
        const Outcome whole = analyse(picture, settings);
        RecordingPainter painter;
        AnalysisRun run;
        run.start(picture, settings, &painter);
        const std::vector<TickRecord> ticks = tickThrough(run);
        expectWholeBudgets(ticks, run.progressValue());
        ASSERT_TRUE(run.finished());

        for (const Outcome &o : {whole, Outcome{run.figures(), painter.dots, run.progressValue()}}) {
            // Exact equality: the same operations in the same order.
            EXPECT_EQ(o.figures.leafArea, reference.figures.leafArea);
            EXPECT_EQ(o.figures.symptomArea, reference.figures.symptomArea);
            EXPECT_EQ(o.figures.perimeter, reference.figures.perimeter);
            EXPECT_EQ(o.figures.perimeterCount, reference.figures.perimeterCount);
            EXPECT_EQ(o.figures.leafSamples, reference.figures.leafSamples);
            EXPECT_EQ(o.figures.symptomSamples, reference.figures.symptomSamples);
            EXPECT_EQ(o.figures.spotCount, reference.figures.spotCount);
            EXPECT_EQ(o.progress, reference.progress);
            EXPECT_TRUE(o.dots == reference.dots);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Small, ReferenceComparisonTest,
                         ::testing::Combine(::testing::Range(1u, 41u), ::testing::Values(90)));
INSTANTIATE_TEST_SUITE_P(Large, ReferenceComparisonTest,
                         ::testing::Combine(::testing::Range(1u, 4u), ::testing::Values(400)));

TEST(ReferenceComparisonTest, SyntheticSceneAgreesUnderEverySystem)
{
    const SyntheticScene scene = RandomLeafScene(300, 200, 7);
    const std::vector<std::uint32_t> pixels = RenderScene(scene);
    const PixelBuffer picture{pixels.data(), scene.width, scene.height, scene.width};
    for (int system = 0; system <= 5; ++system) {
        for (int tenths : {1, 4, 10}) {
            const AnalysisSettings settings = BuiltInSettings(
                system, 0, tenths, 1.5, LesionColour(LesionKind::Necrotic));
            const ReferenceOutcome reference = ReferenceAnalysis(picture, settings);
            const Outcome outcome = analyse(picture, settings);
            EXPECT_EQ(outcome.figures.leafArea, reference.figures.leafArea);
            EXPECT_EQ(outcome.figures.symptomArea, reference.figures.symptomArea);
            EXPECT_EQ(outcome.figures.perimeter, reference.figures.perimeter);
            EXPECT_EQ(outcome.figures.spotCount, reference.figures.spotCount);
            EXPECT_TRUE(outcome.dots == reference.dots);
        }
    }
}

} // namespace
} // namespace verdalis
