#include "picture_mouse_dispatcher.h"

#include "measure_tool.h"

namespace verdalis {

PictureMouseDispatcher::PictureMouseDispatcher(MeasureTool &measureTool, QObject *parent)
    : QObject(parent), m_measureTool(measureTool)
{
}

void PictureMouseDispatcher::setBrushActive(bool active)
{
    setTools(active, m_samplingActive);
}

void PictureMouseDispatcher::setSamplingActive(bool active)
{
    setTools(m_brushActive, active);
}

void PictureMouseDispatcher::setTools(bool brush, bool sampling)
{
    m_brushActive = brush;
    m_samplingActive = sampling;
}

void PictureMouseDispatcher::mouseDown(QPointF units)
{
    if (m_brushActive)
        emit brushDown(units);
    else if (m_samplingActive)
        emit samplingDown(units);
    else
        m_measureTool.mouseDown(units);
}

void PictureMouseDispatcher::mouseMove(QPointF units)
{
    // Sampling is asked first on a move; the two boxes exclude each other, so
    // the order only matters if both were ever ticked at once.
    if (m_samplingActive)
        emit samplingMove(units);
    else if (m_brushActive)
        emit brushMove(units);
    else
        m_measureTool.mouseMove(units);
}

void PictureMouseDispatcher::mouseUp(QPointF units)
{
    emit released(units);
}

} // namespace verdalis
