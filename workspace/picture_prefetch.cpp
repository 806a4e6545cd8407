#include "picture_prefetch.h"

#include "picture_reader.h"

#include <system_error>

namespace verdalis {

PicturePrefetch::~PicturePrefetch()
{
    drop();
}

void PicturePrefetch::start(const QString &path)
{
    drop();
    try {
        m_reading = std::async(std::launch::async, [path] {
            Read read;
            read.picture = readPicture(path, &read.error);
            return read;
        });
        m_path = path;
    } catch (const std::system_error &) {
        // No thread to be had: the picture is read when it is needed.
    }
}

std::optional<QImage> PicturePrefetch::take(const QString &path, QString *error)
{
    if (!m_reading.valid() || path != m_path) {
        drop();
        return std::nullopt;
    }
    Read read = m_reading.get();
    m_path.clear();
    if (read.picture.isNull() && error)
        *error = read.error;
    return read.picture;
}

void PicturePrefetch::drop()
{
    if (m_reading.valid())
        m_reading.get();
    m_path.clear();
}

} // namespace verdalis
