#include "main_window_layout.h"

namespace verdalis {

std::optional<WindowGeometry> MainWindowLayout::compute(const QSize &windowTwips, bool minimised)
{
    if (minimised)
        return std::nullopt;

    WindowGeometry g;
    g.window = windowTwips;
    if (g.window.width() < MinimumWidth)
        g.window.setWidth(MinimumWidth);
    if (g.window.height() <= MinimumHeight)
        g.window.setHeight(MinimumHeight);

    g.tab1 = QRect(Tab1Left, TopStripHeight, g.window.width() - 210, g.window.height() - 1440);
    g.picture3 = QRect(Picture3Left, Picture3Top, g.tab1.width() - 4035, g.tab1.height() - 1200);

    const int viewportRight = g.picture3.left() + g.picture3.width();
    const int viewportBottom = g.picture3.top() + g.picture3.height();
    g.vScroll2 = QRect(viewportRight, g.picture3.top(), ScrollBarThickness, g.picture3.height());
    g.hScroll2 = QRect(g.picture3.left(), viewportBottom, g.picture3.width(), ScrollBarThickness);
    g.bar1 = QRect(g.picture3.left(), g.tab1.height() - 465, g.picture3.width(), Bar1Height);

    g.frame3 = QPoint(viewportRight + RightStripGap, Picture3Top);
    g.leafArea = QPoint(g.frame3.x(), Picture3Top + RightStripHeight + LeafAreaGap);
    return g;
}

} // namespace verdalis
