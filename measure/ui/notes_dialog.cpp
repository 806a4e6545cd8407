#include "notes_dialog.h"

#include "ui_controls.h"
#include "workspace_state.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdalis {

NotesForm::NotesForm(WorkspaceState &state, QWidget *mainWindow)
    : LockingDialog(mainWindow), m_state(state)
{
    setWindowTitle(QStringLiteral("Calibration notes"));
    const CalibrationNotes &notes = state.notes();

    Label1 = named(new QLabel(QStringLiteral("Scanner name:")), "Label1");
    Text1 = named(new QLineEdit(notes.scannerName), "Text1");
    Label2 = named(new QLabel(QStringLiteral("Resolution:")), "Label2");
    Text2 = named(new QLineEdit(notes.resolution), "Text2");
    Label4 = named(new QLabel(QStringLiteral("Size ratio")), "Label4");
    Text4 = named(new QLineEdit(notes.sizeRatioNote), "Text4");
    Label3 = named(new QLabel(QStringLiteral("Other notes:")), "Label3");
    Text3 = named(new QPlainTextEdit(notes.otherNotes), "Text3");
    Text3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setTabChangesFocus(true);
    Command1 = named(new QPushButton(QStringLiteral("OK")), "Command1");
    Command1->setDefault(true);
    Command2 = named(new QPushButton(QStringLiteral("Cancel")), "Command2");

    auto *fields = new QFormLayout;
    fields->addRow(Label1, Text1);
    fields->addRow(Label2, Text2);
    fields->addRow(Label4, Text4);
    fields->addRow(Label3, Text3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(360, 300);

    connect(Command1, &QPushButton::clicked, this, &NotesForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void NotesForm::Command1_Click()
{
    m_state.setNotes({Text1->text(), Text2->text(), Text4->text(), Text3->toPlainText()});
    accept();
}

} // namespace verdalis
