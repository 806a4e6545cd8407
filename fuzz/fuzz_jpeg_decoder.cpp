// Any bytes after a JPEG start, decoded as the picture reader decodes them:
// never a crash or a read outside the data; a refusal always has a reason, and
// a picture is never larger than the limit. The first byte picks the rows kept
// (all, or those of one unit step).
#include "jpeg_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace verdalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // A small limit keeps every picture within the fuzzer's memory.
    constexpr qint64 MaxPixels = 1 << 20;
    const int tenths = data[0] % 11;
    const std::optional<int> sampled = tenths ? std::optional<int>(tenths) : std::nullopt;
    QByteArray bytes("\xFF\xD8\xFF", 3);
    bytes.append(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QString error;
    const QImage image = decodeJpeg(reinterpret_cast<const uchar *>(bytes.constData()),
                                    bytes.size(), MaxPixels, &error, sampled);
    if (image.isNull() == error.isEmpty())
        std::abort();
    if (!image.isNull() && (image.format() != QImage::Format_RGB32 ||
                            qint64(image.width()) * image.height() > MaxPixels))
        std::abort();
    return 0;
}
