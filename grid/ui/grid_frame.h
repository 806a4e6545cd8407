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

    QCheckBox *showBox() const { return m_showBox; }
    QComboBox *spacingBox() const { return m_spacingBox; }
    QLabel *unitLabel() const { return m_unitLabel; }
    QScrollBar *horizontalOffset() const { return m_horizontalOffset; }
    QScrollBar *verticalOffset() const { return m_verticalOffset; }
    QPushButton *centreButton() const { return m_centreButton; }

public slots:
    // A picture was opened: the grid is switched off and a spacing can be chosen.
    void onPictureOpened();

private:
    QCheckBox *const m_showBox;
    QComboBox *const m_spacingBox;
    QLabel *const m_unitLabel;
    QScrollBar *const m_horizontalOffset;
    QScrollBar *const m_verticalOffset;
    QPushButton *const m_centreButton;
};

} // namespace verdalis
