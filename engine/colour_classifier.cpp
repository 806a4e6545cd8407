#include "colour_classifier.h"

namespace verdalis {

ColourClassifier::ColourClassifier(const SymptomRule &rule)
    : m_rule(rule), m_known(std::size_t(1) << TableBits, 0)
{
}

unsigned ColourClassifier::compute(std::uint32_t argb) const
{
    const RgbColour colour{int((argb >> 16) & 0xFFu), int((argb >> 8) & 0xFFu), int(argb & 0xFFu)};
    unsigned classes = isLeafColour(colour.red, colour.green, colour.blue) ? Leaf : 0u;
    if (m_rule.detectsSymptoms()) {
        DecodedColour decoded;
        if (m_rule.usesHue()) {
            decoded = decodeColour(colour);
        } else {
            decoded.red = static_cast<std::int16_t>(colour.red);
            decoded.green = static_cast<std::int16_t>(colour.green);
            decoded.blue = static_cast<std::int16_t>(colour.blue);
        }
        if (m_rule.isSymptom(decoded))
            classes |= Symptom;
    }
    return classes;
}

} // namespace verdalis
