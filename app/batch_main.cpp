// verdalis-batch: the command-line analyser. The rules live in cli/.
#include "batch_command.h"
#include "picture_reader.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Both descriptors are one terminal: rows and the progress line share a screen.
bool sameTerminal(int first, int second)
{
    if (!isatty(first) || !isatty(second))
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    struct stat a;
    struct stat b;
    return fstat(first, &a) == 0 && fstat(second, &b) == 0 && a.st_rdev == b.st_rdev;
#endif
}

// A standard stream the caller closed would be handed to the next file opened
// (a picture, an overlay), and the rows written into it: keep each one taken,
// read-only, so that writing to it fails and says so.
void keepStandardStreamsTaken()
{
#ifndef Q_OS_WIN
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF)
            open("/dev/null", O_RDONLY);
    }
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    keepStandardStreamsTaken();
#ifndef Q_OS_WIN
    // A reader that goes away (a closed pipe) is a failed write like any other,
    // reported and ending the run, not a signal that ends the process silently.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdalis-batch"));
    // A picture that cannot be read gets one message naming it; the image
    // readers' own warnings would only repeat it less clearly.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    verdalis::setPictureAllocationLimit();

    // The descriptors themselves, unbuffered: each row reaches a file or a pipe
    // as soon as it is written, and a write that fails says so at once (the C
    // streams would hold the rows back and fail unseen at exit).
    QFile out;
    QFile err;
    out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered);
    verdalis::BatchStreams streams{out, err};
    streams.showProgress = isatty(fileno(stderr)) != 0;
    streams.outOnProgressTerminal = sameTerminal(fileno(stdout), fileno(stderr));
    return verdalis::runBatchCommand(QCoreApplication::arguments().mid(1),
                                     QCoreApplication::applicationDirPath(), streams);
}
