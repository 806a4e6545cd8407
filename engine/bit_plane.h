#pragma once

#include <cstdint>
#include <vector>

namespace verdalis {

// One bit per sample, zero at the start. An analysis needs only yes/no per
// sample between its passes, which keeps a fine grid on a large picture small.
class BitPlane {
public:
    BitPlane() = default;
    // One spare word at the end lets bits() read 64 bits from any valid bit.
    explicit BitPlane(std::uint64_t bits) : m_words((bits + 63) / 64 + 1, 0) {}

    bool test(std::uint64_t bit) const { return (m_words[bit >> 6] >> (bit & 63)) & 1u; }
    void set(std::uint64_t bit) { m_words[bit >> 6] |= std::uint64_t(1) << (bit & 63); }
    void reset(std::uint64_t bit) { m_words[bit >> 6] &= ~(std::uint64_t(1) << (bit & 63)); }
    // Ors in the low `count` bits of `value` at `first` (count <= 64), as the
    // sampling pass does once per word instead of once per bit.
    void merge(std::uint64_t first, std::uint64_t value, unsigned count)
    {
        const std::uint64_t word = first >> 6;
        const unsigned shift = unsigned(first & 63);
        m_words[word] |= value << shift;
        if (shift != 0 && shift + count > 64)
            m_words[word + 1] |= value >> (64 - shift);
    }
    // The 64 bits from `first` (a bit of the plane) on, bit `first` lowest;
    // bits past the plane read 0.
    std::uint64_t bits(std::uint64_t first) const
    {
        const std::uint64_t word = first >> 6;
        const unsigned shift = unsigned(first & 63);
        if (shift == 0)
            return m_words[word];
        return (m_words[word] >> shift) | (m_words[word + 1] << (64 - shift));
    }
    void release() { std::vector<std::uint64_t>().swap(m_words); }

private:
    std::vector<std::uint64_t> m_words;
};

} // namespace verdalis
