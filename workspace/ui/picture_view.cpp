#include "picture_view.h"

#include "picture_canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace verdalis {

PictureView::PictureView(PictureCanvas &canvas, QWidget *parent) : QWidget(parent), m_canvas(canvas)
{
    setObjectName(QStringLiteral("pictureView"));
    setCursor(Qt::CrossCursor);
    // Tools react to moves without a button held (the measuring line follows).
    setMouseTracking(true);
    // The picture covers every pixel it paints: no background fill needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_canvas, &PictureCanvas::pictureChanged, this, &PictureView::followPicture);
    connect(&m_canvas, &PictureCanvas::drawingsChanged, this,
            [this](const QRect &pixelRect) { update(pixelRect); });
    followPicture();
}

QSize PictureView::sizeHint() const
{
    return m_canvas.pixelSize();
}

void PictureView::followPicture()
{
    resize(m_canvas.pixelSize());
    update();
}

void PictureView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (!m_canvas.hasPicture()) {
        painter.fillRect(area, palette().window());
        return;
    }
    // One picture pixel per device-independent pixel; only the exposed part is
    // drawn, so a stroke repaints a few pixels rather than the whole picture.
    painter.drawImage(area.topLeft(), m_canvas.picture(), area);
    painter.drawImage(area.topLeft(), m_canvas.overlay(), area);
}

QPointF PictureView::unitsAt(const QPointF &pixels) const
{
    return {m_canvas.unitsFromPixels(pixels.x()), m_canvas.unitsFromPixels(pixels.y())};
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(unitsAt(event->position()), event->button(), event->modifiers());
}

void PictureView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(unitsAt(event->position()), event->buttons(), event->modifiers());
}

void PictureView::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(unitsAt(event->position()), event->button(), event->modifiers());
}

} // namespace verdalis
