#pragma once

#include <cstdint>

namespace verdalis {

// The grid of samples an analysis walks over a picture.
//
// One picture pixel is 25.4/96 display millimetres and one picture unit is
// unitStep = k/10 display millimetres (k = 1..10), so one unit is 48k/127 pixels.
// Samples sit at whole unit coordinates x = 0..maxX, y = 0..maxY; the sample at
// (x, y) reads pixel ((x*48k) div 127, (y*48k) div 127), exact in integers. The
// last column or row can lie one pixel past the picture when its size in units is
// a whole number; such a sample reads black.
class SampleGeometry {
public:
    // One unit is PixelsPerUnitPerTenth * k / PixelsPerUnitDenominator pixels at
    // unit step k/10.
    static constexpr std::int64_t PixelsPerUnitPerTenth = 48;
    static constexpr std::int64_t PixelsPerUnitDenominator = 127;

    SampleGeometry() = default;
    // Throws AnalysisError when a coordinate would not fit in 32 bits.
    SampleGeometry(int pixelWidth, int pixelHeight, int unitStepTenths);

    int pixelWidth() const { return m_pixelWidth; }
    int pixelHeight() const { return m_pixelHeight; }
    int unitStepTenths() const { return m_tenths; }
    double unitStep() const { return m_tenths / 10.0; }

    // Picture size in units, fractional in general.
    double width() const;
    double height() const;
    // Last whole column and row: floor(width()) and floor(height()), exactly.
    std::int32_t maxX() const { return m_maxX; }
    std::int32_t maxY() const { return m_maxY; }
    std::int64_t columns() const { return std::int64_t(m_maxX) + 1; }
    std::int64_t rows() const { return std::int64_t(m_maxY) + 1; }
    std::int64_t sampleCount() const { return columns() * rows(); }

    // Pixel column or row read by the sample at a unit coordinate; may equal the
    // picture's size (past the edge).
    static std::int64_t pixelOfSample(std::int64_t coordinate, int unitStepTenths);
    // Last whole unit coordinate of a span of the given number of pixels.
    static std::int64_t lastSample(std::int64_t pixels, int unitStepTenths);
    // First unit coordinate whose sample reads this pixel or one after it.
    static std::int64_t firstSampleFrom(std::int64_t pixel, int unitStepTenths);

private:
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
    int m_tenths = 10;
    std::int32_t m_maxX = 0;
    std::int32_t m_maxY = 0;
};

} // namespace verdalis
