#pragma once

#include <QRect>
#include <QSize>

#include <optional>

namespace verdalis {

// Geometry of the help window, in twips.
struct HelpViewerGeometry {
    QSize window; // outer size, never below the minimum height
    QRect browser;
};

// The resize rules of the help window: the buttons keep their places along the
// top edge, the browser fills the rest. Sizes are the window's outer sizes.
class HelpViewerLayout {
public:
    static constexpr int MinimumHeight = 2500;

    static constexpr int ButtonTop = 30;
    static constexpr int ButtonHeight = 540;
    static constexpr int BackLeft = 75;
    static constexpr int HomeLeft = 825;
    static constexpr int AboutLeft = 1650;
    static constexpr int BackWidth = 690;
    static constexpr int HomeWidth = 690;
    static constexpr int AboutWidth = 615;

    static constexpr int BrowserLeft = 75;
    static constexpr int BrowserTop = 600;
    // Outer size less the browser's size: its margins, borders and caption.
    static constexpr int WidthAllowance = 250;
    static constexpr int HeightAllowance = 1000;

    // Nothing while the window is minimised. Otherwise its height raised to the
    // minimum (the caller resizes the window when it differs; the width has no
    // minimum) and the browser placed for that size.
    static std::optional<HelpViewerGeometry> compute(const QSize &outerTwips, bool minimised);
};

} // namespace verdalis
