#pragma once

#include <QPointF>
#include <QWidget>

namespace verdalis {

class PictureCanvas;

// The picture of the workspace (picture plus drawings) shown 1:1 in
// device-independent pixels. It takes the picture's size whenever the picture is
// replaced and reports mouse work in picture units. The cross-hair is its pointer
// unless a tool sets another with setCursor().
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(PictureCanvas &canvas, QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    // Positions in picture units; buttons are those held during the event
    // (for a press, the button pressed).
    void mouseDown(QPointF units, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseMove(QPointF units, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseUp(QPointF units, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void followPicture();
    QPointF unitsAt(const QPointF &pixels) const;

    PictureCanvas &m_canvas;
};

} // namespace verdalis
