// verdalis-batch: the command-line analyser. The rules live in batch/.
#include "batch_command.h"
#include "picture_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdalis-batch"));
    // A picture that cannot be read gets one message naming it; the image
    // readers' own warnings would only repeat it less clearly.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    verdalis::setPictureAllocationLimit();

    // Unbuffered: each row reaches a pipe as soon as it is known.
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const verdalis::BatchStreams streams{out, err, isatty(fileno(stderr)) != 0};
    return verdalis::runBatchCommand(QCoreApplication::arguments().mid(1),
                                     QCoreApplication::applicationDirPath(), streams);
}
