#pragma once

#include <QPointF>
#include <QSizeF>

namespace verdalis {

// Where the picture sits along one axis of the viewport, in twips, and the scroll
// bar of that axis. One scroll unit is 100 twips.
struct AxisPlacement {
    double offset = 0.0; // picture left or top inside the viewport
    int scrollMaximum = 0;
    int scrollValue = 0;
    bool operator==(const AxisPlacement &o) const
    {
        return offset == o.offset && scrollMaximum == o.scrollMaximum &&
               scrollValue == o.scrollValue;
    }
};

struct PicturePlacement {
    AxisPlacement horizontal;
    AxisPlacement vertical;
};

// Places a picture in the viewport. An axis on which the picture overhangs the
// viewport by at most 100 twips is centred without scrolling; a larger one gets a
// scroll bar of (overhang / 100) units, set to its middle. Roundings are halves to
// even, so 101 twips of overhang scroll by 1 unit starting at 0.
class PictureFit {
public:
    static constexpr double TwipsPerScrollUnit = 100.0;

    static PicturePlacement place(const QSizeF &pictureTwips, const QSizeF &viewportTwips);
    static AxisPlacement placeAxis(double pictureTwips, double viewportTwips);
    // The picture's offset for a scroll bar value: it moves 100 twips per unit.
    static double offsetForScrollValue(int value) { return -TwipsPerScrollUnit * value; }
    // Top-left of an item centred in the viewport (may be negative).
    static QPointF centre(const QSizeF &itemTwips, const QSizeF &viewportTwips);
};

} // namespace verdalis
