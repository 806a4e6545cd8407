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
            EXPECT_TRUE(detectsLesion(system, lesionKindFor(system)));
            const bool found = kind && detectsLesion(system, *kind);
            for (int slider = sliderMinimum[system]; slider <= (found ? 20 : 1); ++slider) {
                const SymptomRule rule(builtInSettings(system, slider).detection);
                EXPECT_EQ(rule.isSymptom(decodeColour(c)), found) << system << " at " << slider;
            }
        }
    }
}

struct RunCounts {
    std::int64_t leaf;
    std::int64_t symptom;
    std::int64_t spots;
};

RunCounts runScene(const SyntheticScene &scene, int system, int tenths, RgbColour custom = {})
{
    const std::vector<std::uint32_t> pixels = renderScene(scene);
    AnalysisRun run;
    run.start({pixels.data(), scene.width, scene.height, scene.width},
              builtInSettings(system, 0, tenths, 1.0, custom));
    run.runToEnd();
    return {run.figures().leafSamples, run.figures().symptomSamples, run.figures().spotCount};
}

TEST(SyntheticSceneTest, RectanglesGiveExactSampleCounts)
{
    // 480 pixels are exactly 127 units at unitStep 1.0, so the leaf touching
    // the right edge loses its past-the-edge column there.
    SyntheticScene scene;
    scene.width = 480;
    scene.height = 300;
    scene.leaves = {{{20, 30, 200, 120}, Shape::Rectangle},
                    {{300, 10, 180, 250}, Shape::Rectangle},
                    {{40, 200, 150, 60}, Shape::Rectangle}};
    scene.lesions = {{{{50, 50, 30, 20}, Shape::Rectangle}, LesionKind::Chlorotic},
                     {{{120, 60, 11, 40}, Shape::Rectangle}, LesionKind::Necrotic},
                     {{{330, 40, 40, 40}, Shape::Rectangle}, LesionKind::Chlorotic},
                     {{{400, 150, 60, 25}, Shape::Rectangle}, LesionKind::Necrotic},
                     {{{60, 215, 9, 9}, Shape::Rectangle}, LesionKind::Necrotic}};
    for (int tenths : {10, 7, 3, 1}) {
        const SampleGeometry geometry(scene.width, scene.height, tenths);
        std::int64_t leaf = 0;
        for (const ScenePatch &patch : scene.leaves)
            leaf += samplesInRect(patch.bounds, geometry);
        // Systems 1..4, then custom systems looking for each lesion colour.
        for (int system = 1; system <= 6; ++system) {
            const LesionKind customKind =
                system == 5 ? LesionKind::Chlorotic : LesionKind::Necrotic;
            std::int64_t symptom = 0;
            std::int64_t spots = 0;
            for (const Lesion &lesion : scene.lesions) {
                const bool found =
                    system <= 4 ? detectsLesion(system, lesion.kind) : lesion.kind == customKind;
                if (found) {
                    symptom += samplesInRect(lesion.patch.bounds, geometry);
                    ++spots;
                }
            }
            const RunCounts counts = runScene(scene, system, tenths, lesionColour(customKind));
            SCOPED_TRACE(::testing::Message() << "system " << system << " k " << tenths);
            EXPECT_EQ(counts.leaf, leaf);
            EXPECT_EQ(counts.symptom, symptom);
            EXPECT_EQ(counts.spots, spots);
        }
    }
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
            EXPECT_EQ(runScene(scene, system, 3).spots, lesions) << "system " << system;
        }
    }
}

} // namespace
} // namespace verdalis
