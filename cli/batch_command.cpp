#include "batch_command.h"

#include "batch_job.h"
#include "batch_options.h"
#include "batch_table.h"
#include "parallel_pictures.h"

#include <QDir>
#include <QSet>

namespace verdalis {

namespace {

const QString Program = QStringLiteral("verdalis-batch");

void writeText(QIODevice &device, const QString &text)
{
    device.write(text.toUtf8());
}

// Messages on the error stream, and the progress line while pictures are
// analysed: redrawn in place with CR, wiped before a message and at the end.
class ErrorStream {
public:
    ErrorStream(QIODevice &device, bool progress) : m_device(device), m_progress(progress) {}

    void message(const QString &text)
    {
        wipe();
        writeText(m_device, Program + QStringLiteral(": ") + text + QLatin1Char('\n'));
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

private:
    void wipe()
    {
        if (!m_line.isEmpty())
            writeText(m_device, QLatin1Char('\r') + QString(m_line.size(), QLatin1Char(' ')) +
                                    QLatin1Char('\r'));
    }
    void redraw()
    {
        if (!m_line.isEmpty())
            writeText(m_device, QLatin1Char('\r') + m_line);
    }

    QIODevice &m_device;
    bool m_progress;
    QString m_line;
};

QString safeFileName(const QString &lineName)
{
    QString name = lineName;
    for (QChar &ch : name) {
        if (ch.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("picture");
    return name;
}

} // namespace

QStringList overlayFileNames(const QStringList &lineNames)
{
    QStringList names;
    // Compared without case: two names differing only in case are one file on
    // some systems.
    QSet<QString> taken;
    for (const QString &lineName : lineNames) {
        const QString base = safeFileName(lineName);
        QString name = base + QStringLiteral(".png");
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = QStringLiteral("%1-%2.png").arg(base).arg(n);
        taken.insert(name.toLower());
        names.append(name);
    }
    return names;
}

int runBatchCommand(const QStringList &arguments, const QString &programFolder,
                    const BatchStreams &streams)
{
    ErrorStream err(streams.err, streams.showProgress);
    const BatchOptionsParse parse = parseBatchOptions(arguments);
    if (!parse.ok()) {
        err.message(parse.error + QStringLiteral(" (see --help)"));
        return BatchBadInput;
    }
    if (parse.options.help) {
        writeText(streams.out, batchUsageText());
        return BatchSucceeded;
    }
    if (parse.options.version) {
        writeText(streams.out, Program + QStringLiteral(" ") + QStringLiteral(VERDALIS_VERSION) +
                                   QLatin1Char('\n'));
        return BatchSucceeded;
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

    writeText(streams.out, batchHeaderLine(job));
    int status = BatchSucceeded;
    const int count = int(job.pictures.size());
    runPicturesInParallel(
        count, job.jobs,
        [&](int index) {
            return analysePictureFile(job.pictures[index].path, job.settings,
                                      overlayPaths.value(index));
        },
        [&](int index, const PictureOutcome &outcome) {
            const PictureEntry &picture = job.pictures[index];
            writeText(streams.out, batchRowLine(job, picture.lineName, outcome));
            if (!outcome.figures) {
                err.message(QStringLiteral("cannot analyse %1: %2")
                                .arg(QDir::toNativeSeparators(picture.path), outcome.error));
                status = BatchPictureFailed;
            }
            if (!outcome.overlayError.isEmpty()) {
                err.message(outcome.overlayError);
                status = BatchPictureFailed;
            }
        },
        [&](int done) { err.progress(done, count); });
    err.finish();
    return status;
}

} // namespace verdalis
