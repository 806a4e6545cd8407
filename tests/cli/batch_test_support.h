#pragma once

#include "synthetic_leaves.h"

#include <QDir>
#include <QString>
#include <QStringList>

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

// Writes the bytes to dir/name, making its folders; returns its path.
QString writeTextFile(const QDir &dir, const QString &name, const QByteArray &text);

} // namespace verdalis
