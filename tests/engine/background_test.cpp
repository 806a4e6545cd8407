// The border check and the background correction on generated pictures of
// known truth: clean scans, the same scans photographed under uneven tinted
// light with noise, dark backgrounds and leaves that fill the frame.
#include "analysis_run.h"
#include "background_check.h"
#include "background_correction.h"
#include "paper_photo.h"
#include "synthetic_leaves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace verdalis {
namespace {

constexpr int Width = 800;
constexpr int Height = 600;

struct Picture {
    std::vector<std::uint32_t> pixels;
    int width = Width;
    int height = Height;
    PixelBuffer buffer() const { return PixelBuffer{pixels.data(), width, height, width}; }
};

Picture cleanScan(std::uint32_t seed, Background background = Background::White)
{
    return Picture{renderScene(randomLeafScene(Width, Height, seed, background))};
}

Picture photographed(Picture picture, const PaperLight &light)
{
    photographUnder(light, picture.pixels.data(), picture.width, picture.height, picture.width);
    return picture;
}

Picture corrected(Picture picture, BackgroundOutcome *outcome = nullptr)
{
    const BackgroundOutcome result =
        correctBackground(picture.pixels.data(), picture.width, picture.height, picture.width);
    if (outcome)
        *outcome = result;
    return picture;
}

AnalysisFigures analyse(const Picture &picture, int system)
{
    static const double bases[] = {25.0, 25.0, 1750.0, 40.0, 330.0};
    static const int steps[] = {5, 5, 50, 1, 10};
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = bases[system];
    settings.detection.thresholdStep = steps[system];
    AnalysisRun run;
    run.start(picture.buffer(), settings);
    run.runToEnd();
    return run.figures();
}

// A light as a camera in a room gives it; noise low enough that the lesions'
// narrow colour windows are judged on the correction, not on the noise.
PaperLight light(double level, double tiltX, double vignette, std::array<double, 3> cast)
{
    PaperLight l;
    l.level = level;
    l.tiltX = tiltX;
    l.vignette = vignette;
    l.cast = cast;
    l.noise = 1.0;
    return l;
}

struct LightCase {
    const char *name;
    PaperLight light;
};

class GreyPaperPhoto : public ::testing::TestWithParam<LightCase> {};

TEST_P(GreyPaperPhoto, correctionGivesTheCleanScansFigures)
{
    const Picture clean = cleanScan(11);
    const Picture photo = photographed(clean, GetParam().light);
    // Without the correction the paper counts as leaf and the border says so.
    EXPECT_TRUE(checkBorder(photo.buffer(), 10).backgroundCountsAsLeaf());
    EXPECT_FALSE(checkBorder(clean.buffer(), 10).backgroundCountsAsLeaf());
    EXPECT_GT(analyse(photo, 0).leafSamples, analyse(clean, 0).leafSamples * 3 / 2);

    BackgroundOutcome outcome;
    const Picture fixed = corrected(photo, &outcome);
    ASSERT_EQ(outcome, BackgroundOutcome::Found);
    EXPECT_FALSE(checkBorder(fixed.buffer(), 10).backgroundCountsAsLeaf());
    const double cleanLeaf = double(analyse(clean, 0).leafSamples);
    EXPECT_NEAR(double(analyse(fixed, 0).leafSamples), cleanLeaf, 0.015 * cleanLeaf);
    // System 1 finds the chlorotic lesions, System 3 the necrotic ones.
    for (int system : {1, 3}) {
        const double cleanSymptom = double(analyse(clean, system).symptomSamples);
        ASSERT_GT(cleanSymptom, 0.0);
        EXPECT_NEAR(double(analyse(fixed, system).symptomSamples), cleanSymptom,
                    0.05 * cleanSymptom)
            << "System " << system;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lights, GreyPaperPhoto,
    ::testing::Values(LightCase{"warm", light(0.72, 0.12, 0.2, {1.0, 0.93, 0.8})},
                      LightCase{"dimVignetted", light(0.6, 0.2, 0.35, {1.0, 0.95, 0.88})},
                      LightCase{"brightCool", light(0.82, -0.1, 0.1, {0.85, 0.95, 1.0})}),
    [](const ::testing::TestParamInfo<LightCase> &info) { return std::string(info.param.name); });

TEST(BackgroundField, followsTheLightAcrossThePicture)
{
    const PaperLight warm = light(0.7, 0.15, 0.3, {1.0, 0.9, 0.75});
    const Picture photo = photographed(cleanScan(12), warm);
    const BackgroundField field = estimateBackground(photo.buffer());
    ASSERT_TRUE(field.found());
    // Corners, edges and centre: the paper the light made of white.
    for (double fx : {0.0, 0.5, 1.0}) {
        for (double fy : {0.0, 0.5, 1.0}) {
            const double x = fx * (Width - 1);
            const double y = fy * (Height - 1);
            const auto paper = field.paperAt(x, y);
            for (int channel = 0; channel < 3; ++channel) {
                const double truth = 255.0 * warm.factorAt(channel, x, y, Width, Height);
                EXPECT_NEAR(paper[channel], truth, 0.03 * truth)
                    << "at " << fx << ", " << fy << " channel " << channel;
            }
        }
    }
}

// Pictures the correction must leave exactly as they are.
struct UntouchedCase {
    const char *name;
    Picture (*make)();
    BackgroundOutcome outcome;
    bool warns;
};

Picture whiteScan()
{
    return cleanScan(13);
}

Picture blackScan()
{
    return cleanScan(14, Background::Black);
}

// A close-up: leaf tissue with lesions up to every edge, no paper at all.
Picture leafFillsTheFrame()
{
    SyntheticScene scene = randomLeafScene(Width, Height, 15);
    scene.leaves = {{{0, 0, Width, Height}, Shape::Rectangle}};
    return photographed(Picture{renderScene(scene)}, light(0.9, 0.1, 0.1, {1.0, 1.0, 1.0}));
}

class UntouchedPicture : public ::testing::TestWithParam<UntouchedCase> {};

TEST_P(UntouchedPicture, isLeftAsItIs)
{
    const Picture picture = GetParam().make();
    BackgroundOutcome outcome;
    const Picture after = corrected(picture, &outcome);
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_TRUE(after.pixels == picture.pixels);
    EXPECT_EQ(checkBorder(picture.buffer(), 10).backgroundCountsAsLeaf(), GetParam().warns);
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, UntouchedPicture,
    ::testing::Values(UntouchedCase{"white", whiteScan, BackgroundOutcome::WhiteBackground, false},
                      UntouchedCase{"black", blackScan, BackgroundOutcome::DarkBackground, false},
                      UntouchedCase{"leafFillsTheFrame", leafFillsTheFrame,
                                    BackgroundOutcome::NoBackground, true}),
    [](const ::testing::TestParamInfo<UntouchedCase> &info) {
        return std::string(info.param.name);
    });

// The warning's threshold and the frame's width: a grey band down the left of
// an otherwise white picture covers a known share of the frame.
struct BandCase {
    int bandPercent;
    int unitStepTenths;
    bool warns;
};

class GreyBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(GreyBand, warnsFromHalfTheBorder)
{
    const int width = 1000;
    const int height = 1000;
    const int band = width * GetParam().bandPercent / 100;
    std::vector<std::uint32_t> pixels(std::size_t(width) * height, 0xFFFFFFFFu);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < band; ++x)
            pixels[std::size_t(y) * width + x] = 0xFFA0A0A0u;
    // The frame is 30 pixels deep: 30 whole rows at the top and at the bottom,
    // 30 columns on either side of the 940 rows between. The band covers its
    // width of the top and bottom rows, the left side and, when it reaches
    // past column 970, part of the right side.
    const double frame = 2.0 * 30 * width + 2.0 * 30 * 940;
    const double grey = 2.0 * 30 * band + 30.0 * 940 + std::max(0, band - 970) * 940.0;
    const double expected = grey / frame;
    const BorderCheck check =
        checkBorder(PixelBuffer{pixels.data(), width, height, width}, GetParam().unitStepTenths);
    EXPECT_NEAR(check.leafShare(), expected, 0.02);
    EXPECT_EQ(check.backgroundCountsAsLeaf(), GetParam().warns);
}

INSTANTIATE_TEST_SUITE_P(Shares, GreyBand,
                         ::testing::Values(BandCase{30, 10, false}, BandCase{40, 1, false},
                                           BandCase{60, 10, true}, BandCase{60, 3, true},
                                           BandCase{100, 10, true}));

} // namespace
} // namespace verdalis
