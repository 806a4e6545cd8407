#pragma once

#include "symptom_rule.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace verdalis {

// Sorts picture pixels (0xAARRGGBB) into leaf and symptom candidate under one
// detection system. The hue of a colour is costly, so systems that use it keep
// each answer per distinct colour; the table's pages are only touched for the
// colours a picture holds.
class ColourClassifier {
public:
    enum : unsigned { Leaf = 1u, Symptom = 2u };

    // Throws std::bad_alloc when the colour table cannot be had.
    explicit ColourClassifier(const SymptomRule &rule);

    unsigned classify(std::uint32_t argb)
    {
        if (!m_known)
            return compute(argb);
        std::uint8_t &entry = m_known.get()[argb & 0xFFFFFFu];
        if (entry == 0)
            entry = static_cast<std::uint8_t>(0x80u | compute(argb));
        return entry & 3u;
    }

private:
    unsigned compute(std::uint32_t argb) const;

    struct FreeDeleter {
        void operator()(std::uint8_t *table) const { std::free(table); }
    };
    SymptomRule m_rule;
    std::unique_ptr<std::uint8_t, FreeDeleter> m_known;
};

} // namespace verdalis
