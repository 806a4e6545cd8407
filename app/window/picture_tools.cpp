#include "picture_tools.h"

#include "brush_panel.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_overlay.h"
#include "picture_canvas.h"
#include "picture_view.h"
#include "workspace_icons.h"

#include <QCheckBox>
#include <QStackedWidget>

namespace verdalis {

PictureTools::PictureTools(PictureCanvas &canvas, MeasureTool &measureTool,
                           const WorkspaceState &state, const Controls &controls, QObject *parent)
    : QObject(parent), m_canvas(canvas), m_controls(controls), m_dispatcher(measureTool),
      m_brush(canvas, state)
{
    connect(controls.detectionSystem, &DetectionSystemPanel::samplingToggled, this,
            &PictureTools::switchColourSampling);
    connect(controls.brush, &BrushPanel::brushToggled, this, &PictureTools::switchBrush);
    // Drawing the grid switches the brush off, so the strokes are kept in the
    // picture before the drawings are erased.
    connect(controls.grid, &GridOverlay::brushOffRequested, this,
            [this] { m_controls.brush->setBrushOn(false); });

    // Buttons and modifier keys make no difference to the tools.
    PictureView *picture = controls.picture;
    connect(picture, &PictureView::mouseDown, &m_dispatcher,
            [this](QPointF units) { m_dispatcher.mouseDown(units); });
    connect(picture, &PictureView::mouseMove, &m_dispatcher,
            [this](QPointF units) { m_dispatcher.mouseMove(units); });
    connect(picture, &PictureView::mouseUp, &m_dispatcher,
            [this](QPointF units) { m_dispatcher.mouseUp(units); });
    connect(&m_dispatcher, &PictureMouseDispatcher::samplingDown, this, &PictureTools::pickColour);
    connect(&m_dispatcher, &PictureMouseDispatcher::samplingMove, this,
            &PictureTools::previewColour);
    connect(&m_dispatcher, &PictureMouseDispatcher::brushDown, this, &PictureTools::pressBrush);
    connect(&m_dispatcher, &PictureMouseDispatcher::brushMove, this,
            [this](QPointF units) { m_brush.move(units); });
    connect(&m_dispatcher, &PictureMouseDispatcher::released, this, [this] { m_brush.release(); });
}

void PictureTools::switchColourSampling(bool checked)
{
    if (checked) {
        m_controls.gridShow->setChecked(false);
        m_controls.brush->setBrushOn(false);
    }
    m_controls.toolPanels->setCurrentWidget(
        checked ? static_cast<QWidget *>(m_controls.customDetection) : m_controls.measurements);
    if (checked)
        m_controls.picture->setCursor(WorkspaceIcons::eyedropperCursor());
    else
        m_controls.picture->setCursor(Qt::CrossCursor);
    m_dispatcher.setSamplingActive(checked);
}

void PictureTools::switchBrush(bool on)
{
    if (on) {
        m_controls.detectionSystem->setSamplingChecked(false);
        m_canvas.clearDrawings();
        m_controls.picture->setCursor(BrushPanel::brushCursor());
    } else {
        m_controls.picture->setCursor(Qt::CrossCursor);
        m_brush.release();
        m_canvas.bakeDrawings();
    }
    m_dispatcher.setBrushActive(on);
}

void PictureTools::pressBrush()
{
    m_brush.press(m_controls.brush->kind(), m_controls.brush->brushSize());
}

void PictureTools::pickColour(QPointF units)
{
    m_controls.customDetection->addSampledColour(
        splitColour(m_canvas.colourAt(units.x(), units.y())));
}

void PictureTools::previewColour(QPointF units)
{
    m_controls.customDetection->showColourUnderMouse(
        splitColour(m_canvas.colourAt(units.x(), units.y())));
}

} // namespace verdalis
