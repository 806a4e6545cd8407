#pragma once

namespace verdalis {

// Where the report and the chart sit on the results page, in twips (15 twips =
// 1 pixel). They share the page's width side by side, the chart right of the
// text, and fill its height.
struct ResultsPageLayout {
    double reportLeft = 0.0;
    double reportWidth = 0.0;
    double chartLeft = 0.0;
    double chartWidth = 0.0;
    double top = 0.0;
    double height = 0.0; // of the report, the chart and, in batch mode, the table
};

// Design position of the text report's left edge and of the controls' top edge
// on the page, in twips; the controls keep as much room below them.
inline constexpr double ResultsTextLeftTwips = 120.0;
inline constexpr double ResultsTopTwips = 120.0;
// The controls never get lower than their design height.
inline constexpr double ResultsMinimumHeightTwips = 6600.0;

// The page's layout when the tab control is tabWidthTwips wide and the page
// pageHeightTwips high.
inline ResultsPageLayout resultsPageLayout(double tabWidthTwips, double pageHeightTwips)
{
    ResultsPageLayout layout;
    layout.reportLeft = ResultsTextLeftTwips;
    layout.reportWidth = tabWidthTwips / 2.0 - 255.0;
    layout.chartLeft = layout.reportLeft + layout.reportWidth;
    layout.chartWidth = tabWidthTwips / 2.0 - 255.0;
    layout.top = ResultsTopTwips;
    const double height = pageHeightTwips - 2 * ResultsTopTwips;
    layout.height = height > ResultsMinimumHeightTwips ? height : ResultsMinimumHeightTwips;
    return layout;
}

} // namespace verdalis
