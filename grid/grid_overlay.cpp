#include "grid_overlay.h"

#include "grid_geometry.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QColor>

namespace verdalis {

namespace {
const QColor GridColour(0, 0, 255);
} // namespace

GridOverlay::GridOverlay(PictureCanvas &canvas, const WorkspaceState &state, QObject *parent)
    : QObject(parent), m_canvas(canvas), m_state(state)
{
    // A new unit makes the grid available; a new size ratio changes its cells.
    connect(&state, &WorkspaceState::unitNameChanged, this, &GridOverlay::applySpacing);
    connect(&state, &WorkspaceState::sizeRatioChanged, this, &GridOverlay::applySpacing);
}

void GridOverlay::setSpacingText(const QString &text)
{
    const std::optional<double> spacing = parseGridSpacing(text);
    if (!spacing) {
        // The emptied box comes back here and sets the spacing to 0.
        emit spacingTextRejected();
        return;
    }
    m_spacing = *spacing;
    applySpacing();
}

void GridOverlay::applySpacing()
{
    updateAvailability();
    if (!m_refusal.isEmpty() && m_shown) {
        m_shown = false;
        drawGrid();
    } else if (m_shown && m_spacing != 0.0) {
        drawGrid();
    }
    emit changed();
}

void GridOverlay::updateAvailability()
{
    m_refusal.clear();
    if (m_spacing != 0.0) {
        const GridGeometry grid(m_spacing, m_canvas.unitStep(), m_state.sizeRatio());
        m_refusal = grid.refusal(m_canvas.pixelsFromUnits(1.0));
    }
    m_canShow = !m_state.unitName().isEmpty() && m_spacing != 0.0 && m_refusal.isEmpty();
}

void GridOverlay::confirmSpacing()
{
    if (!m_canShow)
        return;
    if (m_shown)
        drawGrid();
    else
        setShown(true);
}

void GridOverlay::leaveSpacing()
{
    if (m_spacing == 0.0)
        setShown(false);
}

void GridOverlay::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    drawGrid();
}

void GridOverlay::setHorizontalOffset(int offset)
{
    offset = qBound(-GridOffsetLimit, offset, GridOffsetLimit);
    if (offset == m_horizontal)
        return;
    m_horizontal = offset;
    if (m_shown)
        drawGrid();
    else
        emit changed();
}

void GridOverlay::setVerticalOffset(int offset)
{
    offset = qBound(-GridOffsetLimit, offset, GridOffsetLimit);
    if (offset == m_vertical)
        return;
    m_vertical = offset;
    if (m_shown)
        drawGrid();
    else
        emit changed();
}

void GridOverlay::centre()
{
    setHorizontalOffset(0);
    setVerticalOffset(0);
}

void GridOverlay::drawGrid()
{
    // The unit step may have changed since the spacing was accepted.
    if (m_shown)
        updateAvailability();
    if (m_shown && m_canShow) {
        m_offsetsEnabled = true;
        emit brushOffRequested();
        m_canvas.clearDrawings();
        paintLines();
    } else {
        m_shown = m_shown && m_refusal.isEmpty();
        m_horizontal = 0;
        m_vertical = 0;
        m_offsetsEnabled = false;
        m_canvas.clearDrawings();
    }
    emit changed();
}

void GridOverlay::paintLines()
{
    // Every vertical line runs from the top of the picture to its bottom, every
    // horizontal one across its whole width.
    const GridGeometry grid(m_spacing, m_canvas.unitStep(), m_state.sizeRatio());
    m_canvas.setPen(GridColour, 1);
    m_canvas.drawHairlines(grid.linePositions(m_canvas.widthUnits(), m_horizontal),
                           grid.linePositions(m_canvas.heightUnits(), m_vertical));
}

} // namespace verdalis
