#include "picture_analysis.h"

#include "canvas_dot_painter.h"
#include "overlay_picture.h"
#include "picture_background.h"
#include "picture_canvas.h"
#include "picture_reader.h"

#include <QDir>

#include <new>

namespace verdalis {

namespace {

const char *const OutOfMemoryReason = "not enough memory to analyse this picture";

// The window's picture canvas takes the run's dots (CanvasDotPainter), so the
// overlay is what the window shows after the same run.
class CanvasOverlay {
public:
    CanvasOverlay(const QImage &picture, int unitStepTenths) : m_painter(m_canvas)
    {
        m_canvas.setPicture(picture);
        m_canvas.setUnitStepTenths(unitStepTenths);
        m_canvas.beginDrawingBatch();
    }

    OverlayPainter *painter() { return &m_painter; }

    const QImage &picture() const { return m_canvas.picture(); }

    bool save(const QString &path, QString *error)
    {
        m_canvas.endDrawingBatch();
        QString reason;
        if (writeOverlayPicture(m_canvas.composedImage(), path, &reason))
            return true;
        *error = QStringLiteral("cannot write the overlay %1: %2")
                     .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }

private:
    PictureCanvas m_canvas;
    CanvasDotPainter m_painter;
};

} // namespace

AnalysisFigures analysePicture(const QImage &picture, const AnalysisSettings &settings,
                               OverlayPainter *painter)
{
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(),
                             std::ptrdiff_t(picture.bytesPerLine() / 4)};
    AnalysisRun run;
    run.start(buffer, settings, painter);
    run.runToEnd();
    return run.figures();
}

PictureOutcome analysePictureFile(const QString &path, const AnalysisSettings &settings,
                                  const QString &overlayPath, bool correctBackground)
{
    PictureOutcome outcome;
    try {
        // Without an overlay only the rows the run samples need to be kept;
        // the correction looks at the whole picture.
        const bool withOverlay = !overlayPath.isEmpty();
        QString error;
        const std::optional<int> sampledAt = withOverlay || correctBackground
                                                 ? std::nullopt
                                                 : std::optional<int>(settings.unitStepTenths);
        QImage picture = readPicture(path, &error, sampledAt);
        if (picture.isNull()) {
            outcome.error = error;
            return outcome;
        }
        PictureBackground background;
        if (correctBackground)
            background = correctPictureBackground(picture);
        outcome.backgroundMessage = backgroundBatchMessage(
            checkPictureBorder(picture, settings.unitStepTenths), background);
        if (!withOverlay) {
            outcome.figures = analysePicture(picture, settings);
            return outcome;
        }
        CanvasOverlay overlay(picture, settings.unitStepTenths);
        picture = QImage();
        outcome.figures = analysePicture(overlay.picture(), settings, overlay.painter());
        overlay.save(overlayPath, &outcome.overlayError);
    } catch (const AnalysisError &error) {
        outcome.error = QString::fromUtf8(error.what());
    } catch (const std::bad_alloc &) {
        outcome.error = QString::fromUtf8(OutOfMemoryReason);
    }
    return outcome;
}

} // namespace verdalis
