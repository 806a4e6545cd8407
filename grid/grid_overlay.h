#pragma once

#include <QObject>
#include <QString>

namespace verdalis {

class PictureCanvas;
class WorkspaceState;

// The measuring grid over the picture: its spacing, whether it can be and is
// shown, its offsets, and drawing it on the canvas. The grid frame passes the
// user's actions in and copies the state back into its controls on changed().
//
// Show can be ticked only once there is a unit (a calibration) and a spacing
// other than 0 that gives cells of at least one pixel. While shown, any change
// of spacing, calibration or offset draws the grid again from scratch; when it
// goes off, the offsets return to 0 and everything drawn over the picture goes.
class GridOverlay : public QObject {
    Q_OBJECT
public:
    GridOverlay(PictureCanvas &canvas, const WorkspaceState &state, QObject *parent = nullptr);

    // The spacing box's text changed, typed or chosen from its list.
    void setSpacingText(const QString &text);
    // Enter in the spacing box: draws the grid, ticking Show if need be.
    void confirmSpacing();
    // The spacing box lost the keyboard focus: with no spacing the grid goes off.
    void leaveSpacing();
    // Show was ticked or unticked.
    void setShown(bool shown);
    // Offsets in twentieths of a cell, -19 .. 19.
    void setHorizontalOffset(int offset);
    void setVerticalOffset(int offset);
    void centre();

    double spacing() const { return m_spacing; }
    bool canShow() const { return m_canShow; }
    bool isShown() const { return m_shown; }
    bool offsetsEnabled() const { return m_offsetsEnabled; }
    int horizontalOffset() const { return m_horizontal; }
    int verticalOffset() const { return m_vertical; }
    // Why the spacing cannot be drawn; empty when it can (or is 0).
    QString refusal() const { return m_refusal; }

signals:
    void changed();
    // The text is not a number: the spacing box is to be emptied.
    void spacingTextRejected();
    // The grid is about to be drawn: the brush goes off first, so its strokes
    // become part of the picture before the drawings are erased.
    void brushOffRequested();

private:
    // Whether Show can be ticked, after the spacing or the calibration changed;
    // a shown grid is drawn again.
    void applySpacing();
    void updateAvailability();
    void drawGrid();
    void paintLines();

    PictureCanvas &m_canvas;
    const WorkspaceState &m_state;
    double m_spacing = 0.0;
    bool m_canShow = false;
    bool m_shown = false;
    bool m_offsetsEnabled = false;
    int m_horizontal = 0;
    int m_vertical = 0;
    QString m_refusal;
};

} // namespace verdalis
