#include "picture_file.h"

#include "picture_memory.h"

#include <QImageReader>

namespace verdalis {

namespace {

// Memory for the picture the reader is about to decode, when it decodes into
// RGB32 and its size is known and within the limit; the reader fills it in
// place. A null image otherwise: the reader then allocates (or refuses) itself.
QImage memoryFor(QImageReader &reader)
{
    const QSize size = reader.size();
    if (!size.isValid() || reader.imageFormat() != QImage::Format_RGB32)
        return QImage();
    if (!withinPictureMemoryLimit(size.width(), size.height()))
        return QImage();
    return newPictureMemory(size.width(), size.height());
}
} // namespace

QImage readPictureFile(const QString &path, QString *error)
{
    // Once, before the first picture: pictures are also read on a second thread.
    static const bool limitSet =
        (QImageReader::setAllocationLimit(PictureMemoryLimitMegabytes), true);
    Q_UNUSED(limitSet);
    QImageReader reader(path);
    QImage image = memoryFor(reader);
    if (!reader.read(&image)) {
        if (error)
            *error = reader.errorString();
        return QImage();
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace verdalis
