#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace verdalis {

// Reads a picture file into Format_RGB32 memory with the same pixels the
// window's picture canvas gets from Qt's image readers. JPEG files are decoded
// with libjpeg directly (about twice as fast), every other format and every
// JPEG the direct decoder leaves alone by Qt's readers: BMP, and PNG, TIFF and
// the rest where the installed image plugins read them.
//
// With sampledAtTenths, a JPEG keeps only the pixel rows an analysis at that
// unit step reads (see decodeJpeg): a picture for analysing, not for showing.
//
// Returns a null image on failure, with the reader's reason in *error.
QImage readPicture(const QString &path, QString *error,
                   std::optional<int> sampledAtTenths = std::nullopt);

} // namespace verdalis
