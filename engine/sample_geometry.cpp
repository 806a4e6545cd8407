#include "sample_geometry.h"

#include "analysis_error.h"

#include <limits>

namespace verdalis {

namespace {

std::int64_t pixelsNumerator(int tenths)
{
    return SampleGeometry::PixelsPerUnitPerTenth * std::int64_t(tenths);
}
constexpr std::int64_t PixelsDenominator = SampleGeometry::PixelsPerUnitDenominator;

} // namespace

SampleGeometry::SampleGeometry(int pixelWidth, int pixelHeight, int unitStepTenths)
    : m_pixelWidth(pixelWidth), m_pixelHeight(pixelHeight), m_tenths(unitStepTenths)
{
    if (unitStepTenths < 1 || unitStepTenths > 10)
        throw AnalysisError("The unit step must lie between 0.1 and 1.0.");
    if (pixelWidth < 0 || pixelHeight < 0)
        throw AnalysisError("The picture has no valid size.");
    const std::int64_t maxX = lastSample(pixelWidth, unitStepTenths);
    const std::int64_t maxY = lastSample(pixelHeight, unitStepTenths);
    // Coordinates are 32-bit and a walk steps one past the last sample.
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max() - 1;
    if (maxX > limit || maxY > limit)
        throw AnalysisError("The picture is too large to analyze at this unit step.");
    m_maxX = static_cast<std::int32_t>(maxX);
    m_maxY = static_cast<std::int32_t>(maxY);
}

double SampleGeometry::width() const
{
    return double(std::int64_t(m_pixelWidth) * PixelsDenominator) /
           double(pixelsNumerator(m_tenths));
}

double SampleGeometry::height() const
{
    return double(std::int64_t(m_pixelHeight) * PixelsDenominator) /
           double(pixelsNumerator(m_tenths));
}

std::int64_t SampleGeometry::pixelOfSample(std::int64_t coordinate, int unitStepTenths)
{
    return coordinate * pixelsNumerator(unitStepTenths) / PixelsDenominator;
}

std::int64_t SampleGeometry::lastSample(std::int64_t pixels, int unitStepTenths)
{
    return pixels * PixelsDenominator / pixelsNumerator(unitStepTenths);
}

std::int64_t SampleGeometry::firstSampleFrom(std::int64_t pixel, int unitStepTenths)
{
    // Smallest x with x * 48k >= pixel * 127.
    const std::int64_t numerator = pixelsNumerator(unitStepTenths);
    return (pixel * PixelsDenominator + numerator - 1) / numerator;
}

} // namespace verdalis
