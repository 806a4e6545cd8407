#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

namespace verdalis {

class MeasurementList;
class PictureCanvas;
class WorkspaceState;

enum class MeasurePhase { AwaitStart, AwaitEnd };

// The two-click distance measurement on the picture, and the list buttons that
// act on it (Reset, Del, Copy).
//
// Mouse positions arrive in picture units (fractional); the stored end points are
// whole picture units, rounded to the nearest with halves to even, 32-bit. A
// length of L units is L * unitStep display millimetres and L * unitStep *
// sizeRatio calibrated units. Only the latest measurement stays drawn.
class MeasureTool : public QObject {
    Q_OBJECT
public:
    MeasureTool(MeasurementList &list, PictureCanvas &canvas, const WorkspaceState &state,
                QObject *parent = nullptr);

    MeasurePhase measurePhase() const { return m_phase; }
    QPoint startPoint() const { return m_start; }
    QPoint endPoint() const { return m_end; }

    // Mouse down while measuring: the first click fixes the start and opens a
    // pending row, the second fixes the end and records the measurement.
    void mouseDown(QPointF units);
    // Mouse move: while a measurement is pending, the rubber band follows.
    void mouseMove(QPointF units);

    // Empties the list, the statistics and the drawing; ends a pending measurement.
    void reset();
    // Removes the current row (with fewer than two rows: reset). A measurement
    // under way is cancelled first instead, whatever row is selected: Del undoes
    // the half-made measurement, a second Del removes a row.
    void deleteCurrent();
    // Puts column 5 of every measurement on the clipboard, each followed by "\n".
    // Returns the text put there (empty when there is nothing to copy).
    QString copyAll();

private:
    void recordMeasurement();
    // Ends a pending measurement without recording it: its row and its rubber
    // band go.
    void cancelPending();
    void writeDistance(int row, double displayMillimetres);

    MeasurementList &m_list;
    PictureCanvas &m_canvas;
    const WorkspaceState &m_state;
    MeasurePhase m_phase = MeasurePhase::AwaitStart;
    QPoint m_start;
    QPoint m_end;
};

} // namespace verdalis
