#include "calibrat_form.h"

#include "calibration_rules.h"
#include "dialogs.h"
#include "measure_controls.h"
#include "number_text.h"
#include "workspace_state.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdalis {

CalibratForm::CalibratForm(CalibrationRules &rules, Dialogs &dialogs, QWidget *mainWindow)
    : LockingDialog(mainWindow), m_rules(rules), m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Calibration"));

    Label1 = named(new QLabel(QStringLiteral("Please put the exact length of the measured "
                                             "distance and select or set the used unit.")),
                   "Label1");
    Label1->setWordWrap(true);
    Label2 = named(new QLabel(QStringLiteral("length")), "Label2");
    Text1 = named(new QLineEdit, "Text1");
    Label3 = named(new QLabel(QStringLiteral("unit")), "Label3");
    Combo1 = named(new QComboBox, "Combo1");
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("Inch")});
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Command1 = named(new QPushButton(QStringLiteral("OK")), "Command1");
    Command1->setEnabled(false);
    Command1->setDefault(true);
    Command2 = named(new QPushButton(QStringLiteral("Cancel")), "Command2");

    Label8 = named(new QLabel(QStringLiteral("Calibration notes")), "Label8");
    auto *Line1 = named(new QFrame, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Label7 = named(new QLabel(QStringLiteral("Scanner name:")), "Label7");
    TextN1 = named(new QLineEdit, "TextN1");
    Label6 = named(new QLabel(QStringLiteral("Resolution:")), "Label6");
    TextN2 = named(new QLineEdit, "TextN2");
    Label4 = named(new QLabel(QStringLiteral("Size ratio")), "Label4");
    TextN3 = named(new QLineEdit, "TextN3");
    Label5 = named(new QLabel(QStringLiteral("Other notes:")), "Label5");
    TextN4 = named(new QPlainTextEdit, "TextN4");
    TextN4->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextN4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextN4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextN4->setTabChangesFocus(true);

    auto *lengthRow = new QHBoxLayout;
    lengthRow->addWidget(Label2);
    lengthRow->addWidget(Text1, 1);
    lengthRow->addSpacing(12);
    lengthRow->addWidget(Label3);
    lengthRow->addWidget(Combo1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto *notes = new QFormLayout;
    notes->addRow(Label7, TextN1);
    notes->addRow(Label6, TextN2);
    notes->addRow(Label4, TextN3);
    notes->addRow(Label5, TextN4);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(lengthRow);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(Label8);
    layout->addWidget(Line1);
    layout->addLayout(notes);
    resize(380, 360);

    connect(Text1, &QLineEdit::textChanged, this, &CalibratForm::Text1_Change);
    connect(Command1, &QPushButton::clicked, this, &CalibratForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void CalibratForm::Text1_Change()
{
    const auto length = readNumber(Text1->text());
    Command1->setEnabled(length && *length > 0);
    if (!length && !Text1->text().isEmpty())
        Text1->clear();
}

void CalibratForm::Command1_Click()
{
    const auto length = readNumber(Text1->text());
    if (!length || *length <= 0)
        return;
    const CalibrationNotes notes{TextN1->text(), TextN2->text(), TextN3->text(),
                                 TextN4->toPlainText()};
    switch (m_rules.CalibrateFromMeasurements(*length, Combo1->currentText(), notes)) {
    case CalibrationRules::Outcome::NoUnit:
        m_dialogs.message(QStringLiteral("Please set the unit"), programTitle());
        Combo1->setFocus();
        return;
    case CalibrationRules::Outcome::NoDistance:
        m_dialogs.message(CalibrationRules::kNoDistanceMessage, programTitle());
        return;
    case CalibrationRules::Outcome::Refused:
        m_dialogs.message(m_rules.refusalText(), programTitle());
        return;
    case CalibrationRules::Outcome::Calibrated:
        accept();
        return;
    }
}

} // namespace verdalis
