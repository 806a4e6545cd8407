#pragma once

#include "batch_overlay_folder.h"
#include "batch_run.h"

#include <QObject>
#include <QPointer>

namespace verdalis {

class AnalyzeCommand;
class MainWindow;
class PictureSetWindow;

// The picture-set button and the batch run in the main window: opens the
// picture-set window when calibrated, starts the run from its Analyze and lends
// the run the main window's loading, results table and end of analysis.
//
// The main window stays disabled from the opening of the set window to its
// closing, and from the start of a run to its end. Cancel during a run closes
// the set window and no further picture is loaded, but the picture being
// analysed is finished and recorded first; only then does the main window take
// input again, so nothing the user does can slip into the run's figures.
//
// The set window's options are read at Analyze: the spot columns of the
// results table, and a folder (asked for then) that receives every picture's
// overlay as it is recorded.
class PictureSetCommand : public QObject, private BatchHost {
    Q_OBJECT
public:
    PictureSetCommand(MainWindow &window, AnalyzeCommand &analyze, QObject *parent = nullptr);
    ~PictureSetCommand() override;

    // The open picture-set window, or null.
    PictureSetWindow *pictureSetWindow() const;
    const BatchRun &batchRun() const { return m_run; }

public slots:
    void openPictureSetWindow();

private:
    void analyzeSet();
    void setWindowClosed();
    void closeSetWindow();

    void prepareResultsTable(int pictureSetRows) override;
    bool loadSetPicture(const QString &lineName, const QString &path, QString *reason) override;
    void prefetchSetPicture(const QString &path) override;
    void recordBatchRow(AnalysisResult &result) override;
    void recordEmptyBatchRow(const QString &lineName) override;
    void endRun() override;

    MainWindow &m_window;
    BatchRun m_run;
    bool m_spotColumns = false;
    BatchOverlayFolder m_overlays;
    int m_pictureIndex = -1;
    QPointer<PictureSetWindow> m_setWindow;
};

} // namespace verdalis
