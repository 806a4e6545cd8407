#include "colour_model.h"

#include <cmath>

namespace verdalis {

RgbColour splitColour(std::int32_t packed)
{
    if (packed < 0)
        return {};
    const std::int32_t blue = packed / 65536;
    const std::int32_t green = (packed - 65536 * blue) / 256;
    const std::int32_t red = packed % 256;
    return {red, green, blue};
}

HueSaturation rgbToHsl(int red, int green, int blue)
{
    // The order of operations is part of the result: a colour whose hue lands
    // near a rounding half must round the same way everywhere.
    const double r = red / 255.0;
    const double g = green / 255.0;
    const double b = blue / 255.0;
    double max = r;
    if (max < g)
        max = g;
    if (max < b)
        max = b;
    double min = r;
    if (min > g)
        min = g;
    if (min > b)
        min = b;
    const double lightness = (max + min) / 2;
    const double d = max - min;
    double angle = 0;
    double saturation = 0;
    if (std::fabs(d) >= 1e-05) {
        saturation = lightness <= 0.5 ? d / (max + min) : d / (2 - max - min);
        const double dr = (max - r) / d;
        const double dg = (max - g) / d;
        const double db = (max - b) / d;
        if (r == max)
            angle = db - dg;
        else if (g == max)
            angle = 2 + dr - db;
        else
            angle = 4 + dg - dr;
        angle = angle * 60;
        if (angle < 0)
            angle = angle + 360;
    }
    return {static_cast<int>(std::nearbyint(angle * 239 / 360)),
            static_cast<int>(std::nearbyint(saturation * 240))};
}

DecodedColour decodeColour(const RgbColour &colour)
{
    const HueSaturation hs = rgbToHsl(colour.red, colour.green, colour.blue);
    DecodedColour decoded;
    decoded.red = static_cast<std::int16_t>(colour.red);
    decoded.green = static_cast<std::int16_t>(colour.green);
    decoded.blue = static_cast<std::int16_t>(colour.blue);
    decoded.hue = static_cast<std::int16_t>(hs.hue);
    decoded.saturation = static_cast<std::int16_t>(hs.saturation);
    return decoded;
}

} // namespace verdalis
