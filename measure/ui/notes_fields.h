#pragma once

#include "workspace_state.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace verdalis {

// The four note boxes that travel with a calibration, as both the calibration
// and the notes dialog show them.
class NotesFields : public QWidget {
    Q_OBJECT
public:
    explicit NotesFields(const CalibrationNotes &notes, QWidget *parent = nullptr);

    CalibrationNotes notes() const;

private:
    QLineEdit *const m_scannerNameBox;
    QLineEdit *const m_resolutionBox;
    QLineEdit *const m_sizeRatioBox;
    QPlainTextEdit *const m_otherNotesBox;
};

} // namespace verdalis
