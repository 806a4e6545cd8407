#include "picture_fit.h"

#include "twips.h"

namespace verdalis {

namespace {
// Overhang (twips) up to which the picture is centred instead of scrolled.
constexpr double MaxCentredOverhang = 100.0;
} // namespace

AxisPlacement PictureFit::placeAxis(double pictureTwips, double viewportTwips)
{
    AxisPlacement axis;
    const double overhang = roundHalfEven(pictureTwips - viewportTwips);
    if (overhang <= MaxCentredOverhang) {
        axis.offset = viewportTwips / 2 - pictureTwips / 2;
        return axis;
    }
    axis.scrollMaximum = int(roundHalfEven(overhang / TwipsPerScrollUnit));
    axis.scrollValue = int(roundHalfEven(axis.scrollMaximum / 2.0));
    axis.offset = offsetForScrollValue(axis.scrollValue);
    return axis;
}

PicturePlacement PictureFit::place(const QSizeF &pictureTwips, const QSizeF &viewportTwips)
{
    return {placeAxis(pictureTwips.width(), viewportTwips.width()),
            placeAxis(pictureTwips.height(), viewportTwips.height())};
}

QPointF PictureFit::centre(const QSizeF &itemTwips, const QSizeF &viewportTwips)
{
    return {viewportTwips.width() / 2 - itemTwips.width() / 2,
            viewportTwips.height() / 2 - itemTwips.height() / 2};
}

} // namespace verdalis
