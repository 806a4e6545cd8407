#pragma once

#include <cstddef>
#include <cstdint>

namespace verdalis {

// A picture in plain memory, as a QImage of Format_RGB32 or Format_ARGB32 holds
// it: each pixel a 32-bit 0xAARRGGBB (alpha ignored), rows of `width` pixels
// `stride` pixels apart. The memory belongs to the caller.
struct PixelBuffer {
    const std::uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // in pixels (uint32 values) per row
};

} // namespace verdalis
