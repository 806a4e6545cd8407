#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;
class QIODevice;

namespace verdalis {

// Input files are opened only when they are regular files: a named pipe blocks
// the program for ever and a device such as /dev/zero never ends. The reasons
// are plain words without the path; callers name the file.

// Opens path for reading into file. Empty when it is open; otherwise why not:
// it does not exist, is a folder, is not a regular file or cannot be opened
// (the system's reason, e.g. "Permission denied").
QString openInputFile(QFile &file, const QString &path);

struct InputFileRead {
    QByteArray bytes;
    // Empty when the file was read whole.
    QString error;
};

// Reads a small input file whole (calibration, custom detection and set files).
// A file larger than maxBytes is refused: it cannot be one of these files.
InputFileRead readInputFile(const QString &path, qint64 maxBytes);

// "12 KB", "3.5 MB": a file size for a message.
QString fileSizeText(qint64 bytes);

// A piece of a file's text for a message: the text between double quotes when
// it is short and printable, else nothing, so a binary file never puts raw bytes
// into a message.
QString quotedExcerpt(const QString &text);

// Replaces the file at path safely: write() fills a temporary file beside it,
// which is flushed and checked and only then renamed over the old file. On any
// failure (a full disk included) the temporary file is removed, the old file
// stays as it was and the reason (without the path) is put in *error. The file
// is never rewritten in place, even when its folder allows no new file.
bool writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                     QString *error);
bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error);

} // namespace verdalis
