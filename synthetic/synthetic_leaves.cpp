#include "synthetic_leaves.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace verdalis {

namespace {

// mt19937 yields the same sequence everywhere; the library's distributions do
// not, so ranges are mapped here.
class SceneRandom {
public:
    explicit SceneRandom(std::uint32_t seed) : m_engine(seed) {}
    int between(int low, int high) // inclusive
    {
        if (high <= low)
            return low;
        return low + int(m_engine() % std::uint32_t(high - low + 1));
    }
    double fraction(double low, double high)
    {
        return low + (high - low) * (double(m_engine()) / 4294967296.0);
    }

private:
    std::mt19937 m_engine;
};

bool overlapsWithGap(const PixelRect &a, const PixelRect &b, int gap)
{
    return a.x < b.x + b.width + gap && b.x < a.x + a.width + gap && a.y < b.y + b.height + gap &&
           b.y < a.y + a.height + gap;
}

bool insideEllipse(const PixelRect &ellipse, double px, double py)
{
    const double rx = ellipse.width / 2.0;
    const double ry = ellipse.height / 2.0;
    const double dx = (px - (ellipse.x + rx)) / rx;
    const double dy = (py - (ellipse.y + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

// The rectangle grown by `gap` on every side lies inside the leaf ellipse.
bool wellInside(const PixelRect &rect, const PixelRect &leaf, int gap)
{
    const double left = rect.x - gap;
    const double top = rect.y - gap;
    const double right = rect.x + rect.width + gap;
    const double bottom = rect.y + rect.height + gap;
    return insideEllipse(leaf, left, top) && insideEllipse(leaf, right, top) &&
           insideEllipse(leaf, left, bottom) && insideEllipse(leaf, right, bottom);
}

void fillPatch(const ScenePatch &patch, std::uint32_t pixel, std::uint32_t *pixels,
               std::ptrdiff_t stride, int width, int height)
{
    const PixelRect &r = patch.bounds;
    const int x0 = std::max(r.x, 0);
    const int y0 = std::max(r.y, 0);
    const int x1 = std::min(r.x + r.width, width);
    const int y1 = std::min(r.y + r.height, height);
    for (int y = y0; y < y1; ++y) {
        std::uint32_t *row = pixels + std::ptrdiff_t(y) * stride;
        for (int x = x0; x < x1; ++x) {
            if (patch.shape == Shape::Rectangle || insideEllipse(r, x + 0.5, y + 0.5))
                row[x] = pixel;
        }
    }
}

std::int64_t samplesInSpan(std::int64_t first, std::int64_t end, std::int64_t maxIndex, int tenths)
{
    const auto clampCount = [&](std::int64_t pixel) {
        return std::min(SampleGeometry::firstSampleFrom(std::max<std::int64_t>(pixel, 0), tenths),
                        maxIndex + 1);
    };
    return std::max<std::int64_t>(clampCount(end) - clampCount(first), 0);
}

} // namespace

RgbColour healthyLeafColour()
{
    return {82, 150, 108};
}

RgbColour lesionColour(LesionKind kind)
{
    // Chlorotic: a pale olive of low saturation; necrotic: a dark red-brown.
    return kind == LesionKind::Chlorotic ? RgbColour{150, 165, 101} : RgbColour{100, 45, 15};
}

bool detectsLesion(int systemIndex, LesionKind kind)
{
    if (kind == LesionKind::Chlorotic)
        return systemIndex == 1 || systemIndex == 2;
    return systemIndex == 3 || systemIndex == 4;
}

LesionKind lesionKindFor(int systemIndex)
{
    return detectsLesion(systemIndex, LesionKind::Chlorotic) ? LesionKind::Chlorotic
                                                             : LesionKind::Necrotic;
}

SyntheticScene randomLeafScene(int width, int height, std::uint32_t seed, Background background)
{
    SyntheticScene scene;
    scene.width = std::max(width, 0);
    scene.height = std::max(height, 0);
    scene.background = background;
    if (width < 16 || height < 16)
        return scene;
    SceneRandom random(seed);

    const int margin = std::max(2, std::min(width, height) / 40);
    ScaleBar bar;
    bar.thicknessPixels = std::max(2, height / 200);
    bar.lengthPixels = width / 4;
    bar.x = margin;
    bar.y = height - margin - bar.thicknessPixels;
    scene.scaleBar = bar;

    // Leaves fill a grid of cells above the scale bar, about 12 on a 3:2 picture.
    const int regionLeft = margin;
    const int regionTop = margin;
    const int regionWidth = width - 2 * margin;
    const int regionHeight = bar.y - margin - regionTop;
    if (regionWidth < 8 || regionHeight < 8)
        return scene;
    const int columns = std::max(1, int(std::lround(std::sqrt(12.0 * regionWidth / regionHeight))));
    const int rows = std::max(1, int(std::lround(12.0 / columns)));
    const int cellWidth = regionWidth / columns;
    const int cellHeight = regionHeight / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            ScenePatch leaf;
            leaf.shape = Shape::Ellipse;
            leaf.bounds.width = std::max(2, int(cellWidth * random.fraction(0.80, 0.92)));
            leaf.bounds.height = std::max(2, int(cellHeight * random.fraction(0.80, 0.92)));
            leaf.bounds.x =
                regionLeft + column * cellWidth + random.between(0, cellWidth - leaf.bounds.width);
            leaf.bounds.y =
                regionTop + row * cellHeight + random.between(0, cellHeight - leaf.bounds.height);
            scene.leaves.push_back(leaf);
        }
    }

    // Lesions sit well inside their leaf and apart from each other, so each is
    // one spot at every unit step (one unit is at most 480/127 pixels).
    for (const ScenePatch &leaf : scene.leaves) {
        const int leafSize = std::min(leaf.bounds.width, leaf.bounds.height);
        const int gap = std::max(8, leafSize / 20);
        const int wanted = random.between(6, 14);
        const std::size_t firstOfLeaf = scene.lesions.size();
        for (int attempt = 0; attempt < 200 && int(scene.lesions.size() - firstOfLeaf) < wanted;
             ++attempt) {
            Lesion lesion;
            lesion.kind = random.between(0, 1) == 0 ? LesionKind::Chlorotic : LesionKind::Necrotic;
            lesion.patch.shape = random.between(0, 1) == 0 ? Shape::Ellipse : Shape::Rectangle;
            PixelRect &r = lesion.patch.bounds;
            r.width = std::max(3, int(leafSize * random.fraction(0.03, 0.12)));
            r.height = std::max(3, int(leafSize * random.fraction(0.03, 0.12)));
            r.x = leaf.bounds.x + random.between(0, std::max(0, leaf.bounds.width - r.width));
            r.y = leaf.bounds.y + random.between(0, std::max(0, leaf.bounds.height - r.height));
            if (!wellInside(r, leaf.bounds, gap))
                continue;
            const bool crowded = std::any_of(
                scene.lesions.begin() + std::ptrdiff_t(firstOfLeaf), scene.lesions.end(),
                [&](const Lesion &other) { return overlapsWithGap(r, other.patch.bounds, gap); });
            if (!crowded)
                scene.lesions.push_back(lesion);
        }
    }
    return scene;
}

void renderScene(const SyntheticScene &scene, std::uint32_t *pixels, std::ptrdiff_t stride)
{
    const bool white = scene.background == Background::White;
    const std::uint32_t backgroundPixel = white ? 0xFFFFFFFFu : 0xFF000000u;
    for (int y = 0; y < scene.height; ++y)
        std::fill_n(pixels + std::ptrdiff_t(y) * stride, scene.width, backgroundPixel);
    const std::uint32_t leafPixel = argbPixel(healthyLeafColour());
    for (const ScenePatch &leaf : scene.leaves)
        fillPatch(leaf, leafPixel, pixels, stride, scene.width, scene.height);
    for (const Lesion &lesion : scene.lesions)
        fillPatch(lesion.patch, argbPixel(lesionColour(lesion.kind)), pixels, stride, scene.width,
                  scene.height);
    if (scene.scaleBar) {
        const ScaleBar &bar = *scene.scaleBar;
        const ScenePatch patch{{bar.x, bar.y, bar.lengthPixels, bar.thicknessPixels},
                               Shape::Rectangle};
        fillPatch(patch, white ? 0xFF000000u : 0xFFFFFFFFu, pixels, stride, scene.width,
                  scene.height);
    }
}

std::vector<std::uint32_t> renderScene(const SyntheticScene &scene)
{
    std::vector<std::uint32_t> pixels(std::size_t(scene.width) * std::size_t(scene.height));
    renderScene(scene, pixels.data(), scene.width);
    return pixels;
}

std::int64_t samplesInRect(const PixelRect &rect, const SampleGeometry &geometry)
{
    // Samples past the picture's edge read black, whatever the rectangle says.
    const int tenths = geometry.unitStepTenths();
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t(rect.x) + rect.width, geometry.pixelWidth());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t(rect.y) + rect.height, geometry.pixelHeight());
    return samplesInSpan(rect.x, right, geometry.maxX(), tenths) *
           samplesInSpan(rect.y, bottom, geometry.maxY(), tenths);
}

} // namespace verdalis
