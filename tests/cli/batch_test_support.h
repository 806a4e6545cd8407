#pragma once

#include "synthetic_leaves.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>

namespace verdalis {

// A synthetic scene written to dir/name (BMP, or JPEG at the sample quality,
// by extension); returns its path.
QString writeScene(const QDir &dir, const QString &name, const SyntheticScene &scene);

// One run of the command-line analyser in this process.
struct BatchCommandRun {
    int status = -1;
    QString out;
    QString err;
};
BatchCommandRun runBatch(const QStringList &arguments, const QString &programFolder = QString(),
                         bool showProgress = false);

#ifdef VERDALIS_BATCH_PROGRAM
// One run of the verdalis-batch program under the locale; childSetUp runs in
// the child before the program starts. Status -1: killed by a signal.
BatchCommandRun runProgram(const QStringList &arguments, const QString &locale = "C.UTF-8",
                           const std::function<void()> &childSetUp = {});
#endif

// Writes the bytes to dir/name, making its folders; returns its path.
QString writeTextFile(const QDir &dir, const QString &name, const QByteArray &text);

// The lines of the analyser's output after its header.
QStringList rowsOf(const QString &out);
// The index-th cell of each row.
QStringList column(const QStringList &rows, int index);

} // namespace verdalis
