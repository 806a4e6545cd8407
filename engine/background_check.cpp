#include "background_check.h"

#include "colour_model.h"
#include "sample_geometry.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace verdalis {

namespace {

// The distinct pixel indices the samples of one axis read, past-the-edge
// samples left out: at a fine unit step several samples read one pixel, and the
// border is judged by pixels, not by how often they are read.
std::vector<int> sampledPixels(int pixels, int unitStepTenths)
{
    std::vector<int> indices;
    const std::int64_t last = SampleGeometry::lastSample(pixels, unitStepTenths);
    for (std::int64_t coordinate = 0; coordinate <= last; ++coordinate) {
        const std::int64_t pixel = SampleGeometry::pixelOfSample(coordinate, unitStepTenths);
        if (pixel >= pixels)
            break;
        if (indices.empty() || indices.back() != int(pixel))
            indices.push_back(int(pixel));
    }
    return indices;
}

int frameWidth(int pixels)
{
    return std::max(1, int((std::int64_t(pixels) * 3 + 99) / 100));
}

bool isLeafPixel(std::uint32_t argb)
{
    return isLeafColour(int((argb >> 16) & 0xFFu), int((argb >> 8) & 0xFFu), int(argb & 0xFFu));
}

} // namespace

bool BorderCheck::backgroundCountsAsLeaf() const
{
    return frameSamples > 0 && leafShare() >= BackgroundWarningShare;
}

BorderCheck checkBorder(const PixelBuffer &picture, int unitStepTenths)
{
    static_assert(BorderFrameFraction == 0.03, "frameWidth() computes 3 % in integers");
    BorderCheck check;
    if (picture.width <= 0 || picture.height <= 0)
        return check;
    const std::vector<int> columns = sampledPixels(picture.width, unitStepTenths);
    const std::vector<int> rows = sampledPixels(picture.height, unitStepTenths);
    const int left = frameWidth(picture.width);
    const int right = picture.width - left;
    const int top = frameWidth(picture.height);
    const int bottom = picture.height - top;
    std::vector<int> sideColumns;
    std::copy_if(columns.begin(), columns.end(), std::back_inserter(sideColumns),
                 [&](int x) { return x < left || x >= right; });
    for (int y : rows) {
        const std::uint32_t *row = picture.pixels + std::ptrdiff_t(y) * picture.stride;
        const std::vector<int> &inFrame = y < top || y >= bottom ? columns : sideColumns;
        for (int x : inFrame)
            check.leafSamples += isLeafPixel(row[x]) ? 1 : 0;
        check.frameSamples += std::int64_t(inFrame.size());
    }
    return check;
}

} // namespace verdalis
