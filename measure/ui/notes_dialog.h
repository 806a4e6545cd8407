#pragma once

#include <QDialog>

namespace verdalis {

class NotesFields;
class WorkspaceState;

// Shows and edits the notes of the current calibration. OK stores them in the
// workspace (the file on disk is not touched); Cancel leaves them as they were.
class NotesDialog : public QDialog {
    Q_OBJECT
public:
    NotesDialog(WorkspaceState &state, QWidget *mainWindow);

private slots:
    void storeNotes();

private:
    WorkspaceState &m_state;
    NotesFields *const m_fields;
};

} // namespace verdalis
