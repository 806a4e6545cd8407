#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;

namespace verdalis {

class CalibrationRules;
class WorkspaceState;

// The "Calibration" frame: the calibrated indicator (Picture6 "Not calibrated"
// lying over Picture7 "Calibrated") and the buttons that save and load
// calibration files and open the notes.
class CalibrationFrame : public QGroupBox {
    Q_OBJECT
public:
    CalibrationFrame(CalibrationRules &rules, WorkspaceState &state, QWidget *parent = nullptr);

private slots:
    void Command7_Click();
    void Command10_Click();
    void Command11_Click();

private:
    CalibrationRules &m_rules;
    WorkspaceState &m_state;

    QLabel *Picture6;
    QLabel *Picture7;
    QPushButton *Command7;
    QPushButton *Command10;
    QPushButton *Command11;
};

} // namespace verdalis
