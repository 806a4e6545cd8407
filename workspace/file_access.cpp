#include "file_access.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace verdalis {

QString openInputFile(QFile &file, const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("File not found");
    if (info.isDir())
        return QStringLiteral("It is a folder, not a file");
    // Checked before opening: opening a named pipe waits for a writer.
    if (!info.isFile())
        return QStringLiteral("It is not a regular file (it is a named pipe, a device or a "
                              "socket)");
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return QString();
}

InputFileRead readInputFile(const QString &path, qint64 maxBytes)
{
    InputFileRead read;
    QFile file;
    read.error = openInputFile(file, path);
    if (!read.error.isEmpty())
        return read;
    const auto tooLarge = [&](qint64 size) {
        return QStringLiteral("The file is %1, more than the %2 such a file can hold")
            .arg(fileSizeText(size), fileSizeText(maxBytes));
    };
    if (file.size() > maxBytes) {
        read.error = tooLarge(file.size());
        return read;
    }
    // At most one byte more than allowed, should the file grow while it is read.
    read.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.error = file.errorString();
        read.bytes.clear();
    } else if (read.bytes.size() > maxBytes) {
        read.error = tooLarge(read.bytes.size());
        read.bytes.clear();
    }
    return read;
}

QString fileSizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString quotedExcerpt(const QString &text)
{
    constexpr int MaxShown = 40;
    for (const QChar ch : text)
        if (!ch.isPrint())
            return QString();
    if (text.isEmpty() || text.size() > MaxShown)
        return QString();
    return QLatin1Char('"') + text + QLatin1Char('"');
}

namespace {

// Qt reports a failed write of buffered bytes as "Unknown error"; the system's
// reason ("No space left on device", "File too large") is still in errno.
QString writeFailure(const QFileDevice &file, int code)
{
    return code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString();
}

} // namespace

bool writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                     QString *error)
{
    QSaveFile file(path);
    // Never in place: a failure part-way would leave a half-written file.
    file.setDirectWriteFallback(false);
    const auto fail = [&](const QString &reason) {
        file.cancelWriting();
        if (error)
            *error = reason;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    errno = 0;
    if (!write(file) || file.error() != QFileDevice::NoError)
        return fail(file.error() != QFileDevice::NoError
                        ? writeFailure(file, errno)
                        : QStringLiteral("The data could not be written"));
    // commit() closes the file without looking at whether its last buffered
    // bytes reached the disk: a full disk would pass as success and leave an
    // empty file in place of the old one. Flushed and checked here first.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(writeFailure(file, errno));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error)
{
    return writeFileSafely(
        path, [&](QIODevice &device) { return device.write(bytes) == bytes.size(); }, error);
}

} // namespace verdalis
