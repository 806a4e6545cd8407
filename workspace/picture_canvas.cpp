#include "picture_canvas.h"

#include "picture_reader.h"
#include "sample_geometry.h"

#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace verdalis {

namespace {
constexpr qint64 kNumerator = SampleGeometry::PixelsPerUnitDenominator;
constexpr qint64 kPixelsPerTenth = SampleGeometry::PixelsPerUnitPerTenth;

// More drawn-on pixels than this are cleared by exchanging the overlay's
// memory (4 MB) rather than wiping it.
constexpr qint64 LargeClearPixels = 1 << 20;

// Lets a large image go on a pool thread: giving 100 MB back to the system
// takes the window milliseconds.
void releaseElsewhere(QImage image)
{
    auto held = std::make_shared<QImage>(std::move(image));
    QThreadPool::globalInstance()->start([held] { *held = QImage(); });
}

// A transparent overlay, all zero bytes. Memory the system hands out zeroed
// costs nothing until it is drawn on, where filling 100 MB for a large picture
// would hold the window for tens of milliseconds.
QImage transparentOverlay(const QSize &size)
{
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(qMax(0, size.height()));
    void *memory = bytes > 0 ? std::calloc(bytes, 1) : nullptr;
    if (!memory) {
        QImage overlay(size, QImage::Format_ARGB32_Premultiplied);
        overlay.fill(Qt::transparent);
        return overlay;
    }
    return QImage(
        static_cast<uchar *>(memory), size.width(), size.height(), bytesPerLine,
        QImage::Format_ARGB32_Premultiplied, [](void *data) { std::free(data); }, memory);
}
} // namespace

PictureCanvas::PictureCanvas(QObject *parent) : QObject(parent)
{
}

PictureCanvas::~PictureCanvas() = default;

bool PictureCanvas::load(const QString &path, QString *error)
{
    const QImage image = readPicture(path, error);
    if (image.isNull())
        return false;
    setPicture(image);
    return true;
}

QImage PictureCanvas::preparedOverlay(const QSize &pixelSize)
{
    QImage overlay(pixelSize, QImage::Format_ARGB32_Premultiplied);
    overlay.fill(Qt::transparent);
    return overlay;
}

void PictureCanvas::setPicture(const QImage &picture, const QImage &overlay)
{
    endDrawingBatch();
    releaseElsewhere(std::exchange(m_picture, picture.convertToFormat(QImage::Format_RGB32)));
    m_picture.setDevicePixelRatio(1.0);
    if (overlay.size() == m_picture.size() &&
        overlay.format() == QImage::Format_ARGB32_Premultiplied) {
        releaseElsewhere(std::exchange(m_overlay, overlay));
        m_drawnSpans.assign(std::size_t(qMax(0, m_overlay.height())), DrawnSpan());
        m_drawnRect = QRect();
    } else if (m_overlay.size() == m_picture.size()) {
        // A picture of the size before (the next scan of a batch) keeps the
        // overlay's memory, emptied where it was drawn on.
        eraseDrawings();
    } else {
        m_overlay = QImage(); // the old memory goes before the new is asked for
        m_overlay = transparentOverlay(m_picture.size());
        m_drawnSpans.assign(std::size_t(qMax(0, m_overlay.height())), DrawnSpan());
        m_drawnRect = QRect();
    }
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
    return SampleGeometry::lastSample(m_picture.width(), m_tenths);
}

qint64 PictureCanvas::maxY() const
{
    return SampleGeometry::lastSample(m_picture.height(), m_tenths);
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
    // A fractional coordinate is in general a mouse position p (pixels) taken
    // into units by unitsFromPixels. Going back with pixelsFromUnits can round to
    // just below p, and the floor would then name the pixel before the one under
    // the mouse. So the estimate is settled against the forward mapping itself:
    // the pixel is the one whose left edge, in units, lies at or before `units`
    // and whose right edge lies after it. unitsFromPixels is monotonic, so this
    // gives back p for every whole p, at every unit step.
    qint64 pixel = qint64(std::floor(pixelsFromUnits(units)));
    if (unitsFromPixels(double(pixel + 1)) <= units)
        ++pixel;
    else if (unitsFromPixels(double(pixel)) > units)
        --pixel;
    return pixel;
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
    if (m_picture.isNull() || px < 0 || py < 0 || px >= m_picture.width() ||
        py >= m_picture.height())
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

std::vector<int> PictureCanvas::dotRowHalfWidths(int widthPixels)
{
    // A pixel at (dx, dy) pixels from the centre pixel is in the dot when its
    // centre is within width/2: 4 (dx^2 + dy^2) <= width^2, in integers.
    const int width = qMax(1, widthPixels);
    const int reach = width / 2;
    std::vector<int> rows;
    rows.reserve(2 * reach + 1);
    for (int dy = -reach; dy <= reach; ++dy) {
        int half = reach;
        while (4 * (half * half + dy * dy) > width * width)
            --half;
        rows.push_back(half);
    }
    return rows;
}

void PictureCanvas::drawPoint(QPointF units)
{
    if (m_overlay.isNull())
        return;
    if (m_dotWidth != m_penWidth) {
        m_dotRows = dotRowHalfWidths(m_penWidth);
        m_dotWidth = m_penWidth;
    }
    const qint64 x = pixelIndex(units.x());
    const qint64 y = pixelIndex(units.y());
    const int reach = int(m_dotRows.size() / 2);
    if (x < -reach || y < -reach || x > m_overlay.width() + reach || y > m_overlay.height() + reach)
        return;
    const int centreX = int(x);
    const int centreY = int(y);
    const QRect dot = QRect(centreX - reach, centreY - reach, 2 * reach + 1, 2 * reach + 1)
                          .intersected(m_overlay.rect());
    if (dot.isEmpty())
        return;
    const QRgb colour = m_penColour.rgb() | 0xFF000000u;
    uchar *const bits = m_overlay.bits();
    const qsizetype bytesPerLine = m_overlay.bytesPerLine();
    for (int row = dot.top(); row <= dot.bottom(); ++row) {
        const int half = m_dotRows[std::size_t(row - (centreY - reach))];
        const int left = qMax(dot.left(), centreX - half);
        const int right = qMin(dot.right(), centreX + half);
        auto *pixels = reinterpret_cast<QRgb *>(bits + row * bytesPerLine);
        std::fill(pixels + left, pixels + right + 1, colour);
        markDrawn(row, left, right);
    }
    drawn(dot);
}

void PictureCanvas::drawColumnDots(qint64 x, qint64 yFirst, qint64 count)
{
    if (m_overlay.isNull() || count <= 0 || x < 0 || yFirst < 0)
        return;
    if (m_dotWidth != m_penWidth) {
        m_dotRows = dotRowHalfWidths(m_penWidth);
        m_dotWidth = m_penWidth;
    }
    const qint64 reach = qint64(m_dotRows.size() / 2);
    const qint64 centreX = pixelIndex(double(x));
    const qint64 topCentre = pixelIndex(double(yFirst));
    if (centreX > m_overlay.width() + reach || topCentre > m_overlay.height() + reach)
        return;
    const qint64 pixelsPerTenth = kPixelsPerTenth * m_tenths;
    // The rows the stretch's dots cover, clipped to the overlay, each with the
    // widest half-width of the dots that reach it.
    const qint64 lastY = yFirst + count - 1;
    const qint64 top = qMax<qint64>(0, topCentre - reach);
    const qint64 bottom =
        qMin<qint64>(m_overlay.height() - 1, lastY * pixelsPerTenth / kNumerator + reach);
    if (top > bottom)
        return;
    m_stretchRows.assign(std::size_t(bottom - top + 1), -1);
    qint64 lastCentre = -1;
    for (qint64 y = yFirst; y <= lastY; ++y) {
        const qint64 centre = y * pixelsPerTenth / kNumerator;
        if (centre == lastCentre)
            continue; // the same dot again
        lastCentre = centre;
        if (centre - reach > bottom)
            break;
        for (qint64 dy = -reach; dy <= reach; ++dy) {
            const qint64 row = centre + dy;
            if (row < top || row > bottom)
                continue;
            int &half = m_stretchRows[std::size_t(row - top)];
            half = qMax(half, m_dotRows[std::size_t(dy + reach)]);
        }
    }
    const QRgb colour = m_penColour.rgb() | 0xFF000000u;
    uchar *const bits = m_overlay.bits();
    const qsizetype bytesPerLine = m_overlay.bytesPerLine();
    const int lastColumn = m_overlay.width() - 1;
    int paintedLeft = INT_MAX;
    int paintedRight = -1;
    int paintedTop = -1;
    int paintedBottom = -1;
    for (qint64 row = top; row <= bottom; ++row) {
        const int half = m_stretchRows[std::size_t(row - top)];
        if (half < 0)
            continue;
        const int left = int(qMax<qint64>(0, centreX - half));
        const int right = int(qMin<qint64>(lastColumn, centreX + half));
        if (left > right)
            continue;
        auto *pixels = reinterpret_cast<QRgb *>(bits + row * bytesPerLine);
        std::fill(pixels + left, pixels + right + 1, colour);
        markDrawn(int(row), left, right);
        paintedLeft = qMin(paintedLeft, left);
        paintedRight = qMax(paintedRight, right);
        if (paintedTop < 0)
            paintedTop = int(row);
        paintedBottom = int(row);
    }
    if (paintedTop >= 0)
        drawn(QRect(QPoint(paintedLeft, paintedTop), QPoint(paintedRight, paintedBottom)));
}

void PictureCanvas::drawLine(QPointF fromUnits, QPointF toUnits)
{
    if (m_overlay.isNull())
        return;
    const QPointF from = pixelCentre(fromUnits);
    const QPointF to = pixelCentre(toUnits);
    QPainter painter(&m_overlay);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(m_penColour, m_penWidth, m_dotted ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(from, to);
    const int margin = m_penWidth + 1;
    const QRect line =
        QRectF(from, to).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    const QRect onOverlay = line.intersected(m_overlay.rect());
    for (int row = onOverlay.top(); row <= onOverlay.bottom(); ++row)
        markDrawn(row, onOverlay.left(), onOverlay.right());
    drawn(line);
}

void PictureCanvas::markDrawn(int row, int left, int right)
{
    DrawnSpan &span = m_drawnSpans[std::size_t(row)];
    span.first = qMin(span.first, left);
    span.last = qMax(span.last, right);
}

void PictureCanvas::drawHairlines(const std::vector<float> &xUnits,
                                  const std::vector<float> &yUnits)
{
    if (m_overlay.isNull())
        return;
    const auto pixelsInside = [this](const std::vector<float> &units, int size) {
        std::vector<int> pixels;
        pixels.reserve(units.size());
        for (const float unit : units)
            if (const qint64 pixel = pixelIndex(unit); pixel >= 0 && pixel < size)
                pixels.push_back(int(pixel));
        return pixels;
    };
    const std::vector<int> columns = pixelsInside(xUnits, m_overlay.width());
    const std::vector<int> rows = pixelsInside(yUnits, m_overlay.height());
    if (columns.empty() && rows.empty())
        return;
    const QRgb colour = m_penColour.rgb() | 0xFF000000u;
    // Row by row, so the columns are written in memory order.
    const auto [leftmost, rightmost] = std::minmax_element(columns.begin(), columns.end());
    for (int y = 0; y < m_overlay.height(); ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(m_overlay.scanLine(y));
        for (const int x : columns)
            pixels[x] = colour;
        if (!columns.empty())
            markDrawn(y, *leftmost, *rightmost);
    }
    for (const int y : rows) {
        auto *pixels = reinterpret_cast<QRgb *>(m_overlay.scanLine(y));
        std::fill(pixels, pixels + m_overlay.width(), colour);
        markDrawn(y, 0, m_overlay.width() - 1);
    }
    drawn(m_overlay.rect());
}

void PictureCanvas::clearDrawings()
{
    endDrawingBatch();
    const QRect drawnArea = m_drawnRect.intersected(m_overlay.rect());
    if (qint64(drawnArea.width()) * drawnArea.height() > LargeClearPixels) {
        // Wiping an analysis's dots off a large picture would hold the window
        // for tens of milliseconds: the overlay takes fresh zeroed memory
        // instead, and the old one is let go on another thread.
        releaseElsewhere(std::exchange(m_overlay, transparentOverlay(m_overlay.size())));
        m_drawnSpans.assign(std::size_t(qMax(0, m_overlay.height())), DrawnSpan());
        m_drawnRect = QRect();
        emit drawingsChanged(drawnArea);
        return;
    }
    const QRect erased = eraseDrawings();
    if (!erased.isEmpty())
        emit drawingsChanged(erased);
}

QRect PictureCanvas::eraseDrawings()
{
    const QRect drawn = m_drawnRect.intersected(m_overlay.rect());
    m_drawnRect = QRect();
    // Only what was drawn is cleared, row by row: the measuring line, redrawn at
    // every mouse move, then costs its own few pixels even on a very large
    // picture, and an analysis's dots the rows' stretches they lie on.
    for (int row = drawn.top(); row <= drawn.bottom(); ++row) {
        DrawnSpan &span = m_drawnSpans[std::size_t(row)];
        if (span.first <= span.last)
            std::memset(m_overlay.scanLine(row) + qsizetype(span.first) * 4, 0,
                        qsizetype(span.last - span.first + 1) * 4);
        span = DrawnSpan();
    }
    return drawn;
}

void PictureCanvas::beginDrawingBatch()
{
    if (m_batching || m_overlay.isNull())
        return;
    m_batching = true;
    m_batchRect = QRect();
}

void PictureCanvas::endDrawingBatch()
{
    if (!m_batching)
        return;
    m_batching = false;
    const QRect rect = m_batchRect;
    m_batchRect = QRect();
    m_drawnRect |= rect;
    if (!rect.isEmpty())
        emit drawingsChanged(rect);
}

void PictureCanvas::drawn(const QRect &pixelRect)
{
    if (m_batching) {
        m_batchRect |= pixelRect;
        return;
    }
    m_drawnRect |= pixelRect;
    emit drawingsChanged(pixelRect);
}

void PictureCanvas::bakeDrawings()
{
    if (m_picture.isNull())
        return;
    setPicture(composedImage());
}

} // namespace verdalis
