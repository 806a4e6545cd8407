#include "symptom_rule.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace verdalis {

SymptomRule::SymptomRule(const DetectionParameters &parameters)
    : m_system(parameters.systemIndex), m_reference(parameters.customColour)
{
    // The slider offset is a whole number; only then is it added to the double base.
    const double offset = static_cast<double>(static_cast<std::int64_t>(parameters.sliderPosition) *
                                              parameters.thresholdStep);
    m_threshold = parameters.baseThreshold + offset;
    m_floor = parameters.baseThreshold - offset;
}

bool SymptomRule::isSymptom(const DecodedColour &sample) const
{
    const int r = sample.red;
    const int g = sample.green;
    const int b = sample.blue;
    switch (m_system) {
    case LeafAreaOnlySystem:
        return false;
    case 1: {
        // Whole-number distances first, the saturation distance in doubles.
        const int whole = std::abs(g - 162) + 2 * std::abs(sample.hue - 47);
        return whole + std::fabs(sample.saturation - 63.8) < m_threshold;
    }
    case 2:
        return isLeafColour(r, g, b) && 10 * g + r + b > m_floor;
    case 3: {
        if (!(g + r > 120 && g + r < 460))
            return false;
        // A hue of 0 (reds and greys) would divide by zero; it stands in as 0.01,
        // which makes every such gated sample a symptom.
        const double h = sample.hue == 0 ? 0.01 : sample.hue;
        return (10 * g / h + 10 * r / h) / 2 > m_floor;
    }
    case 4:
        return isLeafColour(r, g, b) && r + g + b < m_threshold;
    default: {
        const int score = std::abs(r - m_reference.red) + std::abs(g - m_reference.green) +
                          std::abs(b - m_reference.blue);
        return score < m_threshold;
    }
    }
}

} // namespace verdalis
