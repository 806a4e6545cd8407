#pragma once

#include "correction_brush.h"
#include "picture_mouse_dispatcher.h"

#include <QObject>
#include <QPointF>

class QCheckBox;
class QStackedWidget;

namespace verdalis {

class BrushPanel;
class CustomDetectionPanel;
class DetectionSystemPanel;
class GridOverlay;
class MeasureTool;
class PictureCanvas;
class PictureView;
class WorkspaceState;

// The picture tools of the photo page and the switches between them. The brush
// switch, the colour sampling switch and the grid's "Show" box exclude each
// other as they are ticked; the picture's pointer and the panel right of the
// picture follow the tool in charge, and mouse work on the picture goes to that
// tool.
class PictureTools : public QObject {
    Q_OBJECT
public:
    struct Controls {
        DetectionSystemPanel *detectionSystem = nullptr; // holds the sampling switch
        BrushPanel *brush = nullptr;
        QCheckBox *gridShow = nullptr;
        GridOverlay *grid = nullptr;
        PictureView *picture = nullptr;
        QStackedWidget *toolPanels = nullptr; // shows measurements or custom detection
        QWidget *measurements = nullptr;
        CustomDetectionPanel *customDetection = nullptr;
    };

    PictureTools(PictureCanvas &canvas, MeasureTool &measureTool, const WorkspaceState &state,
                 const Controls &controls, QObject *parent = nullptr);

    const PictureMouseDispatcher &dispatcher() const { return m_dispatcher; }
    const CorrectionBrush &brush() const { return m_brush; }

private:
    // Colour sampling on: the grid and the brush go off, the custom detection
    // panel takes the measurements panel's place and the pointer becomes an
    // eyedropper. Off: the measurements frame is back, with the cross-hair.
    void switchColourSampling(bool checked);
    // Brush on: sampling goes off and the drawings are cleared. Off: the strokes
    // become part of the picture, in memory; the file is not touched.
    void switchBrush(bool on);
    // Mouse down with the brush on: the stroke takes the panel's kind and size.
    void pressBrush();
    void pickColour(QPointF units);
    void previewColour(QPointF units);

    PictureCanvas &m_canvas;
    Controls m_controls;
    PictureMouseDispatcher m_dispatcher;
    CorrectionBrush m_brush;
};

} // namespace verdalis
