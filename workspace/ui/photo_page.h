#pragma once

#include "main_window_layout.h"
#include "open_picture_hint.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QScrollBar;
class QStackedWidget;
class QTimer;

namespace verdalis {

class PictureCanvas;
class PictureView;
class WorkspaceState;

// The "Photo" page: the picture inside its viewport with the two scroll bars,
// the open-picture hint shown until the first picture, the progress bar, the
// leaf area read-out, and the right-hand strip where the measurements frame and
// the custom detection frame take turns.
class PhotoPage : public QWidget {
    Q_OBJECT
public:
    PhotoPage(PictureCanvas &canvas, WorkspaceState &state, QWidget *parent = nullptr);

    // Places the controls for the window's geometry (twips, in the tab control's
    // frame) and fits the picture.
    void applyLayout(const WindowGeometry &geometry);
    // Centres the picture, or sets the scroll bars to its middle, for each axis.
    void fitPicture();
    // A picture is there: the picture replaces the hint, which stops for good.
    void showPicture();
    bool isHintRunning() const;
    // A picture is being read: a moving bar and a line over the viewport say
    // so, and go when it is there (or could not be read).
    void showLoading(bool loading);
    // The unit of the leaf area (areaUnitLabel); the square mark areaSquareMark follows its
    // end, and stands only beside a unit.
    void setAreaUnit(const QString &unit);
    // The leaf area figure, whole: the box widens for it as far as the page allows,
    // and its tooltip holds it too.
    void showLeafArea(const QString &figure);
    void clearLeafArea();

    QWidget *const pictureViewport; // the viewport
    PictureView *const pictureView;
    QLabel *const hintLabel;    // shows the hint
    QLabel *const loadingLabel; // "Loading the picture..." while one is read
    const std::array<QPixmap, OpenPictureHint::FrameCount> hintFrames;
    QTimer *const hintTimer;
    QScrollBar *const horizontalScroll;
    QScrollBar *const verticalScroll;
    QProgressBar *const progressBar;
    QLabel *const leafAreaCaption;
    QLineEdit *const leafAreaBox;
    QLabel *const areaUnitLabel;
    QLabel *const areaSquareMark;
    // The "Measurements" frame and the "Custom detection system" frame take turns here.
    QStackedWidget *const toolPanels;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showNextHintFrame();
    void scrollPictureHorizontally(int value);
    void scrollPictureVertically(int value);
    void placeControls();
    void placeUnitSuperscript();
    void fitLeafAreaBox();
    // A figure shown was measured under the calibration before: it goes, and the
    // unit shown is the new one.
    void calibrationChanged();
    QPoint tabFrameOffset() const;

    WorkspaceState &m_state;
    OpenPictureHint m_hint;
    std::optional<WindowGeometry> m_geometry;
};

} // namespace verdalis
