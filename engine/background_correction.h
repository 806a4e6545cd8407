#pragma once

#include "colour_model.h"
#include "pixel_buffer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace verdalis {

// Evening out the paper of a photographed leaf picture.
//
// A photo of leaves on white paper shows the paper grey, lit unevenly (one side
// brighter, darker corners) and tinted by the light. The paper's colour is
// estimated across the picture as a smooth field, one per channel, from the
// pixels that are paper, and each pixel is divided by it: the paper becomes
// white (255) and a leaf or lesion gets the colour it would have had under
// even white light, as on a scanner.
//
// Estimate: on a lattice of at most about 260 000 pixels, the brighter class of
// an Otsu split of R+G+B is the paper candidate; the picture is cut into cells
// (16 along its long side) and each cell with enough candidates gives the
// channel medians of its candidates, unless they are as coloured as a leaf.
// A polynomial in x and y is fitted to those cell colours, per channel, and
// cells lying well below the fit (a leaf, a shadow inside the cell) or above it
// are dropped and the fit repeated.
struct BackgroundEstimator {
    // Degree of the fitted polynomial: 3 follows a light brighter on one side
    // times a vignetting that darkens the corners (a product of a slope and a
    // bowl); lower degrees are used when too few cells are paper.
    int degree = 3;
    // Only the cells touching the border give the paper's colour (tried and
    // measured; see docs/background.md).
    bool borderCellsOnly = false;
};

enum class BackgroundOutcome {
    // A paper field was found; the picture can be divided by it.
    Found,
    // Too little of the picture is paper: the leaf fills the frame.
    NoBackground,
    // The background is near black: the leaf test already rejects it.
    DarkBackground,
    // The paper is white or within a shade of it everywhere (a scan): nothing
    // to even out, and the figures of a clean scan stay as they are.
    WhiteBackground,
};

// The paper's colour across a picture: per channel a polynomial in
// u = 2x/(width-1) - 1 and v = 2y/(height-1) - 1 (x, y in pixels).
class BackgroundField {
public:
    BackgroundOutcome outcome = BackgroundOutcome::NoBackground;
    int width = 0;
    int height = 0;
    int degree = 0;
    // Coefficients of u^i v^j, i + j <= degree, in the order of terms().
    std::array<std::vector<double>, 3> coefficients;
    // Cells that gave the paper's colour, of all cells.
    int paperCells = 0;
    int cells = 0;

    bool found() const { return outcome == BackgroundOutcome::Found; }
    // The paper's red, green and blue at a pixel, not clamped.
    std::array<double, 3> paperAt(double x, double y) const;
};

BackgroundField estimateBackground(const PixelBuffer &picture,
                                   const BackgroundEstimator &estimator = BackgroundEstimator());

// Divides every pixel by the field (paper -> 255, channels clamped to 0..255),
// in place. Pixels are 0xAARRGGBB; the alpha byte is kept.
void divideOutBackground(const BackgroundField &field, std::uint32_t *pixels, int width, int height,
                         std::ptrdiff_t stride);

// Estimates the field and divides it out; the picture is left as it is unless
// the outcome is Found.
BackgroundOutcome correctBackground(std::uint32_t *pixels, int width, int height,
                                    std::ptrdiff_t stride,
                                    const BackgroundEstimator &estimator = BackgroundEstimator());

} // namespace verdalis
