#pragma once

#include "picture_mouse_dispatcher.h"

#include <QObject>
#include <QPointF>

class QCheckBox;

namespace verdalis {

class BrushPanel;
class CustomDetectionPanel;
class DetectionSystemPanel;
class MeasureTool;
class PanelSlot;
class PictureCanvas;
class PictureView;

// The picture tools of the photo page and the switches between them. The brush
// box (Check4), the colour sampling box (Check1) and the grid's "Show" box
// (Check2) exclude each other as they are ticked; the picture's pointer and the
// frame right of the picture follow the tool in charge, and mouse work on the
// picture goes to that tool.
class PictureTools : public QObject {
    Q_OBJECT
public:
    struct Controls {
        DetectionSystemPanel *detectionSystem = nullptr; // holds Check1
        BrushPanel *brush = nullptr;                     // holds Check4
        QCheckBox *gridShow = nullptr;                   // Check2
        PictureView *picture = nullptr;                  // Picture1
        PanelSlot *measurementsFrame = nullptr;          // place of Frame3
        PanelSlot *customDetectionFrame = nullptr;       // place of Frame7
        CustomDetectionPanel *customDetection = nullptr;
    };

    PictureTools(PictureCanvas &canvas, MeasureTool &measureTool, const Controls &controls,
                 QObject *parent = nullptr);

    const PictureMouseDispatcher &dispatcher() const { return m_dispatcher; }

private:
    // Colour sampling on: the grid and the brush go off, the custom detection
    // frame takes the measurements frame's place and the pointer becomes an
    // eyedropper. Off: the measurements frame is back, with the cross-hair.
    void Check1_Click(bool checked);
    // Brush on: sampling goes off and the drawings are cleared. Off: the strokes
    // become part of the picture.
    void Check4_Click(bool on);
    void pickColour(QPointF units);
    void previewColour(QPointF units);

    PictureCanvas &m_canvas;
    Controls m_controls;
    PictureMouseDispatcher m_dispatcher;
};

} // namespace verdalis
