#include "correction_brush.h"

#include "picture_canvas.h"
#include "symptom_rule.h"

#include <QColor>

namespace verdalis {

namespace {

// Paints of the built-in systems, by list position 0..4: leaf, symptom.
// "Leaf area only" has no symptom kind to choose; its entry is the leaf paint.
constexpr Rgb BuiltInLeaf[] = {
    {135, 136, 90}, {20, 120, 20}, {20, 120, 20}, {20, 120, 20}, {155, 151, 110}};
constexpr Rgb BuiltInSymptom[] = {
    {135, 136, 90}, {150, 162, 98}, {200, 200, 98}, {200, 200, 98}, {100, 90, 77}};
constexpr Rgb CustomLeaf{20, 120, 20};
constexpr Rgb BackgroundPaint{0, 0, 0};

} // namespace

CorrectionBrush::CorrectionBrush(PictureCanvas &canvas, const WorkspaceState &state)
    : m_canvas(canvas), m_state(state)
{
}

Rgb CorrectionBrush::paintColour(int systemIndex, BrushKind kind, const Rgb &customColour)
{
    if (kind == BrushKind::Background)
        return BackgroundPaint;
    if (systemIndex >= FirstCustomSystem)
        return kind == BrushKind::Leaf ? CustomLeaf : customColour;
    const int row = qMax(int(LeafAreaOnlySystem), systemIndex);
    return kind == BrushKind::Leaf ? BuiltInLeaf[row] : BuiltInSymptom[row];
}

void CorrectionBrush::press(BrushKind kind, int widthPixels)
{
    m_paint = paintColour(m_state.systemIndex(), kind, m_state.customColour());
    m_penWidth = qMax(1, widthPixels);
    m_down = true;
}

void CorrectionBrush::move(QPointF units)
{
    if (!m_down)
        return;
    // The pen is set for every dot: the measuring tool shares the canvas's pen.
    m_canvas.setPen(QColor(m_paint.red, m_paint.green, m_paint.blue), m_penWidth);
    m_canvas.drawPoint(units);
}

} // namespace verdalis
