#pragma once

#include "analysis_run.h"
#include "results_report.h"

#include <QImage>
#include <QObject>
#include <QTimer>

#include <memory>

namespace verdalis {

class CanvasDotPainter;
class PictureCanvas;
class WorkspaceState;

// Drives one analysis run of the engine from the event loop. Each timer slice
// runs whole ticks for about 8 ms, reports progress and returns to the event
// loop, so the window repaints and the progress bar moves; the figures and the
// dots are the same as one tick per timer event.
//
// Signals, in the order of a run: progressChanged while it goes, then
// samplingFinished once the leaf area is known, then finished with the result;
// or failed with a message for the user (a picture too large for memory), after
// which nothing else is emitted and no run is in progress.
class AnalysisDriver : public QObject {
    Q_OBJECT
public:
    explicit AnalysisDriver(QObject *parent = nullptr);
    ~AnalysisDriver() override;

    // Settings of a run from the workspace: the canvas's unit step, the
    // calibration and the chosen detection system with its parameters.
    static AnalysisSettings settingsFrom(const WorkspaceState &state, const PictureCanvas &canvas);

    // Analyses the canvas's picture. The drawings are cleared first (a run never
    // measures earlier dots) and the detected samples are painted on the canvas
    // as the run goes. The result's picture name is the state's current picture
    // name. Returns false, after emitting failed, when the run cannot start.
    bool start(PictureCanvas &canvas, const WorkspaceState &state);
    // Analyses a picture in plain memory, which must stay valid until
    // samplingFinished (or failed). Dots go to the painter, which may be null
    // and must outlive the run.
    bool start(const PixelBuffer &picture, const AnalysisSettings &settings,
               const QString &pictureName = QString(), OverlayPainter *painter = nullptr);

    bool isRunning() const { return m_running; }
    // Finishes the run in progress at once, without the event loop, emitting the
    // same signals. For tests and the command-line analyser.
    void runToEnd();
    // Drops the run in progress (the window is closing); no signal follows.
    void cancel();

    // Progress of the run: one step per sample sampled, probed or traced; the
    // maximum is 2 (W + 2)(H + 2), W and H the picture's size in units.
    qint64 progressValue() const { return m_run.progressValue(); }
    double progressMaximum() const { return m_run.progressMaximum(); }
    // The figures of the last finished run (the symptom area not yet capped).
    const AnalysisFigures &figures() const { return m_figures; }

    // Wall time one timer slice may spend on ticks. With the repaint that
    // follows and a last tick that overruns, the window is held well under a
    // frame (16 ms).
    static constexpr int SliceMilliseconds = 8;

signals:
    // For a progress bar: value and maximum scaled so that both fit an int.
    void progressChanged(int value, int maximum);
    // Sampling is over: the leaf area (square calibrated units) is known.
    void samplingFinished(double leafArea);
    void finished(const verdalis::AnalysisResult &result);
    void failed(const QString &message);

private:
    bool begin(const PixelBuffer &picture, const AnalysisSettings &settings,
               const QString &pictureName, OverlayPainter *painter);
    void runSlice();
    void tickOnce();
    // Runs work(), turning an engine failure into failed().
    template <typename Work> void guarded(Work work);
    void reportProgress();
    void fail(const QString &message);
    void finish();
    void beginCanvasBatch();
    void endCanvasBatch();

    AnalysisRun m_run;
    QTimer m_timer;
    QImage m_picture;
    QString m_pictureName;
    // Paints on the canvas of a canvas run; null for other runs.
    std::unique_ptr<CanvasDotPainter> m_canvasPainter;
    bool m_running = false;
    bool m_samplingReported = false;
    AnalysisFigures m_figures;
};

// Where the results chart stands once sampling is over: "Leaf area only" hides
// it; other systems show it in a single run and leave it hidden in a batch.
enum class ChartAfterSampling { Hide, Show, Keep };
ChartAfterSampling chartAfterSampling(int systemIndex, bool batchActive);

// What the window does when a run has finished. A single run reports, enables
// the window, shows the results page and beeps; a batch run records the
// picture's row instead. The progress bar is hidden after every single run and,
// under "Leaf area only", after batch runs too.
struct RunEndSteps {
    bool showReport = false;
    bool enableWindow = false;
    bool showResultsPage = false;
    bool beep = false;
    bool hideProgressBar = false;
    bool recordSetResult = false;
};
RunEndSteps runEndSteps(int systemIndex, bool batchActive);

// The leaf area as the leaf-area box shows it after sampling: plain decimal
// text in the user's locale, up to 15 significant digits, no grouping.
QString leafAreaText(double leafArea, const QLocale &locale = QLocale());

} // namespace verdalis
