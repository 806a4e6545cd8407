#pragma once

#include <cmath>

namespace verdalis {

// Window and control geometry is reasoned about in twips (1/1440 inch): 15 twips
// are one device-independent pixel.
inline constexpr int TwipsPerPixel = 15;

// Nearest whole number, halves to the even neighbour (the default rounding mode).
inline double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

inline int pixelsFromTwips(double twips)
{
    return int(roundHalfEven(twips / TwipsPerPixel));
}
inline double twipsFromPixels(double pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace verdalis
