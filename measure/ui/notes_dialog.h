#pragma once

#include "locking_dialog.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace verdalis {

class WorkspaceState;

// Shows and edits the notes of the current calibration. OK stores them in the
// workspace (the file on disk is not touched); Cancel leaves them as they were.
class NotesForm : public LockingDialog {
    Q_OBJECT
public:
    NotesForm(WorkspaceState &state, QWidget *mainWindow);

private slots:
    void Command1_Click();

private:
    WorkspaceState &m_state;

    QLabel *Label1;
    QLineEdit *Text1;
    QLabel *Label2;
    QLineEdit *Text2;
    QLabel *Label4;
    QLineEdit *Text4;
    QLabel *Label3;
    QPlainTextEdit *Text3;
    QPushButton *Command1;
    QPushButton *Command2;
};

} // namespace verdalis
