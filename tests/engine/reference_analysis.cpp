#include "reference_analysis.h"

#include "synthetic_leaves.h"

#include <queue>
#include <stdexcept>
#include <utility>
#include <vector>

namespace verdalis::enginetest {

AnalysisSettings builtInSettings(int system, int slider, int tenths, double sizeRatio,
                                 RgbColour custom)
{
    static const double bases[] = {25.0, 25.0, 1750.0, 40.0, 330.0, 50.0};
    static const int steps[] = {5, 5, 50, 1, 10, 5};
    const std::size_t row = std::size_t(system < 5 ? system : 5);
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = bases[row];
    settings.detection.thresholdStep = steps[row];
    settings.detection.sliderPosition = slider;
    settings.detection.customColour = custom;
    settings.unitStepTenths = tenths;
    settings.sizeRatio = sizeRatio;
    return settings;
}

ReferenceOutcome referenceAnalysis(const PixelBuffer &picture, const AnalysisSettings &settings)
{
    ReferenceOutcome out;
    const int k = settings.unitStepTenths;
    const double unitStep = k / 10.0;
    const double ratio = settings.sizeRatio;
    const std::int64_t maxX = std::int64_t(picture.width) * 127 / (48 * k);
    const std::int64_t maxY = std::int64_t(picture.height) * 127 / (48 * k);
    const auto at = [&](std::int64_t x, std::int64_t y) { return std::size_t(x * (maxY + 1) + y); };
    std::vector<DecodedColour> colours(at(maxX + 1, 0));
    std::vector<char> leaf(colours.size());
    std::vector<char> labelled(colours.size());

    // Sampling: every sample decoded in full; past the picture's edge is black.
    for (std::int64_t x = 0; x <= maxX; ++x) {
        for (std::int64_t y = 0; y <= maxY; ++y) {
            const std::int64_t px = x * 48 * k / 127;
            const std::int64_t py = y * 48 * k / 127;
            const RgbColour c =
                px < picture.width && py < picture.height
                    ? splitColour(packedFromArgb(picture.pixels[py * picture.stride + px]))
                    : RgbColour{};
            colours[at(x, y)] = decodeColour(c);
            leaf[at(x, y)] = isLeafColour(c.red, c.green, c.blue);
            out.figures.leafSamples += leaf[at(x, y)];
            ++out.progress;
        }
    }
    out.figures.leafArea =
        double(out.figures.leafSamples) * (unitStep * unitStep) * (ratio * ratio);

    if (settings.detection.systemIndex == 0) {
        const double weights[5] = {0, 1, 1.414, 2.414, 1};
        const int width = leafEdgeDotWidth(unitStep);
        for (std::int64_t x = 0; x <= maxX; ++x) {
            for (std::int64_t y = 0; y <= maxY; ++y) {
                ++out.progress;
                if (!leaf[at(x, y)])
                    continue;
                if (x == 0 || y == 0 || x >= maxX || y >= maxY) {
                    out.figures.perimeterCount += 1;
                    continue;
                }
                const int n = !leaf[at(x - 1, y)] + !leaf[at(x + 1, y)] + !leaf[at(x, y - 1)] +
                              !leaf[at(x, y + 1)];
                out.figures.perimeterCount += weights[n];
                if (n > 0)
                    out.dots.push_back({std::int32_t(x), std::int32_t(y), {255, 255, 0}, width});
            }
        }
        out.figures.perimeter = out.figures.perimeterCount * unitStep * ratio;
        return out;
    }
    if (maxX == 0 || maxY == 0)
        return out;

    const SymptomRule rule(settings.detection);
    const auto isSymptomSample = [&](std::int64_t x, std::int64_t y) {
        return !labelled[at(x, y)] && rule.isSymptom(colours[at(x, y)]);
    };
    const int width = symptomDotWidth(unitStep);
    std::int64_t x = 0;
    std::int64_t y = 0;
    while (x <= maxX) {
        ++out.progress;
        if (isSymptomSample(x, y)) {
            ++out.figures.spotCount;
            labelled[at(x, y)] = 1;
            std::queue<std::pair<std::int64_t, std::int64_t>> queue;
            queue.push({x, y});
            std::int64_t spotSamples = 0;
            while (!queue.empty()) {
                ++spotSamples;
                const auto [px, py] = queue.front();
                queue.pop();
                for (std::int64_t nx = px - 1; nx <= px + 1; ++nx) {
                    for (std::int64_t ny = py - 1; ny <= py + 1; ++ny) {
                        if (nx < 0 || ny < 0 || nx > maxX || ny > maxY || !isSymptomSample(nx, ny))
                            continue;
                        labelled[at(nx, ny)] = 1;
                        queue.push({nx, ny});
                    }
                }
            }
            out.figures.symptomArea +=
                double(spotSamples) * (unitStep * unitStep) * (ratio * ratio);
            out.figures.symptomSamples += spotSamples;
            continue; // the cursor stays on the seed
        }
        if (labelled[at(x, y)])
            out.dots.push_back({std::int32_t(x), std::int32_t(y), {255, 0, 0}, width});
        if (++y == maxY) {
            y = 0;
            ++x;
        }
    }
    return out;
}

SampleGridPicture pictureFromSamples(const std::vector<std::string> &rows, int tenths)
{
    // Below 0.3 several samples share a pixel and could not differ.
    if (tenths < 3)
        throw std::logic_error("sample grids need a unit step of 0.3 or more");
    // Worked out here rather than by SampleGeometry, so that grids also check it.
    const auto lastSample = [&](std::int64_t pixels) { return pixels * 127 / (48 * tenths); };
    const auto pixelsFor = [&](std::int64_t last) {
        int pixels = 1;
        while (lastSample(pixels) < last)
            ++pixels;
        if (lastSample(pixels) != last)
            throw std::logic_error("no picture size gives this grid");
        return pixels;
    };
    const auto pixelOf = [](char sample) -> std::uint32_t {
        switch (sample) {
        case '#':
            return 0xFF000000u;
        case 'L':
            return argbPixel(healthyLeafColour());
        case 'C':
            return argbPixel(lesionColour(LesionKind::Chlorotic));
        default:
            return 0xFFFFFFFFu;
        }
    };
    SampleGridPicture picture;
    picture.width = pixelsFor(std::int64_t(rows.at(0).size()) - 1);
    picture.height = pixelsFor(std::int64_t(rows.size()) - 1);
    picture.pixels.assign(std::size_t(picture.width) * std::size_t(picture.height), 0xFFFFFFFFu);
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const std::size_t px = x * 48 * std::size_t(tenths) / 127;
            const std::size_t py = y * 48 * std::size_t(tenths) / 127;
            picture.pixels.at(py * std::size_t(picture.width) + px) = pixelOf(rows[y][x]);
        }
    }
    return picture;
}

} // namespace verdalis::enginetest
