#pragma once

#include "analysis_run.h"

#include <string>
#include <vector>

namespace verdalis::enginetest {

struct PaintedDot {
    std::int32_t x;
    std::int32_t y;
    RgbColour colour;
    int width;
    bool operator==(const PaintedDot &o) const
    {
        return x == o.x && y == o.y && colour == o.colour && width == o.width;
    }
};

class RecordingPainter : public OverlayPainter {
public:
    void paintDot(std::int32_t x, std::int32_t y, RgbColour colour, int widthPixels) override
    {
        dots.push_back({x, y, colour, widthPixels});
    }
    std::vector<PaintedDot> dots;
};

// Settings of a built-in system (or a custom one, index >= 5) as the catalogue
// sets them: System 1 25/5, System 2 1750/50, System 3 40/1, System 4 330/10,
// custom 50/5.
AnalysisSettings builtInSettings(int system, int slider = 0, int tenths = 10,
                                 double sizeRatio = 1.0, RgbColour custom = {});

struct ReferenceOutcome {
    AnalysisFigures figures;
    std::vector<PaintedDot> dots;
    std::int64_t progress = 0;
};

// The analysis done the plain way: every sample's colour decoded in full, a
// label per sample, a queue of coordinate pairs, one sample at a time, no
// tick boundaries. Slow and simple, to hold the engine's compact run against.
ReferenceOutcome referenceAnalysis(const PixelBuffer &picture, const AnalysisSettings &settings);

// A picture in which the sample at (x, y) of a k/10 grid reads the colour named
// by rows[y][x]: '.' white, '#' black, 'L' healthy leaf, 'C' chlorotic lesion.
// Pixels that no sample reads are white. The grid's MaxX and MaxY are the last
// column and row of the text. Needs tenths >= 3.
struct SampleGridPicture {
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer() const { return {pixels.data(), width, height, width}; }
    int width = 0;
    int height = 0;
};
SampleGridPicture pictureFromSamples(const std::vector<std::string> &rows, int tenths = 10);

} // namespace verdalis::enginetest
