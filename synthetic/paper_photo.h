#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace verdalis {

// Turns a clean synthetic scan (white paper, known leaves) into what a camera
// under room light gives: every channel multiplied by a smooth, uneven light
// with a colour cast, plus noise, so the paper comes out grey and the leaf test
// counts it as leaf. The truth of the scene stays known, so a correction of the
// background can be measured against the clean scan.
struct PaperLight {
    // The light's strength at the picture's centre: white paper becomes
    // level * 255 there.
    double level = 0.72;
    // Brighter towards one side: + tiltX * u + tiltY * v, with u and v running
    // from -1 to 1 across the picture.
    double tiltX = 0.12;
    double tiltY = -0.08;
    // Darker corners: times 1 - vignette * (u^2 + v^2) / 2.
    double vignette = 0.2;
    // Per channel (red, green, blue) factor: a warm light by default.
    std::array<double, 3> cast{1.0, 0.93, 0.8};
    // Standard deviation of the added noise, in channel steps.
    double noise = 3.0;
    std::uint32_t seed = 1;

    // The factor a channel (0 red, 1 green, 2 blue) is multiplied by at a pixel.
    double factorAt(int channel, double x, double y, int width, int height) const;
};

// Photographs, in place, a picture of 0xAARRGGBB pixels; the same light and
// seed give the same picture on every machine.
void photographUnder(const PaperLight &light, std::uint32_t *pixels, int width, int height,
                     std::ptrdiff_t stride);

} // namespace verdalis
