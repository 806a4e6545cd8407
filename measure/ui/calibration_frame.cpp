#include "calibration_frame.h"

#include "calibration_rules.h"
#include "ui_controls.h"
#include "measure_icons.h"
#include "notes_dialog.h"
#include "workspace_state.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace verdalis {

CalibrationFrame::CalibrationFrame(CalibrationRules &rules, WorkspaceState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Calibration"), parent), m_rules(rules), m_state(state)
{
    setObjectName(QStringLiteral("Frame5"));

    Picture7 = named(new QLabel, "Picture7");
    Picture7->setPixmap(MeasureIcons::calibrated());
    Picture7->setToolTip(rules.calibratedToolTip());
    Picture6 = named(new QLabel, "Picture6");
    Picture6->setPixmap(MeasureIcons::notCalibrated());
    Picture6->setToolTip(QStringLiteral("Not calibrated"));
    // Picture6 covers Picture7 until a calibration is made or loaded.
    Picture6->setAutoFillBackground(true);
    Picture6->setVisible(!state.isCalibrated());

    Command7 = pictureButton(MeasureIcons::saveCalibration(),
                             QStringLiteral("Save current calibration"), "Command7");
    Command7->setEnabled(rules.canSave());
    Command10 = pictureButton(MeasureIcons::loadCalibration(),
                              QStringLiteral("Load saved calibration"), "Command10");
    Command11 =
        pictureButton(MeasureIcons::notes(), QStringLiteral("Calibration notes"), "Command11");
    Command11->setEnabled(rules.hasNotes());

    auto *indicator = new QWidget;
    auto *stack = new QGridLayout(indicator);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(Picture7, 0, 0);
    stack->addWidget(Picture6, 0, 0);
    Picture6->raise();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(indicator);
    layout->addStretch();
    layout->addWidget(Command7);
    layout->addWidget(Command10);
    layout->addWidget(Command11);

    connect(Command7, &QPushButton::clicked, this, &CalibrationFrame::Command7_Click);
    connect(Command10, &QPushButton::clicked, this, &CalibrationFrame::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &CalibrationFrame::Command11_Click);
    connect(&rules, &CalibrationRules::canSaveChanged, Command7, &QWidget::setEnabled);
    connect(&rules, &CalibrationRules::hasNotesChanged, Command11, &QWidget::setEnabled);
    connect(&rules, &CalibrationRules::calibratedToolTipChanged, Picture7, &QWidget::setToolTip);
    connect(&state, &WorkspaceState::calibratedChanged, Picture6,
            [this](bool calibrated) { Picture6->setVisible(!calibrated); });
}

void CalibrationFrame::Command7_Click()
{
    m_rules.saveCalibrationFile();
}

void CalibrationFrame::Command10_Click()
{
    m_rules.loadCalibrationFile();
}

void CalibrationFrame::Command11_Click()
{
    auto *form = new NotesForm(m_state, window());
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->showOverMainWindow();
}

} // namespace verdalis
