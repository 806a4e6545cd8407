#include "analysis_driver.h"

#include "analysis_error.h"
#include "canvas_dot_painter.h"
#include "number_text.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QElapsedTimer>

#include <climits>
#include <cmath>
#include <new>

namespace verdalis {

AnalysisDriver::AnalysisDriver(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &AnalysisDriver::runSlice);
}

AnalysisDriver::~AnalysisDriver()
{
    endCanvasBatch();
}

AnalysisSettings AnalysisDriver::settingsFrom(const WorkspaceState &state,
                                              const PictureCanvas &canvas)
{
    AnalysisSettings settings;
    settings.detection.systemIndex = state.systemIndex();
    settings.detection.baseThreshold = state.baseThreshold();
    settings.detection.thresholdStep = state.thresholdStep();
    settings.detection.sliderPosition = state.sliderPosition();
    settings.detection.customColour = state.customColour();
    settings.unitStepTenths = canvas.unitStepTenths();
    settings.sizeRatio = state.sizeRatio();
    return settings;
}

bool AnalysisDriver::start(PictureCanvas &canvas, const WorkspaceState &state)
{
    cancel();
    canvas.clearDrawings();
    QImage picture = canvas.picture();
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(),
                             std::ptrdiff_t(picture.bytesPerLine() / 4)};
    m_canvasPainter = std::make_unique<CanvasDotPainter>(canvas);
    if (!begin(buffer, settingsFrom(state, canvas), state.currentPictureName(),
               m_canvasPainter.get()))
        return false;
    // Sampling reads this memory until it ends, whatever the canvas does.
    m_picture = picture;
    return true;
}

bool AnalysisDriver::start(const PixelBuffer &picture, const AnalysisSettings &settings,
                           const QString &pictureName, OverlayPainter *painter)
{
    cancel();
    return begin(picture, settings, pictureName, painter);
}

bool AnalysisDriver::begin(const PixelBuffer &picture, const AnalysisSettings &settings,
                           const QString &pictureName, OverlayPainter *painter)
{
    m_pictureName = pictureName;
    m_samplingReported = false;
    m_figures = AnalysisFigures();
    m_running = true;
    guarded([&] { m_run.start(picture, settings, painter); });
    if (!m_running)
        return false;
    m_timer.start();
    reportProgress();
    return true;
}

void AnalysisDriver::runToEnd()
{
    if (!m_running)
        return;
    m_timer.stop();
    beginCanvasBatch();
    guarded([&] {
        while (m_running && !m_samplingReported)
            tickOnce();
        if (m_running)
            m_run.runToEnd();
    });
    endCanvasBatch();
    if (m_running)
        finish();
}

void AnalysisDriver::cancel()
{
    m_running = false;
    m_timer.stop();
    endCanvasBatch();
    m_canvasPainter.reset();
    m_picture = QImage();
}

void AnalysisDriver::runSlice()
{
    QElapsedTimer clock;
    clock.start();
    const qint64 sliceNanoseconds = qint64(SliceMilliseconds) * 1000000;
    beginCanvasBatch();
    guarded([&] {
        while (m_running && !m_run.finished() && clock.nsecsElapsed() < sliceNanoseconds)
            tickOnce();
    });
    // One repaint of everything painted in this slice.
    endCanvasBatch();
    if (!m_running)
        return;
    if (m_run.finished())
        finish();
    else
        reportProgress();
}

void AnalysisDriver::tickOnce()
{
    m_run.tick();
    if (!m_samplingReported && m_run.samplingFinished()) {
        m_samplingReported = true;
        m_picture = QImage();
        emit samplingFinished(m_run.figures().leafArea);
    }
}

template <typename Work> void AnalysisDriver::guarded(Work work)
{
    try {
        work();
    } catch (const AnalysisError &error) {
        fail(QString::fromUtf8(error.what()));
    } catch (const std::bad_alloc &) {
        fail(QString::fromUtf8(OutOfMemoryMessage));
    }
}

void AnalysisDriver::reportProgress()
{
    // A progress bar counts in ints; a huge run is shown in coarser steps.
    const double maximum = std::ceil(m_run.progressMaximum());
    const double scale = maximum > INT_MAX ? std::ceil(maximum / INT_MAX) : 1.0;
    emit progressChanged(int(double(m_run.progressValue()) / scale), int(maximum / scale));
}

void AnalysisDriver::fail(const QString &message)
{
    cancel();
    emit failed(message);
}

void AnalysisDriver::finish()
{
    m_running = false;
    m_timer.stop();
    endCanvasBatch();
    m_figures = m_run.figures();
    reportProgress();
    emit finished(analysisResultOf(m_figures, m_pictureName));
}

void AnalysisDriver::beginCanvasBatch()
{
    if (m_canvasPainter && m_canvasPainter->canvas())
        m_canvasPainter->canvas()->beginDrawingBatch();
}

void AnalysisDriver::endCanvasBatch()
{
    if (m_canvasPainter && m_canvasPainter->canvas())
        m_canvasPainter->canvas()->endDrawingBatch();
}

ChartAfterSampling chartAfterSampling(int systemIndex, bool batchActive)
{
    if (isLeafAreaOnly(systemIndex))
        return ChartAfterSampling::Hide;
    return batchActive ? ChartAfterSampling::Keep : ChartAfterSampling::Show;
}

RunEndSteps runEndSteps(int systemIndex, bool batchActive)
{
    RunEndSteps steps;
    steps.showReport = steps.enableWindow = steps.showResultsPage = steps.beep = !batchActive;
    steps.recordSetResult = batchActive;
    steps.hideProgressBar = !batchActive || isLeafAreaOnly(systemIndex);
    return steps;
}

QString leafAreaText(double leafArea, const QLocale &locale)
{
    return numberLocale(locale).toString(leafArea, 'g', 15);
}

} // namespace verdalis
