// The small text files read at a user's word (calibration, custom detection and
// picture set files) refuse what is not such a file, with a reason naming it: a
// named pipe used to block for ever, /dev/zero to fill the memory, a picture
// chosen by mistake to put its bytes into the message.
//
// Every file the program writes is replaced whole or not at all: on a full disk
// (a file-size limit here) or in a folder that allows no new file, the old file
// stays as it was, nothing else is left behind and the failure is reported.
#include "calibration_file.h"
#include "custom_detection_file.h"
#include "hostile_files.h"
#include "picture_analysis.h"
#include "picture_set_file.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace verdalis;
using namespace verdalis::test;

namespace {

const QString NotRegular =
    QStringLiteral("It is not a regular file (it is a named pipe, a device or a socket)");
const QByteArray OldContents = "the file as it was\r\n";

// Writes to path, returning the reason of a failure (empty on success).
using Writer = std::function<QString(const QString &path)>;

QList<DetectionSystem> twoSystems()
{
    return {customDetectionSystem(QStringLiteral("Spot"), Rgb{120, 45, 30}),
            customDetectionSystem(QStringLiteral("Rust"), Rgb{200, 100, 0})};
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TextFilesAndWritesTest : public QObject {
    Q_OBJECT
private slots:
    void hostileFilesAreRefused();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void customFileIsNeverRewrittenInPlace();

private:
    QTemporaryDir m_dir;
};

void TextFilesAndWritesTest::hostileFilesAreRefused()
{
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    const QString pipe = makeFifo(dir, QStringLiteral("pipe"));
    // Sparse: it takes no room on the disk.
    const QString huge = makeSparseFile(dir, QStringLiteral("huge"), qint64(2) << 30);
    const QString picture =
        writeBytes(dir, QStringLiteral("leaf.jpg"), pictureBytes(leafPicture(30, 20), "jpg"));
    const struct {
        // What the reader says about a path; empty when it read the file.
        std::function<QString(const QString &)> error;
        QString binary;
        QString limit;
        bool namesFile; // the custom detection file's message names it where it is shown
    } readers[] = {
        {[](const QString &path) {
             QString error;
             return CalibrationFile::read(path, &error) ? QString() : error;
         },
         "is not a calibration file: it holds binary data", "1.0 MB", true},
        {[](const QString &path) { return readCustomDetectionFile(path).error; },
         "It is not a custom detection file: it holds binary data.", "16.0 MB", false},
        {[](const QString &path) { return readPictureSetFile(path).error; },
         "is not a set file: it holds binary data", "256.0 MB", true},
    };
    for (const auto &r : readers) {
        const std::pair<QString, QString> files[] = {
            {pipe, NotRegular},
            {QStringLiteral("/dev/zero"), NotRegular},
            {m_dir.path(), QStringLiteral("It is a folder, not a file")},
            {huge, QStringLiteral("The file is 2.0 GB, more than the %1 such a file can hold")
                       .arg(r.limit)},
            {picture, r.binary},
        };
        for (const auto &[path, reason] : files) {
            const QString error = r.error(path);
            QVERIFY2(error.contains(reason), qPrintable(error));
            if (r.namesFile)
                QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
            // Nothing of a binary file's bytes.
            for (const QChar ch : error)
                QVERIFY2(ch.isPrint(), qPrintable(error));
        }
    }
}

void TextFilesAndWritesTest::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<Writer>("write");
    QTest::addColumn<QString>("reportStart"); // %1 is the path
    QTest::newRow("calibration file") << Writer([](const QString &path) {
        Calibration calibration;
        calibration.sizeRatio = 0.254;
        calibration.unitName = QStringLiteral("mm");
        calibration.notes.otherNotes = QStringLiteral("flatbed scanner, 600 dpi");
        QString error;
        return CalibrationFile::write(path, calibration, &error) ? QString() : error;
    }) << QStringLiteral("%1: ");
    QTest::newRow("custom detection file") << Writer([](const QString &path) {
        QString error;
        return writeCustomDetectionFile(path, twoSystems(), &error) ? QString() : error;
    }) << QString();
    QVERIFY(m_dir.isValid());
    const QString picture = writeBytes(QDir(m_dir.path()), QStringLiteral("leaf.bmp"),
                                       pictureBytes(leafPicture(120, 90), "bmp"));
    QTest::newRow("overlay picture") << Writer([picture](const QString &path) {
        const PictureOutcome outcome = analysePictureFile(picture, AnalysisSettings(), path);
        // The figures stand whatever becomes of the overlay.
        return outcome.figures ? outcome.overlayError : QStringLiteral("no figures");
    }) << QStringLiteral("cannot write the overlay %1: ");
}

void TextFilesAndWritesTest::failedWriteKeepsTheOldFile()
{
    QFETCH(Writer, write);
    QFETCH(QString, reportStart);
    QTemporaryDir dir;
    const QString path = writeBytes(QDir(dir.path()), QStringLiteral("target"), OldContents);
    QString error;
    {
        const FileSizeLimit fullDisk(OldContents.size());
        error = write(path);
    }
    const QString shownPath = QDir::toNativeSeparators(path);
    QCOMPARE(error, reportStart.arg(shownPath) + QStringLiteral("File too large"));
    QCOMPARE(readBytes(path), OldContents);
    QCOMPARE(filesIn(QDir(dir.path())), QStringList{QStringLiteral("target")});

    // With room, the same write replaces the file.
    QCOMPARE(write(path), QString());
    QVERIFY(readBytes(path) != OldContents);
    QCOMPARE(filesIn(QDir(dir.path())), QStringList{QStringLiteral("target")});
}

// A folder where no new file can be made, around a file that can be written:
// rewriting it in place could leave half a catalogue, which loses every custom
// system at the next start.
void TextFilesAndWritesTest::customFileIsNeverRewrittenInPlace()
{
    QTemporaryDir dir;
    const QString path = writeBytes(QDir(dir.path()), QStringLiteral("CustFile"), OldContents);
    const QFileDevice::Permissions everyone =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(path, everyone | QFileDevice::WriteOwner |
                                            QFileDevice::WriteGroup | QFileDevice::WriteOther));
    QVERIFY(QFile::setPermissions(dir.path(), everyone | QFileDevice::ExeOwner |
                                                  QFileDevice::ExeGroup | QFileDevice::ExeOther));
    QString error;
    bool written = false;
    {
        const OrdinaryUser user;
        if (!user.permissionsApply())
            QSKIP("permissions do not apply to this user");
        written = writeCustomDetectionFile(path, twoSystems(), &error);
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(error, QStringLiteral("Permission denied"));
    QCOMPARE(readBytes(path), OldContents);
}

QTEST_GUILESS_MAIN(TextFilesAndWritesTest)
#include "text_files_and_writes_test.moc"
