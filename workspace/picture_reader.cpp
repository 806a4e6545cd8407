#include "picture_reader.h"

#include "jpeg_decoder.h"
#include "picture_file.h"

#include <QFile>

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
    return readPictureFile(path, error);
}

} // namespace verdalis
