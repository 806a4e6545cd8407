#include "workspace_icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace verdalis {
namespace WorkspaceIcons {

namespace {

const QColor LeafGreen(70, 150, 60);
const QColor FolderBack(196, 142, 40);
const QColor FolderFront(238, 188, 72);
const QColor PaperEdge(120, 120, 120);

// Renders a square icon drawn in a 32 x 32 coordinate system.
template <typename Draw> QPixmap renderIcon(qreal deviceRatio, Draw draw)
{
    const int logical = 32;
    QPixmap pixmap(int(logical * deviceRatio), int(logical * deviceRatio));
    pixmap.setDevicePixelRatio(deviceRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

template <typename Draw> QIcon makeIcon(Draw draw)
{
    QIcon icon;
    icon.addPixmap(renderIcon(1.0, draw));
    icon.addPixmap(renderIcon(2.0, draw));
    return icon;
}

// A leaf filling box, stem at the bottom left, tip at the top right.
void drawLeaf(QPainter &p, const QRectF &box, const QColor &fill)
{
    auto at = [&box](qreal x, qreal y) {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    QPainterPath leaf;
    leaf.moveTo(at(0.18, 0.82));
    leaf.cubicTo(at(0.05, 0.40), at(0.45, 0.05), at(0.95, 0.05));
    leaf.cubicTo(at(0.95, 0.55), at(0.60, 0.95), at(0.18, 0.82));
    p.save();
    p.setPen(QPen(fill.darker(150), qMax(0.8, box.width() / 28.0)));
    p.setBrush(fill);
    p.drawPath(leaf);
    // Stem and midrib.
    p.setPen(QPen(fill.lighter(150), qMax(0.8, box.width() / 24.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(0.05, 0.95), at(0.80, 0.20));
    p.restore();
}

// A small photograph: white card with a leaf on it.
void drawPhotoCard(QPainter &p, const QRectF &card)
{
    p.setPen(QPen(PaperEdge, 1.0));
    p.setBrush(Qt::white);
    p.drawRect(card);
    const qreal inset = card.width() * 0.14;
    drawLeaf(p, card.adjusted(inset, inset, -inset, -inset), LeafGreen);
}

void drawArrowHead(QPainter &p, QPointF tip, QPointF direction, qreal size, const QColor &colour)
{
    const qreal length = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / length;
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << tip << tip - d * size + n * size * 0.6 << tip - d * size - n * size * 0.6;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// An open folder whose back and front halves leave room to slip a card between.
void drawFolderBack(QPainter &p, const QRectF &box)
{
    QPainterPath back;
    const qreal tab = box.width() * 0.38;
    back.moveTo(box.left(), box.bottom());
    back.lineTo(box.left(), box.top() + box.height() * 0.12);
    back.lineTo(box.left() + box.width() * 0.05, box.top());
    back.lineTo(box.left() + tab, box.top());
    back.lineTo(box.left() + tab + box.width() * 0.06, box.top() + box.height() * 0.12);
    back.lineTo(box.right(), box.top() + box.height() * 0.12);
    back.lineTo(box.right(), box.bottom());
    back.closeSubpath();
    p.setPen(QPen(FolderBack.darker(130), 1.0));
    p.setBrush(FolderBack);
    p.drawPath(back);
}

void drawFolderFront(QPainter &p, const QRectF &box)
{
    QPolygonF front;
    const qreal skew = box.width() * 0.12;
    front << QPointF(box.left() + skew, box.top() + box.height() * 0.38)
          << QPointF(box.right() + skew * 0.5, box.top() + box.height() * 0.38)
          << QPointF(box.right(), box.bottom()) << QPointF(box.left(), box.bottom());
    p.setPen(QPen(FolderFront.darker(140), 1.0));
    p.setBrush(FolderFront);
    p.drawPolygon(front);
}

} // namespace

QIcon openPicture()
{
    return makeIcon([](QPainter &p) {
        const QRectF folder(2, 9, 26, 20);
        drawFolderBack(p, folder);
        drawPhotoCard(p, QRectF(9, 4, 15, 15));
        drawFolderFront(p, folder);
    });
}

QIcon reloadPicture()
{
    return makeIcon([](QPainter &p) {
        drawPhotoCard(p, QRectF(9, 9, 14, 14));
        const QColor arrow(40, 110, 190);
        p.setPen(QPen(arrow, 2.6, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        const QRectF ring(3, 3, 26, 26);
        // Angles in 1/16 degree, counter-clockwise from three o'clock.
        p.drawArc(ring, 100 * 16, 290 * 16);
        drawArrowHead(p, QPointF(13.5, 2.0), QPointF(-1.0, -0.25), 6.5, arrow);
    });
}

QIcon pictureSet()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(PaperEdge, 1.0));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(12.5, 2.5, 17, 17));
        p.setBrush(QColor(244, 244, 244));
        p.drawRect(QRectF(7.5, 7.5, 17, 17));
        drawPhotoCard(p, QRectF(2.5, 12.5, 17, 17));
    });
}

QIcon help()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(QColor(25, 80, 150), 1.0));
        p.setBrush(QColor(45, 115, 200));
        p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
        QFont font;
        font.setBold(true);
        font.setPixelSize(21);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 27, 27), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon program()
{
    return makeIcon([](QPainter &p) { drawLeaf(p, QRectF(1, 1, 30, 30), LeafGreen); });
}

QPixmap analyze()
{
    QPixmap pixmap(50, 35);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawLeaf(p, QRectF(1, 1, 33, 33), LeafGreen);
    // Symptom spots on the leaf.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 80, 30));
    p.drawEllipse(QPointF(14, 13), 2.6, 2.2);
    p.drawEllipse(QPointF(21, 17), 2.0, 2.0);
    p.drawEllipse(QPointF(12, 22), 1.6, 1.8);
    // Magnifier over the right half.
    p.setPen(QPen(QColor(60, 60, 60), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42, 27), QPointF(48, 33));
    p.setPen(QPen(QColor(60, 60, 60), 2.2));
    p.setBrush(QColor(200, 225, 255, 110));
    p.drawEllipse(QPointF(35, 20), 8.5, 8.5);
    return pixmap;
}

namespace {
// Rubber bulb top right, glass tube down to the tip at (3, 29) of the 32 x 32
// drawing, a drop of sap at the tip.
void drawEyedropper(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 60), 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 13), QPointF(6.5, 25.5));
    p.setPen(QPen(QColor(150, 210, 240), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17.5, 14.5), QPointF(8, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(24, 8), 5.6, 5.6);
    p.setPen(QPen(QColor(40, 40, 40), 3.2));
    p.drawLine(QPointF(16, 10), QPointF(22, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 140, 60));
    p.drawEllipse(QPointF(4, 28), 2.4, 2.4);
}
} // namespace

QIcon eyedropper()
{
    return makeIcon(drawEyedropper);
}

QCursor eyedropperCursor()
{
    // A white halo keeps the pointer visible on dark leaves and black backgrounds.
    QPixmap pointer = renderIcon(1.0, [](QPainter &p) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 8.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 10), QPointF(5, 27));
        drawEyedropper(p);
    });
    return QCursor(pointer, 3, 29);
}

QPixmap hintFrame(int index)
{
    const int step = qBound(0, index, 3);
    QPixmap pixmap(150, 120);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QPen(QColor(175, 180, 185), 1.0));
    p.setBrush(QColor(250, 250, 248));
    p.drawRoundedRect(QRectF(0.5, 0.5, 149, 119), 10, 10);

    // A picture rises out of an open folder, a little further in each frame.
    const QRectF folder(40, 62, 70, 48);
    drawFolderBack(p, folder);
    const qreal rise = 9.0 * step;
    drawPhotoCard(p, QRectF(52, 58 - rise, 44, 40));
    drawFolderFront(p, folder);

    // An arrow towards the top left, where the buttons that open pictures sit.
    const QColor arrow(40, 110, 190);
    const qreal reach = 4.0 * step;
    const QPointF tail(34 - reach * 0.3, 50 - reach * 0.3);
    const QPointF tip(14 - reach, 14 - reach * 0.6);
    p.setPen(QPen(arrow, 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tail, tip + (tail - tip) * 0.18);
    drawArrowHead(p, tip, tip - tail, 13.0, arrow);
    return pixmap;
}

} // namespace WorkspaceIcons
} // namespace verdalis
