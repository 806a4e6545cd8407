#include "colour_classifier.h"

#include <new>

namespace verdalis {

ColourClassifier::ColourClassifier(const SymptomRule &rule) : m_rule(rule)
{
    if (m_rule.usesHue()) {
        // calloc leaves untouched pages unmapped: a picture of few colours costs
        // a few pages, not 16 MB.
        m_known.reset(static_cast<std::uint8_t *>(std::calloc(std::size_t(1) << 24, 1)));
        if (!m_known)
            throw std::bad_alloc();
    }
}

unsigned ColourClassifier::compute(std::uint32_t argb) const
{
    const RgbColour colour{int((argb >> 16) & 0xFFu), int((argb >> 8) & 0xFFu), int(argb & 0xFFu)};
    unsigned classes = IsLeafColour(colour.red, colour.green, colour.blue) ? Leaf : 0u;
    if (m_rule.detectsSymptoms()) {
        DecodedColour decoded;
        if (m_rule.usesHue()) {
            decoded = DecodeColour(colour);
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
