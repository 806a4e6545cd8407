#include "batch_test_support.h"

#include "batch_command.h"
#include "sample_pictures.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace verdalis {

QString writeScene(const QDir &dir, const QString &name, const SyntheticScene &scene)
{
    const QString path = dir.filePath(name);
    QString error;
    if (!writePicture(SamplePictures::render(scene), path, &error))
        qFatal("%s", qPrintable(error));
    return path;
}

BatchCommandRun runBatch(const QStringList &arguments, const QString &programFolder,
                         bool showProgress)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    BatchCommandRun run;
    run.status = runBatchCommand(arguments, programFolder, BatchStreams{out, err, showProgress});
    run.out = QString::fromUtf8(out.data());
    run.err = QString::fromUtf8(err.data());
    return run;
}

#ifdef VERDALIS_BATCH_PROGRAM
BatchCommandRun runProgram(const QStringList &arguments, const QString &locale,
                           const std::function<void()> &childSetUp)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(environment);
    if (childSetUp)
        process.setChildProcessModifier(childSetUp);
    process.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    if (!process.waitForFinished(300000))
        qFatal("verdalis-batch %s did not finish", qPrintable(arguments.join(u' ')));
    // A program killed by a signal has no exit status of its own: -1.
    return BatchCommandRun{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                           QString::fromUtf8(process.readAllStandardOutput()),
                           QString::fromUtf8(process.readAllStandardError())};
}
#endif

QString writeTextFile(const QDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

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

} // namespace verdalis
