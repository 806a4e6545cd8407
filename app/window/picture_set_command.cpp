#include "picture_set_command.h"

#include "analyze_command.h"
#include "dialogs.h"
#include "main_window.h"
#include "photo_page.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "workspace_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

#include <utility>

namespace verdalis {

PictureSetCommand::PictureSetCommand(MainWindow &window, AnalyzeCommand &analyze, QObject *parent)
    : QObject(parent), m_window(window), m_run(window.state(), *this, window.dialogs())
{
    connect(&analyze, &AnalyzeCommand::setResultReady, &m_run, &BatchRun::pictureAnalysed);
    connect(&analyze, &AnalyzeCommand::setPictureFailed, &m_run, &BatchRun::pictureFailed);
    connect(&m_run, &BatchRun::pictureStarted, this, [this](int index) {
        m_pictureIndex = index;
        if (m_setWindow)
            m_setWindow->showRunCursor(index);
    });
}

PictureSetCommand::~PictureSetCommand()
{
    delete m_setWindow;
}

PictureSetWindow *PictureSetCommand::pictureSetWindow() const
{
    return m_setWindow;
}

void PictureSetCommand::openPictureSetWindow()
{
    if (!checkCalibrated(m_window.state(), m_window.dialogs()))
        return;
    if (m_setWindow || m_run.isRunning())
        return;
    // Without a parent: the main window is disabled while the set window is
    // open, and a child window would be disabled with it. It stays above the
    // main window as its transient window.
    m_setWindow = new PictureSetWindow(m_window.dialogs());
    m_setWindow->winId();
    if (QWindow *handle = m_setWindow->windowHandle())
        handle->setTransientParent(m_window.windowHandle());
    connect(m_setWindow, &PictureSetWindow::analyzeRequested, this, &PictureSetCommand::analyzeSet);
    connect(m_setWindow, &PictureSetWindow::closed, this, &PictureSetCommand::setWindowClosed);
    m_setWindow->show();
    m_window.setEnabled(false);
}

void PictureSetCommand::analyzeSet()
{
    if (!m_setWindow || m_run.isRunning() || m_setWindow->pictureSet().isEmpty())
        return;
    Dialogs &dialogs = m_window.dialogs();
    m_overlays = BatchOverlayFolder();
    if (m_setWindow->saveOverlaysBox->isChecked()) {
        const std::optional<QString> folder =
            dialogs.chooseFolder(QStringLiteral("Folder for the overlay pictures"));
        if (!folder)
            return;
        QStringList lineNames;
        for (const SetPicture &picture : m_setWindow->pictureSet().pictures())
            lineNames << picture.lineName;
        BatchOverlayFolder overlays(*folder, lineNames);
        const QStringList existing = overlays.existingFiles();
        if (!existing.isEmpty() &&
            dialogs.message(replaceOverlaysQuestion(*folder, existing), programTitle(),
                            MessageButtons::OkCancel, MessageKind::Question) != MessageAnswer::Ok)
            return;
        m_overlays = overlays;
    }
    m_spotColumns = m_setWindow->spotStatisticsBox->isChecked();
    m_setWindow->enterCompactView(m_window.frameGeometry());
    m_setWindow->setRunLocked(true);
    m_run.start(m_setWindow->pictureSet().pictures());
}

void PictureSetCommand::setWindowClosed()
{
    closeSetWindow();
    // Opening a picture enables Analyze again.
    m_window.analyzeButton->setEnabled(false);
    if (m_run.isRunning())
        m_run.abandonSet();
    else
        m_window.setEnabled(true);
}

void PictureSetCommand::closeSetWindow()
{
    if (!m_setWindow)
        return;
    PictureSetWindow *window = m_setWindow;
    m_setWindow = nullptr;
    window->disconnect(this);
    window->hide();
    window->deleteLater();
}

void PictureSetCommand::prepareResultsTable(int pictureSetRows)
{
    m_window.resultsPage->prepareResultsTable(
        pictureSetRows, {m_spotColumns, m_window.backgroundCorrector().isEnabled()});
}

bool PictureSetCommand::loadSetPicture(const QString &lineName, const QString &path,
                                       QString *reason)
{
    return m_window.loadSetPicture(lineName, path, reason);
}

void PictureSetCommand::prefetchSetPicture(const QString &path)
{
    m_window.prefetchSetPicture(path);
}

void PictureSetCommand::recordBatchRow(AnalysisResult &result)
{
    m_window.resultsPage->recordBatchRow(result);
    // The canvas still shows this picture with the dots of its analysis. Composing
    // it copies the whole picture: only when the overlays are asked for.
    if (m_overlays.isActive())
        m_overlays.write(m_pictureIndex, m_window.canvas().composedImage());
}

void PictureSetCommand::recordEmptyBatchRow(const QString &lineName)
{
    m_window.resultsPage->recordEmptyBatchRow(lineName);
}

void PictureSetCommand::endRun()
{
    m_window.setEnabled(true);
    closeSetWindow();
    m_window.photoPage->progressBar->hide();
    // A set whose pictures all failed never switched the page to the table.
    m_window.resultsPage->setShowMode(ResultsPage::ShowMode::Batch);
    m_window.pageTabs->setCurrentIndex(1);
    QApplication::beep();
    const QString overlayFailures = std::exchange(m_overlays, BatchOverlayFolder()).failuresText();
    if (!overlayFailures.isEmpty())
        m_window.dialogs().message(overlayFailures, programTitle(), MessageButtons::Ok,
                                   MessageKind::Error);
}

} // namespace verdalis
