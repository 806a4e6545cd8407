#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace verdalis {

// Whether the bytes start like a JPEG file (start-of-image marker).
bool isJpegData(const uchar *data, qint64 size);

// Decodes a JPEG held in memory with libjpeg straight into a QImage of
// Format_RGB32 (memory from newPictureMemory), with the settings Qt's JPEG reader uses by default
// (accurate integer DCT, smooth chroma upsampling, no orientation applied, CMYK
// turned into RGB as Qt does), so the pixels are those Qt's reader gives.
//
// Returns a null image, with the reason in plain words in *error, for a picture
// of more than maxPixels pixels (known from the header, before any memory is
// asked for) and for any fatal decoding error. A picture whose data the decoder
// finds missing or corrupt is refused too, at the first sign: libjpeg would fill
// the missing rows with grey, which passes for leaf. Its warnings about the
// file's metadata (a bad colour profile, an unknown JFIF version) are harmless
// to the pixels and ignored.
//
// With sampledAtTenths, only the pixel rows that an analysis at unitStep =
// sampledAtTenths / 10 reads are stored (every row is still decoded, as JPEG
// requires); the other rows of the image are left as they were, untouched, so
// their memory is never faulted in. Such a picture is for analysing only.
QImage decodeJpeg(const uchar *data, qint64 size, qint64 maxPixels, QString *error,
                  std::optional<int> sampledAtTenths = std::nullopt);

} // namespace verdalis
