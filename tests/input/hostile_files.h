#pragma once

// Damaged pictures, files that are not files, and a disk that fills up.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QString>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace verdalis::test {

// The bytes of a picture as Qt writes it ("jpg", "bmp", "png").
inline QByteArray pictureBytes(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot encode a %s picture", format);
    return bytes;
}

// A picture with some structure (leaf-like colours, noise), so every JPEG
// block has data.
inline QImage leafPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool leaf =
                (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) <
                width * height / 5;
            const int noise = int(random.bounded(30));
            image.setPixel(x, y,
                           leaf ? qRgb(40 + noise, 120 + noise, 30) : qRgb(250, 250 - noise, 250));
        }
    return image;
}

// A JPEG whose frame header claims another size; its data stays that of the
// small picture it was made from.
inline QByteArray jpegClaimingSize(const QByteArray &jpeg, int width, int height)
{
    QByteArray bytes = jpeg;
    // Start of frame (baseline or progressive): FF Cn, length, precision,
    // height, width, all big-endian.
    for (int i = 2; i + 9 < bytes.size(); ++i) {
        const uchar marker = uchar(bytes[i + 1]);
        if (uchar(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width);
            return bytes;
        }
    }
    qFatal("no frame header in the JPEG");
}

// A BMP whose header claims another size.
inline QByteArray bmpClaimingSize(const QByteArray &bmp, int width, int height)
{
    QByteArray bytes = bmp;
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = char(width >> (8 * i));
        bytes[22 + i] = char(height >> (8 * i));
    }
    return bytes;
}

inline QString writeBytes(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A named pipe nobody writes to: opening it for reading blocks.
inline QString makeFifo(const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make the named pipe %s", qPrintable(path));
    return path;
}

// A sparse file of this size, holding nothing but zero bytes.
inline QString makeSparseFile(const QDir &dir, const QString &name, qint64 size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(path));
    return path;
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The files in dir, sorted.
inline QStringList filesIn(const QDir &dir)
{
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// While alive, files of this process cannot grow past `bytes`: writes fail
// with "File too large" as on a full disk (the signal that would end the
// process is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            qFatal("cannot limit the file size");
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved;
};

// While alive, the process acts as an ordinary user (nobody) when it runs as
// the superuser, who may read and write anything. No-op otherwise.
class OrdinaryUser {
public:
    OrdinaryUser()
    {
        if (geteuid() == 0)
            m_switched = setegid(Nobody) == 0 && seteuid(Nobody) == 0;
    }
    ~OrdinaryUser()
    {
        if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("cannot become the superuser again");
    }
    // Whether checks of permissions apply now.
    bool permissionsApply() const { return geteuid() != 0; }

private:
    static constexpr uid_t Nobody = 65534;
    bool m_switched = false;
};

} // namespace verdalis::test
