#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace verdalis {

class CalibrationRules;
class Dialogs;
class NotesFields;
class NumberBox;

// The calibration dialog: the true length of the measured distance, its unit and
// the notes that travel with the calibration. OK calibrates against the mean of
// the measurement list.
class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    CalibrationDialog(CalibrationRules &rules, Dialogs &dialogs, QWidget *mainWindow);

private slots:
    // Only a length above zero can be calibrated against; a text that is no
    // number in the user's locale stays as typed, refused, and OK waits.
    void checkLength();
    void calibrate();

private:
    CalibrationRules &m_rules;
    Dialogs &m_dialogs;

    QLineEdit *const m_lengthBox;
    NumberBox *m_lengthNumber = nullptr;
    QComboBox *const m_unitBox;
    QPushButton *const m_okButton;
    NotesFields *const m_notesFields;
};

} // namespace verdalis
