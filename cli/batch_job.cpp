#include "batch_job.h"

#include "calibration_file.h"
#include "custom_detection_file.h"
#include "detection_catalogue.h"
#include "detection_selection.h"
#include "parallel_pictures.h"

#include <QDir>

namespace verdalis {

namespace {

QString oneLine(QString text)
{
    return text.replace(QStringLiteral(".\n"), QStringLiteral(": "))
        .replace(QLatin1Char('\n'), QStringLiteral(": "));
}

DetectionParameters parametersOf(const DetectionSystem &system, int index, int sliderPosition)
{
    DetectionParameters parameters;
    parameters.systemIndex = index;
    parameters.baseThreshold = system.baseThreshold;
    parameters.thresholdStep = system.thresholdStep;
    parameters.sliderPosition = sliderPosition;
    if (system.referenceColour) {
        const Rgb &colour = *system.referenceColour;
        parameters.customColour = RgbColour{colour.red, colour.green, colour.blue};
    }
    return parameters;
}

} // namespace

BatchJobSetup prepareBatchJob(const BatchOptions &options, const QString &programFolder)
{
    BatchJobSetup setup;
    BatchJob &job = setup.job;

    const QString customFile =
        options.customFile.isEmpty() ? customDetectionFilePath(programFolder) : options.customFile;
    const DetectionSystemLookup lookup = findDetectionSystem(options.systemName, customFile);
    if (!lookup.found()) {
        setup.error = oneLine(lookup.error);
        return setup;
    }
    // The slider's range right after choosing the system in a freshly started
    // window: a built-in system keeps the start-up maximum of 10.
    const SliderState slider = sliderAfterSelecting(lookup.system, lookup.index, SliderState());
    if (options.sliderPosition < slider.minimum || options.sliderPosition > slider.maximum) {
        setup.error = QStringLiteral("--slider: %1 is outside the range %2..%3 of \"%4\"")
                          .arg(options.sliderPosition)
                          .arg(slider.minimum)
                          .arg(slider.maximum)
                          .arg(options.systemName);
        return setup;
    }
    job.settings.detection = parametersOf(lookup.system, lookup.index, options.sliderPosition);
    job.settings.unitStepTenths = options.unitStepTenths;

    if (!options.calibrationFile.isEmpty()) {
        QString error;
        const auto calibration = CalibrationFile::read(options.calibrationFile, &error);
        if (!calibration) {
            // The reason names the file.
            setup.error = QStringLiteral("cannot use the calibration file ") + oneLine(error);
            return setup;
        }
        job.settings.sizeRatio = calibration->sizeRatio;
        job.unitName = calibration->unitName;
    } else {
        job.settings.sizeRatio = options.sizeRatio.value_or(1.0);
        job.unitName = options.unitName.value_or(QString());
    }

    if (!options.setFile.isEmpty()) {
        PictureSetRead read = readPictureSetFile(options.setFile);
        if (!read.error.isEmpty()) {
            setup.error = read.error;
            return setup;
        }
        job.pictures = read.pictures;
    } else {
        job.pictures = picturesFromPaths(options.pictures);
    }

    job.jobs = options.jobs > 0 ? options.jobs : usableCoreCount();
    job.spots = options.spots;
    job.csv = options.csv;
    job.correctBackground = options.correctBackground;
    if (!options.overlayDir.isEmpty()) {
        if (!QDir().mkpath(options.overlayDir)) {
            setup.error = QStringLiteral("cannot create the overlay folder %1")
                              .arg(QDir::toNativeSeparators(options.overlayDir));
            return setup;
        }
        job.overlayDir = options.overlayDir;
    }
    return setup;
}

} // namespace verdalis
