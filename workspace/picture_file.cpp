#include "picture_file.h"

#include <QImageReader>

namespace verdalis {

namespace {
constexpr int AllocationLimitMegabytes = 4096;
}

void setPictureAllocationLimit()
{
    QImageReader::setAllocationLimit(AllocationLimitMegabytes);
}

QImage readPictureFile(const QString &path, QString *error)
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
