// The command-line analyser against the window, for every kind of detection
// system: the window's own path (selector, picture canvas, timer-driven
// analysis driver) and the command line give the same figures, the same
// results text (spot columns included) and the same overlay, on BMP and on
// JPEG pictures.
#include "analysis_driver.h"
#include "batch_job.h"
#include "batch_test_support.h"
#include "custom_detection_file.h"
#include "detection_selector.h"
#include "picture_analysis.h"
#include "picture_canvas.h"
#include "results_table.h"
#include "scripted_dialogs.h"
#include "workspace_state.h"

#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

using namespace verdalis;

namespace {

const QString Unit = QStringLiteral("mm");
const double SizeRatio = 0.32;

struct WindowRun {
    int systemIndex = -1;
    AnalysisResult result;
    AnalysisFigures figures;
    QImage shown;
};

// What the window does: select the system and the slider, calibrate, open the
// picture, set the unit step, press Analyze and let the event loop tick.
WindowRun analyseInWindow(const QString &picture, const QString &programFolder,
                          const QString &systemName, int slider, int tenths)
{
    WindowRun run;
    WorkspaceState state;
    state.setProgramFolder(programFolder);
    ScriptedDialogs dialogs;
    DetectionSelector selector(state, dialogs);
    selector.loadCustomSystems();
    run.systemIndex = selector.catalogue().indexOf(systemName);
    selector.select(run.systemIndex);
    selector.setSliderPosition(slider);
    state.setSizeRatio(SizeRatio);
    state.setUnitName(Unit);
    state.markCalibrated();

    PictureCanvas canvas;
    QString error;
    if (!canvas.load(picture, &error))
        qFatal("cannot load %s: %s", qPrintable(picture), qPrintable(error));
    canvas.setUnitStepTenths(tenths);
    AnalysisDriver driver;
    bool finished = false;
    QObject::connect(&driver, &AnalysisDriver::finished, [&](const AnalysisResult &result) {
        run.result = result;
        finished = true;
    });
    if (!driver.start(canvas, state) || !QTest::qWaitFor([&] { return finished; }, 120000))
        qFatal("the window's run did not finish");
    run.figures = driver.figures();
    run.shown = canvas.composedImage().convertToFormat(QImage::Format_RGB32);
    return run;
}

// Every figure, for an exact comparison.
auto allOf(const AnalysisFigures &f)
{
    return std::tie(f.leafArea, f.symptomArea, f.perimeter, f.perimeterCount, f.leafSamples,
                    f.symptomSamples, f.spotCount);
}

} // namespace

class BatchFiguresTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sameAsTheWindow_data();
    void sameAsTheWindow();

private:
    QTemporaryDir m_dir;
    QString m_bmp;
    QString m_jpeg;
};

void BatchFiguresTest::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    m_bmp = writeScene(dir, QStringLiteral("white leaves.bmp"), randomLeafScene(480, 320, 11));
    m_jpeg = writeScene(dir, QStringLiteral("black.leaves.jpg"),
                        randomLeafScene(421, 299, 12, Background::Black));
    // The program folder's custom detection file: one system for each lesion kind.
    QString error;
    QVERIFY(writeCustomDetectionFile(
        customDetectionFilePath(m_dir.path()),
        {customDetectionSystem(QStringLiteral("Rust spot"), Rgb{100, 45, 15}),
         customDetectionSystem(QStringLiteral("Pale spot"), Rgb{150, 165, 101})},
        &error));
}

void BatchFiguresTest::sameAsTheWindow_data()
{
    QTest::addColumn<bool>("jpeg");
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("slider");
    QTest::addColumn<QString>("unitStep");
    const auto add = [](const char *tag, bool jpeg, const char *system, int slider,
                        const char *unitStep) {
        QTest::newRow(tag) << jpeg << QString::fromLatin1(system) << slider
                           << QString::fromLatin1(unitStep);
    };
    // Each system once, BMP and JPEG, with slider ends and unit steps between.
    add("leaf area only, jpeg, step 0.5", true, "Leaf area only", 0, "0.5");
    add("system 1, jpeg, slider 3", true, "System 1", 3, "0.7");
    add("system 2, bmp, slider -3, step 0.3", false, "System 2", -3, "0.3");
    add("system 3, bmp, slider -10", false, "System 3", -10, "0.4");
    add("system 4, jpeg, slider 10", true, "System 4", 10, "1");
    add("first custom, bmp", false, "Rust spot", 0, "1.0");
    add("second custom, jpeg, slider 20", true, "Pale spot", 20, "0.6");
}

void BatchFiguresTest::sameAsTheWindow()
{
    QFETCH(bool, jpeg);
    QFETCH(QString, system);
    QFETCH(int, slider);
    QFETCH(QString, unitStep);
    const QString picture = jpeg ? m_jpeg : m_bmp;
    const WindowRun window =
        analyseInWindow(picture, m_dir.path(), system, slider, qRound(unitStep.toDouble() * 10));
    QVERIFY(window.systemIndex >= 0);

    const QStringList arguments{"--system",    system,   "--slider", QString::number(slider),
                                "--unit-step", unitStep, "--spots",  "--size-ratio",
                                "0.32",        "--unit", Unit,       picture};
    const BatchCommandRun cli = runBatch(arguments, m_dir.path());
    QCOMPARE(cli.err, QString());
    QCOMPARE(cli.status, 0);

    // The results table the window fills for a one-picture set, with the spot
    // columns, copied.
    AnalysisResult row = window.result;
    row.pictureName = QFileInfo(picture).completeBaseName();
    ResultsTable table;
    table.prepare(window.systemIndex, Unit, 2, {true});
    table.recordRow(row);
    QCOMPARE(cli.out, table.copyText(window.systemIndex, Unit));

    // The unrounded figures agree to the last bit.
    const BatchJobSetup setup = prepareBatchJob(parseBatchOptions(arguments).options, m_dir.path());
    const PictureOutcome outcome = analysePictureFile(picture, setup.job.settings);
    QVERIFY(outcome.figures);
    QVERIFY(allOf(*outcome.figures) == allOf(window.figures));

    // With an overlay the whole picture is kept (without, only the rows the run
    // samples): the same text, and the overlay is what the window shows after
    // the run, pixel for pixel.
    QTemporaryDir overlays;
    const BatchCommandRun withOverlay = runBatch(
        arguments + QStringList{QStringLiteral("--overlay"), overlays.path()}, m_dir.path());
    QCOMPARE(withOverlay.out, cli.out);
    const QImage overlay(QDir(overlays.path()).filePath(row.pictureName + ".png"));
    QVERIFY(!overlay.isNull());
    QVERIFY(overlay.convertToFormat(QImage::Format_RGB32) == window.shown);
}

QTEST_GUILESS_MAIN(BatchFiguresTest)
#include "tst_batch_figures.moc"
