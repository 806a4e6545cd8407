#include "notes_dialog.h"

#include "notes_fields.h"
#include "ui_controls.h"
#include "workspace_state.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdalis {

NotesDialog::NotesDialog(WorkspaceState &state, QWidget *mainWindow)
    : QDialog(mainWindow), m_state(state), m_fields(new NotesFields(state.notes()))
{
    setWindowTitle(QStringLiteral("Calibration notes"));

    auto *okButton = named(new QPushButton(QStringLiteral("OK")), "okButton");
    okButton->setDefault(true);
    auto *cancelButton = named(new QPushButton(QStringLiteral("Cancel")), "cancelButton");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fields);
    layout->addLayout(buttons);
    resize(360, 300);

    connect(okButton, &QPushButton::clicked, this, &NotesDialog::storeNotes);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void NotesDialog::storeNotes()
{
    m_state.setNotes(m_fields->notes());
    accept();
}

} // namespace verdalis
