#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace verdalis {

// One bit per sample, zero at the start. An analysis needs only yes/no per
// sample between its passes, which keeps a fine grid on a large picture small.
class BitPlane {
public:
    BitPlane() = default;
    // One spare word at the end lets bits() read 64 bits from any valid bit.
    // The words come zeroed from the system (calloc), so a large plane costs
    // nothing until its pages are written: a window starting a run on a fine
    // grid is not held while tens of megabytes are cleared. Throws
    // std::bad_alloc when there is no memory for it.
    explicit BitPlane(std::uint64_t bits)
        : m_words(static_cast<std::uint64_t *>(
              std::calloc(std::size_t((bits + 63) / 64 + 1), sizeof(std::uint64_t))))
    {
        if (!m_words)
            throw std::bad_alloc();
    }

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
    void release() { m_words.reset(); }

private:
    struct Free {
        void operator()(std::uint64_t *words) const { std::free(words); }
    };
    std::unique_ptr<std::uint64_t[], Free> m_words;
};

} // namespace verdalis
