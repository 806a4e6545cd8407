#pragma once

#include <QImage>
#include <QString>

namespace verdalis {

inline constexpr int PictureMemoryLimitMegabytes = 4096;

// Whether a picture of this many pixels, 4 bytes each, stays within the limit.
inline bool withinPictureMemoryLimit(double width, double height)
{
    return width * height * 4 <= double(PictureMemoryLimitMegabytes) * 1024 * 1024;
}

// Reads a picture file with Qt's image readers into Format_RGB32, the layout the
// analysis reads. On failure returns a null image and puts the reader's reason in
// *error.
//
// Qt refuses pictures above 256 MB by default; flatbed scans of a whole tray at
// high resolution pass that easily, so the limit is raised to 4 GB (about a
// gigapixel), which still stops a damaged header from asking for absurd memory.
// Every reader checks this one limit before allocating. The picture is decoded into memory from
// newPictureMemory where the reader allows, so a large picture costs little more than its decoding.
QImage readPictureFile(const QString &path, QString *error);

} // namespace verdalis
