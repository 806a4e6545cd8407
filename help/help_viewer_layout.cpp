#include "help_viewer_layout.h"

#include <QtGlobal>

namespace verdalis {

std::optional<HelpViewerGeometry> HelpViewerLayout::compute(const QSize &outerTwips, bool minimised)
{
    if (minimised)
        return std::nullopt;
    HelpViewerGeometry geometry;
    geometry.window = QSize(outerTwips.width(), qMax(outerTwips.height(), MinimumHeight));
    // A window narrower than the allowance leaves the browser no width at all.
    geometry.browser =
        QRect(BrowserLeft, BrowserTop, qMax(0, geometry.window.width() - WidthAllowance),
              geometry.window.height() - HeightAllowance);
    return geometry;
}

} // namespace verdalis
