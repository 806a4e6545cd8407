#pragma once

namespace verdalis {

// Where the report and the chart sit on the results page, in twips (15 twips =
// 1 pixel). They share the page's width side by side, the chart right of the text.
struct ResultsPageLayout {
    double reportLeft = 0.0;
    double reportWidth = 0.0;
    double chartLeft = 0.0;
    double chartWidth = 0.0;
};

// Design position of the text report's left edge on the page, in twips.
inline constexpr double ResultsTextLeftTwips = 120.0;

// The page's layout when the tab control is tabWidthTwips wide.
inline ResultsPageLayout resultsPageLayout(double tabWidthTwips)
{
    ResultsPageLayout layout;
    layout.reportLeft = ResultsTextLeftTwips;
    layout.reportWidth = tabWidthTwips / 2.0 - 255.0;
    layout.chartLeft = layout.reportLeft + layout.reportWidth;
    layout.chartWidth = tabWidthTwips / 2.0 - 255.0;
    return layout;
}

} // namespace verdalis
