#include "picture_set_file.h"

#include "file_access.h"

#include <QDir>
#include <QFileInfo>

namespace verdalis {

QList<PictureEntry> picturesFromPaths(const QStringList &paths)
{
    QList<PictureEntry> pictures;
    for (const QString &path : paths)
        pictures.append({QFileInfo(path).completeBaseName(), path});
    return pictures;
}

PictureSetRead readPictureSetFile(const QString &path)
{
    // A million pictures with long paths stay below this.
    constexpr qint64 MaxFileBytes = qint64(256) << 20;
    const InputFileRead file = readInputFile(path, MaxFileBytes);
    if (!file.error.isEmpty()) {
        PictureSetRead read;
        read.error = QStringLiteral("cannot read the set file %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.error);
        return read;
    }
    return parsePictureSet(file.bytes, path);
}

PictureSetRead parsePictureSet(const QByteArray &bytes, const QString &path)
{
    PictureSetRead read;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (bytes.contains('\0')) {
        read.error = QStringLiteral("the set file %1 is not a set file: it holds binary data")
                         .arg(shownPath);
        return read;
    }
    const QString text = QString::fromUtf8(bytes);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const int tab = int(line.indexOf(QLatin1Char('\t')));
        const QString name = tab < 0 ? QString() : line.left(tab);
        const QString picture = tab < 0 ? QString() : line.mid(tab + 1);
        if (name.isEmpty() || picture.isEmpty()) {
            read.pictures.clear();
            read.error = QStringLiteral("the set file %1, line %2: expected a line name, a tab "
                                        "and a picture path")
                             .arg(shownPath)
                             .arg(i + 1);
            return read;
        }
        read.pictures.append({name, QDir::cleanPath(folder.filePath(picture))});
    }
    return read;
}

} // namespace verdalis
