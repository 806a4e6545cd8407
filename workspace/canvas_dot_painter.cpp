#include "canvas_dot_painter.h"

#include "picture_canvas.h"

namespace verdalis {

CanvasDotPainter::CanvasDotPainter(PictureCanvas &canvas) : m_canvas(&canvas)
{
}

void CanvasDotPainter::paintDot(std::int32_t x, std::int32_t y, RgbColour colour, int widthPixels)
{
    paintColumnDots(x, y, 1, colour, widthPixels);
}

void CanvasDotPainter::paintColumnDots(std::int32_t x, std::int32_t yFirst, std::int32_t count,
                                       RgbColour colour, int widthPixels)
{
    if (!m_canvas)
        return;
    m_canvas->setPen(QColor(colour.red, colour.green, colour.blue), widthPixels);
    m_canvas->drawColumnDots(x, yFirst, count);
}

} // namespace verdalis
