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
    QRect tab1;
    QRect picture3; // the viewport
    QRect vScroll2;
    QRect hScroll2;
    QRect bar1;
    QPoint frame3;   // top-left of the right-hand strip ("Measurements" and
                     // "Custom detection system" share it)
    QPoint leafArea; // top-left of the leaf area read-out, below that strip
};

// The resize rules of the main window.
class MainWindowLayout {
public:
    // Smallest client area: 12000 x 9000 twips (800 x 600 pixels).
    static constexpr int MinimumWidth = 12000;
    static constexpr int MinimumHeight = 9000;

    // Design geometry that the resize rules leave alone.
    static constexpr int TopStripHeight = 750; // the tab control starts below it
    static constexpr int Tab1Left = 105;
    static constexpr int Picture3Left = 225;
    static constexpr int Picture3Top = 450;
    static constexpr int ScrollBarThickness = 255;
    static constexpr int Bar1Height = 255;
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
