#pragma once

#include "analysis_driver.h"

#include <QObject>

class QCheckBox;
class QTabWidget;
class QWidget;

namespace verdalis {

class BackgroundCorrector;
class BrushPanel;
class Dialogs;
class MeasurementsPanel;
class PhotoPage;
class PictureCanvas;
class ResultsPage;
class WorkspaceState;

// The "Analyze" button: checks the calibration, prepares the window,
// starts the analysis driver and copies what the run reports into the controls
// as it goes. The window stays disabled from the start of a run to its end.
class AnalyzeCommand : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QWidget *window = nullptr; // the main window
        QTabWidget *pages = nullptr;
        BrushPanel *brush = nullptr;
        QCheckBox *gridShow = nullptr;
        MeasurementsPanel *measurements = nullptr; // holds the unit caption
        PhotoPage *photoPage = nullptr;
        ResultsPage *results = nullptr;
        // What became of the background of the picture shown, when it was read.
        const BackgroundCorrector *background = nullptr;
    };

    AnalyzeCommand(WorkspaceState &state, PictureCanvas &canvas, Dialogs &dialogs,
                   const Controls &controls, QObject *parent = nullptr);

    bool isRunning() const { return m_driver.isRunning(); }
    const AnalysisDriver &driver() const { return m_driver; }

public slots:
    void analyze();
    // Drops a run in progress without a word (the window is closing).
    void cancel() { m_driver.cancel(); }

signals:
    // A picture of a batch has been analysed (RecordSetResult): the batch
    // records its row and goes on with the next picture.
    void setResultReady(const verdalis::AnalysisResult &result);
    // A picture of a batch could not be analysed (too large for memory): no
    // message here; the batch lists the picture at its end and goes on.
    void setPictureFailed(const QString &reason);

private:
    void samplingFinished(double leafArea);
    void runFinished(const AnalysisResult &result);
    void runFailed(const QString &message);

    WorkspaceState &m_state;
    PictureCanvas &m_canvas;
    Dialogs &m_dialogs;
    Controls m_controls;
    AnalysisDriver m_driver;
};

} // namespace verdalis
