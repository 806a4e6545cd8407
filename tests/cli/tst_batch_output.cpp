// How the command-line analyser hands its rows over: written as soon as they
// are known, a failed write ending the run, rows and the progress line on one
// terminal, threads the system refuses, and the number of jobs by default.
#include "batch_command.h"
#include "batch_job.h"
#include "batch_options.h"
#include "batch_test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <system_error>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    QStringList lines{QString()};
    int column = 0;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\r')) {
            column = 0;
        } else if (ch == QLatin1Char('\n')) {
            lines << QString();
            column = 0;
        } else {
            QString &line = lines.last();
            if (column < line.size())
                line[column] = ch;
            else
                line += ch;
            ++column;
        }
    }
    for (QString &line : lines) {
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
    }
    return lines;
}

QStringList linesOf(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class BatchOutputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failedWriteEndsTheRun_data();
    void failedWriteEndsTheRun();
    void executableReportsUnwritableOutput_data();
    void executableReportsUnwritableOutput();
    void rowsAndProgressShareATerminal();
    void refusedThreadsLeaveFewerJobs_data();
    void refusedThreadsLeaveFewerJobs();
    void jobsDefaultToTheUsableCores();

private:
    QStringList pictureArguments() const
    {
        return Calibrated + QStringList{"--system", "System 2"} + m_pictures;
    }

    QTemporaryDir m_dir;
    QStringList m_pictures;
    // The run of pictureArguments() with one job, every write accepted.
    BatchCommandRun m_whole;
};

void BatchOutputTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    for (int i = 0; i < 4; ++i)
        m_pictures << writeScene(dir, QStringLiteral("leaf%1.jpg").arg(i),
                                 randomLeafScene(240 + 30 * i, 160, std::uint32_t(40 + i)));
    m_whole = runBatch(pictureArguments() + QStringList{"--jobs", "1"});
    QCOMPARE(m_whole.status, 0);
    QCOMPARE(linesOf(m_whole.out).size(), 5);
}

void BatchOutputTest::failedWriteEndsTheRun_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<int>("accepted");
    QTest::newRow("the header") << false << 0;
    QTest::newRow("the first row") << false << 1;
    QTest::newRow("the third row") << false << 3;
    QTest::newRow("the help text") << true << 0;
}

// The lines before the failed write stay whole, nothing is written after it,
// and the run ends with its own exit status and the device's reason.
void BatchOutputTest::failedWriteEndsTheRun()
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
    QString before;
    for (const QString &line : linesOf(m_whole.out).mid(0, accepted))
        before += line + QLatin1Char('\n');
    QCOMPARE(QString::fromUtf8(out.written), before);
    QCOMPARE(QString::fromUtf8(err.data()),
             QStringLiteral("verdalis-batch: cannot write the results to standard output: No "
                            "space left on device\n"));
}

void BatchOutputTest::executableReportsUnwritableOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a full disk") << "/dev/full"
                                 << "No space left on device";
    QTest::newRow("a closed pipe") << QString() << "Broken pipe";
    QTest::newRow("a closed descriptor") << QString() << "Bad file descriptor";
}

// The program's own streams: standard output a full device, a pipe whose
// reader has gone (with SIGPIPE at its default, as a shell leaves it), or
// closed before the program started.
void BatchOutputTest::executableReportsUnwritableOutput()
{
#if !defined(VERDALIS_BATCH_PROGRAM) || !defined(Q_OS_LINUX)
    QSKIP("needs the verdalis-batch program on Linux");
#else
    QFETCH(QString, output);
    QFETCH(QString, reason);
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    const QByteArray tag = QTest::currentDataTag();
    process.setChildProcessModifier(
        [closedPipe = tag.endsWith("pipe"), closedDescriptor = tag.endsWith("descriptor")] {
            std::signal(SIGPIPE, SIG_DFL);
            int ends[2];
            if (closedPipe && ::pipe(ends) == 0) {
                ::close(ends[0]);
                ::dup2(ends[1], STDOUT_FILENO);
            }
            if (closedDescriptor)
                ::close(STDOUT_FILENO);
        });
    process.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), pictureArguments());
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), int(BatchOutputFailed));
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             "verdalis-batch: cannot write the results to standard output: " + reason + "\n");
#endif
}

void BatchOutputTest::rowsAndProgressShareATerminal()
{
    QBuffer terminal;
    terminal.open(QIODevice::WriteOnly);
    const QString missing = QDir(m_dir.path()).filePath(QStringLiteral("missing.jpg"));
    BatchStreams streams{terminal, terminal};
    streams.showProgress = true;
    streams.outOnProgressTerminal = true;
    const int status =
        runBatchCommand(Calibrated + QStringList{"--system", "System 2", "--jobs", "2",
                                                 m_pictures[0], missing, m_pictures[1]},
                        QString(), streams);
    QCOMPARE(status, int(BatchPictureFailed));
    const QString text = QString::fromUtf8(terminal.data());
    QVERIFY2(text.contains(QStringLiteral("pictures analysed")), qPrintable(text));
    const QStringList whole = linesOf(m_whole.out);
    const QString emptyCells(whole[1].count(QLatin1Char('\t')), QLatin1Char('\t'));
    QCOMPARE(screenOf(text),
             (QStringList{whole[0], whole[1], "missing" + emptyCells,
                          "verdalis-batch: cannot analyse " + missing + ": File not found",
                          whole[2], QString()}));
}

void BatchOutputTest::refusedThreadsLeaveFewerJobs_data()
{
    QTest::addColumn<int>("allowed");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << 0
                          << "verdalis-batch: the system refused more threads: 1 of 3 jobs ran\n";
    QTest::newRow("one") << 1
                         << "verdalis-batch: the system refused more threads: 1 of 3 jobs ran\n";
    QTest::newRow("two") << 2
                         << "verdalis-batch: the system refused more threads: 2 of 3 jobs ran\n";
}

// Every picture is still analysed and delivered in order, with a note.
void BatchOutputTest::refusedThreadsLeaveFewerJobs()
{
    QFETCH(int, allowed);
    QFETCH(QString, message);
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
    QCOMPARE(QString::fromUtf8(err.data()), message);
    QCOMPARE(started, allowed);
}

// Restricted to one core, as a job scheduler may start it, the analyser runs
// one job by default, however many the machine has.
void BatchOutputTest::jobsDefaultToTheUsableCores()
{
#ifndef Q_OS_LINUX
    QSKIP("processor affinity is set here through Linux calls");
#else
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
#endif
}

QTEST_GUILESS_MAIN(BatchOutputTest)
#include "tst_batch_output.moc"
