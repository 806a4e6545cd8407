#include "picture_reader.h"

#include "jpeg_decoder.h"

#include <QFile>
#include <QImageReader>

namespace verdalis {

namespace {

QImage decodeJpegFile(const QString &path, std::optional<int> sampledAtTenths)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const qint64 size = file.size();
    if (const uchar *mapped = file.map(0, size))
        return decodeJpeg(mapped, size, sampledAtTenths);
    const QByteArray bytes = file.readAll();
    return decodeJpeg(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(),
                      sampledAtTenths);
}

} // namespace

QImage readPicture(const QString &path, QString *error, std::optional<int> sampledAtTenths)
{
    QImage image = decodeJpegFile(path, sampledAtTenths);
    if (!image.isNull())
        return image;
    return readPictureWithQt(path, error);
}

QImage readPictureWithQt(const QString &path, QString *error)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return image;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace verdalis
