#include "synthetic_leaves.h"

#include "analysis_run.h"
#include "reference_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace verdalis {
namespace {

using enginetest::builtInSettings;

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

TEST(SyntheticSceneTest, RandomSceneIsReproducibleAndAboutHalfLeaf)
{
    const SyntheticScene scene = randomLeafScene(600, 400, 42);
    const std::vector<std::uint32_t> pixels = renderScene(scene);
    EXPECT_EQ(pixels, renderScene(randomLeafScene(600, 400, 42)));
    EXPECT_NE(pixels, renderScene(randomLeafScene(600, 400, 43)));

    const std::int64_t leafPixels =
        std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t p) {
            const RgbColour c = splitColour(packedFromArgb(p));
            return isLeafColour(c.red, c.green, c.blue);
        });
    const double share = double(leafPixels) / double(pixels.size());
    EXPECT_GT(share, 0.4);
    EXPECT_LT(share, 0.65);
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

} // namespace
} // namespace verdalis
