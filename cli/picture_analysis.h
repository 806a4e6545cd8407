#pragma once

#include "analysis_run.h"

#include <QImage>
#include <QString>

#include <optional>

namespace verdalis {

// What became of one picture of a batch.
struct PictureOutcome {
    // Empty when the picture could not be read or analysed.
    std::optional<AnalysisFigures> figures;
    // Why there are no figures: the reader's or the engine's reason.
    QString error;
    // The figures stand, but the overlay picture could not be written.
    QString overlayError;
    // What is wrong with the picture's background (see backgroundBatchMessage);
    // empty when nothing is. The figures stand either way.
    QString backgroundMessage;
};

// Analyses a picture of Format_RGB32 or Format_ARGB32 with the engine in one go
// (the same figures and dots as a run ticked by the window). Dots go to the
// painter, which may be null. Throws AnalysisError or std::bad_alloc.
AnalysisFigures analysePicture(const QImage &picture, const AnalysisSettings &settings,
                               OverlayPainter *painter = nullptr);

// Reads the picture file and analyses it. With an overlay path, the picture
// with the dots of the run painted as the window paints them is written there
// as PNG. With correctBackground the picture's background is evened out first
// (in memory), and the overlay shows the corrected picture. Never throws.
PictureOutcome analysePictureFile(const QString &path, const AnalysisSettings &settings,
                                  const QString &overlayPath = QString(),
                                  bool correctBackground = false);

} // namespace verdalis
