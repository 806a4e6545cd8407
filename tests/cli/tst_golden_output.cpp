// The figures of the sample pictures, pinned: verdalis-batch's output for every
// built-in detection system at unit steps 1.0, 0.5 and 0.1 must be exactly the
// text of golden/sample_pictures.txt. Any change to a figure, the sample
// pictures or the output's form fails here until that file is changed with it.
#include "batch_test_support.h"
#include "calibration_file.h"
#include "sample_pictures.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace verdalis;

namespace {

// The golden text without its comment lines.
QStringList goldenLines()
{
    QFile file(QStringLiteral(VERDALIS_GOLDEN_OUTPUT));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", VERDALIS_GOLDEN_OUTPUT);
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.startsWith(u'#'))
            lines << line;
    return lines;
}

} // namespace

class GoldenOutputTest : public QObject {
    Q_OBJECT
private slots:
    void samplePicturesGiveTheGoldenFigures();
    void sampleScaleBarIsTenMillimetres();
};

void GoldenOutputTest::samplePicturesGiveTheGoldenFigures()
{
    QTemporaryDir folder;
    QString error;
    QVERIFY2(!SamplePictures::write(folder.path(), &error).isEmpty(), qPrintable(error));
    const QDir dir(folder.path());
    QString output;
    for (const QString &step : QStringList{"1.0", "0.5", "0.1"}) {
        for (const QString &system :
             QStringList{"Leaf area only", "System 1", "System 2", "System 3", "System 4"}) {
            output += QStringLiteral("\n$ verdalis-batch --calibration samples.clb --system \"%1\" "
                                     "--unit-step %2 --set samples.set\n")
                          .arg(system, step);
            const BatchCommandRun run =
                runProgram({"--calibration", dir.filePath("samples.clb"), "--system", system,
                            "--unit-step", step, "--set", dir.filePath("samples.set")},
                           QStringLiteral("C"));
            QCOMPARE(run.status, 0);
            output += run.out;
        }
    }

    const QStringList expected = goldenLines();
    const QStringList actual = output.split(u'\n');
    if (actual == expected)
        return;
    // What came out, for a look (and, when the change is meant, to replace the file).
    QFile kept(QDir::current().filePath(QStringLiteral("sample_pictures.actual.txt")));
    if (kept.open(QIODevice::WriteOnly | QIODevice::Text))
        kept.write(output.toUtf8());
    int line = 0;
    while (line < actual.size() && line < expected.size() && actual[line] == expected[line])
        ++line;
    QFAIL(qPrintable(QStringLiteral("output line %1 is \"%2\", the golden file has \"%3\"; "
                                    "the whole output is in %4")
                         .arg(line + 1)
                         .arg(actual.value(line), expected.value(line), kept.fileName())));
}

// The help's worked calibration measures the scale bar of the sample picture and
// calls it 10 mm: the longest dark run near the bottom, taken through the
// calibration the samples ship with, must be that long.
void GoldenOutputTest::sampleScaleBarIsTenMillimetres()
{
    QTemporaryDir folder;
    QString error;
    QVERIFY2(!SamplePictures::write(folder.path(), &error).isEmpty(), qPrintable(error));
    const QDir dir(folder.path());
    const auto calibration = CalibrationFile::read(dir.filePath("samples.clb"), &error);
    QVERIFY2(calibration, qPrintable(error));
    const QImage picture(dir.filePath("leaves-on-white.bmp"));
    QCOMPARE(qRound(picture.dotsPerMeterX() * 0.0254), 300);
    int longest = 0;
    for (int y = picture.height() - 40; y < picture.height(); ++y) {
        for (int x = 0, run = 0; x < picture.width(); ++x) {
            run = qGray(picture.pixel(x, y)) < 60 ? run + 1 : 0;
            longest = qMax(longest, run);
        }
    }
    QVERIFY2(qAbs(longest * 25.4 / 96.0 * calibration->sizeRatio - 10.0) < 0.1,
             qPrintable(QString::number(longest)));
}

QTEST_GUILESS_MAIN(GoldenOutputTest)
#include "tst_golden_output.moc"
