#pragma once

#include <QObject>
#include <QPointF>

namespace verdalis {

class MeasureTool;

// Routes the mouse on the picture to one of the three picture tools. Positions
// are in picture units. The brush (brush box ticked) comes first, then colour
// sampling (custom detection box ticked), then measuring; the brush and sampling
// tools are reached through the signals below, so they plug in without this class
// knowing them. Buttons and modifier keys are not looked at.
class PictureMouseDispatcher : public QObject {
    Q_OBJECT
public:
    explicit PictureMouseDispatcher(MeasureTool &measureTool, QObject *parent = nullptr);

    bool isBrushActive() const { return m_brushActive; }
    bool isSamplingActive() const { return m_samplingActive; }
    // Neither the brush nor sampling: clicks measure (the picture shows a cross-hair).
    bool isMeasuring() const { return !m_brushActive && !m_samplingActive; }

public slots:
    // The brush box was ticked or unticked.
    void setBrushActive(bool active);
    // The custom detection box was ticked or unticked.
    void setSamplingActive(bool active);

    void mouseDown(QPointF units);
    void mouseMove(QPointF units);
    void mouseUp(QPointF units);

signals:
    void brushDown(QPointF units);
    void brushMove(QPointF units);
    void samplingDown(QPointF units);
    // The colour under the mouse is previewed while sampling.
    void samplingMove(QPointF units);
    // Every mouse up, whatever the tool: the brush stops painting.
    void released(QPointF units);

private:
    void setTools(bool brush, bool sampling);

    MeasureTool &m_measureTool;
    bool m_brushActive = false;
    bool m_samplingActive = false;
};

} // namespace verdalis
