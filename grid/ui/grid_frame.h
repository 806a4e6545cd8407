#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace verdalis {

class WorkspaceState;

// The "Grid" frame: the controls of the measuring grid drawn over the picture.
// This class only lays them out in their start state and keeps the unit label on
// the calibration's unit; the grid overlay drives them through the accessors.
class GridFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit GridFrame(const WorkspaceState &state, QWidget *parent = nullptr);

    QCheckBox *showBox() const { return Check2; }
    QComboBox *spacingBox() const { return ComboLine; }
    QLabel *unitLabel() const { return Label22; }
    QScrollBar *horizontalOffset() const { return HScrollGrid; }
    QScrollBar *verticalOffset() const { return VScrollGrid; }
    QPushButton *centreButton() const { return Command18; }

public slots:
    // A picture was opened: the grid is switched off and a spacing can be chosen.
    void onPictureOpened();

private:
    QCheckBox *Check2;
    QComboBox *ComboLine;
    QLabel *Label22;
    QScrollBar *HScrollGrid;
    QScrollBar *VScrollGrid;
    QPushButton *Command18;
};

} // namespace verdalis
