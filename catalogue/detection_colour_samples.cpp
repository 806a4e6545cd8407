#include "detection_colour_samples.h"

#include <cmath>

namespace verdalis {

namespace {
// Nearest whole number, halves to even (the default rounding mode).
int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}
} // namespace

void DetectionColourSamples::add(const Rgb &colour)
{
    m_samples.append(colour);
    m_sumRed += colour.red;
    m_sumGreen += colour.green;
    m_sumBlue += colour.blue;
    updateAverage();
}

void DetectionColourSamples::removeAt(int row)
{
    if (m_samples.size() <= 1) {
        reset();
        return;
    }
    if (row < 0 || row >= m_samples.size())
        return;
    // Whole channel values keep the sums exact: taking a colour off subtracts
    // just what adding it added.
    const Rgb removed = m_samples.takeAt(row);
    m_sumRed -= removed.red;
    m_sumGreen -= removed.green;
    m_sumBlue -= removed.blue;
    updateAverage();
}

void DetectionColourSamples::updateAverage()
{
    const double n = m_samples.size();
    m_average = {roundHalfEven(m_sumRed / n), roundHalfEven(m_sumGreen / n),
                 roundHalfEven(m_sumBlue / n)};
}

void DetectionColourSamples::reset()
{
    m_samples.clear();
    m_sumRed = m_sumGreen = m_sumBlue = 0.0;
    m_average = {};
}

} // namespace verdalis
