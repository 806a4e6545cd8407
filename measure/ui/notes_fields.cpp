#include "notes_fields.h"

#include "ui_controls.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace verdalis {

NotesFields::NotesFields(const CalibrationNotes &notes, QWidget *parent)
    : QWidget(parent), m_scannerNameBox(named(new QLineEdit(notes.scannerName), "scannerNameBox")),
      m_resolutionBox(named(new QLineEdit(notes.resolution), "resolutionBox")),
      m_sizeRatioBox(named(new QLineEdit(notes.sizeRatioNote), "sizeRatioBox")),
      m_otherNotesBox(named(new QPlainTextEdit(notes.otherNotes), "otherNotesBox"))
{
    // Lines are kept as typed, so the box scrolls both ways rather than wrap.
    m_otherNotesBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_otherNotesBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_otherNotesBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_otherNotesBox->setTabChangesFocus(true);

    auto *layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(QStringLiteral("Scanner name:"), m_scannerNameBox);
    layout->addRow(QStringLiteral("Resolution:"), m_resolutionBox);
    layout->addRow(QStringLiteral("Size ratio"), m_sizeRatioBox);
    layout->addRow(QStringLiteral("Other notes:"), m_otherNotesBox);
}

CalibrationNotes NotesFields::notes() const
{
    return {m_scannerNameBox->text(), m_resolutionBox->text(), m_sizeRatioBox->text(),
            m_otherNotesBox->toPlainText()};
}

} // namespace verdalis
