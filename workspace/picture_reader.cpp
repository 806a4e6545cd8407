#include "picture_reader.h"

#include "file_access.h"
#include "jpeg_decoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLocale>

#include <cstdlib>
#include <mutex>

namespace verdalis {

namespace {

quint32 littleEndian(const uchar *bytes, int count)
{
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// What a BMP header tells before the pixels are read: Qt's reader fills the
// rows of a file cut short with whatever, and reads a header that claims a
// huge picture into memory of that size.
struct BmpCheck {
    // Empty when the file can be handed to Qt's reader.
    QString problem;
};

BmpCheck checkBmp(const uchar *data, qint64 size, qint64 maxPixels)
{
    BmpCheck check;
    constexpr qint64 FileHeader = 14;
    if (size < FileHeader + 16) {
        check.problem = damagedPictureText(QStringLiteral("the file ends inside its header"));
        return check;
    }
    const qint64 pixelOffset = littleEndian(data + 10, 4);
    const quint32 headerSize = littleEndian(data + 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    qint64 imageSize = 0;
    if (headerSize == 12) { // OS/2 core header
        width = littleEndian(data + 18, 2);
        height = littleEndian(data + 20, 2);
        bitsPerPixel = littleEndian(data + 24, 2);
    } else {
        if (size < FileHeader + 40) {
            check.problem = damagedPictureText(QStringLiteral("the file ends inside its header"));
            return check;
        }
        width = qint32(littleEndian(data + 18, 4));
        height = std::llabs(qint32(littleEndian(data + 22, 4))); // below 0: top row first
        bitsPerPixel = littleEndian(data + 28, 2);
        compression = littleEndian(data + 30, 4);
        imageSize = littleEndian(data + 34, 4);
    }
    if (width <= 0 || height <= 0) // Qt's reader refuses it with its own reason
        return check;
    if (width * height > maxPixels) {
        check.problem = pictureTooLargeText(width, height, maxPixels);
        return check;
    }
    // Uncompressed rows are padded to 4 bytes; run-length coded pixels take the
    // image size the header gives.
    enum { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };
    qint64 pixelBytes = 0;
    if (compression == Rgb || compression == BitFields || compression == AlphaBitFields)
        pixelBytes = (width * bitsPerPixel + 31) / 32 * 4 * height;
    else if (compression == Rle8 || compression == Rle4)
        pixelBytes = imageSize;
    if (pixelOffset + pixelBytes > size)
        check.problem = damagedPictureText(
            QStringLiteral("the file holds %1 of the %2 bytes its header announces")
                .arg(size)
                .arg(pixelOffset + pixelBytes));
    return check;
}

QImage readWithQt(const uchar *data, qint64 size, qint64 maxPixels, QString *error)
{
    setPictureAllocationLimit();
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) {
        *error = QStringLiteral("It is not a picture in a format that can be read (BMP or JPEG)");
        return QImage();
    }
    if (reader.format() == "bmp") {
        const BmpCheck check = checkBmp(data, size, maxPixels);
        if (!check.problem.isEmpty()) {
            *error = check.problem;
            return QImage();
        }
    }
    // Qt may announce a bottom-up picture with a negative height and still read
    // it, so the announced size counts without its signs.
    const QSize pixels = reader.size();
    const qint64 width = std::abs(qint64(pixels.width()));
    const qint64 height = std::abs(qint64(pixels.height()));
    if (width * height > maxPixels) {
        *error = pictureTooLargeText(width, height, maxPixels);
        return QImage();
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        *error = damagedPictureText(reader.errorString());
        return image;
    }
    // Headers the checks above read differently from Qt's reader can still
    // decode to more pixels than announced.
    if (qint64(image.width()) * image.height() > maxPixels) {
        *error = pictureTooLargeText(image.width(), image.height(), maxPixels);
        return QImage();
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void setPictureAllocationLimit()
{
    static std::once_flag once;
    std::call_once(
        once, [] { QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1 << 20)) + 1); });
}

QString pictureTooLargeText(qint64 width, qint64 height, qint64 maxPixels)
{
    const QLocale locale;
    return QStringLiteral("The picture is %1 x %2 pixels (%3 megapixels), more than the %4 "
                          "megapixels a picture may have")
        .arg(width)
        .arg(height)
        .arg(locale.toString(double(width) * double(height) / 1e6, 'f', 1),
             locale.toString(maxPixels / 1'000'000));
}

QString damagedPictureText(const QString &decoderReason)
{
    return QStringLiteral("The picture is incomplete or damaged (%1)").arg(decoderReason);
}

QImage decodePicture(const uchar *data, qint64 size, qint64 maxPixels, QString *error,
                     std::optional<int> sampledAtTenths)
{
    QString reason;
    const QImage image = isJpegData(data, size)
                             ? decodeJpeg(data, size, maxPixels, &reason, sampledAtTenths)
                             : readWithQt(data, size, maxPixels, &reason);
    if (image.isNull() && error)
        *error = reason;
    return image;
}

QImage readPicture(const QString &path, QString *error, std::optional<int> sampledAtTenths)
{
    QFile file;
    QString reason = openInputFile(file, path);
    if (reason.isEmpty() && file.size() == 0)
        reason = QStringLiteral("The file is empty (0 bytes)");
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return QImage();
    }
    const qint64 size = file.size();
    if (const uchar *mapped = file.map(0, size))
        return decodePicture(mapped, size, MaxPicturePixels, error, sampledAtTenths);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return QImage();
    }
    return decodePicture(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(),
                         MaxPicturePixels, error, sampledAtTenths);
}

} // namespace verdalis
