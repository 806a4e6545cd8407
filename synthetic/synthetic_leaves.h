#pragma once

#include "colour_model.h"
#include "sample_geometry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace verdalis {

// Synthetic scanned leaves with known shapes, for tests, benchmarks and the
// sample pictures that ship with the program. Everything is in pixels; a
// rendered picture is a row-major buffer of 0xAARRGGBB values (opaque), which is
// the memory of a QImage in Format_RGB32 / Format_ARGB32.
//
// Colours, checked against every built-in system by the engine's tests, for
// slider positions from each system's minimum (-3, or -10 for System 3) on:
// - healthyLeafColour: leaf, and healthy under System 1..4 up to position 1
//   (the default position is 0).
// - Chlorotic lesions: leaf; symptom under System 1 and System 2 at every
//   position up to 20; healthy under System 3 and 4 up to position 1.
// - Necrotic lesions: leaf; symptom under System 3 and System 4 at every
//   position up to 20; healthy under System 1 and 2 up to position 1.
// - Backgrounds (white, black) and the scale bar are never leaf.
// So under a built-in system at slider 0 the symptom samples are exactly the
// samples of the lesions of the kinds it detects; a custom system whose
// reference colour is a lesion colour detects that lesion colour too.

enum class Background { White, Black };
enum class LesionKind { Chlorotic, Necrotic };
enum class Shape { Rectangle, Ellipse };

RgbColour healthyLeafColour();
RgbColour lesionColour(LesionKind kind);
// Whether built-in system 1..4 reads this lesion kind as symptom.
bool detectsLesion(int systemIndex, LesionKind kind);
// A lesion kind that built-in system 1..4 detects.
LesionKind lesionKindFor(int systemIndex);

// Half-open pixel rectangle: columns x .. x + width - 1, rows y .. y + height - 1.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A filled shape: the rectangle itself, or the ellipse inscribed in it (a pixel
// belongs to the ellipse when its centre lies inside or on it).
struct ScenePatch {
    PixelRect bounds;
    Shape shape = Shape::Rectangle;
};

struct Lesion {
    ScenePatch patch;
    LesionKind kind = LesionKind::Chlorotic;
};

// A horizontal bar of known length for calibrating: black on white, white on
// black.
struct ScaleBar {
    int x = 0;
    int y = 0;
    int lengthPixels = 0;
    int thicknessPixels = 0;
};

struct SyntheticScene {
    int width = 0;
    int height = 0;
    Background background = Background::White;
    // Painted in order: leaves, then lesions over them, then the scale bar.
    std::vector<ScenePatch> leaves;
    std::vector<Lesion> lesions;
    std::optional<ScaleBar> scaleBar;
};

// A reproducible picture of ellipse leaves (about half the picture) on a grid
// with random sizes, each holding a few separate ellipse and rectangle lesions
// of both kinds well inside it, and a scale bar along the bottom edge. The same
// seed gives the same scene on every machine.
SyntheticScene randomLeafScene(int width, int height, std::uint32_t seed,
                               Background background = Background::White);

// Renders a scene into a row-major buffer of width x height pixels.
std::vector<std::uint32_t> renderScene(const SyntheticScene &scene);
// Renders into caller memory of scene.width x scene.height pixels, `stride`
// pixels per row.
void renderScene(const SyntheticScene &scene, std::uint32_t *pixels, std::ptrdiff_t stride);

// Number of samples of a grid that read a pixel inside the rectangle. For
// scenes of separate rectangles this gives the exact expected sample counts.
std::int64_t samplesInRect(const PixelRect &rect, const SampleGeometry &geometry);

// The colour as an opaque 0xAARRGGBB pixel.
inline std::uint32_t argbPixel(const RgbColour &colour)
{
    return 0xFF000000u | (std::uint32_t(colour.red) << 16) | (std::uint32_t(colour.green) << 8) |
           std::uint32_t(colour.blue);
}

} // namespace verdalis
