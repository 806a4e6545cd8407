// The command line of the analyser: refused input, picture sets, order and
// figures under parallel jobs, unreadable pictures, calibration files, the
// executable's exit status and locale, and the sample pictures.
#include "batch_command.h"
#include "batch_test_support.h"
#include "calibration_file.h"
#include "parallel_pictures.h"
#include "sample_pictures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>

#include <sys/stat.h>

using namespace verdalis;

namespace {

QStringList rowsOf(const QString &out)
{
    QStringList lines = out.split(QLatin1Char('\n'));
    if (lines.value(lines.size() - 1).isEmpty())
        lines.removeLast();
    return lines.mid(1);
}

QStringList column(const QStringList &rows, int index)
{
    QStringList cells;
    for (const QString &row : rows)
        cells << row.section(QLatin1Char('\t'), index, index);
    return cells;
}

const QStringList Calibrated{QStringLiteral("--size-ratio"), QStringLiteral("0.5"),
                             QStringLiteral("--unit"), QStringLiteral("mm")};

} // namespace

class BatchCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void setFileGivesLineNames();
    void rowsKeepInputOrderUnderSeveralJobs();
    void deliveryWaitsForEarlierPictures();
    void unreadablePicturesKeepTheirRows();
    void progressLineOnATerminal();
    void overlayNamesAreSafeAndUnique();
    void executableExitStatusAndLocale();
    void samplePicturesAndTheirCalibration();

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    QTemporaryDir m_dir;
    QString m_picture;
};

void BatchCommandTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    m_picture = writeScene(dir, QStringLiteral("leaf.bmp"), randomLeafScene(300, 200, 21));
    writeTextFile(dir, QStringLiteral("zero.clb"),
                  "\"0\"\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    writeTextFile(dir, QStringLiteral("no-tab.set"), "first\tleaf.bmp\nsecond leaf.bmp\n");
    writeTextFile(dir, QStringLiteral("damaged/CustFile"), "2\r\n\"Only\",\"1\",\"2\",\"3\"\r\n");
    writeTextFile(dir, QStringLiteral("a-file"), "");
    QVERIFY(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.clb"))).constData(), 0600) == 0);
}

void BatchCommandTest::init()
{
    QLocale::setDefault(QLocale::c());
}

void BatchCommandTest::badInputIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    // %P is the picture, %D the test folder.
    const auto row = [](const char *tag, QStringList arguments, const char *message) {
        QTest::newRow(tag) << arguments << QString::fromUtf8(message);
    };
    const QStringList cal = Calibrated;
    row("unknown option", cal + QStringList{"--colour", "red", "%P"}, "Unknown option 'colour'");
    row("unknown system", cal + QStringList{"--system", "System 5", "%P"},
        "no detection system named \"System 5\"");
    row("slider above a built-in's range",
        cal + QStringList{"--system", "System 2", "--slider", "11", "%P"},
        "--slider: 11 is outside the range -3..10 of \"System 2\"");
    row("slider not a number", cal + QStringList{"--slider", "1.5", "%P"},
        "--slider: \"1.5\" is not a whole number");
    row("unit step between tenths", cal + QStringList{"--unit-step", "0.15", "%P"},
        "--unit-step: \"0.15\" is not one of 0.1, 0.2, ... 1.0");
    row("size ratio 0", QStringList{"--size-ratio", "0", "--unit", "mm", "%P"},
        "--size-ratio: \"0\" cannot be used: a size ratio must be above 0");
    row("size ratio that overflows the areas",
        QStringList{"--size-ratio", "1e308", "--unit", "mm", "%P"},
        "--size-ratio: \"1e308\" cannot be used: a size ratio must lie between 1e-100 and 1e100");
    row("decimal comma under the C locale",
        QStringList{"--size-ratio", "0,5", "--unit", "mm", "%P"},
        "--size-ratio: \"0,5\" is not a number");
    row("empty unit", QStringList{"--size-ratio", "0.5", "--unit", "", "%P"},
        "--unit: the unit name is empty");
    row("unit with a tab", QStringList{"--size-ratio", "0.5", "--unit", "m\tm", "%P"},
        "--unit: a unit name cannot hold a tab");
    row("jobs 0", cal + QStringList{"--jobs", "0", "%P"},
        "--jobs: \"0\" is not a whole number of at least 1");
    row("uncalibrated", QStringList{"%P"}, "the analysis needs a calibration");
    row("both calibrations", cal + QStringList{"--calibration", "%D/zero.clb", "%P"},
        "either --calibration or --size-ratio");
    row("size ratio without unit", QStringList{"--size-ratio", "0.5", "%P"},
        "--size-ratio and --unit go together");
    row("missing calibration file", QStringList{"--calibration", "%D/none.clb", "%P"},
        "cannot use the calibration file %D/none.clb: ");
    // Special files: a named pipe blocked for ever, /dev/zero filled the memory.
    row("calibration file that is a named pipe", QStringList{"--calibration", "%D/pipe.clb", "%P"},
        "cannot use the calibration file %D/pipe.clb: It is not a regular file");
    row("set file that never ends", cal + QStringList{"--set", "/dev/zero"},
        "cannot read the set file /dev/zero: It is not a regular file");
    row("custom file that is a folder",
        cal + QStringList{"--custom-file", "%D", "--system", "Mine", "%P"},
        "custom detection file %D cannot be read: It is a folder, not a file");
    row("set line without a tab", cal + QStringList{"--set", "%D/no-tab.set"},
        "the set file %D/no-tab.set, line 2: expected a line name, a tab and a picture path");
    row("no pictures", cal, "no picture given");
    row("damaged custom file",
        cal + QStringList{"--custom-file", "%D/damaged/CustFile", "--system", "Only", "%P"},
        "custom detection file %D/damaged/CustFile cannot be read");
    row("overlay folder cannot be made", cal + QStringList{"--overlay", "%D/a-file/overlays", "%P"},
        "cannot create the overlay folder %D/a-file/overlays");
}

void BatchCommandTest::badInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("%P"), m_picture)
            .replace(QStringLiteral("%D"), m_dir.path());
    message.replace(QStringLiteral("%D"), m_dir.path());

    const BatchCommandRun run = runBatch(arguments, m_dir.path());
    QCOMPARE(run.status, int(BatchBadInput));
    QCOMPARE(run.out, QString());
    // One line, naming the program.
    QVERIFY2(QRegularExpression("^verdalis-batch: [^\n]+\n$").match(run.err).hasMatch() &&
                 run.err.contains(message),
             qPrintable(run.err));
}

void BatchCommandTest::setFileGivesLineNames()
{
    // CR LF and LF lines, a blank line, paths relative to the set file's folder
    // and absolute, a repeated name, names that are not file names.
    const QString set = writeTextFile(QDir(m_dir.path()), QStringLiteral("sets/list.txt"),
                                      "Line 7 (control)\t../leaf.bmp\r\n\nLine 7 (control)\t" +
                                          m_picture.toUtf8() + "\nplot 3\t../leaf.bmp\n");
    const BatchCommandRun run = runBatch(Calibrated + QStringList{QStringLiteral("--set"), set});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(column(rowsOf(run.out), 0),
             (QStringList{"Line 7 (control)", "Line 7 (control)", "plot 3"}));
}

// Rows in input order and each picture's figures as when it is analysed alone,
// whatever the number of jobs. The first picture is by far the largest, so
// later ones finish first. The JPEGs are large enough for the memory a worker
// keeps from one picture to the next and of different shapes, so each is drawn
// over an earlier picture's pixels.
void BatchCommandTest::rowsKeepInputOrderUnderSeveralJobs()
{
    QTemporaryDir pictures;
    const QDir dir(pictures.path());
    QStringList paths{writeScene(dir, "big.bmp", randomLeafScene(1800, 1300, 5))};
    const int shapes[][2] = {{1000, 600}, {1100, 560}, {900, 640}, {1000, 600}, {90, 80}};
    for (int i = 0; i < 5; ++i)
        paths << writeScene(dir, QStringLiteral("jpeg%1.jpg").arg(i),
                            randomLeafScene(shapes[i][0], shapes[i][1], std::uint32_t(i)));
    const QStringList arguments = Calibrated + QStringList{"--system", "System 2"};
    QStringList alone;
    for (const QString &path : paths)
        alone << rowsOf(runBatch(arguments + QStringList{path}).out).value(0);
    QCOMPARE(column(alone, 0), (QStringList{"big", "jpeg0", "jpeg1", "jpeg2", "jpeg3", "jpeg4"}));
    for (const char *jobs : {"1", "2", "3"}) {
        const BatchCommandRun run = runBatch(arguments + QStringList{"--jobs", jobs} + paths);
        QCOMPARE(run.status, 0);
        QCOMPARE(rowsOf(run.out), alone);
    }
}

// Picture 0 is held back until a later picture is delivered (which must not
// happen) or both later ones are done: it is still delivered first.
void BatchCommandTest::deliveryWaitsForEarlierPictures()
{
    std::mutex mutex;
    std::condition_variable changed;
    bool release = false;
    const auto letGo = [&] {
        const std::lock_guard<std::mutex> lock(mutex);
        release = true;
        changed.notify_all();
    };
    QList<int> delivered;
    QStringList outcomes;
    QList<int> progress;
    runPicturesInParallel(
        3, 2,
        [&](int index) {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return index != 0 || release; });
            PictureOutcome outcome;
            outcome.error = QString::number(index);
            return outcome;
        },
        [&](int index, const PictureOutcome &outcome) {
            delivered << index;
            outcomes << outcome.error;
            letGo();
            return true;
        },
        [&](int done) {
            progress << done;
            if (done == 2)
                letGo();
        });
    QCOMPARE(delivered, (QList<int>{0, 1, 2}));
    QCOMPARE(outcomes, (QStringList{"0", "1", "2"}));
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QCOMPARE(progress.last(), 3);
}

// Why each picture cannot be read is the reader's (input_pictures_test); here,
// that its row stays empty in its place, the others are analysed as on their
// own, and one message per picture names it, in input order.
void BatchCommandTest::unreadablePicturesKeepTheirRows()
{
    QTemporaryDir pictures;
    const QDir dir(pictures.path());
    const QString last = writeScene(dir, "last.jpg", randomLeafScene(210, 140, 8));
    QVERIFY(dir.mkdir("folder.jpg"));
    const QStringList unreadable{writeTextFile(dir, "broken.jpg", "\xFF\xD8\xFF\xE0 nothing more"),
                                 dir.filePath("missing.tif"), dir.filePath("folder.jpg")};
    const QStringList system = Calibrated + QStringList{"--system", "System 3", "--spots"};
    const BatchCommandRun run = runBatch(QStringList(system) << m_picture << unreadable << last);
    QCOMPARE(run.status, int(BatchPictureFailed));
    const QStringList rows = rowsOf(run.out);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.mid(1, 3),
             (QStringList{"broken\t\t\t\t\t", "missing\t\t\t\t\t", "folder\t\t\t\t\t"}));
    QCOMPARE(rows[0], rowsOf(runBatch(system + QStringList{m_picture}).out).value(0));
    QCOMPARE(rows[4], rowsOf(runBatch(system + QStringList{last}).out).value(0));
    const QStringList messages = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(messages.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(messages[i].startsWith("verdalis-batch: cannot analyse " + unreadable[i] + ": "),
                 qPrintable(messages[i]));
}

// Redrawn as pictures are done (two done at once may show as one step),
// wiped for a message, shown again after it (the count may still be the one
// before the message's picture) and wiped at the end.
void BatchCommandTest::progressLineOnATerminal()
{
    const QString missing = path(QStringLiteral("missing.bmp"));
    const BatchCommandRun run =
        runBatch(Calibrated + QStringList{"--jobs", "1", m_picture, missing}, QString(), true);
    const QString progress = QStringLiteral("\\rverdalis-batch: %1 of 2 pictures analysed");
    const QString wipe = QStringLiteral("\\r {40}\\r");
    const QRegularExpression expected(
        QStringLiteral("^(%1)+%2verdalis-batch: cannot analyse %3: File not found\n(%1)*%4%2$")
            .arg(progress.arg(QStringLiteral("[12]")), wipe, QRegularExpression::escape(missing),
                 progress.arg(2)));
    QVERIFY2(expected.match(run.err).hasMatch(), qPrintable(run.err));
    QCOMPARE(rowsOf(run.out).size(), 2);
}

void BatchCommandTest::overlayNamesAreSafeAndUnique()
{
    // Separators and wildcards replaced, no name or a dot name given one,
    // repeats numbered even when they differ only in case.
    QCOMPARE(overlayFileNames({"leaf1", "a/b", "c\\d:e*?", "", "..", "x", "x", "X", "x-2"}),
             (QStringList{"leaf1.png", "a_b.png", "c_d_e__.png", "picture.png", "picture-2.png",
                          "x.png", "x-2.png", "X-3.png", "x-2-2.png"}));
}

// Exit status 2 for bad input, 1 for a picture that could not be read, 0 for
// help, version and success; the locale comes from the environment.
void BatchCommandTest::executableExitStatusAndLocale()
{
#ifndef VERDALIS_BATCH_PROGRAM
    QSKIP("the verdalis-batch program is not part of this build");
#else
    const auto run = [&](const QStringList &arguments, const char *locale) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
        if (!process.waitForFinished(120000))
            qFatal("verdalis-batch did not finish");
        return BatchCommandRun{process.exitCode(),
                               QString::fromUtf8(process.readAllStandardOutput()),
                               QString::fromUtf8(process.readAllStandardError())};
    };
    const BatchCommandRun bad = run({"--bogus", m_picture}, "C.UTF-8");
    QCOMPARE(bad.status, 2);
    QCOMPARE(bad.out, QString());
    QVERIFY(bad.err.startsWith("verdalis-batch: Unknown option 'bogus'"));
    QCOMPARE(run(Calibrated + QStringList{path("missing.bmp")}, "C.UTF-8").status, 1);
    const BatchCommandRun help = run({"--help"}, "C.UTF-8");
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith("Usage: verdalis-batch [options] PICTURE...\n"));
    const BatchCommandRun version = run({"--version"}, "C.UTF-8");
    QCOMPARE(version.status, 0);
    QVERIFY(
        QRegularExpression("^verdalis-batch \\d+\\.\\d+\\.\\d+\\n$").match(version.out).hasMatch());

    // Not a terminal: no progress line, nothing on the error stream.
    const QStringList point{"--size-ratio", "0.5", "--unit", "mm", "--unit-step", "0.5", m_picture};
    const BatchCommandRun good = run(point, "C.UTF-8");
    QCOMPARE(good.status, 0);
    QCOMPARE(good.err, QString());
    QCOMPARE(good.out, runBatch(point).out);
    // A decimal-comma locale writes commas and reads "0,5" and, for scripts, "0.5".
    QString comma = good.out;
    comma.replace(QLatin1Char('.'), QLatin1Char(','));
    QCOMPARE(
        run({"--size-ratio", "0,5", "--unit", "mm", "--unit-step", "0,5", m_picture}, "de_DE.UTF-8")
            .out,
        comma);
    QCOMPARE(run(point, "de_DE.UTF-8").out, comma);
#endif
}

void BatchCommandTest::samplePicturesAndTheirCalibration()
{
    QTemporaryDir samples;
    QString error;
    const QStringList written = SamplePictures::write(samples.path(), &error);
    QCOMPARE(written,
             (QStringList{"leaves-on-white.jpg", "leaves-on-white.bmp", "leaves-on-black.jpg",
                          "leaves-on-black.bmp", "samples.clb", "samples.set"}));
    const QDir dir(samples.path());
    const auto calibration = CalibrationFile::read(dir.filePath("samples.clb"), &error);
    QVERIFY2(calibration, qPrintable(error));
    QCOMPARE(calibration->sizeRatio, 0.32);
    QCOMPARE(calibration->unitName, QStringLiteral("mm"));

    // The scale bar, measured on the picture and calibrated, is 10 mm: the
    // longest dark run near the bottom of the white picture.
    const QImage picture(dir.filePath("leaves-on-white.bmp"));
    QCOMPARE(picture.size(), QSize(1800, 1200));
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

    const BatchCommandRun run = runBatch({"--calibration", dir.filePath("samples.clb"), "--system",
                                          "System 1", "--set", dir.filePath("samples.set")});
    QCOMPARE(run.status, 0);
    QCOMPARE(column(rowsOf(run.out), 0),
             (QStringList{"leaves-on-white-jpg", "leaves-on-white-bmp", "leaves-on-black-jpg",
                          "leaves-on-black-bmp"}));
}

QTEST_GUILESS_MAIN(BatchCommandTest)
#include "tst_batch_command.moc"
