#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace verdalis {

enum BatchExitStatus {
    BatchSucceeded = 0,
    // At least one picture could not be read or analysed, or its overlay not
    // written; every other picture was analysed.
    BatchPictureFailed = 1,
    // Bad command line or bad input files; nothing was written to `out`.
    BatchBadInput = 2,
};

struct BatchStreams {
    QIODevice &out;
    QIODevice &err;
    // A progress line on `err` (for a terminal).
    bool showProgress = false;
};

// The command-line analyser: reads the arguments after the program name,
// analyses the pictures and writes the results table to `out` (UTF-8, LF) and
// messages to `err`, one line each. The custom detection file is looked for in
// programFolder unless the arguments name one. Returns the exit status.
int runBatchCommand(const QStringList &arguments, const QString &programFolder,
                    const BatchStreams &streams);

// Overlay file names in input order: the line name made safe as a file name,
// ".png", and "-2", "-3"... for line names met before.
QStringList overlayFileNames(const QStringList &lineNames);

} // namespace verdalis
