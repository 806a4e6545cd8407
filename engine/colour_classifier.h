#pragma once

#include "symptom_rule.h"

#include <cstdint>
#include <vector>

namespace verdalis {

// Sorts picture pixels (0xAARRGGBB) into leaf and symptom candidate under one
// detection system. Working out a colour costs more than looking it up (the hue
// most of all), so answers are kept in a small table indexed by a hash of the
// colour; a photograph holds about 10^5 distinct colours.
class ColourClassifier {
public:
    enum : unsigned { Leaf = 1u, Symptom = 2u };

    explicit ColourClassifier(const SymptomRule &rule);

    unsigned classify(std::uint32_t argb)
    {
        // An entry holds the colour in its low 24 bits, the classes in bits 24
        // and 25 and a filled mark in bit 31.
        const std::uint32_t colour = argb & 0xFFFFFFu;
        std::uint32_t &entry = m_known[(colour * 2654435761u) >> (32 - TableBits)];
        if ((entry & 0x80FFFFFFu) != (colour | 0x80000000u))
            entry = colour | 0x80000000u | (compute(argb) << 24);
        return (entry >> 24) & 3u;
    }

private:
    static constexpr unsigned TableBits = 18; // 1 MB of entries

    unsigned compute(std::uint32_t argb) const;

    SymptomRule m_rule;
    std::vector<std::uint32_t> m_known;
};

} // namespace verdalis
