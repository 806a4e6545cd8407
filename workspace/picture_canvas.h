#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRect>

#include <climits>
#include <vector>

namespace verdalis {

// The picture of the workspace and the drawings over it, in picture units.
//
// One picture pixel is 25.4/96 display millimetres; one picture unit is unitStep
// display millimetres, unitStep = k/10. So one unit is 48k/127 pixels and the
// sample at whole unit coordinate (x, y) is pixel ((x*48k) div 127, (y*48k) div 127),
// in exact integer arithmetic. Drawings live on an overlay that can be cleared
// without touching the picture; reading a colour sees picture plus drawings.
class PictureCanvas : public QObject {
    Q_OBJECT
public:
    explicit PictureCanvas(QObject *parent = nullptr);
    ~PictureCanvas() override;

    // Loads a picture file. On failure returns false, puts the reader's reason in
    // *error and keeps the picture shown until now.
    bool load(const QString &path, QString *error);
    // Replaces the picture (any format; kept as RGB32) and clears the drawings.
    // An overlay made beforehand for it (preparedOverlay, on another thread)
    // is taken as the drawings' memory.
    void setPicture(const QImage &picture, const QImage &overlay = QImage());
    // Transparent drawings' memory for a picture, every page of it already
    // written: what an analysis would otherwise pay for page by page as it
    // paints, made where the time does not hold the window.
    static QImage preparedOverlay(const QSize &pixelSize);
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage &picture() const { return m_picture; }
    const QImage &overlay() const { return m_overlay; }
    // The picture with the drawings on top, as the user sees it.
    QImage composedImage() const;

    // Coordinate system: unitStep = tenths / 10, tenths 1..10.
    int unitStepTenths() const { return m_tenths; }
    double unitStep() const { return m_tenths / 10.0; }
    void setUnitStepTenths(int tenths);

    // Size in pixels and in picture units (fractional in general).
    QSize pixelSize() const { return m_picture.size(); }
    double widthUnits() const;
    double heightUnits() const;
    // Last whole column and row: floor of the size in units, computed exactly.
    qint64 maxX() const;
    qint64 maxY() const;

    // Unit coordinate -> index of the pixel it lies on, and pixel position ->
    // units. The two agree exactly: pixelIndex(unitsFromPixels(p)) is floor(p)
    // for every pixel position p at every unit step, so a tool that reads or
    // draws at a mouse position lands on the pixel under the mouse.
    qint64 pixelIndex(double units) const;
    double unitsFromPixels(double pixels) const;
    double pixelsFromUnits(double units) const;

    // Packed colour blue*65536 + green*256 + red of what is shown at (x, y)
    // (picture plus drawings), -1 outside the picture.
    qint32 colourAt(double x, double y) const;

    // Pen for the next drawings; width in pixels.
    void setPen(const QColor &colour, int widthPixels);
    void setDotted(bool dotted) { m_dotted = dotted; }
    QColor penColour() const { return m_penColour; }
    int penWidth() const { return m_penWidth; }
    bool isDotted() const { return m_dotted; }

    // A filled dot of the pen width centred on the pixel under (x, y) units: the
    // pixels whose centres lie within width/2 of that pixel's centre (width 1 is
    // the pixel alone), the same shape wherever it lands. Written straight into
    // the overlay's memory, so an analysis's many dots cost little.
    void drawPoint(QPointF units);
    // Half-widths of the dot of a pen width, row by row from its top: row r of
    // the dot (r = 0 .. size - 1) covers columns -halfWidth[r] .. halfWidth[r]
    // around the centre pixel, size = 2 * (width div 2) + 1.
    static std::vector<int> dotRowHalfWidths(int widthPixels);
    // The pen's dots at (x, yFirst) .. (x, yFirst + count - 1), whole unit
    // coordinates from 0 on: the pixels drawPoint puts there one by one, each
    // written once. Samples of a fine grid share pixels, and the dots of a
    // stretch of a column one centre column, so each pixel row takes one fill.
    void drawColumnDots(qint64 x, qint64 yFirst, qint64 count);
    void drawLine(QPointF fromUnits, QPointF toUnits);
    // Lines one pixel wide in the pen's colour across the whole picture: a
    // vertical one through the pixel under each x and a horizontal one through
    // the pixel under each y (picture units), as drawLine would place them.
    // Written straight into the overlay's memory, so that even a line on every
    // pixel of a large picture takes little time.
    void drawHairlines(const std::vector<float> &xUnits, const std::vector<float> &yUnits);
    void clearDrawings();
    // Many dots in a row (the overlay of an analysis): between begin and end
    // drawingsChanged is emitted once, at the end, for the rectangle around
    // everything drawn. Dots land exactly where they would one by one.
    void beginDrawingBatch();
    void endDrawingBatch();
    // The picture with its drawings becomes the picture; the overlay is emptied.
    void bakeDrawings();

signals:
    // The picture was replaced (its size may have changed).
    void pictureChanged();
    // Something was drawn or cleared; rect in pixels.
    void drawingsChanged(const QRect &pixelRect);
    void unitStepChanged(int tenths);

private:
    QPointF pixelCentre(QPointF units) const;
    // Empties the overlay where it was drawn on; returns that rectangle, pixels.
    QRect eraseDrawings();
    void markDrawn(int row, int left, int right);
    void drawn(const QRect &pixelRect);

    QImage m_picture;
    QImage m_overlay;
    int m_tenths = 10;
    QColor m_penColour = Qt::black;
    int m_penWidth = 1;
    bool m_dotted = false;
    // The dot of m_penWidth (see dotRowHalfWidths), kept while the width stays.
    int m_dotWidth = 0;
    std::vector<int> m_dotRows;
    // Half-widths of the pixel rows a stretch of dots covers (drawColumnDots).
    std::vector<int> m_stretchRows;
    bool m_batching = false;
    QRect m_batchRect;
    // Everything drawn since the overlay was last emptied, pixels: the
    // rectangle around it, and per row the columns first..last (none when
    // first > last).
    QRect m_drawnRect;
    struct DrawnSpan {
        int first = INT_MAX;
        int last = -1;
    };
    std::vector<DrawnSpan> m_drawnSpans;
};

} // namespace verdalis
