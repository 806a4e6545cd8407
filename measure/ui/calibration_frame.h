#pragma once

#include <QGroupBox>

class QLabel;

namespace verdalis {

class CalibrationRules;
class WorkspaceState;

// The "Calibration" frame: the mark that says whether the program is calibrated
// (its tooltip names a loaded calibration file) and the buttons that save and
// load calibration files and open the notes.
class CalibrationFrame : public QGroupBox {
    Q_OBJECT
public:
    CalibrationFrame(CalibrationRules &rules, WorkspaceState &state, QWidget *parent = nullptr);

private slots:
    void showCalibrationMark();
    void openNotesDialog();

private:
    CalibrationRules &m_rules;
    WorkspaceState &m_state;

    QLabel *const m_calibrationMark;
};

} // namespace verdalis
