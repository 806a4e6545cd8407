#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace verdalis {

// The one loading policy for pictures, in the window and in the command-line
// analyser alike. A picture is read into Format_RGB32 memory with the same
// pixels the window's picture canvas showed when it read with Qt's image
// readers: JPEG with libjpeg directly (see decodeJpeg; about twice as fast), BMP
// and the formats of the installed image plugins with Qt's readers.
//
// Before any memory is asked for the picture's size is read from its header:
// more than MaxPicturePixels is refused, as a file that does not end where its
// header says (a BMP cut short) is. A picture the decoder finds incomplete or
// damaged is refused, never analysed. Only a regular, non-empty file is opened.
//
// With sampledAtTenths, a JPEG keeps only the pixel rows an analysis at that
// unit step reads (see decodeJpeg): a picture for analysing, not for showing.
//
// Returns a null image on failure, with the reason in plain words (without the
// path: callers name the file) in *error.
QImage readPicture(const QString &path, QString *error,
                   std::optional<int> sampledAtTenths = std::nullopt);

// The same for a file's bytes, with a limit of its own (for tests and fuzzing).
QImage decodePicture(const uchar *data, qint64 size, qint64 maxPixels, QString *error,
                     std::optional<int> sampledAtTenths = std::nullopt);

// 500 megapixels, 2 GB in memory: A4 scanned at 1200 dpi is 140 megapixels.
// Above this a window also needs as much again for its drawings, and a few
// pictures analysed at once exhaust the memory of a workstation.
constexpr qint64 MaxPicturePixels = 500'000'000;

// "The picture is 30000 x 30000 pixels (900 megapixels), more than ...".
QString pictureTooLargeText(qint64 width, qint64 height, qint64 maxPixels);
// The reason given for a picture whose data is missing or corrupt.
QString damagedPictureText(const QString &decoderReason);

// Qt refuses pictures above 256 MB by default; its readers get the same limit as
// every other picture, for the formats whose size cannot be told beforehand. The
// limit is one setting for the whole process: each program sets it at start-up,
// before any thread reads a picture (a read sets it too, once, if none did).
void setPictureAllocationLimit();

} // namespace verdalis
