// The border check and the background correction on generated pictures of
// known truth: clean scans, the same scans photographed under uneven tinted
// light, dark backgrounds and leaves that fill the frame.
#include "analysis_run.h"
#include "background_check.h"
#include "background_correction.h"
#include "paper_photo.h"
#include "synthetic_leaves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace verdalis {
namespace {

constexpr int Width = 800;
constexpr int Height = 600;
using Pixels = std::vector<std::uint32_t>;

PixelBuffer buffer(const Pixels &p, int width = Width)
{
    return PixelBuffer{p.data(), width, int(p.size()) / width, width};
}

// Noise low enough that the lesions' narrow colour windows are judged on the
// correction, not on the noise.
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

Pixels photographed(Pixels p, const PaperLight &l)
{
    photographUnder(l, p.data(), Width, Height, Width);
    return p;
}

BackgroundOutcome correct(Pixels &p)
{
    return correctBackground(p.data(), Width, Height, Width);
}

bool warns(const Pixels &p)
{
    return checkBorder(buffer(p), 10).backgroundCountsAsLeaf();
}

AnalysisFigures analyse(const Pixels &p, int system)
{
    static const double bases[] = {25.0, 25.0, 1750.0, 40.0, 330.0};
    static const int steps[] = {5, 5, 50, 1, 10};
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = bases[system];
    settings.detection.thresholdStep = steps[system];
    AnalysisRun run;
    run.start(buffer(p), settings);
    run.runToEnd();
    return run.figures();
}

class GreyPaperPhoto : public ::testing::TestWithParam<PaperLight> {};

// Without the correction the paper counts as leaf and the border says so;
// with it, System 0's leaf and Systems 1 and 3's lesions are the clean scan's.
TEST_P(GreyPaperPhoto, correctionGivesTheCleanScansFigures)
{
    const Pixels clean = renderScene(randomLeafScene(Width, Height, 11));
    Pixels photo = photographed(clean, GetParam());
    EXPECT_TRUE(warns(photo));
    EXPECT_FALSE(warns(clean));
    const double cleanLeaf = double(analyse(clean, 0).leafSamples);
    EXPECT_GT(double(analyse(photo, 0).leafSamples), 1.5 * cleanLeaf);
    ASSERT_EQ(correct(photo), BackgroundOutcome::Found);
    EXPECT_FALSE(warns(photo));
    EXPECT_NEAR(double(analyse(photo, 0).leafSamples), cleanLeaf, 0.015 * cleanLeaf);
    for (int system : {1, 3}) {
        const double cleanSymptom = double(analyse(clean, system).symptomSamples);
        ASSERT_GT(cleanSymptom, 0.0);
        EXPECT_NEAR(double(analyse(photo, system).symptomSamples), cleanSymptom,
                    0.05 * cleanSymptom)
            << "System " << system;
    }
}

INSTANTIATE_TEST_SUITE_P(Lights, GreyPaperPhoto,
                         ::testing::Values(light(0.72, 0.12, 0.2, {1.0, 0.93, 0.8}),
                                           light(0.6, 0.2, 0.35, {1.0, 0.95, 0.88}),
                                           light(0.82, -0.1, 0.1, {0.85, 0.95, 1.0})));

TEST(BackgroundField, followsTheLightAcrossThePicture)
{
    const PaperLight warm = light(0.7, 0.15, 0.3, {1.0, 0.9, 0.75});
    const BackgroundField field = estimateBackground(
        buffer(photographed(renderScene(randomLeafScene(Width, Height, 12)), warm)));
    ASSERT_TRUE(field.found());
    for (double x : {0.0, 0.5 * (Width - 1), Width - 1.0})
        for (double y : {0.0, 0.5 * (Height - 1), Height - 1.0})
            for (int channel = 0; channel < 3; ++channel) {
                const double truth = 255.0 * warm.factorAt(channel, x, y, Width, Height);
                EXPECT_NEAR(field.paperAt(x, y)[channel], truth, 0.03 * truth)
                    << "at " << x << ", " << y << " channel " << channel;
            }
}

// White and black scans, and a close-up with leaf up to every edge: left as
// they are, and only the close-up warns.
TEST(UntouchedPicture, isLeftAsItIs)
{
    SyntheticScene closeUp = randomLeafScene(Width, Height, 15);
    closeUp.leaves = {{{0, 0, Width, Height}, Shape::Rectangle}};
    const struct {
        Pixels pixels;
        BackgroundOutcome outcome;
        bool warns;
    } cases[] = {
        {renderScene(randomLeafScene(Width, Height, 13)), BackgroundOutcome::WhiteBackground,
         false},
        {renderScene(randomLeafScene(Width, Height, 14, Background::Black)),
         BackgroundOutcome::DarkBackground, false},
        {photographed(renderScene(closeUp), light(0.9, 0.1, 0.1, {1.0, 1.0, 1.0})),
         BackgroundOutcome::NoBackground, true},
    };
    for (const auto &c : cases) {
        Pixels after = c.pixels;
        EXPECT_EQ(correct(after), c.outcome);
        EXPECT_TRUE(after == c.pixels);
        EXPECT_EQ(warns(c.pixels), c.warns);
    }
}

// The warning's threshold and the frame's width (30 pixels at unit step 1.0):
// a grey band down the left of a white 1000 x 1000 picture covers a known share
// of the frame (the top and bottom rows, the left side and, past column 970,
// part of the right side).
TEST(GreyBand, warnsFromHalfTheBorder)
{
    const struct {
        int bandPercent, unitStepTenths;
        bool warns;
    } cases[] = {{30, 10, false}, {40, 1, false}, {60, 10, true}, {60, 3, true}, {100, 10, true}};
    for (const auto &c : cases) {
        const int side = 1000;
        const int band = side * c.bandPercent / 100;
        Pixels pixels(std::size_t(side) * side, 0xFFFFFFFFu);
        for (int y = 0; y < side; ++y)
            std::fill_n(pixels.begin() + std::ptrdiff_t(y) * side, band, 0xFFA0A0A0u);
        const double frame = 2.0 * 30 * side + 2.0 * 30 * 940;
        const double grey = 2.0 * 30 * band + 30.0 * 940 + std::max(0, band - 970) * 940.0;
        const BorderCheck check = checkBorder(buffer(pixels, side), c.unitStepTenths);
        EXPECT_NEAR(check.leafShare(), grey / frame, 0.02) << c.bandPercent << "%";
        EXPECT_EQ(check.backgroundCountsAsLeaf(), c.warns) << c.bandPercent << "%";
    }
}

} // namespace
} // namespace verdalis
