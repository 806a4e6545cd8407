#include "batch_test_support.h"

#include "batch_command.h"
#include "sample_pictures.h"

#include <QBuffer>
#include <QFile>
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

QString writeTextFile(const QDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace verdalis
