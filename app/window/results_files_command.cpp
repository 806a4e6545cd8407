#include "results_files_command.h"

#include "analysis_driver.h"
#include "dialogs.h"
#include "file_access.h"
#include "results_csv.h"
#include "results_page.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

namespace verdalis {

namespace {
const QString OverlayFilter =
    QStringLiteral("PNG picture (*.png)|*.png|JPEG picture (*.jpg *.jpeg)|*.jpg;*.jpeg");
const QString CsvFilter = QStringLiteral("CSV file (*.csv)|*.csv");
} // namespace

ResultsFilesCommand::ResultsFilesCommand(ResultsPage &page, const PictureCanvas &canvas,
                                         const AnalysisDriver &driver, Dialogs &dialogs,
                                         QWidget *shortcutHost, QObject *parent)
    : QObject(parent), m_page(page), m_dialogs(dialogs), m_overlay(canvas)
{
    connect(&driver, &AnalysisDriver::finished, &m_overlay, &AnalysedOverlay::analysisFinished);
    connect(&m_overlay, &AnalysedOverlay::availabilityChanged, page.saveOverlayButton,
            &QPushButton::setEnabled);
    page.saveOverlayButton->setEnabled(m_overlay.isAvailable());
    connect(page.saveOverlayButton, &QPushButton::clicked, this,
            &ResultsFilesCommand::saveOverlayPicture);
    connect(page.saveTableButton, &QToolButton::clicked, this,
            &ResultsFilesCommand::saveResultsTable);
    // The shortcut does what the button does, and nothing while it is disabled.
    auto *shortcut = new QShortcut(QKeySequence::Save, shortcutHost);
    connect(shortcut, &QShortcut::activated, page.saveOverlayButton, &QPushButton::click);
}

void ResultsFilesCommand::saveOverlayPicture()
{
    if (!m_overlay.isAvailable())
        return;
    const std::optional<FileChoice> choice =
        m_dialogs.saveFile(QStringLiteral("Save overlay picture"), OverlayFilter, m_overlayFilter);
    if (!choice)
        return;
    m_overlayFilter = choice->filterIndex == 2 ? 2 : 1;
    const QString path = withOverlaySuffix(choice->path, m_overlayFilter == 2 ? OverlayFormat::Jpeg
                                                                              : OverlayFormat::Png);
    if (!overlayFormatOf(path)) {
        m_dialogs.message(QStringLiteral("An overlay picture is saved as PNG (.png) or JPEG "
                                         "(.jpg, .jpeg); nothing was written to\n%1")
                              .arg(QDir::toNativeSeparators(path)),
                          programTitle());
        return;
    }
    QString reason;
    if (!writeOverlayPicture(m_overlay.picture(), path, &reason))
        failed(QStringLiteral("The overlay picture"), path, reason);
}

void ResultsFilesCommand::saveResultsTable()
{
    const std::optional<FileChoice> choice =
        m_dialogs.saveFile(QStringLiteral("Save results table"), CsvFilter);
    if (!choice)
        return;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString reason;
    if (!writeFileSafely(path, resultsCsvText(m_page.resultsTable()).toUtf8(), &reason))
        failed(QStringLiteral("The results table"), path, reason);
}

void ResultsFilesCommand::failed(const QString &what, const QString &path, const QString &reason)
{
    m_dialogs.message(QStringLiteral("%1 could not be saved to %2:\n%3")
                          .arg(what, QDir::toNativeSeparators(path), reason),
                      programTitle(), MessageButtons::Ok, MessageKind::Error);
}

} // namespace verdalis
