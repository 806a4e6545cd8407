// A user's road through a single analysis, driven on the real main window: open
// a generated picture of known shapes, measure its scale bar with two clicks,
// calibrate, choose a detection system, press "Analyze", read the report, the
// leaf area box and the dots on the picture.

#include "analysis_driver.h"
#include "analysis_run.h"
#include "analyze_command.h"
#include "brush_panel.h"
#include "calibration_dialog.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_view.h"
#include "results_page.h"
#include "sample_geometry.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace verdalis;

namespace {

// The picture: two leaf rectangles on white, two lesions of each kind, and a
// black scale bar 480 pixels (127 display millimetres) long. Pixels.
constexpr int PictureWidth = 640;
constexpr int PictureHeight = 400;
const PixelRect LeafA{60, 40, 200, 180};
const PixelRect LeafB{330, 60, 200, 200};
const Lesion Lesions[] = {
    {{{100, 80, 40, 40}, Shape::Rectangle}, LesionKind::Chlorotic},  // in leaf A
    {{{180, 150, 30, 40}, Shape::Rectangle}, LesionKind::Necrotic},  // in leaf A
    {{{380, 120, 50, 30}, Shape::Rectangle}, LesionKind::Necrotic},  // in leaf B
    {{{460, 200, 30, 30}, Shape::Rectangle}, LesionKind::Chlorotic}, // in leaf B
};
const ScaleBar Bar{48, 330, 480, 6};
// The two clicks on the bar's ends, pixels of the picture. They land on picture
// units 12.7 and 139.7 (one unit is 480/127 pixels at unit step 1.0), kept as
// 13 and 140: the measured distance is 127 units, 127.00 display millimetres.
const QPoint BarStart(48, 332);
const QPoint BarEnd(528, 332);
constexpr double MeasuredMillimetres = 127.0;

const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);

QImage scenePicture()
{
    SyntheticScene scene;
    scene.width = PictureWidth;
    scene.height = PictureHeight;
    scene.background = Background::White;
    scene.leaves = {{LeafA, Shape::Rectangle}, {LeafB, Shape::Rectangle}};
    scene.lesions.assign(std::begin(Lesions), std::end(Lesions));
    scene.scaleBar = Bar;
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    renderScene(scene, reinterpret_cast<std::uint32_t *>(picture.bits()),
                picture.bytesPerLine() / 4);
    return picture;
}

// "0.000" as the report writes it.
QString figure(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 3);
}

// What the engine makes of the scene with the window's detection settings and
// the size ratio the scale bar must give: the window must carry its choices to
// the run and its figures to the report (the engine's figures are pinned
// against an independent reference by its own tests).
AnalysisFigures engineFigures(MainWindow &window, double sizeRatio)
{
    const QImage picture = scenePicture();
    AnalysisSettings settings = AnalysisDriver::settingsFrom(window.state(), window.canvas());
    settings.sizeRatio = sizeRatio;
    settings.unitStepTenths = 10;
    AnalysisRun run;
    run.start(PixelBuffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                          PictureWidth, PictureHeight, int(picture.bytesPerLine() / 4)},
              settings);
    run.runToEnd();
    return run.figures();
}

QStringList reportLines(const AnalysisFigures &expected, int systemIndex, const QString &unit)
{
    QStringList lines{
        QStringLiteral("Results of leaf image analysis"), QString(),
        QStringLiteral("Total scanned leaf area \t%1 %2 2").arg(figure(expected.leafArea), unit)};
    if (systemIndex == 0) {
        lines << QStringLiteral("Leaf perimeter \t%1 %2").arg(figure(expected.perimeter), unit);
    } else {
        lines << QStringLiteral("Total detected symptom area \t%1 %2 2")
                     .arg(figure(expected.symptomArea), unit)
              << QStringLiteral("Symptom area ratio\t%1 %")
                     .arg(figure(expected.symptomArea / expected.leafArea * 100.0))
              << QStringLiteral("Number of spots\t%1").arg(expected.spotCount)
              << QStringLiteral("Mean spot area\t%1 %2 2")
                     .arg(figure(expected.symptomArea / double(expected.spotCount)), unit)
              << QString();
    }
    return lines;
}

QRect toRect(const PixelRect &rect)
{
    return {rect.x, rect.y, rect.width, rect.height};
}

// Pixels of the picture that sample (x, y) of a rectangle's samples reads.
QPoint samplePixel(std::int64_t x, std::int64_t y)
{
    return {int(SampleGeometry::pixelOfSample(x, 10)), int(SampleGeometry::pixelOfSample(y, 10))};
}

} // namespace

class SingleAnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void analysesEverySystem_data();
    void analysesEverySystem();
    void customSystemFromSampledColour();
    void analyzeUncalibratedOnlyWarns();
    void closingDuringRunEndsTheProgram();

private:
    void openScene();
    // Measures the scale bar on the picture and calibrates it as `length` `unit`.
    void calibrate(const QString &length, const QString &unit);
    void chooseSystem(int index);
    void analyzeAndWait();
    void checkOverlay(int systemIndex, const QList<PixelRect> &detected);

    QPushButton *calibrateButton() const
    {
        return m_window->measurementsPanel->findChild<QPushButton *>(
            QStringLiteral("calibrateButton"));
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    PhotoPage *m_page = nullptr;
};

void SingleAnalysisTest::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    // Custom systems saved by a scenario go to its own folder, not beside the test.
    m_window->state().setProgramFolder(m_folder->path());
    m_page = m_window->photoPage;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SingleAnalysisTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_folder.reset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void SingleAnalysisTest::openScene()
{
    const QString path = m_folder->filePath(QStringLiteral("two leaves.bmp"));
    QVERIFY(scenePicture().save(path, "BMP"));
    m_dialogs->answerOpenFile(path, 1);
    QTest::mouseClick(m_window->openPictureButton, Qt::LeftButton);
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_window->pageTabs->tabText(0), QStringLiteral("Photo two leaves.bmp"));
    QCOMPARE(m_page->pictureView->size(), QSize(PictureWidth, PictureHeight));
}

void SingleAnalysisTest::calibrate(const QString &length, const QString &unit)
{
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, BarStart);
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, BarEnd);
    QVERIFY(calibrateButton()->isEnabled());
    QTest::mouseClick(calibrateButton(), Qt::LeftButton);

    auto *dialog = qobject_cast<CalibrationDialog *>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    auto *lengthBox = dialog->findChild<QLineEdit *>(QStringLiteral("lengthBox"));
    auto *unitBox = dialog->findChild<QComboBox *>(QStringLiteral("unitBox"));
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("okButton"));
    QVERIFY(lengthBox && unitBox && ok);
    QTest::keyClicks(lengthBox, length);
    QCOMPARE(lengthBox->text(), length);
    QTest::keyClicks(unitBox->lineEdit(), unit);
    QTest::mouseClick(ok, Qt::LeftButton);
    QTRY_VERIFY(!dialog->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_window->state().isCalibrated());
    QCOMPARE(m_window->measurementsPanel->unitCaption(), unit);
}

void SingleAnalysisTest::chooseSystem(int index)
{
    m_window->detectionSystemPanel->systemList->setCurrentIndex(index);
    QCOMPARE(m_window->state().systemIndex(), index);
}

void SingleAnalysisTest::analyzeAndWait()
{
    QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
    // The run goes on from the event loop; until then the window waits for it.
    QVERIFY(m_window->analyzeCommand().isRunning());
    QVERIFY(!m_window->isEnabled());
    QVERIFY(!m_page->pictureView->isEnabled());
    QVERIFY(m_page->progressBar->isVisible());
    QCOMPARE(m_page->progressBar->value(), 0);
    QVERIFY(m_page->leafAreaBox->text().isEmpty());
    // No unit, and no square mark standing alone where it was.
    QVERIFY(m_page->areaUnitLabel->text().isEmpty());
    QVERIFY(!m_page->areaSquareMark->isVisibleTo(m_page));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->analyzeCommand().isRunning(), 30000);
    QVERIFY(m_window->isEnabled());
    QVERIFY(m_page->areaSquareMark->isVisibleTo(m_page));
}

// Dots are painted on the samples the run detected: red on the samples of the
// detected lesions, yellow on the samples along the leaves' edges; no dot of
// either colour anywhere else (a dot reaches 2 pixels beyond its sample's pixel).
void SingleAnalysisTest::checkOverlay(int systemIndex, const QList<PixelRect> &detected)
{
    const QImage shown = m_page->pictureView->grab().toImage();
    QCOMPARE(shown.size(), QSize(PictureWidth, PictureHeight));
    const int reach = 2;
    auto allowedRed = [&](QPoint pixel) {
        for (const PixelRect &lesion : detected)
            if (toRect(lesion).adjusted(-reach, -reach, reach, reach).contains(pixel))
                return true;
        return false;
    };
    // Edge samples' pixels lie within 4 pixels inside a leaf's outline.
    auto allowedYellow = [&](QPoint pixel) {
        if (systemIndex != 0)
            return false;
        for (const PixelRect &leaf : {LeafA, LeafB}) {
            const QRect outline = toRect(leaf);
            if (outline.adjusted(-reach, -reach, reach, reach).contains(pixel) &&
                !outline.adjusted(4 + reach, 4 + reach, -4 - reach, -4 - reach).contains(pixel))
                return true;
        }
        return false;
    };
    int red = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor colour = shown.pixelColor(x, y);
            if (colour == Red) {
                ++red;
                QVERIFY2(allowedRed({x, y}),
                         qPrintable(QStringLiteral("red at %1, %2").arg(x).arg(y)));
            } else if (colour == Yellow) {
                QVERIFY2(allowedYellow({x, y}),
                         qPrintable(QStringLiteral("yellow at %1, %2").arg(x).arg(y)));
            }
        }
    }
    QCOMPARE(red > 0, !detected.isEmpty());
    // Every detected lesion is dotted at its centre.
    for (const PixelRect &lesion : detected)
        QCOMPARE(shown.pixelColor(samplePixel(
                     SampleGeometry::firstSampleFrom(lesion.x + lesion.width / 2, 10),
                     SampleGeometry::firstSampleFrom(lesion.y + lesion.height / 2, 10))),
                 Red);
}

void SingleAnalysisTest::analysesEverySystem_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("length");
    QTest::addColumn<double>("sizeRatio");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    // The bar is 127 display millimetres: calling it 12.7 cm makes 0.1 cm of
    // one display millimetre; calling it 63.5 mm makes 0.5 mm.
    // Every system's figures are the engine's and the command line's; here, one
    // of each kind through the window.
    QTest::newRow("Leaf area only") << 0 << english << "12.7" << 12.7 / MeasuredMillimetres;
    QTest::newRow("System 1") << 1 << english << "12.7" << 12.7 / MeasuredMillimetres;
    QTest::newRow("System 3, decimal comma") << 3 << german << "63,5" << 63.5 / MeasuredMillimetres;
}

void SingleAnalysisTest::analysesEverySystem()
{
    QFETCH(int, system);
    QFETCH(QLocale, locale);
    QFETCH(QString, length);
    QFETCH(double, sizeRatio);
    QLocale::setDefault(locale);
    const QString unit =
        locale.decimalPoint() == QLatin1String(",") ? QStringLiteral("mm") : QStringLiteral("cm");

    openScene();
    calibrate(length, unit);
    chooseSystem(system);
    analyzeAndWait();

    const AnalysisFigures expected = engineFigures(*m_window, sizeRatio);
    QCOMPARE(expected.spotCount, system == 0 ? 0 : 2);
    const QStringList lines = m_window->resultsPage->reportText->toPlainText().split(u'\n');
    QCOMPARE(lines, reportLines(expected, system, unit));
    QCOMPARE(m_window->pageTabs->currentIndex(), 1);
    QVERIFY(!m_page->progressBar->isVisible());
    QVERIFY(m_page->pictureView->isEnabled());
    QCOMPARE(m_window->resultsPage->symptomRatioChart->isVisible(), system != 0);
    QCOMPARE(m_page->areaUnitLabel->text(), unit);
    bool ok = false;
    const double leafArea = QLocale().toDouble(m_page->leafAreaBox->text(), &ok);
    QVERIFY(ok);
    QVERIFY(qAbs(leafArea - expected.leafArea) <= 1e-9 * expected.leafArea);

    QList<PixelRect> detected;
    for (const Lesion &lesion : Lesions)
        if (system != 0 && detectsLesion(system, lesion.kind))
            detected << lesion.patch.bounds;
    checkOverlay(system, detected);
}

// A custom system made from a colour picked on the picture detects the lesions
// of that colour.
void SingleAnalysisTest::customSystemFromSampledColour()
{
    openScene();
    calibrate(QStringLiteral("12.7"), QStringLiteral("cm"));
    QToolButton *check1 = m_window->detectionSystemPanel->colourSamplingSwitch;
    QTest::mouseClick(check1, Qt::LeftButton);
    QCOMPARE(m_page->toolPanels->currentWidget(), m_window->customDetectionPanel);
    // Pick the necrotic lesion of leaf B twice, at two of its pixels.
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, QPoint(390, 130));
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, QPoint(420, 140));
    QCOMPARE(m_window->state().customColour(), lesionColour(LesionKind::Necrotic));

    m_dialogs->answerInput(QStringLiteral("Brown spot"));
    QTest::mouseClick(m_window->customDetectionPanel->saveSystemButton, Qt::LeftButton);
    QVERIFY(!check1->isChecked());
    QCOMPARE(m_page->toolPanels->currentWidget(), m_window->measurementsPanel);
    QCOMPARE(m_window->detectionSystemPanel->systemList->currentText(),
             QStringLiteral("Brown spot"));
    QCOMPARE(m_window->state().systemIndex(), FirstCustomSystem);

    analyzeAndWait();
    const AnalysisFigures expected = engineFigures(*m_window, 12.7 / MeasuredMillimetres);
    QCOMPARE(expected.spotCount, 2);
    QList<PixelRect> detected;
    for (const Lesion &lesion : Lesions)
        if (lesion.kind == LesionKind::Necrotic)
            detected << lesion.patch.bounds;
    QCOMPARE(m_window->resultsPage->reportText->toPlainText().split(u'\n'),
             reportLines(expected, FirstCustomSystem, QStringLiteral("cm")));
    checkOverlay(FirstCustomSystem, detected);
}

void SingleAnalysisTest::analyzeUncalibratedOnlyWarns()
{
    openScene();
    QTest::mouseClick(m_window->brushPanel->brushSwitch, Qt::LeftButton);
    QVERIFY(m_window->brushPanel->isBrushOn());
    m_window->pageTabs->setCurrentIndex(1);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
    QCOMPARE(m_dialogs->calls().size(), 2); // the open dialog, then the message
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("The software need to be calibrated, please calibrate it first"));
    // The brush is off and the first page shown; nothing else happened.
    QVERIFY(!m_window->brushPanel->isBrushOn());
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QVERIFY(!m_window->analyzeCommand().isRunning());
    QVERIFY(m_window->isEnabled());
    QVERIFY(m_window->resultsPage->reportText->toPlainText().isEmpty());
}

// Closing the window while a long run goes on ends the program at once, even
// with another window open.
void SingleAnalysisTest::closingDuringRunEndsTheProgram()
{
    QWidget otherWindow;
    otherWindow.show();
    const QString path = m_folder->filePath(QStringLiteral("large.bmp"));
    QImage large(1600, 1200, QImage::Format_RGB32);
    large.fill(QColor(82, 150, 108));
    QVERIFY(large.save(path, "BMP"));
    m_dialogs->answerOpenFile(path, 1);
    QTest::mouseClick(m_window->openPictureButton, Qt::LeftButton);
    QTRY_VERIFY(!m_window->isLoadingPicture());
    // The finest unit step: over 18 million samples, far more than one time slice.
    m_window->canvas().setUnitStepTenths(1);
    m_window->state().markCalibrated();

    QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
    bool runningAtClose = false;
    QTimer::singleShot(0, m_window.get(), [this, &runningAtClose] {
        runningAtClose = m_window->analyzeCommand().isRunning();
        m_window->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(runningAtClose);
    QVERIFY(!m_window->analyzeCommand().isRunning());
    QVERIFY(m_window->resultsPage->reportText->toPlainText().isEmpty());
}

QTEST_MAIN(SingleAnalysisTest)
#include "single_analysis_test.moc"
