#pragma once

#include <QImage>
#include <QString>

namespace verdalis {

// Reads a picture file with Qt's image readers into Format_RGB32, the layout the
// analysis reads. On failure returns a null image and puts the reader's reason in
// *error.
QImage readPictureFile(const QString &path, QString *error);

// Qt refuses pictures above 256 MB by default; flatbed scans of a whole tray at
// high resolution pass that easily, so the limit is raised to 4 GB (about a
// gigapixel), which still stops a damaged header from asking for absurd memory.
// The limit is one setting for the whole process: each program sets it once at
// start-up, before any thread reads a picture.
void setPictureAllocationLimit();

} // namespace verdalis
