#pragma once

#include <QImage>

#include <optional>

namespace verdalis {

// Whether the bytes start like a JPEG file (start-of-image marker).
bool isJpegData(const uchar *data, qint64 size);

// Decodes a JPEG held in memory with libjpeg straight into a QImage of
// Format_RGB32 (memory from newPictureMemory), with the settings Qt's JPEG reader uses by default
// (accurate integer DCT, smooth chroma upsampling, no orientation applied), so the pixels are those
// Qt's reader gives. Grey, YCbCr and RGB files only.
//
// Returns a null image for anything it leaves to Qt's reader: not a JPEG, CMYK
// or another colour space, or any decoding error. Qt's reader then gives the
// answer the window would get, failure included. Warnings (for instance a
// truncated file, whose missing rows come out grey) are silent, as they are to
// the window.
//
// With sampledAtTenths, only the pixel rows that an analysis at unitStep =
// sampledAtTenths / 10 reads are stored (every row is still decoded, as JPEG
// requires); the other rows of the image are left as they were, untouched, so
// their memory is never faulted in. Such a picture is for analysing only.
QImage decodeJpeg(const uchar *data, qint64 size,
                  std::optional<int> sampledAtTenths = std::nullopt);

} // namespace verdalis
