#include "batch_command.h"

#include "batch_job.h"
#include "batch_options.h"
#include "batch_table.h"
#include "parallel_pictures.h"

#include <QDir>

namespace verdalis {

namespace {

const QString Program = QStringLiteral("verdalis-batch");

// False when the device took less than the whole text: a full disk, a closed
// pipe.
bool writeText(QIODevice &device, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

// Messages on the error stream, and the progress line while pictures are
// analysed: redrawn in place with CR, wiped before a message, before a row
// when the rows go to the same terminal, and at the end. An error stream that
// cannot be written has nowhere to say so: it gets no more progress lines, and
// the run goes on, its exit status unchanged.
class ErrorStream {
public:
    ErrorStream(QIODevice &device, bool progress) : m_device(device), m_progress(progress) {}

    void message(const QString &text)
    {
        wipe();
        write(Program + QStringLiteral(": ") + text + QLatin1Char('\n'));
        redraw();
    }
    void progress(int done, int total)
    {
        if (!m_progress)
            return;
        m_line = QStringLiteral("%1: %2 of %3 pictures analysed").arg(Program).arg(done).arg(total);
        redraw();
    }
    void finish()
    {
        wipe();
        m_line.clear();
    }
    void wipe()
    {
        if (!m_line.isEmpty())
            write(QLatin1Char('\r') + QString(m_line.size(), QLatin1Char(' ')) + QLatin1Char('\r'));
    }
    void redraw()
    {
        if (!m_line.isEmpty())
            write(QLatin1Char('\r') + m_line);
    }

private:
    void write(const QString &text)
    {
        if (!writeText(m_device, text)) {
            m_progress = false;
            m_line.clear();
        }
    }

    QIODevice &m_device;
    bool m_progress;
    QString m_line;
};

// The results on standard output. The first write that fails ends the run.
class ResultStream {
public:
    ResultStream(const BatchStreams &streams, ErrorStream &err) : m_streams(streams), m_err(err) {}

    bool write(const QString &text)
    {
        if (m_streams.outOnProgressTerminal)
            m_err.wipe();
        const bool written = writeText(m_streams.out, text);
        if (m_streams.outOnProgressTerminal)
            m_err.redraw();
        if (!written)
            m_error = m_streams.out.errorString();
        return written;
    }
    // Tells why the results could not be written; the exit status.
    int fail()
    {
        m_err.finish();
        m_err.message(
            QStringLiteral("cannot write the results to standard output: %1").arg(m_error));
        return BatchOutputFailed;
    }

private:
    const BatchStreams &m_streams;
    ErrorStream &m_err;
    QString m_error;
};

} // namespace

int runBatchCommand(const QStringList &arguments, const QString &programFolder,
                    const BatchStreams &streams, const ThreadStarter &startThread)
{
    ErrorStream err(streams.err, streams.showProgress);
    ResultStream out(streams, err);
    const BatchOptionsParse parse = parseBatchOptions(arguments);
    if (!parse.ok()) {
        err.message(parse.error + QStringLiteral(" (see --help)"));
        return BatchBadInput;
    }
    if (parse.options.help)
        return out.write(batchUsageText()) ? BatchSucceeded : out.fail();
    if (parse.options.version) {
        return out.write(Program + QStringLiteral(" ") + QStringLiteral(VERDALIS_VERSION) +
                         QLatin1Char('\n'))
                   ? BatchSucceeded
                   : out.fail();
    }
    const BatchJobSetup setup = prepareBatchJob(parse.options, programFolder);
    if (!setup.ok()) {
        err.message(setup.error);
        return BatchBadInput;
    }
    const BatchJob &job = setup.job;

    QStringList overlayPaths;
    if (!job.overlayDir.isEmpty()) {
        QStringList lineNames;
        for (const PictureEntry &picture : job.pictures)
            lineNames.append(picture.lineName);
        const QDir folder(job.overlayDir);
        for (const QString &name : overlayFileNames(lineNames))
            overlayPaths.append(folder.filePath(name));
    }

    if (!out.write(batchHeaderLine(job)))
        return out.fail();
    int status = BatchSucceeded;
    const int count = int(job.pictures.size());
    const ParallelRunEnd end = runPicturesInParallel(
        count, job.jobs,
        [&](int index) {
            return analysePictureFile(job.pictures[index].path, job.settings,
                                      overlayPaths.value(index), job.correctBackground);
        },
        [&](int index, const PictureOutcome &outcome) {
            const PictureEntry &picture = job.pictures[index];
            if (!out.write(batchRowLine(job, picture.lineName, outcome)))
                return false;
            if (!outcome.figures) {
                err.message(QStringLiteral("cannot analyse %1: %2")
                                .arg(QDir::toNativeSeparators(picture.path), outcome.error));
                status = BatchPictureFailed;
            }
            // A remark, not a failure: the figures are written all the same.
            if (!outcome.backgroundMessage.isEmpty())
                err.message(QDir::toNativeSeparators(picture.path) + QStringLiteral(": ") +
                            outcome.backgroundMessage);
            if (!outcome.overlayError.isEmpty()) {
                err.message(outcome.overlayError);
                status = BatchPictureFailed;
            }
            return true;
        },
        [&](int done) { err.progress(done, count); }, startThread);
    if (!end.completed)
        return out.fail();
    err.finish();
    const int wanted = qMin(job.jobs, count);
    const int ran = qMax(end.workers, 1);
    if (ran < wanted)
        err.message(QStringLiteral("the system refused more threads: %1 of %2 jobs ran")
                        .arg(ran)
                        .arg(wanted));
    return status;
}

} // namespace verdalis
