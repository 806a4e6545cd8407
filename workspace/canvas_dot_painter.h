#pragma once

#include "overlay_painter.h"

#include <QPointer>

namespace verdalis {

class PictureCanvas;

// Paints an analysis's dots on a picture canvas: a dot of the engine's width
// and colour centred on the pixel its sample reads, exactly as the window shows
// it, whoever runs the analysis. A canvas destroyed mid-run (the window
// closing) just receives no more dots.
class CanvasDotPainter : public OverlayPainter {
public:
    explicit CanvasDotPainter(PictureCanvas &canvas);

    void paintDot(std::int32_t x, std::int32_t y, RgbColour colour, int widthPixels) override;
    void paintColumnDots(std::int32_t x, std::int32_t yFirst, std::int32_t count, RgbColour colour,
                         int widthPixels) override;

    PictureCanvas *canvas() const { return m_canvas; }

private:
    QPointer<PictureCanvas> m_canvas;
};

} // namespace verdalis
