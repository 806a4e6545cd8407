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

    // The tab control reaches down to the margin at the window's bottom edge. (A
    // height rule of window height - 1440 counts the title bar and the frame into
    // the window, which the client area here does not hold: it would leave about
    // 45 pixels of dead space below the tab control.)
    g.pages = QRect(PagesLeft, TopStripHeight, g.window.width() - 2 * PagesLeft,
                    g.window.height() - TopStripHeight - PagesLeft);
    g.viewport = QRect(ViewportLeft, ViewportTop, g.pages.width() - 4035, g.pages.height() - 1200);

    const int viewportRight = g.viewport.left() + g.viewport.width();
    const int viewportBottom = g.viewport.top() + g.viewport.height();
    g.verticalScroll =
        QRect(viewportRight, g.viewport.top(), ScrollBarThickness, g.viewport.height());
    g.horizontalScroll =
        QRect(g.viewport.left(), viewportBottom, g.viewport.width(), ScrollBarThickness);
    g.progressBar =
        QRect(g.viewport.left(), g.pages.height() - 465, g.viewport.width(), ProgressBarHeight);

    g.toolPanels = QPoint(viewportRight + RightStripGap, ViewportTop);
    g.leafArea = QPoint(g.toolPanels.x(), ViewportTop + RightStripHeight + LeafAreaGap);
    return g;
}

} // namespace verdalis
