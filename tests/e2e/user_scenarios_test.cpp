// A user's road through the real main window, driven offscreen by mouse events
// on the picture view: open a generated picture of known shapes, measure its
// scale bar with two clicks, calibrate, choose a detection system, correct the
// picture with the brush, press "Analyze", read the report, the leaf area box
// and the dots on the picture.

#include "analysis_driver.h"
#include "analysis_run.h"
#include "analyze_command.h"
#include "brush_panel.h"
#include "calibration_dialog.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_tools.h"
#include "picture_view.h"
#include "results_page.h"
#include "sample_geometry.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace verdalis;

Q_DECLARE_METATYPE(BrushKind)

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

// The pixel of the picture that sample (x, y) reads at unit step 1.0.
QPoint samplePixel(std::int64_t x, std::int64_t y)
{
    return {int(SampleGeometry::pixelOfSample(x, 10)), int(SampleGeometry::pixelOfSample(y, 10))};
}

// The pixels of `after` that differ from `before`.
QList<QPoint> changedPixels(const QImage &before, const QImage &after)
{
    QList<QPoint> changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed << QPoint(x, y);
    return changed;
}

QList<QPoint> paintedPixels(const QImage &overlay)
{
    QImage transparent(overlay.size(), overlay.format());
    transparent.fill(Qt::transparent);
    return changedPixels(transparent, overlay);
}

// The pixels of a dot of the given width centred on a pixel.
QList<QPoint> dotPixels(QPoint centre, int width)
{
    const std::vector<int> rows = PictureCanvas::dotRowHalfWidths(width);
    const int reach = int(rows.size() / 2);
    QList<QPoint> pixels;
    for (int row = 0; row < int(rows.size()); ++row)
        for (int dx = -rows[std::size_t(row)]; dx <= rows[std::size_t(row)]; ++dx)
            pixels << centre + QPoint(dx, row - reach);
    return pixels;
}

bool samePixels(const QList<QPoint> &a, const QList<QPoint> &b)
{
    return QSet<QPoint>(a.begin(), a.end()) == QSet<QPoint>(b.begin(), b.end());
}

} // namespace

class UserScenariosTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        // The program's current folder is empty: whatever the brush might write
        // there would show.
        m_startFolder = QDir::currentPath();
        QDir::setCurrent(m_folder->path());
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_window = std::make_unique<MainWindow>(*m_dialogs);
        // Custom systems saved by a scenario go to its own folder.
        m_window->state().setProgramFolder(m_folder->path());
        m_page = m_window->photoPage;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_picturePath = m_folder->filePath(QStringLiteral("leaf.bmp"));
        QVERIFY(scenePicture().save(m_picturePath, "BMP"));
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        QDir::setCurrent(m_startFolder);
        m_folder.reset();
    }

    void analysesEverySystem_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("length");
        QTest::addColumn<double>("sizeRatio");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        // The bar is 127 display millimetres: calling it 12.7 cm makes 0.1 cm of
        // one display millimetre; calling it 63.5 mm makes 0.5 mm.
        // Every system's figures are the engine's and the command line's; here, one
        // of each kind through the window.
        QTest::newRow("Leaf area only") << 0 << english << "12.7" << 12.7 / MeasuredMillimetres;
        QTest::newRow("System 1") << 1 << english << "12.7" << 12.7 / MeasuredMillimetres;
        QTest::newRow("System 3, decimal comma") << 3 << QLocale(QLocale::German, QLocale::Germany)
                                                 << "63,5" << 63.5 / MeasuredMillimetres;
    }

    // The window must carry its choices to the run and its figures to the report:
    // expected is what the engine makes of the scene with the window's detection
    // settings and the size ratio the scale bar must give (the engine's figures
    // are pinned against an independent reference by its own tests, the report's
    // text by the results rules' tests).
    void analysesEverySystem()
    {
        QFETCH(int, system);
        QFETCH(QLocale, locale);
        QFETCH(QString, length);
        QFETCH(double, sizeRatio);
        QLocale::setDefault(locale);
        const QString unit = locale.decimalPoint() == QLatin1String(",") ? QStringLiteral("mm")
                                                                         : QStringLiteral("cm");

        openPicture(m_picturePath);
        calibrate(length, unit);
        chooseSystem(system);
        analyze();

        const QImage picture = scenePicture();
        AnalysisSettings settings =
            AnalysisDriver::settingsFrom(m_window->state(), m_window->canvas());
        settings.sizeRatio = sizeRatio;
        AnalysisRun run;
        run.start(PixelBuffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                              PictureWidth, PictureHeight, int(picture.bytesPerLine() / 4)},
                  settings);
        run.runToEnd();
        AnalysisResult expected = analysisResultOf(run.figures(), QString());
        QCOMPARE(expected.spotCount, system == 0 ? 0 : 2);
        QCOMPARE(m_window->resultsPage->reportText->toPlainText(),
                 buildReport(expected, system, unit).text);
        // Text that is no number reads as 0, far from the leaves' area.
        const double leafArea = QLocale().toDouble(m_page->leafAreaBox->text());
        QVERIFY(qAbs(leafArea - expected.leafArea) <= 1e-9 * expected.leafArea);

        checkOverlay(system);
    }

    // "Analyze" before calibrating only warns and switches the brush off. A custom
    // system made from a colour picked on the picture detects the lesions of that
    // colour, and the brush paints its symptoms in that colour.
    void customSystemFromSampledColour()
    {
        openPicture(m_picturePath);
        QTest::mouseClick(brushSwitch(), Qt::LeftButton);
        m_window->pageTabs->setCurrentIndex(1);
        m_dialogs->answerMessage(MessageAnswer::Ok);
        QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
        QCOMPARE(m_dialogs->messages(),
                 QStringList{"The software need to be calibrated, please calibrate it first"});
        QVERIFY(!m_window->brushPanel->isBrushOn());
        QCOMPARE(m_window->pageTabs->currentIndex(), 0);
        QVERIFY(!m_window->analyzeCommand().isRunning());

        calibrate(QStringLiteral("12.7"), QStringLiteral("cm"));
        QToolButton *sampling = m_window->detectionSystemPanel->colourSamplingSwitch;
        QTest::mouseClick(sampling, Qt::LeftButton);
        // Pick the necrotic lesion of leaf B.
        QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(420, 140));
        const RgbColour necrotic = lesionColour(LesionKind::Necrotic);
        QCOMPARE(m_window->state().customColour(), necrotic);

        m_dialogs->answerInput(QStringLiteral("Brown spot"));
        QTest::mouseClick(m_window->customDetectionPanel->saveSystemButton, Qt::LeftButton);
        QVERIFY(!sampling->isChecked());
        QCOMPARE(m_window->state().systemIndex(), FirstCustomSystem);

        const AnalysisFigures figures = analyze();
        QCOMPARE(figures.spotCount, 2);
        checkOverlay(FirstCustomSystem);

        switchBrushOn(BrushKind::Symptom, 5);
        stroke({QPoint(300, 20)});
        QCOMPARE(m_window->canvas().overlay().pixelColor(300, 20),
                 QColor(necrotic.red, necrotic.green, necrotic.blue));
    }

    // Closing the window while a long run goes on ends the program at once, even
    // with another window open.
    void closingDuringRunEndsTheProgram()
    {
        QWidget otherWindow;
        otherWindow.show();
        const QString path = m_folder->filePath(QStringLiteral("large.bmp"));
        QImage large(1600, 1200, QImage::Format_RGB32);
        large.fill(QColor(82, 150, 108));
        QVERIFY(large.save(path, "BMP"));
        openPicture(path);
        // The finest unit step: over 18 million samples, far more than one time slice.
        m_window->canvas().setUnitStepTenths(1);
        m_window->state().markCalibrated();

        QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
        bool runningAtClose = false;
        QTimer::singleShot(0, m_window.get(), [this, &runningAtClose] {
            runningAtClose = m_window->analyzeCommand().isRunning();
            m_window->close();
        });
        // Fails the test rather than hang it if the run kept the program going.
        QTimer::singleShot(20000, &otherWindow, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(runningAtClose);
        QVERIFY(!m_window->analyzeCommand().isRunning());
        QVERIFY(m_window->resultsPage->reportText->toPlainText().isEmpty());
    }

    // At every unit step the dot's centre is the pixel the mouse is on.
    void dotsLandOnThePixelUnderTheMouse()
    {
        openPicture(m_picturePath);
        switchBrushOn(BrushKind::Leaf, 1);
        for (int tenths = 1; tenths <= 10; ++tenths) {
            m_window->canvas().setUnitStepTenths(tenths);
            for (int x = 1; x < 319; ++x) {
                m_window->canvas().clearDrawings();
                const QPoint at(x, 1 + (x * 7) % 198);
                stroke({at});
                // The one painted pixel of the 3 x 3 around the mouse is its centre.
                const QImage around =
                    m_window->canvas().overlay().copy(at.x() - 1, at.y() - 1, 3, 3);
                QVERIFY2(paintedPixels(around) == QList<QPoint>{QPoint(1, 1)},
                         qPrintable(
                             QStringLiteral("at %1, %2, step %3").arg(x).arg(at.y()).arg(tenths)));
            }
        }
    }

    void everySwitchOffBakesTheStrokes_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("the user") << "user";
        QTest::newRow("showing the grid") << "grid";
        QTest::newRow("colour sampling") << "sampling";
    }

    void everySwitchOffBakesTheStrokes()
    {
        QFETCH(QString, by);
        openPicture(m_picturePath);
        const QImage picture = m_window->canvas().picture();
        m_window->state().markCalibrated();
        switchBrushOn(BrushKind::Background, 4);
        stroke({QPoint(100, 80), QPoint(101, 80), QPoint(102, 81)});
        const QList<QPoint> painted = paintedPixels(m_window->canvas().overlay());
        QVERIFY(!painted.isEmpty());

        if (by == QLatin1String("user")) {
            QTest::mouseClick(brushSwitch(), Qt::LeftButton);
        } else if (by == QLatin1String("grid")) {
            // The grid can be shown once a unit is calibrated and a spacing typed.
            m_window->state().setUnitName(QStringLiteral("mm"));
            m_window->measurementsPanel->gridFrame()->spacingBox()->setEditText(
                QStringLiteral("10"));
            QTest::mouseClick(m_window->measurementsPanel->gridFrame()->showBox(), Qt::LeftButton);
        } else {
            QTest::mouseClick(m_window->detectionSystemPanel->colourSamplingSwitch, Qt::LeftButton);
        }
        QVERIFY(!m_window->brushPanel->isBrushOn());
        QVERIFY(samePixels(changedPixels(picture, m_window->canvas().picture()), painted));
        for (const QPoint &pixel : painted)
            QCOMPARE(m_window->canvas().picture().pixelColor(pixel), QColor(0, 0, 0));
        // Strokes go into the picture in memory: no file is written, in the current
        // folder (the picture's folder here) or anywhere else the brush could reach.
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"leaf.bmp"});

        // Clearing the drawings (the brush switched on and off again, a
        // measurement) keeps baked strokes; Reload brings the picture back as the
        // file holds it, and the file never changed.
        const QImage baked = m_window->canvas().picture();
        QTest::mouseClick(brushSwitch(), Qt::LeftButton);
        QTest::mouseClick(brushSwitch(), Qt::LeftButton);
        QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(101, 80));
        QCOMPARE(m_window->canvas().picture(), baked);
        QTest::mouseClick(m_window->reloadPictureButton, Qt::LeftButton);
        QTRY_VERIFY(!m_window->isLoadingPicture());
        QCOMPARE(m_window->canvas().composedImage(), picture);
        QCOMPARE(QImage(m_picturePath).convertToFormat(picture.format()), picture);
    }

    void analysisMeasuresThePaint_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<BrushKind>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<QColor>("paint");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        // Strokes that cross the edge of what they cover, so the painted samples
        // are of more than one class.
        QTest::newRow("background over a lesion")
            << 2 << BrushKind::Background << 10 << QColor(0, 0, 0) << QPoint(90, 100)
            << QPoint(150, 100);
        QTest::newRow("leaf over a lesion") << 4 << BrushKind::Leaf << 9 << QColor(155, 151, 110)
                                            << QPoint(190, 145) << QPoint(190, 200);
        QTest::newRow("symptom over healthy leaf")
            << 1 << BrushKind::Symptom << 7 << QColor(150, 162, 98) << QPoint(50, 200)
            << QPoint(120, 200);
        QTest::newRow("system 4 symptom") << 4 << BrushKind::Symptom << 5 << QColor(100, 90, 77)
                                          << QPoint(50, 200) << QPoint(120, 200);
        QTest::newRow("leaf over background") << 0 << BrushKind::Leaf << 10 << QColor(135, 136, 90)
                                              << QPoint(230, 20) << QPoint(300, 40);
    }

    // A click paints nothing, moves without the button paint nothing, and each
    // move with the button down paints one dot of the system's paint where it is
    // reported: a fast stroke leaves gaps. The figures change by exactly the
    // samples the paint moved from one class to another, counted on the painted
    // pixels.
    void analysisMeasuresThePaint()
    {
        QFETCH(int, system);
        QFETCH(BrushKind, kind);
        QFETCH(int, size);
        QFETCH(QColor, paint);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        openPicture(m_picturePath);
        const QImage picture = m_window->canvas().picture();
        m_window->state().markCalibrated();
        chooseSystem(system);
        const AnalysisFigures before = analyze();
        QVERIFY(before.leafArea > 0.0);

        switchBrushOn(kind, size);
        const QImage &overlay = m_window->canvas().overlay();
        QTest::mouseClick(view(), Qt::LeftButton, {}, from);
        hover(to);
        QVERIFY(paintedPixels(overlay).isEmpty());
        QList<QPoint> points;
        QList<QPoint> dots;
        const int steps = qMax(qAbs(to.x() - from.x()), qAbs(to.y() - from.y()));
        for (int step = 0; step <= steps; step += size + 2) {
            points << from + (to - from) * step / steps;
            dots += dotPixels(points.last(), size);
        }
        stroke(points);
        hover(from);
        QVERIFY(samePixels(paintedPixels(overlay), dots));
        QCOMPARE(overlay.pixelColor(points[1]), paint);
        QCOMPARE(view()->grab().toImage().pixelColor(points[1]), paint);
        const AnalysisFigures after = analyze();

        // Unit step 1.0 and size ratio 1: every sample is one square unit.
        const SampleGeometry geometry(PictureWidth, PictureHeight, 10);
        const QImage painted = m_window->canvas().picture();
        const auto toRect = [](const PixelRect &r) { return QRect(r.x, r.y, r.width, r.height); };
        auto isLeaf = [&](QPoint pixel) {
            return toRect(LeafA).contains(pixel) || toRect(LeafB).contains(pixel);
        };
        auto isSymptom = [&](QPoint pixel) {
            for (const Lesion &lesion : Lesions)
                if (toRect(lesion.patch.bounds).contains(pixel))
                    return system != LeafAreaOnlySystem && detectsLesion(system, lesion.kind);
            return false;
        };
        int leafChange = 0;
        int symptomChange = 0;
        int paintedSamples = 0;
        for (std::int64_t y = 0; y <= geometry.maxY(); ++y) {
            for (std::int64_t x = 0; x <= geometry.maxX(); ++x) {
                const QPoint pixel = samplePixel(x, y);
                if (painted.pixel(pixel) == picture.pixel(pixel))
                    continue;
                ++paintedSamples;
                leafChange += (kind != BrushKind::Background) - isLeaf(pixel);
                symptomChange += (kind == BrushKind::Symptom) - isSymptom(pixel);
            }
        }
        QVERIFY(paintedSamples > 10);
        QCOMPARE(after.leafArea, before.leafArea + leafChange);
        QCOMPARE(after.symptomArea, before.symptomArea + symptomChange);
        QVERIFY(leafChange != 0 || symptomChange != 0);
    }

private:
    // Measures the scale bar on the picture and calibrates it as `length` `unit`.
    void calibrate(const QString &length, const QString &unit)
    {
        QTest::mouseClick(view(), Qt::LeftButton, {}, BarStart);
        QTest::mouseClick(view(), Qt::LeftButton, {}, BarEnd);
        QTest::mouseClick(m_window->measurementsPanel->findChild<QPushButton *>(
                              QStringLiteral("calibrateButton")),
                          Qt::LeftButton);
        auto *dialog = qobject_cast<CalibrationDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("lengthBox")), length);
        QTest::keyClicks(dialog->findChild<QComboBox *>(QStringLiteral("unitBox"))->lineEdit(),
                         unit);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(m_window->state().isCalibrated());
    }

    // Presses "Analyze", checks the window waits for the run, and returns the
    // run's figures with the photo page shown again.
    AnalysisFigures analyze()
    {
        QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
        // The run goes on from the event loop; until then the window waits for it,
        // with no unit, and no square mark standing alone where it was.
        [this] {
            QVERIFY(m_window->analyzeCommand().isRunning());
            QVERIFY(!m_window->isEnabled());
            QVERIFY(m_page->leafAreaBox->text().isEmpty());
            QVERIFY(!m_page->areaSquareMark->isVisibleTo(m_page));
            QTRY_VERIFY_WITH_TIMEOUT(!m_window->analyzeCommand().isRunning(), 30000);
            QVERIFY(m_window->isEnabled());
            QVERIFY(m_page->areaSquareMark->isVisibleTo(m_page));
            QCOMPARE(m_window->pageTabs->currentIndex(), 1);
        }();
        // The photo page again, as a user goes back to paint.
        m_window->pageTabs->setCurrentIndex(0);
        return m_window->analyzeCommand().driver().figures();
    }

    // Dots are painted on the samples the run detected (where dots go on the
    // picture is the overlay painting's test): red on the detected lesions and on
    // no other, yellow on the leaves' edges only under "Leaf area only".
    void checkOverlay(int system)
    {
        const QImage shown = view()->grab().toImage();
        for (const Lesion &lesion : Lesions) {
            const PixelRect &r = lesion.patch.bounds;
            const QPoint centre =
                samplePixel(SampleGeometry::firstSampleFrom(r.x + r.width / 2, 10),
                            SampleGeometry::firstSampleFrom(r.y + r.height / 2, 10));
            const bool detected =
                system >= FirstCustomSystem
                    ? lesion.kind == LesionKind::Necrotic
                    : system != LeafAreaOnlySystem && detectsLesion(system, lesion.kind);
            QCOMPARE(shown.pixelColor(centre) == QColor(Qt::red), detected);
        }
        const QPoint leafEdge = samplePixel(SampleGeometry::firstSampleFrom(LeafA.x, 10),
                                            SampleGeometry::firstSampleFrom(LeafA.y + 50, 10));
        QCOMPARE(shown.pixelColor(leafEdge) == QColor(Qt::yellow), system == LeafAreaOnlySystem);
    }

    void switchBrushOn(BrushKind kind, int size)
    {
        BrushPanel *brush = m_window->brushPanel;
        QRadioButton *kinds[] = {brush->leafBrushButton, brush->symptomBrushButton,
                                 brush->backgroundBrushButton};
        QTest::mouseClick(kinds[int(kind)], Qt::LeftButton);
        brush->brushSizeBar->setValue(11 - size);
        if (!brush->isBrushOn())
            QTest::mouseClick(brushSwitch(), Qt::LeftButton);
        QVERIFY(m_window->pictureTools().dispatcher().isBrushActive());
    }

    PictureView *view() const { return m_page->pictureView; }
    // A move without a button pressed.
    void hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, view()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
    }
    QToolButton *brushSwitch() const { return m_window->brushPanel->brushSwitch; }
    void openPicture(const QString &path)
    {
        m_dialogs->answerOpenFile(path, 1);
        QTest::mouseClick(m_window->openPictureButton, Qt::LeftButton);
        QTRY_VERIFY(!m_window->isLoadingPicture());
    }
    void chooseSystem(int index)
    {
        m_window->detectionSystemPanel->systemList->setCurrentIndex(index);
        QCOMPARE(m_window->state().systemIndex(), index);
    }
    // Mouse down on the first point, a move to every point, mouse up on the last.
    void stroke(const QList<QPoint> &points)
    {
        QTest::mousePress(view(), Qt::LeftButton, {}, points.first());
        for (const QPoint &point : points)
            QTest::mouseMove(view(), point);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, points.last());
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_startFolder;
    QString m_picturePath;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    PhotoPage *m_page = nullptr;
};

QTEST_MAIN(UserScenariosTest)
#include "user_scenarios_test.moc"
