#include "reference_analysis.h"

#include "synthetic_leaves.h"

#include <queue>
#include <stdexcept>
#include <utility>

namespace verdalis::enginetest {

namespace {

struct Planes {
    explicit Planes(std::int64_t columns, std::int64_t rows)
        : rows(rows), red(columns * rows), green(columns * rows), blue(columns * rows),
          hue(columns * rows), saturation(columns * rows), leafMask(columns * rows),
          labels(columns * rows)
    {
    }
    std::size_t at(std::int64_t x, std::int64_t y) const { return std::size_t(x * rows + y); }
    std::int64_t rows;
    std::vector<std::int16_t> red, green, blue, hue, saturation, leafMask;
    std::vector<double> labels;
};

} // namespace

AnalysisSettings BuiltInSettings(int system, int slider, int tenths, double sizeRatio,
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

ReferenceOutcome ReferenceAnalysis(const PixelBuffer &picture, const AnalysisSettings &settings)
{
    ReferenceOutcome out;
    const int k = settings.unitStepTenths;
    const double unitStep = k / 10.0;
    const double ratio = settings.sizeRatio;
    const int system = settings.detection.systemIndex;
    const std::int64_t maxX = std::int64_t(picture.width) * 127 / (48 * k);
    const std::int64_t maxY = std::int64_t(picture.height) * 127 / (48 * k);
    Planes planes(maxX + 1, maxY + 1);
    const SymptomRule rule(settings.detection);

    const auto readColour = [&](std::int64_t x, std::int64_t y) -> std::int32_t {
        const std::int64_t px = x * 48 * k / 127;
        const std::int64_t py = y * 48 * k / 127;
        if (px >= picture.width || py >= picture.height)
            return -1;
        return PackedFromArgb(picture.pixels[py * picture.stride + px]);
    };

    // Sampling: each system keeps only its own planes.
    double leafSamples = 0;
    for (std::int64_t x = 0; x <= maxX; ++x) {
        for (std::int64_t y = 0; y <= maxY; ++y) {
            const RgbColour c = SplitColour(readColour(x, y));
            const HueSaturation hs = RgbToHsl(c.red, c.green, c.blue);
            const std::size_t i = planes.at(x, y);
            switch (system) {
            case 0:
                break;
            case 1:
                planes.green[i] = std::int16_t(c.green);
                planes.hue[i] = std::int16_t(hs.hue);
                planes.saturation[i] = std::int16_t(hs.saturation);
                break;
            case 3:
                planes.red[i] = std::int16_t(c.red);
                planes.green[i] = std::int16_t(c.green);
                planes.hue[i] = std::int16_t(hs.hue);
                break;
            default:
                planes.red[i] = std::int16_t(c.red);
                planes.green[i] = std::int16_t(c.green);
                planes.blue[i] = std::int16_t(c.blue);
                break;
            }
            if (IsLeafColour(c.red, c.green, c.blue)) {
                leafSamples += 1;
                if (system == 0)
                    planes.leafMask[i] = 1;
            }
            ++out.progress;
        }
    }
    out.figures.leafSamples = std::int64_t(leafSamples);
    out.figures.leafArea = leafSamples * (unitStep * unitStep) * (ratio * ratio);

    if (system == 0) {
        const double weights[5] = {0, 1, 1.414, 2.414, 1};
        const int width = LeafEdgeDotWidth(unitStep);
        for (std::int64_t x = 0; x <= maxX; ++x) {
            for (std::int64_t y = 0; y <= maxY; ++y) {
                ++out.progress;
                if (planes.leafMask[planes.at(x, y)] == 0)
                    continue;
                if (x == 0 || y == 0 || x >= maxX || y >= maxY) {
                    out.figures.perimeterCount += 1;
                    continue;
                }
                const int n = (planes.leafMask[planes.at(x - 1, y)] == 0)
                              + (planes.leafMask[planes.at(x + 1, y)] == 0)
                              + (planes.leafMask[planes.at(x, y - 1)] == 0)
                              + (planes.leafMask[planes.at(x, y + 1)] == 0);
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

    const auto isSymptomSample = [&](std::int64_t x, std::int64_t y) {
        const std::size_t i = planes.at(x, y);
        if (planes.labels[i] != 0)
            return false;
        DecodedColour d;
        d.red = planes.red[i];
        d.green = planes.green[i];
        d.blue = planes.blue[i];
        d.hue = planes.hue[i];
        d.saturation = planes.saturation[i];
        return rule.isSymptom(d);
    };
    const int width = SymptomDotWidth(unitStep);
    double spotCount = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
    while (x <= maxX) {
        ++out.progress;
        if (isSymptomSample(x, y)) {
            spotCount += 1;
            planes.labels[planes.at(x, y)] = spotCount;
            std::queue<std::pair<std::int64_t, std::int64_t>> queue;
            queue.push({x, y});
            double spotSamples = 0;
            while (!queue.empty()) {
                spotSamples += 1;
                const auto [px, py] = queue.front();
                const std::pair<std::int64_t, std::int64_t> neighbours[8] = {
                    {px - 1, py - 1}, {px - 1, py}, {px - 1, py + 1}, {px, py - 1},
                    {px, py + 1},     {px + 1, py - 1}, {px + 1, py}, {px + 1, py + 1}};
                for (const auto &[nx, ny] : neighbours) {
                    if (nx < 0 || ny < 0 || nx > maxX || ny > maxY)
                        continue;
                    if (isSymptomSample(nx, ny)) {
                        planes.labels[planes.at(nx, ny)] = spotCount;
                        queue.push({nx, ny});
                    }
                }
                queue.pop();
            }
            out.figures.symptomArea += spotSamples * (unitStep * unitStep) * (ratio * ratio);
            out.figures.symptomSamples += std::int64_t(spotSamples);
            continue; // the cursor stays on the seed
        }
        if (planes.labels[planes.at(x, y)] != 0)
            out.dots.push_back({std::int32_t(x), std::int32_t(y), {255, 0, 0}, width});
        if (++y == maxY) {
            y = 0;
            ++x;
        }
    }
    out.figures.spotCount = std::int64_t(spotCount);
    return out;
}

SampleGridPicture PictureFromSamples(const std::vector<std::string> &rows, int tenths)
{
    // Below 0.3 several samples share a pixel and could not differ.
    if (tenths < 3)
        throw std::logic_error("sample grids need a unit step of 0.3 or more");
    const std::int64_t lastColumn = std::int64_t(rows.at(0).size()) - 1;
    const std::int64_t lastRow = std::int64_t(rows.size()) - 1;
    const auto pixelsFor = [&](std::int64_t last) {
        int pixels = 1;
        while (SampleGeometry::lastSample(pixels, tenths) < last)
            ++pixels;
        if (SampleGeometry::lastSample(pixels, tenths) != last)
            throw std::logic_error("no picture size gives this grid");
        return pixels;
    };
    SampleGridPicture picture;
    picture.width = pixelsFor(lastColumn);
    picture.height = pixelsFor(lastRow);
    picture.pixels.assign(std::size_t(picture.width) * std::size_t(picture.height), 0xFFFFFFFFu);
    for (std::int64_t y = 0; y <= lastRow; ++y) {
        for (std::int64_t x = 0; x <= lastColumn; ++x) {
            std::uint32_t pixel = 0xFFFFFFFFu;
            switch (rows[std::size_t(y)].at(std::size_t(x))) {
            case '#':
                pixel = 0xFF000000u;
                break;
            case 'L':
                pixel = ArgbPixel(HealthyLeafColour());
                break;
            case 'C':
                pixel = ArgbPixel(LesionColour(LesionKind::Chlorotic));
                break;
            case 'N':
                pixel = ArgbPixel(LesionColour(LesionKind::Necrotic));
                break;
            default:
                break;
            }
            const std::int64_t px = SampleGeometry::pixelOfSample(x, tenths);
            const std::int64_t py = SampleGeometry::pixelOfSample(y, tenths);
            picture.pixels.at(std::size_t(py * picture.width + px)) = pixel;
        }
    }
    return picture;
}

} // namespace verdalis::enginetest
