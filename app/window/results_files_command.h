#pragma once

#include "overlay_picture.h"

#include <QObject>

class QWidget;

namespace verdalis {

class AnalysisDriver;
class Dialogs;
class PictureCanvas;
class ResultsPage;

// The results page's files: the analysed picture with its overlay (button and
// Ctrl+S, available while the picture shows its analysis and nothing drawn
// since), and the results table as a CSV file. Each is asked for by name in
// the save dialog and written safely; a failure says why, naming the path, and
// leaves no file behind.
class ResultsFilesCommand : public QObject {
    Q_OBJECT
public:
    // shortcutHost: the window whose Ctrl+S saves the overlay.
    ResultsFilesCommand(ResultsPage &page, const PictureCanvas &canvas,
                        const AnalysisDriver &driver, Dialogs &dialogs, QWidget *shortcutHost,
                        QObject *parent = nullptr);

    const AnalysedOverlay &analysedOverlay() const { return m_overlay; }

public slots:
    void saveOverlayPicture();
    void saveResultsTable();

private:
    void failed(const QString &what, const QString &path, const QString &reason);

    ResultsPage &m_page;
    Dialogs &m_dialogs;
    AnalysedOverlay m_overlay;
    // The picture type chosen last, offered again next time (1 PNG, 2 JPEG).
    int m_overlayFilter = 1;
};

} // namespace verdalis
