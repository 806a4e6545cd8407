#pragma once

#include <QGroupBox>

class QLabel;
class QScrollBar;

namespace verdalis {

class PictureCanvas;

// The "Unit tuner": sets how many display millimetres one picture unit stands for
// (unitStep 1.0 down to 0.1). Measurements already in the list keep their values;
// they are in display millimetres.
class UnitTunerPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit UnitTunerPanel(PictureCanvas &canvas, QWidget *parent = nullptr);

public slots:
    // Scroll bar value 1..10 -> unitStep (11 - value) / 10.
    void applyUnitStep(int value);

private:
    void showUnitStep(int tenths);

    PictureCanvas &m_canvas;
    QScrollBar *const m_unitStepBar;
    QLabel *const m_unitStepLabel;
};

} // namespace verdalis
