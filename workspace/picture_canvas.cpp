#include "picture_canvas.h"

#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace verdalis {

namespace {
// Units per pixel at tenths k: 127 / (48k).
constexpr qint64 kNumerator = 127;
constexpr qint64 kPixelsPerTenth = 48;
} // namespace

PictureCanvas::PictureCanvas(QObject *parent) : QObject(parent) {}

PictureCanvas::~PictureCanvas() = default;

bool PictureCanvas::load(const QString &path, QString *error)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    setPicture(image);
    return true;
}

void PictureCanvas::setPicture(const QImage &picture)
{
    endDrawingBatch();
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(1.0);
    m_overlay = QImage(m_picture.size(), QImage::Format_ARGB32);
    m_overlay.fill(Qt::transparent);
    emit pictureChanged();
}

QImage PictureCanvas::composedImage() const
{
    QImage image = m_picture;
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.drawImage(0, 0, m_overlay);
    return image;
}

void PictureCanvas::setUnitStepTenths(int tenths)
{
    tenths = qBound(1, tenths, 10);
    if (tenths == m_tenths)
        return;
    m_tenths = tenths;
    emit unitStepChanged(tenths);
}

double PictureCanvas::widthUnits() const
{
    return unitsFromPixels(m_picture.width());
}

double PictureCanvas::heightUnits() const
{
    return unitsFromPixels(m_picture.height());
}

qint64 PictureCanvas::maxX() const
{
    return qint64(m_picture.width()) * kNumerator / (kPixelsPerTenth * m_tenths);
}

qint64 PictureCanvas::maxY() const
{
    return qint64(m_picture.height()) * kNumerator / (kPixelsPerTenth * m_tenths);
}

qint64 PictureCanvas::pixelIndex(double units) const
{
    if (units == std::floor(units) && std::abs(units) < 1e15) {
        // Whole coordinates use exact integer arithmetic, so a sample never lands
        // on a neighbouring pixel through a rounding error.
        const qint64 whole = qint64(units);
        const qint64 product = whole * kPixelsPerTenth * m_tenths;
        return product >= 0 ? product / kNumerator : -((-product + kNumerator - 1) / kNumerator);
    }
    return qint64(std::floor(pixelsFromUnits(units)));
}

double PictureCanvas::unitsFromPixels(double pixels) const
{
    return pixels * double(kNumerator) / double(kPixelsPerTenth * m_tenths);
}

double PictureCanvas::pixelsFromUnits(double units) const
{
    return units * double(kPixelsPerTenth * m_tenths) / double(kNumerator);
}

qint32 PictureCanvas::colourAt(double x, double y) const
{
    const qint64 px = pixelIndex(x);
    const qint64 py = pixelIndex(y);
    if (m_picture.isNull() || px < 0 || py < 0 || px >= m_picture.width()
        || py >= m_picture.height())
        return -1;
    QRgb rgb = reinterpret_cast<const QRgb *>(m_overlay.constScanLine(int(py)))[px];
    if (qAlpha(rgb) != 255)
        rgb = reinterpret_cast<const QRgb *>(m_picture.constScanLine(int(py)))[px];
    return qBlue(rgb) * 65536 + qGreen(rgb) * 256 + qRed(rgb);
}

void PictureCanvas::setPen(const QColor &colour, int widthPixels)
{
    m_penColour = colour;
    m_penWidth = qMax(1, widthPixels);
}

QPointF PictureCanvas::pixelCentre(QPointF units) const
{
    return QPointF(pixelIndex(units.x()) + 0.5, pixelIndex(units.y()) + 0.5);
}

QPainter &PictureCanvas::overlayPainter(std::optional<QPainter> &own)
{
    if (m_batchPainter)
        return *m_batchPainter;
    own.emplace(&m_overlay);
    own->setRenderHint(QPainter::Antialiasing, false);
    return *own;
}

void PictureCanvas::drawPoint(QPointF units)
{
    if (m_overlay.isNull())
        return;
    const QPointF centre = pixelCentre(units);
    std::optional<QPainter> ownPainter;
    QPainter &painter = overlayPainter(ownPainter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_penColour);
    QRect rect;
    if (m_penWidth <= 1) {
        rect = QRect(int(std::floor(centre.x())), int(std::floor(centre.y())), 1, 1);
        painter.fillRect(rect, m_penColour);
    } else {
        const double radius = m_penWidth / 2.0;
        painter.drawEllipse(centre, radius, radius);
        rect = QRect(int(centre.x() - radius) - 1, int(centre.y() - radius) - 1,
                     m_penWidth + 2, m_penWidth + 2);
    }
    drawn(rect);
}

void PictureCanvas::drawLine(QPointF fromUnits, QPointF toUnits)
{
    if (m_overlay.isNull())
        return;
    const QPointF from = pixelCentre(fromUnits);
    const QPointF to = pixelCentre(toUnits);
    std::optional<QPainter> ownPainter;
    QPainter &painter = overlayPainter(ownPainter);
    QPen pen(m_penColour, m_penWidth, m_dotted ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(from, to);
    const int margin = m_penWidth + 1;
    drawn(QRectF(from, to).normalized().toAlignedRect().adjusted(-margin, -margin, margin,
                                                                  margin));
}

void PictureCanvas::clearDrawings()
{
    endDrawingBatch();
    if (m_overlay.isNull())
        return;
    m_overlay.fill(Qt::transparent);
    emit drawingsChanged(m_overlay.rect());
}

void PictureCanvas::beginDrawingBatch()
{
    if (m_batchPainter || m_overlay.isNull())
        return;
    m_batchPainter = std::make_unique<QPainter>(&m_overlay);
    m_batchPainter->setRenderHint(QPainter::Antialiasing, false);
    m_batchRect = QRect();
}

void PictureCanvas::endDrawingBatch()
{
    if (!m_batchPainter)
        return;
    m_batchPainter.reset();
    const QRect rect = m_batchRect;
    m_batchRect = QRect();
    if (!rect.isEmpty())
        emit drawingsChanged(rect);
}

void PictureCanvas::drawn(const QRect &pixelRect)
{
    if (m_batchPainter)
        m_batchRect |= pixelRect;
    else
        emit drawingsChanged(pixelRect);
}

void PictureCanvas::bakeDrawings()
{
    if (m_picture.isNull())
        return;
    setPicture(composedImage());
}

} // namespace verdalis
