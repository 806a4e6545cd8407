// Any bytes after a BMP signature, read as the picture reader reads them: the
// header check before Qt's reader never reads outside the data, a refusal
// always has a reason, and a picture is never larger than the limit.
#include "picture_reader.h"

#include <cstdint>
#include <cstdlib>

using namespace verdalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr qint64 MaxPixels = 1 << 20;
    QByteArray bytes("BM", 2);
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const QImage image = decodePicture(reinterpret_cast<const uchar *>(bytes.constData()),
                                       bytes.size(), MaxPixels, &error);
    if (image.isNull() == error.isEmpty())
        std::abort();
    if (!image.isNull() && qint64(image.width()) * image.height() > MaxPixels)
        std::abort();
    return 0;
}
