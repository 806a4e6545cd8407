// The generated pictures of known truth, and on them the border check and the
// background correction: clean scans, the same scans photographed under uneven
// tinted light, dark backgrounds and leaves that fill the frame.
#include "analysis_run.h"
#include "background_check.h"
#include "background_correction.h"
#include "paper_photo.h"
#include "reference_analysis.h"
#include "synthetic_leaves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace verdalis {
namespace {

constexpr int Width = 800;
constexpr int Height = 600;
using enginetest::builtInSettings;
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
    AnalysisRun run;
    run.start(buffer(p), builtInSettings(system));
    run.runToEnd();
    return run.figures();
}

// Every colour against every built-in system from the slider's minimum up: a
// lesion is symptom under its systems up to position 20; healthy leaf, and a
// lesion under the other systems, is healthy up to position 1.
TEST(SyntheticColoursTest, EachColourIsSymptomUnderItsSystemsOnly)
{
    const int sliderMinimum[] = {0, -3, -3, -10, -3};
    for (const std::optional<LesionKind> kind :
         {std::optional<LesionKind>(), std::optional(LesionKind::Chlorotic),
          std::optional(LesionKind::Necrotic)}) {
        const RgbColour c = kind ? lesionColour(*kind) : healthyLeafColour();
        EXPECT_TRUE(isLeafColour(c.red, c.green, c.blue));
        for (int system = 1; system <= 4; ++system) {
            const bool found = kind && detectsLesion(system, *kind);
            for (int slider = sliderMinimum[system]; slider <= (found ? 20 : 1); ++slider) {
                const SymptomRule rule(builtInSettings(system, slider).detection);
                EXPECT_EQ(rule.isSymptom(decodeColour(c)), found) << system << " at " << slider;
            }
        }
    }
}

std::int64_t spotsFound(const SyntheticScene &scene, int system, int tenths)
{
    const std::vector<std::uint32_t> pixels = renderScene(scene);
    AnalysisRun run;
    run.start({pixels.data(), scene.width, scene.height, scene.width},
              builtInSettings(system, 0, tenths));
    run.runToEnd();
    return run.figures().spotCount;
}

// Lesions of both kinds, each one spot.
TEST(SyntheticSceneTest, EveryLesionIsOneSpotOnAFineGrid)
{
    for (Background background : {Background::White, Background::Black}) {
        const SyntheticScene scene = randomLeafScene(600, 400, 5, background);
        for (int system = 1; system <= 4; ++system) {
            const std::int64_t lesions =
                std::count_if(scene.lesions.begin(), scene.lesions.end(),
                              [&](const Lesion &l) { return detectsLesion(system, l.kind); });
            EXPECT_GT(lesions, 0);
            EXPECT_EQ(spotsFound(scene, system, 3), lesions) << "system " << system;
        }
    }
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
                         ::testing::Values(light(0.6, 0.2, 0.35, {1.0, 0.95, 0.88}),
                                           light(0.82, -0.1, 0.1, {0.85, 0.95, 1.0})));

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
    } cases[] = {{40, 1, false}, {60, 10, true}, {60, 3, true}, {100, 10, true}};
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
