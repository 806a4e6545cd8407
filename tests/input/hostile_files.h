#pragma once

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

#include <sys/resource.h>

namespace verdalis::test {

// The bytes of a picture as Qt writes it ("jpg", "bmp").
QByteArray pictureBytes(const QImage &image, const char *format);
// A picture with some structure (leaf-like colours, noise), so every JPEG
// block has data.
QImage leafPicture(int width, int height);
// A JPEG whose frame header claims another size; its data stays that of the
// small picture it was made from.
QByteArray jpegClaimingSize(const QByteArray &jpeg, int width, int height);
// A BMP whose header claims another size.
QByteArray bmpClaimingSize(const QByteArray &bmp, int width, int height);

QString writeBytes(const QDir &dir, const QString &name, const QByteArray &bytes);
// A named pipe nobody writes to: opening it for reading blocks.
QString makeFifo(const QDir &dir, const QString &name);
// A sparse file of this size, holding nothing but zero bytes.
QString makeSparseFile(const QDir &dir, const QString &name, qint64 size);
QByteArray readBytes(const QString &path);
// The files in dir, sorted.
QStringList filesIn(const QDir &dir);

// While alive, files of this process cannot grow past `bytes`: writes fail
// with "File too large" as on a full disk (the signal that would end the
// process is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

private:
    rlimit m_saved;
};

// While alive, the process acts as an ordinary user (nobody) when it runs as
// the superuser, who may read and write anything. No-op otherwise.
class OrdinaryUser {
public:
    OrdinaryUser();
    ~OrdinaryUser();
    // Whether checks of permissions apply now.
    bool permissionsApply() const;

private:
    bool m_switched = false;
};

} // namespace verdalis::test
