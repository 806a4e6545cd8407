#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace verdalis {

// One picture of a batch: the label of its row in the results and its file.
struct PictureEntry {
    QString lineName;
    QString path;
};

// Pictures named on the command line: the line name is the file name without
// its last extension ("leaf.scan.jpg" -> "leaf.scan").
QList<PictureEntry> picturesFromPaths(const QStringList &paths);

struct PictureSetRead {
    QList<PictureEntry> pictures;
    // One line for the user; empty when the whole file was read.
    QString error;
};

// A picture set file: UTF-8 text, one picture per line, the line name, a TAB and
// the picture's path (a relative path is relative to the set file's folder).
// Line ends may be LF or CR LF; blank lines are skipped. A line without a TAB,
// or with an empty name or path, is refused with its line number. Only a regular
// file of at most 256 MB is read.
PictureSetRead readPictureSetFile(const QString &path);
// The same for the file's bytes; path gives the folder and names the file in
// messages.
PictureSetRead parsePictureSet(const QByteArray &bytes, const QString &path);

} // namespace verdalis
