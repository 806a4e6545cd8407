#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace verdalis {

// The offset scroll bars move the grid in twentieths of a cell, at most 19 either way.
inline constexpr int GridOffsetSteps = 20;
inline constexpr int GridOffsetLimit = 19;

// The spacing box's text as a spacing in calibrated units: 0 for "0" or an empty
// box, nothing when the text is not a number (the box is then emptied). The one
// place the text is read, so a number box validator can take it over whole.
std::optional<double> parseGridSpacing(const QString &text);

// The arithmetic of one grid, in picture units.
class GridGeometry {
public:
    // spacing in calibrated units; unitStep in display millimetres per picture unit;
    // sizeRatio in calibrated units per display millimetre.
    GridGeometry(double spacing, double unitStep, double sizeRatio);

    // The side of a cell in picture units.
    double cell() const { return m_cell; }

    // Lines drawn across an extent: extent / cell + 1 to the nearest whole number,
    // halves to even. Nothing when that does not fit a 32-bit integer.
    std::optional<qint32> lineCount(double extentUnits) const;

    // Where lines 0 .. lineCount lie, shifted by offset twentieths of a cell:
    // worked out in doubles and handed to the drawing as floats. Empty when the
    // count does not fit.
    std::vector<float> linePositions(double extentUnits, int offset) const;

    // Why this grid cannot be drawn on a picture of pixelsPerUnit pixels per
    // picture unit; empty when it can. Lines closer than one pixel would paint the
    // picture over, and a tiny spacing would ask for more lines than a count holds
    // and take the window very long to draw.
    QString refusal(double pixelsPerUnit) const;

private:
    double m_spacing;
    double m_cell;
};

} // namespace verdalis
