#pragma once

#include <QObject>
#include <QString>

namespace verdalis {

class Dialogs;
class MeasurementList;
class WorkspaceState;
struct CalibrationNotes;

// Making, saving and loading a calibration. Writes sizeRatio, unitName, the
// notes and the calibrated flag into the workspace state, rewrites the
// calibrated column of the measurement list, and keeps what the Calibration
// frame shows: whether "Save current calibration" and "Calibration notes" are
// available and which file the calibration came from.
class CalibrationRules : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Calibrated, NoUnit, NoDistance, Refused };

    static const QString kFileFilter;
    // Shown by the calibration dialog when the mean distance is 0.00.
    static const QString kNoDistanceMessage;

    CalibrationRules(WorkspaceState &state, MeasurementList &list, Dialogs &dialogs,
                     QObject *parent = nullptr);

    // The calibration dialog's OK: `length` (> 0) real units were measured as the
    // two-decimal mean of the list. Refuses with NoUnit when the unit is empty,
    // with NoDistance when the mean is 0.00 (or there is no measurement) and with
    // Refused, explained by refusalText(), when the unit or the size ratio it gives
    // cannot be used (calibration_check.h); a refused calibration changes nothing.
    Outcome calibrateFromMeasurements(double length, const QString &unitName,
                                      const CalibrationNotes &notes);
    // Rewrites column 5 from column 4 with the current sizeRatio, in two passes,
    // each followed by the statistics.
    void rescaleMeasurements();

    // The buttons of the Calibration frame. Cancelling a file dialog is silent;
    // failures are shown as messages.
    void saveCalibrationFile();
    void loadCalibrationFile();

    // Why the last calibration was Refused, for the user.
    QString refusalText() const { return m_refusal; }

    bool canSave() const { return m_canSave; }
    bool hasNotes() const { return m_hasNotes; }
    // Tooltip of the calibrated indicator: names the file a loaded calibration
    // came from.
    QString calibratedToolTip() const;

signals:
    void canSaveChanged(bool canSave);
    void hasNotesChanged(bool hasNotes);
    void calibratedToolTipChanged(const QString &toolTip);

private:
    void restoreBaseDistances();
    void applySizeRatio();
    void setCanSave(bool canSave);
    void setHasNotes(bool hasNotes);
    void setCalibrationFileName(const QString &fileName);

    WorkspaceState &m_state;
    MeasurementList &m_list;
    Dialogs &m_dialogs;
    bool m_canSave = false;
    bool m_hasNotes = false;
    QString m_fileName;
    QString m_refusal;
};

} // namespace verdalis
