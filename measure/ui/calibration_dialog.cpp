#include "calibration_dialog.h"

#include "calibration_rules.h"
#include "dialogs.h"
#include "notes_fields.h"
#include "number_box.h"
#include "ui_controls.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdalis {

CalibrationDialog::CalibrationDialog(CalibrationRules &rules, Dialogs &dialogs, QWidget *mainWindow)
    : QDialog(mainWindow), m_rules(rules), m_dialogs(dialogs),
      m_lengthBox(named(new QLineEdit, "lengthBox")), m_unitBox(named(new QComboBox, "unitBox")),
      m_okButton(named(new QPushButton(QStringLiteral("OK")), "okButton")),
      // A new calibration replaces the notes: the boxes open empty.
      m_notesFields(new NotesFields({}))
{
    setWindowTitle(QStringLiteral("Calibration"));

    auto *instruction = new QLabel(QStringLiteral("Please put the exact length of the measured "
                                                  "distance and select or set the used unit."));
    instruction->setWordWrap(true);
    m_lengthNumber = NumberBox::attach(m_lengthBox, {NumberEntry::Range::AboveZero});
    m_unitBox->setEditable(true);
    m_unitBox->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("Inch")});
    m_unitBox->setCurrentIndex(-1);
    m_unitBox->setEditText(QString());
    m_okButton->setEnabled(false);
    m_okButton->setDefault(true);
    auto *cancelButton = named(new QPushButton(QStringLiteral("Cancel")), "cancelButton");
    auto *notesLine = new QFrame;
    notesLine->setFrameShape(QFrame::HLine);
    notesLine->setFrameShadow(QFrame::Sunken);

    auto *lengthRow = new QHBoxLayout;
    lengthRow->addWidget(new QLabel(QStringLiteral("length")));
    lengthRow->addWidget(m_lengthBox, 1);
    lengthRow->addSpacing(12);
    lengthRow->addWidget(new QLabel(QStringLiteral("unit")));
    lengthRow->addWidget(m_unitBox, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(lengthRow);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(new QLabel(QStringLiteral("Calibration notes")));
    layout->addWidget(notesLine);
    layout->addWidget(m_notesFields);
    resize(380, 360);

    connect(m_lengthBox, &QLineEdit::textChanged, this, &CalibrationDialog::checkLength);
    connect(m_okButton, &QPushButton::clicked, this, &CalibrationDialog::calibrate);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CalibrationDialog::checkLength()
{
    m_okButton->setEnabled(m_lengthNumber->value().has_value());
}

void CalibrationDialog::calibrate()
{
    const auto length = m_lengthNumber->value();
    if (!length)
        return;
    switch (m_rules.calibrateFromMeasurements(*length, m_unitBox->currentText(),
                                              m_notesFields->notes())) {
    case CalibrationRules::Outcome::NoUnit:
        m_dialogs.message(QStringLiteral("Please set the unit"), programTitle());
        m_unitBox->setFocus();
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
