// The correction brush on the real main window, driven by mouse events on the
// picture view: the paint of every detection system and brush kind, where the
// dots land, when the strokes become part of the picture, and what the next
// analysis makes of them.

#include "analyze_command.h"
#include "brush_panel.h"
#include "detection_selector.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_tools.h"
#include "picture_view.h"
#include "sample_geometry.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>

#include <memory>

using namespace verdalis;

Q_DECLARE_METATYPE(BrushKind)

namespace {

// A leaf rectangle on white with a chlorotic lesion (symptom under System 1
// and 2) and a necrotic one (System 3 and 4). Pixels.
constexpr int PictureWidth = 320;
constexpr int PictureHeight = 200;
const PixelRect Leaf{40, 30, 200, 140};
const Lesion Chlorotic{{{80, 60, 50, 40}, Shape::Rectangle}, LesionKind::Chlorotic};
const Lesion Necrotic{{{160, 100, 40, 40}, Shape::Rectangle}, LesionKind::Necrotic};

QImage scenePicture()
{
    SyntheticScene scene;
    scene.width = PictureWidth;
    scene.height = PictureHeight;
    scene.background = Background::White;
    scene.leaves = {{Leaf, Shape::Rectangle}};
    scene.lesions = {Chlorotic, Necrotic};
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    renderScene(scene, reinterpret_cast<std::uint32_t *>(picture.bits()),
                picture.bytesPerLine() / 4);
    return picture;
}

bool contains(const PixelRect &rect, QPoint pixel)
{
    return QRect(rect.x, rect.y, rect.width, rect.height).contains(pixel);
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
    QList<QPoint> painted;
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            if (qAlpha(overlay.pixel(x, y)) != 0)
                painted << QPoint(x, y);
    return painted;
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

bool samePixels(QList<QPoint> a, QList<QPoint> b)
{
    auto order = [](QPoint p, QPoint q) { return p.y() != q.y() ? p.y() < q.y() : p.x() < q.x(); };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    return a == b;
}

} // namespace

class BrushCorrectionTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void strokePaintsTheSystemsColour_data();
    void strokePaintsTheSystemsColour();
    void onlyMovesWithTheButtonDownPaint();
    void dotsLandOnThePixelUnderTheMouse();
    void everySwitchOffBakesTheStrokes_data();
    void everySwitchOffBakesTheStrokes();
    void strokesOutliveClearingButNotReload();
    void analysisMeasuresThePaint_data();
    void analysisMeasuresThePaint();

private:
    void openPicture(const QImage &picture);
    void chooseSystem(int index);
    void switchBrushOn(BrushKind kind, int size);
    // Mouse down on the first point, a move to every point, mouse up on the last.
    void stroke(const QList<QPoint> &points);
    // Presses "Analyze" and waits for the figures; false if none came.
    bool analyze(AnalysisResult *figures = nullptr);

    PictureView *view() const { return m_window->photoPage->pictureView; }
    QToolButton *brushSwitch() const { return m_window->brushPanel->brushSwitch; }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_startFolder;
    QString m_picturePath;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void BrushCorrectionTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    // The program's current folder is empty: whatever the brush might write
    // there would show.
    m_startFolder = QDir::currentPath();
    QDir::setCurrent(m_folder->path());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_window->state().setProgramFolder(m_folder->path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void BrushCorrectionTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    QDir::setCurrent(m_startFolder);
    m_folder.reset();
}

void BrushCorrectionTest::openPicture(const QImage &picture)
{
    m_picturePath = m_folder->filePath(QStringLiteral("leaf.bmp"));
    QVERIFY(picture.save(m_picturePath, "BMP"));
    m_dialogs->answerOpenFile(m_picturePath, 1);
    QTest::mouseClick(m_window->openPictureButton, Qt::LeftButton);
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(view()->size(), picture.size());
}

void BrushCorrectionTest::chooseSystem(int index)
{
    m_window->detectionSystemPanel->systemList->setCurrentIndex(index);
    QCOMPARE(m_window->state().systemIndex(), index);
}

void BrushCorrectionTest::switchBrushOn(BrushKind kind, int size)
{
    BrushPanel *brush = m_window->brushPanel;
    QRadioButton *kinds[] = {brush->leafBrushButton, brush->symptomBrushButton,
                             brush->backgroundBrushButton};
    QTest::mouseClick(kinds[int(kind)], Qt::LeftButton);
    QCOMPARE(brush->kind(), kind);
    brush->brushSizeBar->setValue(11 - size);
    QCOMPARE(brush->brushSizeLabel->text(), QString::number(size));
    if (!brush->isBrushOn())
        QTest::mouseClick(brushSwitch(), Qt::LeftButton);
    QVERIFY(m_window->pictureTools().dispatcher().isBrushActive());
}

void BrushCorrectionTest::stroke(const QList<QPoint> &points)
{
    QTest::mousePress(view(), Qt::LeftButton, {}, points.first());
    for (const QPoint &point : points)
        QTest::mouseMove(view(), point);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, points.last());
}

bool BrushCorrectionTest::analyze(AnalysisResult *figures)
{
    bool finished = false;
    const QMetaObject::Connection connection =
        connect(&m_window->analyzeCommand().driver(), &AnalysisDriver::finished, this,
                [&](const AnalysisResult &result) {
                    if (figures)
                        *figures = result;
                    finished = true;
                });
    QTest::mouseClick(m_window->analyzeButton, Qt::LeftButton);
    const bool ended = QTest::qWaitFor([&] { return finished; }, 30000);
    disconnect(connection);
    // The photo page again, as a user goes back to paint.
    m_window->pageTabs->setCurrentIndex(0);
    return ended;
}

void BrushCorrectionTest::strokePaintsTheSystemsColour_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<BrushKind>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<QColor>("paint");
    const auto leaf = BrushKind::Leaf;
    const auto symptom = BrushKind::Symptom;
    const auto background = BrushKind::Background;
    QTest::newRow("Leaf area only, leaf") << 0 << leaf << 5 << QColor(135, 136, 90);
    QTest::newRow("System 1, symptom") << 1 << symptom << 3 << QColor(150, 162, 98);
    QTest::newRow("System 4, symptom") << 4 << symptom << 9 << QColor(100, 90, 77);
    QTest::newRow("custom, symptom: its colour") << 6 << symptom << 5 << QColor(90, 60, 30);
    QTest::newRow("custom, background") << 6 << background << 5 << QColor(0, 0, 0);
}

void BrushCorrectionTest::strokePaintsTheSystemsColour()
{
    QFETCH(int, system);
    QFETCH(BrushKind, kind);
    QFETCH(int, size);
    QFETCH(QColor, paint);
    QFile file(m_folder->filePath(QStringLiteral("CustFile")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Rust\",\"90\",\"60\",\"30\"\r\n");
    file.close();
    m_window->selector().loadCustomSystems();
    openPicture(scenePicture());
    chooseSystem(system);
    switchBrushOn(kind, size);

    const QPoint at(100, 50);
    stroke({at});
    QVERIFY(samePixels(paintedPixels(m_window->canvas().overlay()), dotPixels(at, size)));
    QCOMPARE(m_window->canvas().overlay().pixelColor(at), paint);
    QCOMPARE(view()->grab().toImage().pixelColor(at), paint);
}

// A click paints nothing, moves without the button paint nothing, and each
// move with the button down paints one dot where it is reported: a fast stroke
// leaves gaps.
void BrushCorrectionTest::onlyMovesWithTheButtonDownPaint()
{
    openPicture(scenePicture());
    switchBrushOn(BrushKind::Background, 3);
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(paintedPixels(m_window->canvas().overlay()).isEmpty());
    QVERIFY(!m_window->pictureTools().brush().isDown());

    auto hover = [this](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, view()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
    };
    hover(QPoint(70, 70));
    QVERIFY(paintedPixels(m_window->canvas().overlay()).isEmpty());

    stroke({QPoint(60, 60), QPoint(90, 60), QPoint(120, 60)});
    QVERIFY(samePixels(paintedPixels(m_window->canvas().overlay()),
                       dotPixels(QPoint(60, 60), 3) + dotPixels(QPoint(90, 60), 3) +
                           dotPixels(QPoint(120, 60), 3)));
    hover(QPoint(150, 60));
    QCOMPARE(paintedPixels(m_window->canvas().overlay()).size(), 3 * 9);
}

// At every unit step the dot's centre is the pixel the mouse is on.
void BrushCorrectionTest::dotsLandOnThePixelUnderTheMouse()
{
    openPicture(scenePicture());
    switchBrushOn(BrushKind::Leaf, 1);
    for (int tenths = 1; tenths <= 10; ++tenths) {
        m_window->canvas().setUnitStepTenths(tenths);
        for (int x = 1; x < PictureWidth - 1; ++x) {
            m_window->canvas().clearDrawings();
            const QPoint at(x, 1 + (x * 7) % (PictureHeight - 2));
            stroke({at});
            // The one painted pixel of the 3 x 3 around the mouse is its centre.
            const QImage around = m_window->canvas().overlay().copy(at.x() - 1, at.y() - 1, 3, 3);
            QVERIFY2(paintedPixels(around) == QList<QPoint>{QPoint(1, 1)},
                     qPrintable(QStringLiteral("mouse on %1, %2 at unit step %3")
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(tenths / 10.0)));
        }
    }
}

void BrushCorrectionTest::everySwitchOffBakesTheStrokes_data()
{
    QTest::addColumn<QString>("by");
    QTest::newRow("the user") << "user";
    QTest::newRow("Analyze") << "analyze";
    QTest::newRow("showing the grid") << "grid";
    QTest::newRow("colour sampling") << "sampling";
}

void BrushCorrectionTest::everySwitchOffBakesTheStrokes()
{
    QFETCH(QString, by);
    const QImage picture = scenePicture();
    openPicture(picture);
    m_window->state().markCalibrated();
    switchBrushOn(BrushKind::Background, 4);
    const QList<QPoint> line{QPoint(100, 80), QPoint(101, 80), QPoint(102, 81)};
    stroke(line);
    const QList<QPoint> painted = paintedPixels(m_window->canvas().overlay());
    QVERIFY(!painted.isEmpty());

    if (by == QLatin1String("user"))
        QTest::mouseClick(brushSwitch(), Qt::LeftButton);
    else if (by == QLatin1String("analyze"))
        QVERIFY(analyze());
    else if (by == QLatin1String("grid")) {
        // The grid can be shown once a unit is calibrated and a spacing typed.
        m_window->state().setUnitName(QStringLiteral("mm"));
        m_window->measurementsPanel->gridFrame()->spacingBox()->setEditText(QStringLiteral("10"));
        QTest::mouseClick(m_window->measurementsPanel->gridFrame()->showBox(), Qt::LeftButton);
    } else
        QTest::mouseClick(m_window->detectionSystemPanel->colourSamplingSwitch, Qt::LeftButton);

    QVERIFY(!m_window->brushPanel->isBrushOn());
    QVERIFY(samePixels(changedPixels(picture, m_window->canvas().picture()), painted));
    for (const QPoint &pixel : painted)
        QCOMPARE(m_window->canvas().picture().pixelColor(pixel), QColor(0, 0, 0));
    // Strokes go into the picture in memory: no file is written, in the current
    // folder (the picture's folder here) or anywhere else the brush could reach.
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"leaf.bmp"});
}

// Clearing the drawings (the brush switched on again, a measurement) keeps
// baked strokes; Reload brings the picture back as the file holds it, and the
// file never changed.
void BrushCorrectionTest::strokesOutliveClearingButNotReload()
{
    const QImage picture = scenePicture();
    openPicture(picture);
    QFile file(m_picturePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    file.close();
    QVERIFY(brushSwitch()->toolTip().contains(QStringLiteral("Reload restores the picture")));

    // A measuring line goes from view as the brush comes on.
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(60, 20));
    QVERIFY(!paintedPixels(m_window->canvas().overlay()).isEmpty());
    switchBrushOn(BrushKind::Leaf, 5);
    QVERIFY(paintedPixels(m_window->canvas().overlay()).isEmpty());
    stroke({QPoint(250, 150), QPoint(260, 150)});
    QTest::mouseClick(brushSwitch(), Qt::LeftButton);
    const QImage painted = m_window->canvas().picture();
    QVERIFY(painted != picture.convertToFormat(QImage::Format_RGB32));

    QTest::mouseClick(brushSwitch(), Qt::LeftButton);
    QTest::mouseClick(brushSwitch(), Qt::LeftButton);
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(255, 150));
    QCOMPARE(m_window->canvas().picture(), painted);
    QCOMPARE(m_window->canvas().composedImage().pixelColor(260, 150), QColor(135, 136, 90));

    QTest::mouseClick(m_window->reloadPictureButton, Qt::LeftButton);
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_window->canvas().composedImage(), picture.convertToFormat(QImage::Format_RGB32));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), onDisk);
}

void BrushCorrectionTest::analysisMeasuresThePaint_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<BrushKind>("kind");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    // Strokes that cross the edge of what they cover, so the painted samples
    // are of more than one class.
    QTest::newRow("background over a lesion")
        << 2 << BrushKind::Background << QPoint(70, 80) << QPoint(110, 80);
    QTest::newRow("leaf over a lesion")
        << 4 << BrushKind::Leaf << QPoint(170, 95) << QPoint(170, 150);
    QTest::newRow("symptom over healthy leaf")
        << 1 << BrushKind::Symptom << QPoint(50, 150) << QPoint(120, 150);
    QTest::newRow("leaf over background")
        << 0 << BrushKind::Leaf << QPoint(230, 20) << QPoint(300, 40);
}

// The figures change by exactly the samples the paint moved from one class to
// another, counted on the painted pixels.
void BrushCorrectionTest::analysisMeasuresThePaint()
{
    QFETCH(int, system);
    QFETCH(BrushKind, kind);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    const QImage picture = scenePicture();
    openPicture(picture);
    m_window->state().markCalibrated();
    chooseSystem(system);
    AnalysisResult before;
    QVERIFY(analyze(&before));
    QVERIFY(before.leafArea > 0.0);

    switchBrushOn(kind, 10);
    QList<QPoint> points;
    const int steps = qMax(qAbs(to.x() - from.x()), qAbs(to.y() - from.y()));
    for (int step = 0; step <= steps; step += 3)
        points << from + (to - from) * step / steps;
    stroke(points);
    AnalysisResult after;
    QVERIFY(analyze(&after));

    // Unit step 1.0 and size ratio 1: every sample is one square unit.
    const SampleGeometry geometry(PictureWidth, PictureHeight, 10);
    const QImage painted = m_window->canvas().picture();
    const bool symptomSystem = system != LeafAreaOnlySystem;
    auto isLeaf = [](QPoint pixel) { return contains(Leaf, pixel); };
    auto isSymptom = [&](QPoint pixel) {
        for (const Lesion &lesion : {Chlorotic, Necrotic})
            if (contains(lesion.patch.bounds, pixel))
                return symptomSystem && detectsLesion(system, lesion.kind);
        return false;
    };
    int leafChange = 0;
    int symptomChange = 0;
    int paintedSamples = 0;
    for (std::int64_t y = 0; y <= geometry.maxY(); ++y) {
        for (std::int64_t x = 0; x <= geometry.maxX(); ++x) {
            const QPoint pixel(int(SampleGeometry::pixelOfSample(x, 10)),
                               int(SampleGeometry::pixelOfSample(y, 10)));
            if (painted.pixel(pixel) == picture.pixel(pixel))
                continue;
            ++paintedSamples;
            leafChange += (kind != BrushKind::Background) - isLeaf(pixel);
            symptomChange += (kind == BrushKind::Symptom) - isSymptom(pixel);
        }
    }
    QVERIFY(paintedSamples > 20);
    QCOMPARE(after.leafArea, before.leafArea + leafChange);
    QCOMPARE(after.symptomArea, before.symptomArea + symptomChange);
    QVERIFY(leafChange != 0 || symptomChange != 0);
}

QTEST_MAIN(BrushCorrectionTest)
#include "brush_correction_test.moc"
