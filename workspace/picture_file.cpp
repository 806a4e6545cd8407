#include "picture_file.h"

#include <QImageReader>

namespace verdalis {

namespace {
constexpr int AllocationLimitMegabytes = 4096;
}

QImage readPictureFile(const QString &path, QString *error)
{
    QImageReader::setAllocationLimit(AllocationLimitMegabytes);
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
