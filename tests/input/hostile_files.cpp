#include "hostile_files.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace verdalis::test {

QByteArray pictureBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, 90))
        qFatal("cannot encode a %s picture", format);
    return bytes;
}

QImage leafPicture(int width, int height)
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

QByteArray jpegClaimingSize(const QByteArray &jpeg, int width, int height)
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

QByteArray bmpClaimingSize(const QByteArray &bmp, int width, int height)
{
    QByteArray bytes = bmp;
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = char(width >> (8 * i));
        bytes[22 + i] = char(height >> (8 * i));
    }
    return bytes;
}

QString writeBytes(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString makeFifo(const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make the named pipe %s", qPrintable(path));
    return path;
}

QString makeSparseFile(const QDir &dir, const QString &name, qint64 size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(path));
    return path;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList filesIn(const QDir &dir)
{
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
}

namespace {
constexpr uid_t Nobody = 65534;
}

OrdinaryUser::OrdinaryUser()
{
    if (geteuid() == 0)
        m_switched = setegid(Nobody) == 0 && seteuid(Nobody) == 0;
}

OrdinaryUser::~OrdinaryUser()
{
    if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
        qFatal("cannot become the superuser again");
}

bool OrdinaryUser::permissionsApply() const
{
    return geteuid() != 0;
}

} // namespace verdalis::test
