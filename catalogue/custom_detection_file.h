#pragma once

#include "detection_system.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace verdalis {

// The custom detection file "CustFile" in the program folder keeps the custom
// systems between runs: a count line, then one line per system with four quoted
// fields (name, red, green, blue as decimal text) joined by commas, every line
// ending in CR LF. A double quote cannot appear inside a field: the format has no
// escape for it.

// Program folder + the platform's separator + "CustFile".
QString customDetectionFilePath(const QString &programFolder);

// The file's bytes for these custom systems ("0" + CR LF when there are none).
QByteArray encodeCustomSystems(const QList<DetectionSystem> &customSystems);

// Reads what encodeCustomSystems writes, and also files whose line ends are LF
// only or whose fields are separated by line ends instead of commas. The count is
// a 16-bit signed number; text after the last counted record is ignored. On
// damage returns false with the reason in *error and leaves *customSystems empty,
// so a half-read file never yields a partial catalogue.
bool decodeCustomSystems(const QByteArray &bytes, QList<DetectionSystem> *customSystems,
                         QString *error);

struct CustomFileReadResult {
    QList<DetectionSystem> systems;
    // No file at the path: a fresh installation, not an error.
    bool missing = false;
    // Empty when the file was read whole; otherwise why it was not.
    QString error;
};

// Reads the file (a regular file of at most 16 MB) and decodes it.
CustomFileReadResult readCustomDetectionFile(const QString &path);

// Replaces the file with these systems safely (see writeFileSafely): the old
// file stays intact when writing fails, even in a folder that allows no new
// file; then returns false with the reason in *error.
bool writeCustomDetectionFile(const QString &path, const QList<DetectionSystem> &customSystems,
                              QString *error);

} // namespace verdalis
