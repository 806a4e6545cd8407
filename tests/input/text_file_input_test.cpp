// The small text files read at a user's word (calibration, custom detection and
// picture set files) refuse what is not such a file, with a reason naming it:
// a named pipe used to block for ever, /dev/zero to fill the memory, a picture
// chosen by mistake to put its bytes into the message.
#include "calibration_file.h"
#include "custom_detection_file.h"
#include "hostile_files.h"
#include "picture_set_file.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace verdalis;
using namespace verdalis::test;

namespace {

enum class Reader { Calibration, CustomDetection, PictureSet };

// What the reader says about path; empty when it read the file.
QString readerError(Reader reader, const QString &path)
{
    switch (reader) {
    case Reader::Calibration: {
        QString error;
        return CalibrationFile::read(path, &error) ? QString() : error;
    }
    case Reader::CustomDetection:
        return readCustomDetectionFile(path).error;
    case Reader::PictureSet:
        return readPictureSetFile(path).error;
    }
    return QString();
}

const QString NotRegular =
    QStringLiteral("It is not a regular file (it is a named pipe, a device or a socket)");

} // namespace

Q_DECLARE_METATYPE(Reader)

class TextFileInputTest : public QObject {
    Q_OBJECT
private slots:
    void hostileFilesAreRefused_data();
    void hostileFilesAreRefused();

private:
    QTemporaryDir m_dir;
};

void TextFileInputTest::hostileFilesAreRefused_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    const QString pipe = makeFifo(dir, QStringLiteral("pipe"));
    // Sparse: it takes no room on the disk.
    const QString huge = makeSparseFile(dir, QStringLiteral("huge"), qint64(2) << 30);
    const QString picture =
        writeBytes(dir, QStringLiteral("leaf.jpg"), pictureBytes(leafPicture(30, 20), "jpg"));
    const struct {
        Reader reader;
        const char *name;
        const char *binary;
        const char *limit;
    } readers[] = {
        {Reader::Calibration, "calibration", "is not a calibration file: it holds binary data",
         "1.0 MB"},
        {Reader::CustomDetection, "custom detection",
         "It is not a custom detection file: it holds binary data.", "16.0 MB"},
        {Reader::PictureSet, "set", "is not a set file: it holds binary data", "256.0 MB"},
    };
    for (const auto &r : readers) {
        const auto row = [&](const char *what, const QString &path, const QString &reason) {
            QTest::addRow("%s file: %s", r.name, what) << r.reader << path << reason;
        };
        row("named pipe", pipe, NotRegular);
        row("/dev/zero", QStringLiteral("/dev/zero"), NotRegular);
        row("folder", m_dir.path(), QStringLiteral("It is a folder, not a file"));
        row("2 GB", huge,
            QStringLiteral("The file is 2.0 GB, more than the %1 such a file can hold")
                .arg(QLatin1String(r.limit)));
        row("a picture", picture, QString::fromLatin1(r.binary));
    }
}

void TextFileInputTest::hostileFilesAreRefused()
{
    QFETCH(Reader, reader);
    QFETCH(QString, path);
    QFETCH(QString, reason);
    const QString error = readerError(reader, path);
    QVERIFY2(error.contains(reason), qPrintable(error));
    // The custom detection file's message names it where it is shown.
    if (reader != Reader::CustomDetection)
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    // Nothing of a binary file's bytes.
    for (const QChar ch : error)
        QVERIFY2(ch.isPrint(), qPrintable(error));
}

QTEST_GUILESS_MAIN(TextFileInputTest)
#include "text_file_input_test.moc"
