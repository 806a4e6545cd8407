#pragma once

#include <QImage>
#include <QList>

namespace verdalis::test {

// Where the grid's lines must land, worked out in whole numbers apart from the
// program: line i with offset h lies at (20 i + h) twentieths of a cell, and a
// cell of `millimetres` display millimetres spans millimetres * 96 / 25.4 =
// millimetres * 480 / 127 pixels, so the line's pixel is
// floor((20 i + h) * millimetres * 24 / 127). Lines before the picture or past
// its size are left out.
inline QList<int> expectedLinePixels(int millimetres, int offset, int size)
{
    QList<int> pixels;
    for (int i = 0;; ++i) {
        const int twentieths = 20 * i + offset;
        if (twentieths < 0)
            continue;
        const int pixel = twentieths * millimetres * 24 / 127;
        if (pixel >= size)
            return pixels;
        pixels << pixel;
    }
}

inline bool isGridBlue(QRgb pixel)
{
    return qAlpha(pixel) == 255 && qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 255;
}

// Columns of one overlay row (or rows of one column) painted in the grid's blue.
inline QList<int> blueAlongRow(const QImage &overlay, int row)
{
    QList<int> columns;
    for (int x = 0; x < overlay.width(); ++x)
        if (isGridBlue(overlay.pixel(x, row)))
            columns << x;
    return columns;
}

inline QList<int> blueAlongColumn(const QImage &overlay, int column)
{
    QList<int> rows;
    for (int y = 0; y < overlay.height(); ++y)
        if (isGridBlue(overlay.pixel(column, y)))
            rows << y;
    return rows;
}

// The grid's vertical lines: the blue columns of a row that is not itself a
// horizontal line (which would be blue throughout).
inline QList<int> verticalLines(const QImage &overlay)
{
    for (int y = 0; y < overlay.height(); ++y)
        if (const QList<int> columns = blueAlongRow(overlay, y); columns.size() < overlay.width())
            return columns;
    return {};
}

inline QList<int> horizontalLines(const QImage &overlay)
{
    for (int x = 0; x < overlay.width(); ++x)
        if (const QList<int> rows = blueAlongColumn(overlay, x); rows.size() < overlay.height())
            return rows;
    return {};
}

inline bool hasDrawings(const QImage &overlay)
{
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            if (qAlpha(overlay.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace verdalis::test
