#pragma once

#include "overlay_picture.h"
#include "parallel_pictures.h"

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
    // `out` could not be written (a full disk, a closed pipe): the run stopped
    // there, its results incomplete.
    BatchOutputFailed = 3,
};

struct BatchStreams {
    QIODevice &out;
    QIODevice &err;
    // A progress line on `err` (for a terminal).
    bool showProgress = false;
    // `out` is the terminal the progress line is drawn on: the line is wiped
    // before each row and drawn again below it.
    bool outOnProgressTerminal = false;
};

// The command-line analyser: reads the arguments after the program name,
// analyses the pictures and writes the results table to `out` (UTF-8, LF) and
// messages to `err`, one line each. The custom detection file is looked for in
// programFolder unless the arguments name one. Each row is written as soon as
// it and every row before it are known; a write that fails ends the run.
// Worker threads are started with startThread (default: std::thread). Returns
// the exit status.
int runBatchCommand(const QStringList &arguments, const QString &programFolder,
                    const BatchStreams &streams,
                    const ThreadStarter &startThread = ThreadStarter());

} // namespace verdalis
