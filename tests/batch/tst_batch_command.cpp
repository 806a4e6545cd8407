// The command line of the analyser: refused input, picture sets, order under
// parallel jobs, unreadable pictures, calibration files, locales, the
// executable itself and the sample pictures.
#include "batch_command.h"
#include "batch_test_support.h"
#include "calibration_file.h"
#include "custom_detection_file.h"
#include "parallel_pictures.h"
#include "sample_pictures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>

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
    void rowsKeepInputOrderWithTwoJobs();
    void deliveryWaitsForEarlierPictures();
    void unreadablePicturesKeepTheirRows();
    void progressLineOnATerminal();
    void calibrationFileFromTheWindow();
    void numbersFollowTheLocale();
    void customSystemFromNamedFile();
    void helpAndVersion();
    void overlayNamesAreSafeAndUnique_data();
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
    m_picture = writeLeafPicture(dir, QStringLiteral("leaf.bmp"), 300, 200, 21);
    writeTextFile(dir, QStringLiteral("five-lines.clb"), "\"0.5\"\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    writeTextFile(dir, QStringLiteral("not-a-number.clb"),
                  "\"half\"\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    writeTextFile(dir, QStringLiteral("zero.clb"), "\"0\"\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    writeTextFile(dir, QStringLiteral("no-tab.set"),
                  "first\tleaf.bmp\nsecond leaf.bmp\n");
    writeTextFile(dir, QStringLiteral("damaged/CustFile"), "2\r\n\"Only\",\"1\",\"2\",\"3\"\r\n");
    writeTextFile(dir, QStringLiteral("custom/CustFile"),
                  "1\r\n\"Rust spot\",\"100\",\"45\",\"15\"\r\n");
    writeTextFile(dir, QStringLiteral("a-file"), "");
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
    row("option without its value", cal + QStringList{"%P", "--system"},
        "Missing value after '--system'");
    row("unknown system", cal + QStringList{"--system", "System 5", "%P"},
        "no detection system named \"System 5\"");
    row("system names are case-sensitive", cal + QStringList{"--system", "system 2", "%P"},
        "no detection system named \"system 2\"");
    row("slider above a built-in's range", cal + QStringList{"--system", "System 2", "--slider", "11", "%P"},
        "--slider: 11 is outside the range -3..10 of \"System 2\"");
    row("slider below System 1's range", cal + QStringList{"--system", "System 1", "--slider", "-4", "%P"},
        "outside the range -3..10");
    row("slider below System 3's range", cal + QStringList{"--system", "System 3", "--slider", "-11", "%P"},
        "outside the range -10..10");
    row("slider above a custom range", cal + QStringList{"--custom-file", "%D/custom/CustFile",
        "--system", "Rust spot", "--slider", "21", "%P"}, "outside the range -10..20");
    row("slider not a number", cal + QStringList{"--slider", "1.5", "%P"},
        "--slider: \"1.5\" is not a whole number");
    row("unit step between tenths", cal + QStringList{"--unit-step", "0.15", "%P"},
        "--unit-step: \"0.15\" is not one of 0.1, 0.2, ... 1.0");
    row("unit step above 1", cal + QStringList{"--unit-step", "1.1", "%P"}, "--unit-step:");
    row("unit step 0", cal + QStringList{"--unit-step", "0", "%P"}, "--unit-step:");
    row("size ratio 0", QStringList{"--size-ratio", "0", "--unit", "mm", "%P"},
        "--size-ratio: \"0\" is not a number above 0");
    row("size ratio not a number", QStringList{"--size-ratio", "x", "--unit", "mm", "%P"},
        "--size-ratio:");
    row("size ratio infinite", QStringList{"--size-ratio", "inf", "--unit", "mm", "%P"},
        "--size-ratio:");
    row("jobs 0", cal + QStringList{"--jobs", "0", "%P"},
        "--jobs: \"0\" is not a whole number of at least 1");
    row("uncalibrated", QStringList{"%P"}, "the analysis needs a calibration");
    row("both calibrations", cal + QStringList{"--calibration", "%D/zero.clb", "%P"},
        "either --calibration or --size-ratio");
    row("size ratio without unit", QStringList{"--size-ratio", "0.5", "%P"},
        "--size-ratio and --unit go together");
    row("missing calibration file", QStringList{"--calibration", "%D/none.clb", "%P"},
        "cannot use the calibration file %D/none.clb: ");
    row("calibration file of five lines", QStringList{"--calibration", "%D/five-lines.clb", "%P"},
        "cannot use the calibration file %D/five-lines.clb: Input past end of file");
    row("calibration file without a number", QStringList{"--calibration", "%D/not-a-number.clb", "%P"},
        "\"half\" is not a number");
    row("calibration file with size ratio 0", QStringList{"--calibration", "%D/zero.clb", "%P"},
        "its size ratio is not above 0");
    row("missing set file", cal + QStringList{"--set", "%D/none.set"},
        "cannot read the set file %D/none.set");
    row("set line without a tab", cal + QStringList{"--set", "%D/no-tab.set"},
        "the set file %D/no-tab.set, line 2: expected a line name, a tab and a picture path");
    row("set and pictures", cal + QStringList{"--set", "%D/no-tab.set", "%P"},
        "give either --set or pictures");
    row("no pictures", cal, "no picture given");
    row("damaged custom file", cal + QStringList{"--custom-file", "%D/damaged/CustFile",
        "--system", "Only", "%P"}, "custom detection file %D/damaged/CustFile cannot be read");
    row("overlay folder cannot be made", cal + QStringList{"--overlay", "%D/a-file/overlays", "%P"},
        "cannot create the overlay folder %D/a-file/overlays");
}

void BatchCommandTest::badInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("%P"), m_picture).replace(QStringLiteral("%D"), m_dir.path());
    message.replace(QStringLiteral("%D"), m_dir.path());

    const BatchCommandRun run = runBatch(arguments, m_dir.path());
    QCOMPARE(run.status, int(BatchBadInput));
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QStringLiteral("verdalis-batch: ")), qPrintable(run.err));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY(run.err.endsWith(QLatin1Char('\n')));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

void BatchCommandTest::setFileGivesLineNames()
{
    QTemporaryDir setDir;
    const QDir dir(setDir.path());
    writeLeafPicture(dir, QStringLiteral("a.bmp"), 120, 90, 1);
    writeLeafPicture(dir, QStringLiteral("b.jpg"), 130, 95, 2);
    QVERIFY(dir.mkdir(QStringLiteral("sub")));
    writeLeafPicture(QDir(dir.filePath(QStringLiteral("sub"))), QStringLiteral("c.bmp"), 99, 77, 3);
    // CR LF and LF lines, a blank line, relative and absolute paths, a repeated
    // name, names that are not file names.
    const QByteArray set = "Line 7 (control)\ta.bmp\r\n"
                           "\n"
                           "Line 7 (control)\tsub/c.bmp\n"
                           "plot 3\t" + dir.filePath(QStringLiteral("b.jpg")).toUtf8() + "\n";
    writeTextFile(dir, QStringLiteral("list.txt"), set);

    const BatchCommandRun run =
        runBatch(Calibrated + QStringList{QStringLiteral("--set"), dir.filePath("list.txt")});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QStringList rows = rowsOf(run.out);
    QCOMPARE(column(rows, 0),
             (QStringList{"Line 7 (control)", "Line 7 (control)", "plot 3"}));
    QCOMPARE(rows[1].section('\t', 1),
             rowsOf(runBatch(Calibrated + QStringList{dir.filePath("sub/c.bmp")}).out)[0].section('\t', 1));

    // The same set written as picture arguments: names become file names.
    const BatchCommandRun byName = runBatch(
        Calibrated + QStringList{dir.filePath("a.bmp"), dir.filePath("sub/c.bmp")});
    QCOMPARE(column(rowsOf(byName.out), 0), (QStringList{"a", "c"}));
}

void BatchCommandTest::rowsKeepInputOrderWithTwoJobs()
{
    QTemporaryDir pictures;
    const QDir dir(pictures.path());
    // The first picture is by far the largest, so later ones finish first.
    QStringList paths{writeLeafPicture(dir, "big.bmp", 1800, 1300, 5)};
    const int sizes[][2] = {{120, 80}, {300, 200}, {90, 140}, {200, 150}, {64, 64}};
    for (int i = 0; i < 5; ++i)
        paths << writeLeafPicture(dir, QStringLiteral("small%1.jpg").arg(i), sizes[i][0],
                                  sizes[i][1], 30 + i);
    const QStringList system{QStringLiteral("--system"), QStringLiteral("System 2")};
    const BatchCommandRun oneJob =
        runBatch(Calibrated + system + QStringList{"--jobs", "1"} + paths);
    const BatchCommandRun twoJobs =
        runBatch(Calibrated + system + QStringList{"--jobs", "2"} + paths);
    QCOMPARE(twoJobs.status, 0);
    QCOMPARE(column(rowsOf(twoJobs.out), 0),
             (QStringList{"big", "small0", "small1", "small2", "small3", "small4"}));
    QCOMPARE(twoJobs.out, oneJob.out);
}

// Picture 0 cannot finish before picture 1 has: still delivered first.
void BatchCommandTest::deliveryWaitsForEarlierPictures()
{
    std::mutex mutex;
    std::condition_variable secondDone;
    bool second = false;
    QList<int> finishOrder;
    QList<int> delivered;
    QList<int> progress;
    runPicturesInParallel(
        3, 2,
        [&](int index) {
            std::unique_lock<std::mutex> lock(mutex);
            if (index == 0)
                secondDone.wait(lock, [&] { return second; });
            if (index == 1) {
                second = true;
                secondDone.notify_all();
            }
            finishOrder << index;
            PictureOutcome outcome;
            outcome.error = QString::number(index);
            return outcome;
        },
        [&](int index, const PictureOutcome &outcome) {
            QCOMPARE(outcome.error, QString::number(index));
            delivered << index;
        },
        [&](int done) { progress << done; });
    QCOMPARE(finishOrder.first(), 1);
    QCOMPARE(delivered, (QList<int>{0, 1, 2}));
    QCOMPARE(progress.last(), 3);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
}

void BatchCommandTest::unreadablePicturesKeepTheirRows()
{
    QTemporaryDir pictures;
    const QDir dir(pictures.path());
    const QString first = writeLeafPicture(dir, "first.bmp", 200, 150, 7);
    const QString last = writeLeafPicture(dir, "last.jpg", 210, 140, 8);
    // A JPEG start followed by nonsense, and text that is no picture at all.
    const QString broken = writeTextFile(dir, "broken.jpg", "\xFF\xD8\xFF\xE0 nothing more");
    const QString text = writeTextFile(dir, "notes.bmp", "not a picture\n");
    const QString missing = dir.filePath("missing.tif");
    const QStringList system{"--system", "System 3", "--spots"};
    const BatchCommandRun run =
        runBatch(Calibrated + system + QStringList{first, broken, missing, text, last});
    QCOMPARE(run.status, int(BatchPictureFailed));
    const QStringList rows = rowsOf(run.out);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[1], QStringLiteral("broken\t\t\t\t\t"));
    QCOMPARE(rows[2], QStringLiteral("missing\t\t\t\t\t"));
    QCOMPARE(rows[3], QStringLiteral("notes\t\t\t\t\t"));
    // The others are analysed as on their own.
    QCOMPARE(rows[0], rowsOf(runBatch(Calibrated + system + QStringList{first}).out)[0]);
    QCOMPARE(rows[4], rowsOf(runBatch(Calibrated + system + QStringList{last}).out)[0]);
    // One message per unreadable picture, naming it, in input order.
    const QStringList messages = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(messages.size(), 3);
    QVERIFY(messages[0].startsWith("verdalis-batch: cannot analyse " + broken + ": "));
    QVERIFY(messages[1].startsWith("verdalis-batch: cannot analyse " + missing + ": "));
    QVERIFY(messages[2].startsWith("verdalis-batch: cannot analyse " + text + ": "));
}

// Redrawn as pictures are done (two done at once may show as one step),
// wiped for a message and at the end.
void BatchCommandTest::progressLineOnATerminal()
{
    const QString missing = path(QStringLiteral("missing.bmp"));
    const BatchCommandRun run =
        runBatch(Calibrated + QStringList{"--jobs", "1", m_picture, missing}, QString(), true);
    const QString progress = QStringLiteral("\\rverdalis-batch: %1 of 2 pictures analysed");
    const QString wipe = QStringLiteral("\\r {40}\\r");
    const QRegularExpression expected(
        QStringLiteral("^(%1)+%2verdalis-batch: cannot analyse %3: File not found\n%4%2$")
            .arg(progress.arg(QStringLiteral("[12]")), wipe,
                 QRegularExpression::escape(missing), progress.arg(2)));
    QVERIFY2(expected.match(run.err).hasMatch(), qPrintable(run.err));
    QCOMPARE(rowsOf(run.out).size(), 2);
}

// A calibration saved by the window (its writer, its locale) is read here; under
// a decimal-comma locale the file holds "0,254" and the figures have commas.
void BatchCommandTest::calibrationFileFromTheWindow()
{
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        Calibration calibration;
        calibration.sizeRatio = 0.254;
        calibration.unitName = QStringLiteral("cm");
        calibration.notes.scannerName = QStringLiteral("A");
        calibration.notes.resolution = QStringLiteral("300");
        calibration.notes.otherNotes = QStringLiteral("two\nlines \"quoted\"");
        QString error;
        const QString file = path(QStringLiteral("window.clb"));
        QVERIFY2(CalibrationFile::write(file, calibration, &error), qPrintable(error));

        const BatchCommandRun fromFile = runBatch(
            {QStringLiteral("--system"), QStringLiteral("System 4"), QStringLiteral("--calibration"),
             file, m_picture});
        const BatchCommandRun typed = runBatch(
            {QStringLiteral("--system"), QStringLiteral("System 4"), QStringLiteral("--size-ratio"),
             locale.toString(0.254), QStringLiteral("--unit"), QStringLiteral("cm"), m_picture});
        QCOMPARE(fromFile.status, 0);
        QCOMPARE(fromFile.out, typed.out);
        QVERIFY(fromFile.out.startsWith(
            QStringLiteral("File name\tLeaf area cm2\tSymptom area cm2\tSymptom %\n")));
    }
}

void BatchCommandTest::numbersFollowTheLocale()
{
    const QStringList picture{QStringLiteral("--system"), QStringLiteral("System 1"), m_picture};
    const BatchCommandRun point =
        runBatch(QStringList{"--size-ratio", "0.5", "--unit", "mm", "--unit-step", "0.5"} + picture);
    QCOMPARE(point.status, 0);
    const QString figures = rowsOf(point.out)[0].section('\t', 1);
    QVERIFY2(QRegularExpression("^\\d+\\.\\d{3}\\t\\d+\\.\\d{3}\\t\\d+\\.\\d{3}$")
                 .match(figures).hasMatch(), qPrintable(figures));
    // A decimal comma is no number under the C locale.
    QCOMPARE(runBatch(QStringList{"--size-ratio", "0,5", "--unit", "mm"} + picture).status,
             int(BatchBadInput));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const BatchCommandRun comma =
        runBatch(QStringList{"--size-ratio", "0,5", "--unit", "mm", "--unit-step", "0,5"} + picture);
    QCOMPARE(comma.status, 0);
    QString expected = point.out;
    QCOMPARE(comma.out, expected.replace(QLatin1Char('.'), QLatin1Char(',')));
    // Scripts may always write a decimal point.
    QCOMPARE(runBatch(QStringList{"--size-ratio", "0.5", "--unit", "mm", "--unit-step", "0.5"}
                      + picture).out,
             comma.out);
}

void BatchCommandTest::customSystemFromNamedFile()
{
    const QStringList arguments =
        Calibrated + QStringList{QStringLiteral("--system"), QStringLiteral("Rust spot"), m_picture};
    // The program folder (the test folder) has no custom detection file.
    const BatchCommandRun withoutFile = runBatch(arguments, m_dir.path());
    QCOMPARE(withoutFile.status, int(BatchBadInput));
    QVERIFY(withoutFile.err.contains("no detection system named \"Rust spot\""));

    const BatchCommandRun named = runBatch(
        QStringList{QStringLiteral("--custom-file"), path(QStringLiteral("custom/CustFile"))}
            + arguments,
        m_dir.path());
    QCOMPARE(named.status, 0);
    // The program folder's file is the default.
    QCOMPARE(runBatch(arguments, path(QStringLiteral("custom"))).out, named.out);
    // The rust colour is the necrotic lesions' colour, which System 4 finds too.
    const BatchCommandRun system4 = runBatch(
        Calibrated + QStringList{QStringLiteral("--system"), QStringLiteral("System 4"), m_picture});
    QCOMPARE(rowsOf(named.out)[0].section('\t', 0, 1), rowsOf(system4.out)[0].section('\t', 0, 1));
    QVERIFY(rowsOf(named.out)[0].section('\t', 2, 2).toDouble() > 0);
}

void BatchCommandTest::helpAndVersion()
{
    const BatchCommandRun help = runBatch({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QCOMPARE(help.err, QString());
    for (const char *option : {"--system", "--custom-file", "--slider", "--unit-step",
                               "--calibration", "--size-ratio", "--unit ", "--set", "--jobs",
                               "--overlay", "--spots", "--version"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
    const BatchCommandRun version = runBatch({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(QRegularExpression("^verdalis-batch \\d+\\.\\d+\\.\\d+\\n$").match(version.out).hasMatch());
}

void BatchCommandTest::overlayNamesAreSafeAndUnique_data()
{
    QTest::addColumn<QStringList>("lineNames");
    QTest::addColumn<QStringList>("fileNames");
    QTest::newRow("plain") << QStringList{"leaf1", "leaf2"}
                           << QStringList{"leaf1.png", "leaf2.png"};
    QTest::newRow("separators and wildcards")
        << QStringList{"a/b", "c\\d:e*?", "", ".."}
        << QStringList{"a_b.png", "c_d_e__.png", "picture.png", "picture-2.png"};
    QTest::newRow("repeated, also in another case")
        << QStringList{"x", "x", "X", "x-2"}
        << QStringList{"x.png", "x-2.png", "X-3.png", "x-2-2.png"};
}

void BatchCommandTest::overlayNamesAreSafeAndUnique()
{
    QFETCH(QStringList, lineNames);
    QFETCH(QStringList, fileNames);
    QCOMPARE(overlayFileNames(lineNames), fileNames);
}

void BatchCommandTest::executableExitStatusAndLocale()
{
#ifndef VERDALIS_BATCH_PROGRAM
    QSKIP("the verdalis-batch program is not part of this build");
#else
    const QString program = QStringLiteral(VERDALIS_BATCH_PROGRAM);
    const auto run = [&](const QStringList &arguments, const QString &locale) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(120000))
            qFatal("verdalis-batch did not finish");
        return std::make_tuple(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                               QString::fromUtf8(process.readAllStandardError()));
    };
    const auto [badStatus, badOut, badErr] = run({"--bogus", m_picture}, "C.UTF-8");
    QCOMPARE(badStatus, 2);
    QCOMPARE(badOut, QString());
    QVERIFY(badErr.startsWith("verdalis-batch: Unknown option 'bogus'"));

    // Not a terminal: no progress line, nothing on the error stream.
    const QStringList good{"--size-ratio", "0.5", "--unit", "mm", m_picture};
    const auto [status, out, err] = run(good, "C.UTF-8");
    QCOMPARE(status, 0);
    QCOMPARE(err, QString());
    QCOMPARE(out, runBatch(good).out);
    const auto [germanStatus, germanOut, germanErr] = run(good, "de_DE.UTF-8");
    QCOMPARE(germanStatus, 0);
    QString expected = out;
    QCOMPARE(germanOut, expected.replace('.', ','));
#endif
}

void BatchCommandTest::samplePicturesAndTheirCalibration()
{
    QTemporaryDir samples;
    QString error;
    const QStringList written = SamplePictures::write(samples.path(), &error);
    QCOMPARE(written, (QStringList{"leaves-on-white.jpg", "leaves-on-white.bmp",
                                   "leaves-on-black.jpg", "leaves-on-black.bmp", "samples.clb",
                                   "samples.set"}));
    const QDir dir(samples.path());
    const auto calibration = CalibrationFile::read(dir.filePath("samples.clb"), &error);
    QVERIFY2(calibration, qPrintable(error));
    QCOMPARE(calibration->sizeRatio, 0.32);
    QCOMPARE(calibration->unitName, QStringLiteral("mm"));

    // The scale bar, measured on the picture and calibrated, is 10 mm.
    for (const char *name : {"leaves-on-white.bmp", "leaves-on-black.jpg"}) {
        const QImage picture(dir.filePath(name));
        QCOMPARE(picture.size(), QSize(1800, 1200));
        QCOMPARE(qRound(picture.dotsPerMeterX() * 0.0254), 300);
        int longest = 0;
        for (int y = picture.height() - 40; y < picture.height(); ++y) {
            int run = 0;
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                const bool bar = QByteArray(name).contains("white") ? qGray(pixel) < 60
                                                                    : qGray(pixel) > 200;
                run = bar ? run + 1 : 0;
                longest = qMax(longest, run);
            }
        }
        const double displayMillimetres = longest * 25.4 / 96.0;
        QVERIFY2(qAbs(displayMillimetres * calibration->sizeRatio - 10.0) < 0.1,
                 qPrintable(QString::number(longest)));
    }

    const BatchCommandRun run =
        runBatch({"--calibration", dir.filePath("samples.clb"), "--system", "System 1", "--set",
                  dir.filePath("samples.set")});
    QCOMPARE(run.status, 0);
    QCOMPARE(column(rowsOf(run.out), 0),
             (QStringList{"leaves-on-white-jpg", "leaves-on-white-bmp", "leaves-on-black-jpg",
                          "leaves-on-black-bmp"}));
}

QTEST_GUILESS_MAIN(BatchCommandTest)
#include "tst_batch_command.moc"
