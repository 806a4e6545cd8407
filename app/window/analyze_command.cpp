#include "analyze_command.h"

#include "brush_panel.h"
#include "dialogs.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_background.h"
#include "picture_canvas.h"
#include "picture_view.h"
#include "results_page.h"
#include "workspace_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>

namespace verdalis {

AnalyzeCommand::AnalyzeCommand(WorkspaceState &state, PictureCanvas &canvas, Dialogs &dialogs,
                               const Controls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_canvas(canvas), m_dialogs(dialogs), m_controls(controls)
{
    QProgressBar *bar = controls.photoPage->progressBar;
    connect(&m_driver, &AnalysisDriver::progressChanged, bar, [bar](int value, int maximum) {
        bar->setMaximum(maximum);
        bar->setValue(value);
    });
    connect(&m_driver, &AnalysisDriver::samplingFinished, this, &AnalyzeCommand::samplingFinished);
    connect(&m_driver, &AnalysisDriver::finished, this, &AnalyzeCommand::runFinished);
    connect(&m_driver, &AnalysisDriver::failed, this, &AnalyzeCommand::runFailed);
}

void AnalyzeCommand::analyze()
{
    PhotoPage &page = *m_controls.photoPage;
    m_controls.brush->setBrushOn(false);
    m_controls.pages->setCurrentIndex(0);
    if (!checkCalibrated(m_state, m_dialogs))
        return;
    m_controls.results->setShowMode(m_state.isBatchActive() ? ResultsPage::ShowMode::Batch
                                                            : ResultsPage::ShowMode::Single);
    m_controls.window->setEnabled(false);
    m_canvas.clearDrawings();
    m_controls.gridShow->setChecked(false);
    page.pictureView->setEnabled(false);
    // The driver sets the bar's maximum, 2 (W + 2)(H + 2), as the run starts.
    page.progressBar->setValue(0);
    page.progressBar->show();
    page.clearLeafArea();
    page.setAreaUnit(QString());
    m_driver.start(m_canvas, m_state);
}

void AnalyzeCommand::samplingFinished(double leafArea)
{
    PhotoPage &page = *m_controls.photoPage;
    page.setAreaUnit(m_controls.measurements->unitCaption());
    page.showLeafArea(leafAreaText(leafArea));
    page.pictureView->setEnabled(true);
    switch (chartAfterSampling(m_state.systemIndex(), m_state.isBatchActive())) {
    case ChartAfterSampling::Hide:
        m_controls.results->setChartVisible(false);
        break;
    case ChartAfterSampling::Show:
        m_controls.results->setChartVisible(true);
        break;
    case ChartAfterSampling::Keep:
        break;
    }
}

void AnalyzeCommand::runFinished(const AnalysisResult &finished)
{
    AnalysisResult result = finished;
    const RunEndSteps steps = runEndSteps(m_state.systemIndex(), m_state.isBatchActive());
    const PictureBackground &background = m_controls.background->lastPicture();
    const BorderCheck border = checkPictureBorder(m_canvas.picture(), m_canvas.unitStepTenths());
    m_controls.results->setPictureBackground(backgroundReportLine(background),
                                             backgroundWarningText(border, background));
    if (steps.showReport)
        m_controls.results->showReport(result);
    if (steps.hideProgressBar)
        m_controls.photoPage->progressBar->hide();
    if (steps.enableWindow)
        m_controls.window->setEnabled(true);
    if (steps.showResultsPage)
        m_controls.pages->setCurrentIndex(1);
    if (steps.beep)
        QApplication::beep();
    // RecordSetResult: the batch's turn; nothing outside a batch.
    if (steps.recordSetResult)
        emit setResultReady(result);
}

void AnalyzeCommand::runFailed(const QString &message)
{
    PhotoPage &page = *m_controls.photoPage;
    page.progressBar->hide();
    page.setAreaUnit(m_controls.measurements->unitCaption());
    page.pictureView->setEnabled(true);
    if (m_state.isBatchActive()) {
        emit setPictureFailed(message);
        return;
    }
    m_controls.window->setEnabled(true);
    m_dialogs.message(message, programTitle(), MessageButtons::Ok, MessageKind::Error);
}

} // namespace verdalis
