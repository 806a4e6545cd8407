#pragma once

#include "colour_model.h"

#include <cstdint>

namespace verdalis {

// Receives the dots an analysis paints over the picture: symptom samples while
// spots are scanned, leaf edge samples while the perimeter is traced.
class OverlayPainter {
public:
    virtual ~OverlayPainter() = default;
    // A dot centred on the sample at unit coordinates (x, y); width in pixels.
    virtual void paintDot(std::int32_t x, std::int32_t y, RgbColour colour, int widthPixels) = 0;
    // Dots of one colour and width at (x, yFirst), (x, yFirst + 1) .. (x, yFirst
    // + count - 1), in that order: a stretch of one sample column. On a fine grid
    // a spot or an edge gives long stretches, which a painter can draw at once
    // instead of dot by dot; the pixels must be those of the dots one by one.
    virtual void paintColumnDots(std::int32_t x, std::int32_t yFirst, std::int32_t count,
                                 RgbColour colour, int widthPixels)
    {
        for (std::int32_t i = 0; i < count; ++i)
            paintDot(x, yFirst + i, colour, widthPixels);
    }
};

inline constexpr RgbColour SymptomDotColour{255, 0, 0};
inline constexpr RgbColour LeafEdgeDotColour{255, 255, 0};

// Dot widths in pixels for a unit step in display millimetres: thinner dots on a
// finer grid, so neighbouring dots do not smear into a blot.
int symptomDotWidth(double unitStep);
int leafEdgeDotWidth(double unitStep);

} // namespace verdalis
