#pragma once

#include "analysis_run.h"
#include "batch_options.h"
#include "picture_set_file.h"

#include <QList>
#include <QString>

namespace verdalis {

// Everything a batch needs, checked before the first picture is read: the
// settings of the analysis (system, slider, unit step, calibration), the
// results' unit and the pictures in output order.
struct BatchJob {
    AnalysisSettings settings;
    QString unitName;
    QList<PictureEntry> pictures;
    int jobs = 1;
    // Empty: no overlay pictures.
    QString overlayDir;
    bool spots = false;
    bool csv = false;
    // Pictures are read with "Correct background" on.
    bool correctBackground = false;

    int systemIndex() const { return settings.detection.systemIndex; }
};

struct BatchJobSetup {
    BatchJob job;
    // One line for the user; empty when the job can run.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Resolves the options: looks the system up (built-in, else in the custom
// detection file, by default the one in programFolder), checks the slider
// against the system's range, reads the calibration file and the set file and
// creates the overlay folder.
BatchJobSetup prepareBatchJob(const BatchOptions &options, const QString &programFolder);

} // namespace verdalis
