#pragma once

#include "correction_brush.h"

#include <QCursor>
#include <QGroupBox>
#include <QIcon>

class QLabel;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace verdalis {

// The "Brush" frame: the brush switch (its face shows the chosen kind's icon),
// the three kinds and the brush size. Painting itself is the correction brush's
// (measure/correction_brush), driven by the picture tools; this panel only holds
// the choices.
class BrushPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit BrushPanel(QWidget *parent = nullptr);

    bool isBrushOn() const;
    BrushKind kind() const;
    // Pen width in pixels, 1..10: the size scroll bar reads upside down, so
    // pushing it up makes the brush larger.
    int brushSize() const;
    // The pointer over the picture while the brush is on, hot spot at the tip.
    static QCursor brushCursor();

    const QIcon leafBrushIcon;
    const QIcon symptomBrushIcon;
    const QIcon backgroundBrushIcon;

    QRadioButton *const leafBrushButton;
    QRadioButton *const symptomBrushButton;
    QRadioButton *const backgroundBrushButton;
    QToolButton *const brushSwitch;
    QScrollBar *const brushSizeBar;
    QLabel *const brushSizeLabel;

public slots:
    // "Leaf area only" (index 0) has no symptoms to paint: the leaf kind is
    // chosen and the symptom kind disabled. Every other system enables it.
    void followDetectionSystem(int systemIndex);
    void setBrushOn(bool on);

signals:
    void brushToggled(bool on);

private:
    void showChosenKind();
    void showBrushSize();
};

} // namespace verdalis
