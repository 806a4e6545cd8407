#include "measure_tool.h"

#include "measurement_list.h"
#include "number_text.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cmath>
#include <limits>

namespace verdalis {

namespace {
const QColor kRed(255, 0, 0);

// Picture units -> whole picture units, nearest with halves to even (the default
// rounding mode), kept inside 32 bits.
int wholeUnits(double units)
{
    const double rounded = std::nearbyint(units);
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (!(rounded >= low))
        return std::numeric_limits<int>::min();
    if (rounded > high)
        return std::numeric_limits<int>::max();
    return int(rounded);
}

double unitLength(QPointF from, QPointF to)
{
    const double dx = from.x() - to.x();
    const double dy = from.y() - to.y();
    return std::sqrt(dx * dx + dy * dy);
}
} // namespace

MeasureTool::MeasureTool(MeasurementList &list, PictureCanvas &canvas, const WorkspaceState &state,
                         QObject *parent)
    : QObject(parent), m_list(list), m_canvas(canvas), m_state(state)
{
    // The start point of a pending measurement is in the old coordinate system,
    // so a new unit step cannot finish it.
    connect(&m_canvas, &PictureCanvas::unitStepChanged, this, [this] { cancelPending(); });
}

void MeasureTool::mouseDown(QPointF units)
{
    if (m_phase == MeasurePhase::AwaitStart) {
        m_start = QPoint(wholeUnits(units.x()), wholeUnits(units.y()));
        m_phase = MeasurePhase::AwaitEnd;
        m_list.appendPendingRow();
        return;
    }
    m_end = QPoint(wholeUnits(units.x()), wholeUnits(units.y()));
    const int row = m_list.pendingRow();
    recordMeasurement();
    m_list.setCurrentRow(row);
    m_list.setCell(row, StartXColumn, QString::number(m_start.x()));
    m_list.setCell(row, StartYColumn, QString::number(m_start.y()));
    m_list.setCell(row, EndXColumn, QString::number(m_end.x()));
    m_list.setCell(row, EndYColumn, QString::number(m_end.y()));
    m_list.recomputeMeasurementStatistics();
}

void MeasureTool::mouseMove(QPointF units)
{
    if (m_phase != MeasurePhase::AwaitEnd)
        return;
    m_canvas.clearDrawings();
    m_canvas.setPen(kRed, 3);
    m_canvas.drawPoint(m_start);
    m_canvas.setPen(kRed, 1);
    m_canvas.setDotted(true);
    m_canvas.drawLine(m_start, units);
    m_canvas.setDotted(false);
    // The statistics wait for the second click.
    writeDistance(m_list.pendingRow(), unitLength(m_start, units) * m_canvas.unitStep());
}

void MeasureTool::recordMeasurement()
{
    const int row = m_list.pendingRow();
    writeDistance(row, unitLength(m_start, m_end) * m_canvas.unitStep());
    m_list.finishPendingRow();
    m_phase = MeasurePhase::AwaitStart;

    m_canvas.clearDrawings();
    m_canvas.setPen(kRed, 1);
    m_canvas.setDotted(true);
    m_canvas.drawLine(m_start, m_end);
    m_canvas.setDotted(false);
    m_canvas.setPen(kRed, 3);
    m_canvas.drawPoint(m_start);
    m_canvas.drawPoint(m_end);
    m_canvas.setPen(kRed, 1);
}

void MeasureTool::writeDistance(int row, double displayMillimetres)
{
    m_list.setCell(row, BaseDistanceColumn, fullText(displayMillimetres));
    m_list.setCell(row, DistanceColumn, fixedText(displayMillimetres * m_state.sizeRatio(), 2));
}

void MeasureTool::cancelPending()
{
    if (m_phase != MeasurePhase::AwaitEnd)
        return;
    m_list.removeRowAt(m_list.pendingRow());
    m_phase = MeasurePhase::AwaitStart;
    m_canvas.clearDrawings();
}

void MeasureTool::reset()
{
    m_list.clearRows();
    m_canvas.clearDrawings();
    m_phase = MeasurePhase::AwaitStart;
    m_list.clearStatistics();
}

void MeasureTool::deleteCurrent()
{
    if (m_phase == MeasurePhase::AwaitEnd)
        cancelPending();
    else if (m_list.rowCount() >= 2)
        m_list.removeRowAt(m_list.currentRow());
    else
        reset();
    m_list.recomputeMeasurementStatistics();
}

QString MeasureTool::copyAll()
{
    QString text;
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.isMeasurement(row))
            text += m_list.cell(row, DistanceColumn) + QLatin1Char('\n');
    if (text.isEmpty())
        return text;
    // The list is read in place, so the current row never moves.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    return text;
}

} // namespace verdalis
