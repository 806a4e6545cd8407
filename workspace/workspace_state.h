#pragma once

#include "colour_model.h"

#include <QObject>
#include <QString>

namespace verdalis {

class Dialogs;

// A colour as three channels 0..255 (the custom detection colour, a brush
// colour): the engine's colour, so it passes to an analysis as it is.
using Rgb = RgbColour;

// Free-text notes that travel with a calibration.
struct CalibrationNotes {
    QString scannerName;
    QString resolution;
    QString sizeRatioNote;
    QString otherNotes;
    bool operator==(const CalibrationNotes &o) const
    {
        return scannerName == o.scannerName && resolution == o.resolution &&
               sizeRatioNote == o.sizeRatioNote && otherNotes == o.otherNotes;
    }
};

// The values the main window shares between its panels: calibration, the chosen
// detection system and its active parameters, the batch flag. Panels read and
// write them here and listen to the signals instead of reaching into each other's
// widgets. The picture's coordinate system (unitStep) lives on the PictureCanvas.
class WorkspaceState : public QObject {
    Q_OBJECT
public:
    explicit WorkspaceState(QObject *parent = nullptr) : QObject(parent) {}

    // Calibration: real units per display millimetre, the unit's name, and
    // whether a calibration was made or loaded in this run (never undone).
    double sizeRatio() const { return m_sizeRatio; }
    void setSizeRatio(double ratio);
    QString unitName() const { return m_unitName; }
    void setUnitName(const QString &name);
    bool isCalibrated() const { return m_calibrated; }
    void markCalibrated();
    const CalibrationNotes &notes() const { return m_notes; }
    void setNotes(const CalibrationNotes &notes) { m_notes = notes; }

    // The chosen detection system: 0 "Leaf area only", 1..4 built-in, 5+ custom.
    int systemIndex() const { return m_systemIndex; }
    void setSystemIndex(int index);
    double baseThreshold() const { return m_baseThreshold; }
    int thresholdStep() const { return m_thresholdStep; }
    void setThreshold(double baseThreshold, int thresholdStep);
    int sliderPosition() const { return m_sliderPosition; }
    void setSliderPosition(int position) { m_sliderPosition = position; }
    Rgb customColour() const { return m_customColour; }
    void setCustomColour(const Rgb &colour) { m_customColour = colour; }

    bool isBatchActive() const { return m_batchActive; }
    void setBatchActive(bool active) { m_batchActive = active; }

    // Folder of the running program: the custom detection file and the help pages.
    QString programFolder() const { return m_programFolder; }
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // Name of the picture loaded from a picture set.
    QString currentPictureName() const { return m_currentPictureName; }
    void setCurrentPictureName(const QString &name) { m_currentPictureName = name; }

signals:
    void sizeRatioChanged(double ratio);
    void unitNameChanged(const QString &name);
    void calibratedChanged(bool calibrated);
    void systemChanged(int index);

private:
    double m_sizeRatio = 1.0;
    QString m_unitName;
    bool m_calibrated = false;
    CalibrationNotes m_notes;
    int m_systemIndex = 0;
    double m_baseThreshold = 25.0;
    int m_thresholdStep = 5;
    int m_sliderPosition = 0;
    Rgb m_customColour;
    bool m_batchActive = false;
    QString m_programFolder;
    QString m_currentPictureName;
};

// The analysis and the picture-set button both need a calibration: true when
// there is one, else false after the message that asks for it.
bool checkCalibrated(const WorkspaceState &state, Dialogs &dialogs);

} // namespace verdalis
