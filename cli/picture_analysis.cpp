#include "picture_analysis.h"

#include "canvas_dot_painter.h"
#include "file_access.h"
#include "picture_canvas.h"
#include "picture_reader.h"

#include <QDir>

#include <new>

namespace verdalis {

namespace {

const char *const OutOfMemoryReason = "not enough memory to analyse this picture";

// Qt's PNG quality 80 is zlib's fastest level: a 24-megapixel overlay is written
// in a fraction of the default level's time, in a file not much larger (the
// same pixels either way).
constexpr int PngQuality = 80;

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
        const QImage composed = m_canvas.composedImage();
        QString reason;
        if (writeFileSafely(
                path, [&](QIODevice &file) { return composed.save(&file, "PNG", PngQuality); },
                &reason))
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
                                  const QString &overlayPath)
{
    PictureOutcome outcome;
    try {
        // Without an overlay only the rows the run samples need to be kept.
        const bool withOverlay = !overlayPath.isEmpty();
        QString error;
        const std::optional<int> sampledAt =
            withOverlay ? std::nullopt : std::optional<int>(settings.unitStepTenths);
        QImage picture = readPicture(path, &error, sampledAt);
        if (picture.isNull()) {
            outcome.error = error;
            return outcome;
        }
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
