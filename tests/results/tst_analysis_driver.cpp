// The window-side analysis driver against the engine run alone: the same
// figures from the workspace's settings, clear failures.
#include "analysis_driver.h"
#include "detection_system.h"
#include "picture_canvas.h"
#include "synthetic_leaves.h"
#include "workspace_state.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace verdalis;

namespace {

// Counts the dots a run paints.
struct DotCounter : OverlayPainter {
    void paintDot(std::int32_t, std::int32_t, RgbColour, int) override { ++count; }
    int count = 0;
};

const DetectionSystem &builtIn(int system)
{
    return builtInDetectionSystems().at(system);
}

QImage leafPicture(int width, int height, std::uint32_t seed)
{
    const SyntheticScene scene = randomLeafScene(width, height, seed);
    const std::vector<std::uint32_t> pixels = renderScene(scene);
    return QImage(reinterpret_cast<const uchar *>(pixels.data()), width, height, width * 4,
                  QImage::Format_RGB32)
        .copy();
}

PixelBuffer bufferOf(const QImage &image)
{
    return {reinterpret_cast<const std::uint32_t *>(image.constBits()), image.width(),
            image.height(), std::ptrdiff_t(image.bytesPerLine() / 4)};
}

AnalysisSettings settingsFor(int system, int tenths = 10, double sizeRatio = 1.0)
{
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = builtIn(system).baseThreshold;
    settings.detection.thresholdStep = builtIn(system).thresholdStep;
    settings.unitStepTenths = tenths;
    settings.sizeRatio = sizeRatio;
    return settings;
}

struct Workspace {
    WorkspaceState state;
    PictureCanvas canvas;
};

} // namespace

class AnalysisDriverTest : public QObject {
    Q_OBJECT
private slots:
    void sameFiguresAsTheEngine_data();
    void sameFiguresAsTheEngine();
    void oversizedRunFailsAndLeavesTheDriverUsable();
    void startClearsEarlierDrawings();
    void canvasGoneMidRunEndsCleanly();
    void leafAreaTextIsPlainDecimal();
};

void AnalysisDriverTest::sameFiguresAsTheEngine_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("slider");
    QTest::newRow("leaf area only") << 0 << 0;
    QTest::newRow("System 4 at 5") << 4 << 5;
    QTest::newRow("custom system at -2") << int(FirstCustomSystem) << -2;
}

// Every setting the run reads comes from the workspace, and the run goes on
// from the event loop, as the window drives it. Whether its dots land where the
// engine puts them is checked against the command-line analyser's overlay.
void AnalysisDriverTest::sameFiguresAsTheEngine()
{
    QFETCH(int, system);
    QFETCH(int, slider);
    const DetectionSystem detection =
        system < FirstCustomSystem
            ? builtIn(system)
            : customDetectionSystem(QStringLiteral("Rust"), lesionColour(LesionKind::Necrotic));
    const QImage picture = leafPicture(260, 190, 11);
    Workspace workspace;
    workspace.canvas.setPicture(picture);
    workspace.canvas.setUnitStepTenths(3);
    workspace.state.setThreshold(detection.baseThreshold, detection.thresholdStep);
    workspace.state.setSliderPosition(slider);
    workspace.state.setCustomColour(detection.referenceColour.value_or(Rgb{}));
    workspace.state.setSystemIndex(system);
    workspace.state.setSizeRatio(2.5);
    workspace.state.setCurrentPictureName(QStringLiteral("leafA"));

    AnalysisSettings settings;
    settings.detection = {system, detection.baseThreshold, detection.thresholdStep, slider,
                          detection.referenceColour.value_or(Rgb{})};
    settings.unitStepTenths = 3;
    settings.sizeRatio = 2.5;
    DotCounter dots;
    AnalysisRun reference;
    reference.start(bufferOf(picture), settings, &dots);
    reference.runToEnd();
    const AnalysisFigures expected = reference.figures();
    QVERIFY(system == 0 ? expected.perimeter > 0 : expected.symptomArea > 0);

    AnalysisDriver driver;
    QStringList order;
    double sampledLeafArea = -1;
    AnalysisResult result;
    QPair<int, int> progress;
    connect(&driver, &AnalysisDriver::samplingFinished, this, [&](double leafArea) {
        order << QStringLiteral("sampled");
        sampledLeafArea = leafArea;
    });
    connect(&driver, &AnalysisDriver::finished, this, [&](const AnalysisResult &r) {
        order << QStringLiteral("finished");
        result = r;
    });
    connect(&driver, &AnalysisDriver::failed, this,
            [&](const QString &message) { order << QStringLiteral("failed: ") + message; });
    connect(&driver, &AnalysisDriver::progressChanged, this, [&](int value, int maximum) {
        progress = {value, maximum};
    });
    QSignalSpy drawings(&workspace.canvas, &PictureCanvas::drawingsChanged);

    QVERIFY(driver.start(workspace.canvas, workspace.state));
    QTRY_VERIFY_WITH_TIMEOUT(!driver.isRunning(), 60000);

    QCOMPARE(order, (QStringList{"sampled", "finished"}));
    QVERIFY(sampledLeafArea == expected.leafArea);
    QVERIFY(result.leafArea == expected.leafArea);
    QVERIFY(result.symptomArea == expected.symptomArea);
    QVERIFY(result.perimeter == expected.perimeter);
    QCOMPARE(result.pictureName, QStringLiteral("leafA"));
    QCOMPARE(progress, qMakePair(int(reference.progressValue()),
                                 int(std::ceil(reference.progressMaximum()))));
    // Dots are repainted per time slice, not one by one.
    QVERIFY(drawings.count() >= 1 && drawings.count() < dots.count);
}

void AnalysisDriverTest::oversizedRunFailsAndLeavesTheDriverUsable()
{
    // 60000 x 60000 pixels at unit step 0.1: far more samples than memory allows.
    // The engine refuses before it reads a pixel.
    const std::uint32_t pixel = 0xFF808080u;
    const PixelBuffer huge{&pixel, 60000, 60000, 60000};
    AnalysisDriver driver;
    QSignalSpy failed(&driver, &AnalysisDriver::failed);
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(!driver.start(huge, settingsFor(1, 1)));
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.first().first().toString().contains(QStringLiteral("not enough memory")));
    QVERIFY(!driver.isRunning());
    QTest::qWait(20);
    QCOMPARE(finished.count(), 0);

    Workspace workspace;
    workspace.canvas.setPicture(leafPicture(80, 60, 3));
    workspace.state.setSystemIndex(0);
    QVERIFY(driver.start(workspace.canvas, workspace.state));
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(failed.count(), 1);
}

void AnalysisDriverTest::startClearsEarlierDrawings()
{
    // White picture: no leaf, so the run paints nothing of its own.
    QImage white(120, 90, QImage::Format_RGB32);
    white.fill(Qt::white);
    Workspace workspace;
    workspace.canvas.setPicture(white);
    workspace.canvas.setPen(Qt::green, 3);
    workspace.canvas.drawLine(QPointF(2, 2), QPointF(20, 20));
    workspace.state.setSystemIndex(2);
    workspace.state.setThreshold(builtIn(2).baseThreshold, builtIn(2).thresholdStep);

    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(driver.start(workspace.canvas, workspace.state));
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);
    const auto result = finished.first().first().value<AnalysisResult>();
    QCOMPARE(result.leafArea, 0.0);
    QCOMPARE(result.symptomArea, 0.0);
    QVERIFY(workspace.canvas.composedImage() == workspace.canvas.picture());
}

void AnalysisDriverTest::canvasGoneMidRunEndsCleanly()
{
    const QImage picture = leafPicture(400, 300, 11);
    WorkspaceState state;
    state.setSystemIndex(4);
    state.setThreshold(builtIn(4).baseThreshold, builtIn(4).thresholdStep);
    auto canvas = std::make_unique<PictureCanvas>();
    canvas->setPicture(picture);

    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(driver.start(*canvas, state));
    QCoreApplication::processEvents(); // one time slice
    canvas.reset();
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);

    AnalysisRun reference;
    reference.start(bufferOf(picture), settingsFor(4));
    reference.runToEnd();
    QVERIFY(finished.first().first().value<AnalysisResult>().symptomArea ==
            reference.figures().symptomArea);
}

void AnalysisDriverTest::leafAreaTextIsPlainDecimal()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(leafAreaText(1234.5, german), QStringLiteral("1234,5"));
    QCOMPARE(leafAreaText(25.0, QLocale(QLocale::English)), QStringLiteral("25"));
    QCOMPARE(leafAreaText(0.1 + 0.2, QLocale(QLocale::English)), QStringLiteral("0.3"));
}

QTEST_MAIN(AnalysisDriverTest)
#include "tst_analysis_driver.moc"
