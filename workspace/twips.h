#pragma once

#include <QRect>

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
inline QPoint pixelsFromTwips(const QPoint &twips)
{
    return QPoint(pixelsFromTwips(twips.x()), pixelsFromTwips(twips.y()));
}
inline QSize pixelsFromTwips(const QSize &twips)
{
    return QSize(pixelsFromTwips(twips.width()), pixelsFromTwips(twips.height()));
}
inline QRect pixelsFromTwips(const QRect &twips)
{
    return QRect(pixelsFromTwips(twips.topLeft()), pixelsFromTwips(twips.size()));
}

} // namespace verdalis
