#pragma once

#include "locking_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace verdalis {

class CalibrationRules;
class Dialogs;

// The calibration dialog: the true length of the measured distance, its unit and
// the notes that travel with the calibration. OK calibrates against the mean of
// the measurement list.
class CalibratForm : public LockingDialog {
    Q_OBJECT
public:
    CalibratForm(CalibrationRules &rules, Dialogs &dialogs, QWidget *mainWindow);

private slots:
    void Text1_Change();
    void Command1_Click();

private:
    CalibrationRules &m_rules;
    Dialogs &m_dialogs;

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *Text1;
    QLabel *Label3;
    QComboBox *Combo1;
    QPushButton *Command1;
    QPushButton *Command2;
    QLabel *Label8;
    QLabel *Label7;
    QLineEdit *TextN1;
    QLabel *Label6;
    QLineEdit *TextN2;
    QLabel *Label4;
    QLineEdit *TextN3;
    QLabel *Label5;
    QPlainTextEdit *TextN4;
};

} // namespace verdalis
