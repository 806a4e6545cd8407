// The command line of the analyser: refused input, picture sets, order and
// figures under parallel jobs, unreadable pictures, the progress line, how
// rows are handed over (a failed write ends the run), threads the system
// refuses, the number of jobs by default, and the program's exit status,
// locale and unwritable standard output.
#include "batch_command.h"
#include "batch_job.h"
#include "batch_test_support.h"
#include "parallel_pictures.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <system_error>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

using namespace verdalis;

namespace {

const QStringList Calibrated{QStringLiteral("--size-ratio"), QStringLiteral("0.5"),
                             QStringLiteral("--unit"), QStringLiteral("mm")};

// A device that takes `accepted` writes and fails every one after, as a full
// disk does.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(int accepted) : m_accepted(accepted) { open(WriteOnly | Unbuffered); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_accepted-- <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        written.append(data, size);
        return size;
    }

private:
    int m_accepted;
};

// What a terminal shows for the text: CR returns to the start of the line,
// later characters overwrite earlier ones; trailing blanks dropped.
QStringList screenOf(const QString &text)
{
    QStringList screen;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString shown;
        for (const QString &part : line.split(QLatin1Char('\r')))
            shown = part + shown.mid(part.size());
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        screen << shown;
    }
    return screen;
}

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
    void unreadablePicturesKeepTheirPlaces();
    void overlayNamesAreSafeAndUnique();
    void failedWriteEndsTheRun_data();
    void failedWriteEndsTheRun();
    void refusedThreadsLeaveFewerJobs_data();
    void refusedThreadsLeaveFewerJobs();
    void jobsDefaultToTheUsableCores();
    void executableExitStatusAndLocale();
    void executableReportsUnwritableOutput_data();
    void executableReportsUnwritableOutput();

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QStringList pictureArguments() const
    {
        return Calibrated + QStringList{"--system", "System 2"} + m_pictures;
    }

    QTemporaryDir m_dir;
    QStringList m_pictures;
    // The run of pictureArguments() with one job, every write accepted.
    BatchCommandRun m_whole;
};

void BatchCommandTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    for (int i = 0; i < 4; ++i)
        m_pictures << writeScene(dir, QStringLiteral("leaf%1.jpg").arg(i),
                                 randomLeafScene(240 + 30 * i, 160, std::uint32_t(40 + i)));
    m_whole = runBatch(pictureArguments() + QStringList{"--jobs", "1"});
    QCOMPARE(m_whole.status, 0);
    QCOMPARE(rowsOf(m_whole.out).size(), 4);
    writeTextFile(dir, QStringLiteral("zero.clb"),
                  "\"0\"\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    writeTextFile(dir, QStringLiteral("no-tab.set"), "first\tleaf0.jpg\nsecond leaf0.jpg\n");
    writeTextFile(dir, QStringLiteral("damaged/CustFile"), "2\r\n\"Only\",\"1\",\"2\",\"3\"\r\n");
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
    // Arguments after the calibration (unless the row gives its own, "-"
    // first), split at '|'; %P is a picture, %D the test folder. Why a file
    // cannot be read is its reader's (input_files_test); here, that the
    // message reaches the user and the run stops, once for each kind of file.
    const struct {
        const char *arguments;
        const char *message;
    } rows[] = {
        {"--system|System 5|%P", "no detection system named \"System 5\""},
        {"--system|System 2|--slider|11|%P",
         "--slider: 11 is outside the range -3..10 of \"System 2\""},
        {"--slider|1.5|%P", "--slider: \"1.5\" is not a whole number"},
        {"--unit-step|0.15|%P", "--unit-step: \"0.15\" is not one of 0.1, 0.2, ... 1.0"},
        {"-|--size-ratio|0|--unit|mm|%P",
         "--size-ratio: \"0\" cannot be used: a size ratio must be above 0"},
        {"-|--size-ratio|0,5|--unit|mm|%P", "--size-ratio: \"0,5\" is not a number"},
        {"-|--size-ratio|0.5|--unit|m\tm|%P", "--unit: a unit name cannot hold a tab"},
        {"--jobs|0|%P", "--jobs: \"0\" is not a whole number of at least 1"},
        {"-|%P", "the analysis needs a calibration"},
        {"--calibration|%D/zero.clb|%P", "either --calibration or --size-ratio"},
        {"-|--size-ratio|0.5|%P", "--size-ratio and --unit go together"},
        {"-|--calibration|%D/none.clb|%P", "cannot use the calibration file %D/none.clb: "},
        {"--set|%D/no-tab.set",
         "the set file %D/no-tab.set, line 2: expected a line name, a tab and a picture path"},
        {"", "no picture given"},
        {"--custom-file|%D/damaged/CustFile|--system|Only|%P",
         "custom detection file %D/damaged/CustFile cannot be read"},
        {"--overlay|%D/a-file/overlays|%P", "cannot create the overlay folder %D/a-file/overlays"},
    };
    for (const auto &row : rows) {
        QStringList arguments = QString::fromUtf8(row.arguments).split(u'|', Qt::SkipEmptyParts);
        if (arguments.value(0) == QStringLiteral("-"))
            arguments.removeFirst();
        else
            arguments = Calibrated + arguments;
        QTest::newRow(row.message) << arguments << QString::fromUtf8(row.message);
    }
}

void BatchCommandTest::badInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("%P"), m_pictures[0])
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
                                      "Line 7 (control)\t../leaf0.jpg\r\n\nLine 7 (control)\t" +
                                          m_pictures[1].toUtf8() + "\nplot 3\t../leaf0.jpg\n");
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
            delivered << index << outcome.error.toInt();
            letGo();
            return true;
        },
        [&](int done) {
            progress << done;
            if (done == 2)
                letGo();
        });
    // Each index with its own outcome.
    QCOMPARE(delivered, (QList<int>{0, 0, 1, 1, 2, 2}));
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QCOMPARE(progress.last(), 3);
}

// Why each picture cannot be read is the reader's (input_pictures_test); here,
// with rows and the progress line on one terminal, that its row stays empty in
// its place, the others are analysed as on their own, and one message per
// picture names it, after its row; the progress line is wiped before each row
// and message and at the end.
void BatchCommandTest::unreadablePicturesKeepTheirPlaces()
{
    const QDir dir(m_dir.path());
    QVERIFY(dir.mkpath("folder.jpg"));
    const QStringList unreadable{writeTextFile(dir, "broken.jpg", "\xFF\xD8\xFF\xE0 nothing more"),
                                 dir.filePath("missing.tif"), dir.filePath("folder.jpg")};
    QBuffer terminal;
    terminal.open(QIODevice::WriteOnly);
    BatchStreams streams{terminal, terminal, true};
    streams.outOnProgressTerminal = true;
    const QStringList arguments = Calibrated + QStringList{"--system", "System 2", "--jobs", "2"};
    const int status = runBatchCommand(arguments + QStringList{m_pictures[0]} + unreadable +
                                           QStringList{m_pictures[1]},
                                       QString(), streams);
    QCOMPARE(status, int(BatchPictureFailed));
    const QString text = QString::fromUtf8(terminal.data());
    QVERIFY2(text.contains(QStringLiteral("pictures analysed")), qPrintable(text));

    // Messages are compared up to the reason.
    const QStringList whole = m_whole.out.split(QLatin1Char('\n'));
    const QString emptyCells(whole[1].count(QLatin1Char('\t')), QLatin1Char('\t'));
    QStringList expected{whole[0], whole[1]};
    for (const QString &path : unreadable)
        expected << QFileInfo(path).completeBaseName() + emptyCells
                 << "verdalis-batch: cannot analyse " + path + ": ";
    expected << whole[2] << QString();
    const QStringList screen = screenOf(text);
    QCOMPARE(screen.size(), expected.size());
    for (int i = 0; i < screen.size(); ++i)
        QVERIFY2(expected[i].endsWith(QStringLiteral(": ")) ? screen[i].startsWith(expected[i])
                                                            : screen[i] == expected[i],
                 qPrintable(screen[i]));
}

void BatchCommandTest::overlayNamesAreSafeAndUnique()
{
    // Separators and wildcards replaced, no name or a dot name given one,
    // repeats numbered even when they differ only in case.
    QCOMPARE(overlayFileNames({"leaf1", "a/b", "c\\d:e*?", "", "..", "x", "x", "X", "x-2"}),
             (QStringList{"leaf1.png", "a_b.png", "c_d_e__.png", "picture.png", "picture-2.png",
                          "x.png", "x-2.png", "X-3.png", "x-2-2.png"}));
}

void BatchCommandTest::failedWriteEndsTheRun_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<int>("accepted");
    QTest::newRow("the header") << false << 0;
    QTest::newRow("the third row") << false << 3;
    QTest::newRow("the help text") << true << 0;
}

// The lines before the failed write stay whole, nothing is written after it,
// and the run ends with its own exit status and the device's reason.
void BatchCommandTest::failedWriteEndsTheRun()
{
    QFETCH(bool, help);
    QFETCH(int, accepted);
    FailingDevice out(accepted);
    QBuffer err;
    err.open(QIODevice::WriteOnly);
    const int status = runBatchCommand(help ? QStringList{"--help"}
                                            : pictureArguments() + QStringList{"--jobs", "2"},
                                       QString(), {out, err});
    QCOMPARE(status, int(BatchOutputFailed));
    const QStringList lines = m_whole.out.split(QLatin1Char('\n')).mid(0, accepted);
    QCOMPARE(QString::fromUtf8(out.written),
             lines.join(QLatin1Char('\n')) + (accepted ? "\n" : ""));
    QCOMPARE(QString::fromUtf8(err.data()),
             QStringLiteral("verdalis-batch: cannot write the results to standard output: No "
                            "space left on device\n"));
}

void BatchCommandTest::refusedThreadsLeaveFewerJobs_data()
{
    QTest::addColumn<int>("allowed");
    QTest::addColumn<int>("ran");
    QTest::newRow("none") << 0 << 1;
    QTest::newRow("two") << 2 << 2;
}

// Every picture is still analysed and delivered in order, with a note; with
// no thread at all the pictures are analysed on the calling one.
void BatchCommandTest::refusedThreadsLeaveFewerJobs()
{
    QFETCH(int, allowed);
    QFETCH(int, ran);
    int started = 0;
    const ThreadStarter refuseAfter = [&](std::function<void()> body) {
        if (started == allowed)
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        ++started;
        return std::thread(std::move(body));
    };
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runBatchCommand(pictureArguments() + QStringList{"--jobs", "3"}, QString(),
                                       {out, err}, refuseAfter);
    QCOMPARE(status, 0);
    QCOMPARE(QString::fromUtf8(out.data()), m_whole.out);
    QCOMPARE(QString::fromUtf8(err.data()),
             QStringLiteral("verdalis-batch: the system refused more threads: %1 of 3 jobs ran\n")
                 .arg(ran));
    QCOMPARE(started, allowed);
}

// Restricted to one core, as a job scheduler may start it, the analyser runs
// one job by default, however many the machine has.
void BatchCommandTest::jobsDefaultToTheUsableCores()
{
    cpu_set_t original;
    QCOMPARE(sched_getaffinity(0, sizeof original, &original), 0);
    const auto defaultJobs = [&] {
        const BatchOptionsParse parse = parseBatchOptions(Calibrated + m_pictures);
        return prepareBatchJob(parse.options, QString()).job.jobs;
    };
    QCOMPARE(defaultJobs(), CPU_COUNT(&original));
    int first = 0;
    while (!CPU_ISSET(first, &original))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    QCOMPARE(sched_setaffinity(0, sizeof one, &one), 0);
    const int restricted = defaultJobs();
    QCOMPARE(sched_setaffinity(0, sizeof original, &original), 0);
    QCOMPARE(restricted, 1);
}

// Exit status 2 for bad input, 1 for a picture that could not be read, 0 for
// success; the locale comes from the environment.
void BatchCommandTest::executableExitStatusAndLocale()
{
#ifndef VERDALIS_BATCH_PROGRAM
    QSKIP("the verdalis-batch program is not part of this build");
#else
    const BatchCommandRun bad = runProgram({"--bogus", m_pictures[0]});
    QCOMPARE(bad.status, 2);
    QCOMPARE(bad.out, QString());
    QVERIFY(bad.err.startsWith("verdalis-batch: Unknown option 'bogus'"));
    QCOMPARE(runProgram(Calibrated + QStringList{path("missing.bmp")}).status, 1);

    // Not a terminal: no progress line, nothing on the error stream.
    const QStringList point{"--size-ratio", "0.5", "--unit",     "mm",
                            "--unit-step",  "0.5", m_pictures[0]};
    const BatchCommandRun good = runProgram(point);
    QCOMPARE(good.status, 0);
    QCOMPARE(good.err, QString());
    QCOMPARE(good.out, runBatch(point).out);
    // A decimal-comma locale writes commas and reads "0,5" and, for scripts, "0.5".
    QString comma = good.out;
    comma.replace(QLatin1Char('.'), QLatin1Char(','));
    QCOMPARE(
        runProgram({"--size-ratio", "0,5", "--unit", "mm", "--unit-step", "0,5", m_pictures[0]},
                   "de_DE.UTF-8")
            .out,
        comma);
    QCOMPARE(runProgram(point, "de_DE.UTF-8").out, comma);
#endif
}

void BatchCommandTest::executableReportsUnwritableOutput_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("a full disk") << "No space left on device";
    QTest::newRow("a closed pipe") << "Broken pipe";
    QTest::newRow("a closed descriptor") << "Bad file descriptor";
}

// The program's own standard output: a full device, a pipe whose reader has
// gone (with SIGPIPE at its default, as a shell leaves it), or closed before
// the program started.
void BatchCommandTest::executableReportsUnwritableOutput()
{
#ifndef VERDALIS_BATCH_PROGRAM
    QSKIP("the verdalis-batch program is not part of this build");
#else
    QFETCH(QString, reason);
    const QByteArray tag = QTest::currentDataTag();
    const BatchCommandRun run = runProgram(pictureArguments(), "C.UTF-8", [tag] {
        std::signal(SIGPIPE, SIG_DFL);
        int ends[2];
        if (tag.endsWith("disk"))
            ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
        if (tag.endsWith("pipe") && ::pipe(ends) == 0) {
            ::close(ends[0]);
            ::dup2(ends[1], STDOUT_FILENO);
        }
        if (tag.endsWith("descriptor"))
            ::close(STDOUT_FILENO);
    });
    QCOMPARE(run.status, int(BatchOutputFailed));
    QCOMPARE(run.err,
             "verdalis-batch: cannot write the results to standard output: " + reason + "\n");
#endif
}

QTEST_GUILESS_MAIN(BatchCommandTest)
#include "tst_batch_command.moc"
