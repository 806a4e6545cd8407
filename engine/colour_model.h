#pragma once

#include <cstdint>

namespace verdalis {

// A colour as three channels 0..255.
struct RgbColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const RgbColour &other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const RgbColour &other) const { return !(*this == other); }
};

// Hue on a 239-step circle (360 degrees is 239, so 0..239) and saturation 0..240.
struct HueSaturation {
    int hue = 0;
    int saturation = 0;
};

// Everything the classifier may ask about one sample.
struct DecodedColour {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;
    std::int16_t hue = 0;
    std::int16_t saturation = 0;
};

// Packed colour: blue * 65536 + green * 256 + red; -1 marks a point outside the
// picture and decodes, like every negative value, to black.
RgbColour splitColour(std::int32_t packed);

// The packed colour of a 0xAARRGGBB pixel (alpha ignored).
inline std::int32_t packedFromArgb(std::uint32_t argb)
{
    return static_cast<std::int32_t>(((argb & 0xFFu) << 16) | (argb & 0xFF00u) |
                                     ((argb >> 16) & 0xFFu));
}

// Hue and saturation of a colour, computed step by step in doubles so that the
// same colour gives the same figures on every machine; halves round to even.
HueSaturation rgbToHsl(int red, int green, int blue);

// Leaf is whatever is neither near black nor near white.
inline bool isLeafColour(int red, int green, int blue)
{
    const int sum = red + green + blue;
    return sum > 120 && sum < 690;
}

DecodedColour decodeColour(const RgbColour &colour);

} // namespace verdalis
