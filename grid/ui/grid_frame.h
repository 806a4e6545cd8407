#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace verdalis {

class GridOverlay;
class PictureCanvas;
class WorkspaceState;

// The "Grid" frame: the controls of the measuring grid drawn over the picture.
// It passes what the user does to the grid's rules (GridOverlay) and shows their
// state: whether Show can be ticked, the offsets, and in the spacing box's
// tooltip why a spacing is refused.
class GridFrame : public QGroupBox {
    Q_OBJECT
public:
    GridFrame(const WorkspaceState &state, PictureCanvas &canvas, QWidget *parent = nullptr);

    GridOverlay &overlay() const { return *m_overlay; }
    QCheckBox *showBox() const { return m_showBox; }
    QComboBox *spacingBox() const { return m_spacingBox; }
    QLabel *unitLabel() const { return m_unitLabel; }
    QScrollBar *horizontalOffset() const { return m_horizontalOffset; }
    QScrollBar *verticalOffset() const { return m_verticalOffset; }
    QPushButton *centreButton() const { return m_centreButton; }

public slots:
    // A picture was opened: the grid is switched off and a spacing can be chosen.
    void onPictureOpened();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showState();

    GridOverlay *const m_overlay;
    QCheckBox *const m_showBox;
    QComboBox *const m_spacingBox;
    QLabel *const m_unitLabel;
    QScrollBar *const m_horizontalOffset;
    QScrollBar *const m_verticalOffset;
    QPushButton *const m_centreButton;
};

} // namespace verdalis
