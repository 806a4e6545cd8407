#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace verdalis {

// The command line of the command-line analyser as typed, numbers already read.
// Nothing here looks at files; BatchJob checks what the options name.
struct BatchOptions {
    bool help = false;
    bool version = false;
    QString systemName = QStringLiteral("Leaf area only");
    // Empty: the custom detection file of the program folder.
    QString customFile;
    int sliderPosition = 0;
    // unitStep = unitStepTenths / 10 display millimetres.
    int unitStepTenths = 10;
    QString calibrationFile;
    std::optional<double> sizeRatio;
    std::optional<QString> unitName;
    QString setFile;
    QStringList pictures;
    // 0: one per processor core.
    int jobs = 0;
    QString overlayDir;
    bool spots = false;
    // Comma-separated values instead of the tab-separated table.
    bool csv = false;
    bool correctBackground = false;
};

struct BatchOptionsParse {
    BatchOptions options;
    // One line for the user; empty when the command line was understood.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Reads the arguments after the program name. Decimal numbers are read in the
// user's locale and, failing that, with a decimal point, so scripts can always
// write 0.5 (a group separator is never accepted).
BatchOptionsParse parseBatchOptions(const QStringList &arguments);

// The text of --help.
QString batchUsageText();

} // namespace verdalis
