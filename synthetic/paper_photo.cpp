#include "paper_photo.h"

#include <algorithm>
#include <cmath>

namespace verdalis {

namespace {

// A small generator of its own: the library's distributions differ between
// implementations, and the pictures must not.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
    // Roughly normal with standard deviation 1 (the sum of four uniforms).
    double next()
    {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) {
            m_state = m_state * 1664525u + 1013904223u;
            sum += double(m_state >> 8) / 16777216.0;
        }
        return (sum - 2.0) * std::sqrt(3.0);
    }

private:
    std::uint32_t m_state;
};

} // namespace

double PaperLight::factorAt(int channel, double x, double y, int width, int height) const
{
    const double u = width > 1 ? 2.0 * x / (width - 1) - 1.0 : 0.0;
    const double v = height > 1 ? 2.0 * y / (height - 1) - 1.0 : 0.0;
    const double light =
        level * (1.0 + tiltX * u + tiltY * v) * (1.0 - vignette * (u * u + v * v) / 2.0);
    return light * cast[std::size_t(channel)];
}

void photographUnder(const PaperLight &light, std::uint32_t *pixels, int width, int height,
                     std::ptrdiff_t stride)
{
    NoiseSource noise(light.seed);
    for (int y = 0; y < height; ++y) {
        std::uint32_t *line = pixels + std::ptrdiff_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t out = line[x] & 0xFF000000u;
            for (int ch = 0; ch < 3; ++ch) {
                const int shift = 16 - 8 * ch;
                const double value =
                    double((line[x] >> shift) & 0xFFu) * light.factorAt(ch, x, y, width, height) +
                    light.noise * noise.next();
                const int level = std::clamp(int(std::lround(value)), 0, 255);
                out |= std::uint32_t(level) << shift;
            }
            line[x] = out;
        }
    }
}

} // namespace verdalis
