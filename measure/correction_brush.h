#pragma once

#include "workspace_state.h"

#include <QPointF>

namespace verdalis {

class PictureCanvas;

// What the brush paints: colours the chosen detection system reads as healthy
// leaf, as symptom, or as background.
enum class BrushKind { Leaf, Symptom, Background };

// The correction brush's strokes on the picture. A mouse down takes the paint
// colour (from the chosen detection system and the brush kind) and the pen
// width, and paints nothing; each move with the button down paints one filled
// dot of the pen width at the mouse position, so a fast stroke leaves gaps; the
// mouse up ends the stroke. Dots go on the canvas's drawings; switching the brush
// off bakes them into the picture in memory (PictureCanvas::bakeDrawings).
class CorrectionBrush {
public:
    CorrectionBrush(PictureCanvas &canvas, const WorkspaceState &state);

    // The paint of a kind under a detection system (0 "Leaf area only", 1..4
    // built-in, 5 and above custom). Custom systems paint symptoms in their
    // colour, the current custom colour.
    static Rgb paintColour(int systemIndex, BrushKind kind, const Rgb &customColour);

    bool isDown() const { return m_down; }
    Rgb paint() const { return m_paint; }
    // Pixels.
    int penWidth() const { return m_penWidth; }

    // Mouse down with the brush on: colour and width for the stroke to come,
    // chosen anew each time, so a change of system, kind or size applies to the
    // next stroke.
    void press(BrushKind kind, int widthPixels);
    // Mouse move with the brush on; positions in picture units.
    void move(QPointF units);
    // Mouse up, whatever the tool; also when the brush is switched off.
    void release() { m_down = false; }

private:
    PictureCanvas &m_canvas;
    const WorkspaceState &m_state;
    bool m_down = false;
    Rgb m_paint;
    int m_penWidth = 1;
};

} // namespace verdalis
