// Every file the program writes is replaced whole or not at all: on a full disk
// (a file-size limit here) or in a folder that allows no new file, the old file
// stays as it was, nothing else is left behind and the failure is reported.
#include "calibration_file.h"
#include "custom_detection_file.h"
#include "file_access.h"
#include "hostile_files.h"
#include "picture_analysis.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace verdalis;
using namespace verdalis::test;

namespace {

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

class SafeWriteTest : public QObject {
    Q_OBJECT
private slots:
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void customFileIsNeverRewrittenInPlace();

private:
    QTemporaryDir m_pictures;
};

void SafeWriteTest::failedWriteKeepsTheOldFile_data()
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
    QVERIFY(m_pictures.isValid());
    const QString picture = writeBytes(QDir(m_pictures.path()), QStringLiteral("leaf.bmp"),
                                       pictureBytes(leafPicture(120, 90), "bmp"));
    QTest::newRow("overlay picture") << Writer([picture](const QString &path) {
        const PictureOutcome outcome = analysePictureFile(picture, AnalysisSettings(), path);
        // The figures stand whatever becomes of the overlay.
        return outcome.figures ? outcome.overlayError : QStringLiteral("no figures");
    }) << QStringLiteral("cannot write the overlay %1: ");
}

void SafeWriteTest::failedWriteKeepsTheOldFile()
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
void SafeWriteTest::customFileIsNeverRewrittenInPlace()
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

QTEST_GUILESS_MAIN(SafeWriteTest)
#include "safe_write_test.moc"
