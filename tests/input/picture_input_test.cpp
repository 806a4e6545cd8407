// Pictures that must not be analysed: cut short, corrupt, claiming a size no
// memory holds, or not pictures at all. Each is refused with its reason, before
// its memory is taken.
#include "hostile_files.h"
#include "picture_reader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

using namespace verdalis;
using namespace verdalis::test;

namespace {

// Peak memory of this process so far, in bytes.
qint64 peakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

QByteArray cutAt(const QByteArray &bytes, double share)
{
    return bytes.left(qsizetype(bytes.size() * share));
}

const QString TooLarge30000 =
    QStringLiteral("The picture is 30000 x 30000 pixels (900.0 megapixels), more than the 500 "
                   "megapixels a picture may have");

} // namespace

class PictureInputTest : public QObject {
    Q_OBJECT
private slots:
    void refusedWithItsReason_data();
    void refusedWithItsReason();
    void permissionDeniedIsSaidSo();
    void oneSizeLimitForEveryFormat();

private:
    QTemporaryDir m_dir;
};

void PictureInputTest::refusedWithItsReason_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    const QImage leaves = leafPicture(480, 360);
    const QByteArray jpeg = pictureBytes(leaves, "jpg");
    const QByteArray bmp = pictureBytes(leaves, "bmp");
    const auto row = [&](const char *name, const QByteArray &bytes, const QString &reason) {
        QTest::newRow(name) << writeBytes(dir, QString::fromLatin1(name), bytes) << reason;
    };
    const QString damaged = QStringLiteral("The picture is incomplete or damaged (");
    const QString jpegCut = damaged + QStringLiteral("Premature end of JPEG file)");

    row("jpeg without its end marker", jpeg.left(jpeg.size() - 2), jpegCut);
    row("progressive jpeg cut at 95 percent", cutAt(pictureBytes(leaves, "jpg", true), 0.95),
        jpegCut);
    row("bmp cut at 95 percent", cutAt(bmp, 0.95),
        damaged + QStringLiteral("the file holds %1 of the %2 bytes its header announces)")
                      .arg(qsizetype(bmp.size() * 0.95))
                      .arg(bmp.size()));
    row("bmp cut inside its header", bmp.left(20),
        damaged + QStringLiteral("the file ends inside its header)"));

    // Refused from the header, before the memory is taken.
    row("jpeg claiming 30000 x 30000", jpegClaimingSize(jpeg, 30000, 30000), TooLarge30000);
    row("bmp claiming 30000 x 30000", bmpClaimingSize(bmp, 30000, 30000), TooLarge30000);
    // Allowed in size, but its few bytes cannot hold so many pixels.
    row("tiny jpeg claiming 20000 x 20000", jpegClaimingSize(jpeg, 20000, 20000),
        damaged + QStringLiteral("the file is too short for a picture of 20000 x 20000 pixels)"));
    // Bytes enough for the size it claims; they run out part-way, as they do
    // when an end marker lands amid the data.
    row("jpeg claiming 1200 x 900", jpegClaimingSize(jpeg, 1200, 900),
        damaged + QStringLiteral("Corrupt JPEG data: premature end of data segment)"));

    row("empty file", QByteArray(), QStringLiteral("The file is empty (0 bytes)"));
    row("text named like a picture.jpg", "leaf area 12 mm2\n",
        QStringLiteral("It is not a picture in a format that can be read (BMP or JPEG)"));
    QTest::newRow("folder") << m_dir.path() << QStringLiteral("It is a folder, not a file");
    QTest::newRow("named pipe")
        << makeFifo(dir, QStringLiteral("pipe.jpg"))
        << QStringLiteral("It is not a regular file (it is a named pipe, a device or a socket)");
    QTest::newRow("missing") << dir.filePath(QStringLiteral("gone.jpg"))
                             << QStringLiteral("File not found");
}

void PictureInputTest::refusedWithItsReason()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    const qint64 peakBefore = peakMemory();
    for (const std::optional<int> sampled : {std::optional<int>(), std::optional<int>(10)}) {
        QString error;
        const QImage image = readPicture(path, &error, sampled);
        QVERIFY(image.isNull());
        QCOMPARE(error, reason);
    }
    // A 20000 x 20000 picture would take 1.6 GB.
    QVERIFY2(peakMemory() - peakBefore < (qint64(200) << 20),
             qPrintable(QString::number(peakMemory() - peakBefore)));
}

void PictureInputTest::permissionDeniedIsSaidSo()
{
    QTemporaryDir temporary;
    QFile::setPermissions(temporary.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther);
    const QString path = writeBytes(QDir(temporary.path()), QStringLiteral("private.bmp"),
                                    pictureBytes(leafPicture(20, 10), "bmp"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const OrdinaryUser user;
    if (!user.permissionsApply())
        QSKIP("permissions do not apply to this user");
    QString error;
    QVERIFY(readPicture(path, &error).isNull());
    QCOMPARE(error, QStringLiteral("Permission denied"));
}

// The limit is counted in pixels from the header, for the direct JPEG decoder
// and for Qt's readers alike.
void PictureInputTest::oneSizeLimitForEveryFormat()
{
    for (const char *format : {"jpg", "bmp", "png"}) {
        const QByteArray bytes = pictureBytes(leafPicture(40, 30), format);
        const auto decode = [&](qint64 maxPixels, QString *error) {
            return decodePicture(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(),
                                 maxPixels, error);
        };
        QString error;
        const QImage atLimit = decode(40 * 30, &error);
        QVERIFY2(!atLimit.isNull(), qPrintable(format + (u' ' + error)));
        QCOMPARE(atLimit.size(), QSize(40, 30));
        QVERIFY(decode(40 * 30 - 1, &error).isNull());
        QVERIFY2(error.startsWith(QStringLiteral("The picture is 40 x 30 pixels (0.0 megapixels), "
                                                 "more than the")),
                 qPrintable(format + (u' ' + error)));
    }
    // A BMP header that Qt's reader announces as 96 x -12288 pixels and then reads.
    const QByteArray bottomUp = QByteArray::fromHex(
        "424d46dc00000000000000d2000988000000600000d0010018000a001b00030000000000000013010000"
        "00000000000000000000ffffffff0000ff00000000ff0000");
    QString error;
    QVERIFY(decodePicture(reinterpret_cast<const uchar *>(bottomUp.constData()), bottomUp.size(),
                          1 << 20, &error)
                .isNull());
    QVERIFY2(error.startsWith(QStringLiteral("The picture is 96 x 12288 pixels")),
             qPrintable(error));
}

QTEST_GUILESS_MAIN(PictureInputTest)
#include "picture_input_test.moc"
