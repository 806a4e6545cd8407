#include "calibration_frame.h"

#include "calibration_rules.h"
#include "measure_icons.h"
#include "notes_dialog.h"
#include "ui_controls.h"
#include "workspace_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace verdalis {

namespace {
constexpr int MarkSize = 24; // pixels
}

CalibrationFrame::CalibrationFrame(CalibrationRules &rules, WorkspaceState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Calibration"), parent), m_rules(rules), m_state(state),
      m_calibrationMark(named(new QLabel, "calibrationMark"))
{
    setObjectName(QStringLiteral("calibrationFrame"));
    m_calibrationMark->setFixedSize(MarkSize, MarkSize);
    showCalibrationMark();

    QPushButton *saveButton =
        pictureButton(MeasureIcons::saveCalibration(), QStringLiteral("Save current calibration"),
                      "saveCalibrationButton");
    saveButton->setEnabled(rules.canSave());
    QPushButton *loadButton =
        pictureButton(MeasureIcons::loadCalibration(), QStringLiteral("Load saved calibration"),
                      "loadCalibrationButton");
    QPushButton *notesButton = pictureButton(
        MeasureIcons::notes(), QStringLiteral("Calibration notes"), "calibrationNotesButton");
    notesButton->setEnabled(rules.hasNotes());

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_calibrationMark);
    layout->addStretch();
    layout->addWidget(saveButton);
    layout->addWidget(loadButton);
    layout->addWidget(notesButton);

    connect(saveButton, &QPushButton::clicked, &rules, &CalibrationRules::saveCalibrationFile);
    connect(loadButton, &QPushButton::clicked, &rules, &CalibrationRules::loadCalibrationFile);
    connect(notesButton, &QPushButton::clicked, this, &CalibrationFrame::openNotesDialog);
    connect(&rules, &CalibrationRules::canSaveChanged, saveButton, &QWidget::setEnabled);
    connect(&rules, &CalibrationRules::hasNotesChanged, notesButton, &QWidget::setEnabled);
    connect(&rules, &CalibrationRules::calibratedToolTipChanged, this,
            &CalibrationFrame::showCalibrationMark);
    connect(&state, &WorkspaceState::calibratedChanged, this,
            &CalibrationFrame::showCalibrationMark);
}

void CalibrationFrame::showCalibrationMark()
{
    const bool calibrated = m_state.isCalibrated();
    const QIcon mark = calibrated ? MeasureIcons::calibrated() : MeasureIcons::notCalibrated();
    m_calibrationMark->setPixmap(mark.pixmap(MarkSize));
    m_calibrationMark->setToolTip(calibrated ? m_rules.calibratedToolTip()
                                             : QStringLiteral("Not calibrated"));
}

void CalibrationFrame::openNotesDialog()
{
    // Window-modal: the notes cannot change under the dialog, and the main
    // window takes input again however the dialog closes.
    auto *dialog = new NotesDialog(m_state, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace verdalis
