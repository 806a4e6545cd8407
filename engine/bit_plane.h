#pragma once

#include <cstdint>
#include <vector>

namespace verdalis {

// One bit per sample, zero at the start. An analysis needs only yes/no per
// sample between its passes, which keeps a fine grid on a large picture small.
class BitPlane {
public:
    BitPlane() = default;
    explicit BitPlane(std::uint64_t bits) : m_words((bits + 63) / 64, 0) {}

    bool test(std::uint64_t bit) const { return (m_words[bit >> 6] >> (bit & 63)) & 1u; }
    void set(std::uint64_t bit) { m_words[bit >> 6] |= std::uint64_t(1) << (bit & 63); }
    void reset(std::uint64_t bit) { m_words[bit >> 6] &= ~(std::uint64_t(1) << (bit & 63)); }
    // Ors a 0 or 1 in without a branch (the sampling pass writes every bit once).
    void merge(std::uint64_t bit, unsigned value)
    {
        m_words[bit >> 6] |= std::uint64_t(value) << (bit & 63);
    }
    void release() { std::vector<std::uint64_t>().swap(m_words); }

private:
    std::vector<std::uint64_t> m_words;
};

} // namespace verdalis
