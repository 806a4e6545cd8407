#include "measure_icons.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace verdalis {

namespace {
constexpr int kSize = 24; // pixels

QPixmap drawn(const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

QPixmap disc(const QColor &colour, const std::function<void(QPainter &)> &mark)
{
    return drawn([&](QPainter &p) {
        p.setPen(QPen(colour.darker(140), 1));
        p.setBrush(colour);
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        mark(p);
    });
}
} // namespace

QPixmap MeasureIcons::notCalibrated()
{
    return disc(QColor(200, 40, 40), [](QPainter &p) {
        p.drawLine(QPointF(8, 8), QPointF(16, 16));
        p.drawLine(QPointF(16, 8), QPointF(8, 16));
    });
}

QPixmap MeasureIcons::calibrated()
{
    return disc(QColor(40, 150, 60), [](QPainter &p) {
        QPainterPath tick(QPointF(7, 12.5));
        tick.lineTo(10.5, 16);
        tick.lineTo(17, 8);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    });
}

QIcon MeasureIcons::calibrate()
{
    return QIcon(drawn([](QPainter &p) {
        // A ruler lying across the icon, with ticks every 3 pixels.
        p.translate(12, 12);
        p.rotate(-35);
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(-11, -4, 22, 8));
        for (int i = 0; i < 7; ++i) {
            const double x = -9 + 3 * i;
            p.drawLine(QPointF(x, -4), QPointF(x, i % 2 ? -1.5 : 0.5));
        }
    }));
}

QIcon MeasureIcons::saveCalibration()
{
    return QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(30, 50, 110), 1));
        p.setBrush(QColor(60, 100, 190));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(6, 13, 12, 7.5));
    }));
}

QIcon MeasureIcons::loadCalibration()
{
    return QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(140, 100, 20), 1));
        p.setBrush(QColor(230, 180, 60));
        QPainterPath back(QPointF(2, 6));
        back.lineTo(9, 6);
        back.lineTo(11, 8);
        back.lineTo(20, 8);
        back.lineTo(20, 20);
        back.lineTo(2, 20);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 210, 100));
        QPainterPath flap(QPointF(5, 11));
        flap.lineTo(23, 11);
        flap.lineTo(20, 20);
        flap.lineTo(2, 20);
        flap.closeSubpath();
        p.drawPath(flap);
    }));
}

QIcon MeasureIcons::notes()
{
    return QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(QColor(255, 252, 220));
        p.drawRect(QRectF(4.5, 2.5, 15, 19));
        p.setPen(QPen(QColor(80, 120, 200), 1));
        for (int y = 7; y <= 18; y += 3)
            p.drawLine(QPointF(7, y), QPointF(17, y));
    }));
}

} // namespace verdalis
