#pragma once

#include <QRect>
#include <QSize>

#include <optional>

namespace verdalis {

// Geometry of the main window's resizable parts, all in twips. The tab control is
// placed in the window's client area; the photo page's controls are placed in the
// tab control's frame (which includes its row of tabs).
struct WindowGeometry {
    QSize window; // the client area, never below the minimum
    QRect pages;
    QRect viewport; // the viewport
    QRect verticalScroll;
    QRect horizontalScroll;
    QRect progressBar;
    QPoint toolPanels; // top-left of the right-hand strip ("Measurements" and
                       // "Custom detection system" share it)
    QPoint leafArea;   // top-left of the leaf area read-out, below that strip
};

// The resize rules of the main window.
class MainWindowLayout {
public:
    // Smallest client area: 12000 x 9000 twips (800 x 600 pixels).
    static constexpr int MinimumWidth = 12000;
    static constexpr int MinimumHeight = 9000;

    // Design geometry that the resize rules leave alone.
    static constexpr int TopStripHeight = 750; // the tab control starts below it
    static constexpr int PagesLeft = 105;      // the margin on either side and below
    static constexpr int ViewportLeft = 225;
    static constexpr int ViewportTop = 450;
    static constexpr int ScrollBarThickness = 255;
    static constexpr int ProgressBarHeight = 255;
    static constexpr int RightStripGap = 360; // viewport to the right-hand strip
    static constexpr int RightStripWidth = 3300;
    static constexpr int RightStripHeight = 6300;
    static constexpr int LeafAreaGap = 150; // right-hand strip to the leaf area row

    // Nothing while the window is minimised. Otherwise the window's size raised to
    // the minimum (the caller resizes the window when it differs) and every
    // control laid out for it. Applying the result again changes nothing.
    static std::optional<WindowGeometry> compute(const QSize &windowTwips, bool minimised);

    static QSize minimumSize() { return {MinimumWidth, MinimumHeight}; }
};

} // namespace verdalis
