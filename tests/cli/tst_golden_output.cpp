// The figures of the sample pictures, pinned: verdalis-batch's output for every
// built-in detection system at unit steps 1.0, 0.5 and 0.1 must be exactly the
// text of golden/sample_pictures.txt. Any change to a figure, the sample
// pictures or the output's form fails here until that file is changed with it.
#include "sample_pictures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace verdalis;

namespace {

const QStringList Systems{"Leaf area only", "System 1", "System 2", "System 3", "System 4"};
const QStringList UnitSteps{"1.0", "0.5", "0.1"};

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

QString runBatch(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("verdalis-batch %s failed: %s", qPrintable(arguments.join(u' ')),
               process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class GoldenOutputTest : public QObject {
    Q_OBJECT
private slots:
    void samplePicturesGiveTheGoldenFigures();
};

void GoldenOutputTest::samplePicturesGiveTheGoldenFigures()
{
    QTemporaryDir folder;
    QString error;
    QVERIFY2(!SamplePictures::write(folder.path(), &error).isEmpty(), qPrintable(error));

    QString output;
    for (const QString &step : UnitSteps) {
        for (const QString &system : Systems) {
            output += QStringLiteral("\n$ verdalis-batch --calibration samples.clb --system \"%1\" "
                                     "--unit-step %2 --set samples.set\n")
                          .arg(system, step);
            output += runBatch(folder.path(), {"--calibration", "samples.clb", "--system", system,
                                               "--unit-step", step, "--set", "samples.set"});
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

QTEST_GUILESS_MAIN(GoldenOutputTest)
#include "tst_golden_output.moc"
