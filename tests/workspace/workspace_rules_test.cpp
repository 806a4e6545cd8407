// The workspace rules without widgets: picture fitting, window layout, the
// picture canvas's pixel arithmetic, dots and clearing, the overlay
// painted a column stretch at a time, reading pictures ahead, and the number
// boxes' rule.
#include "analysis_run.h"
#include "canvas_dot_painter.h"
#include "main_window_layout.h"
#include "number_entry.h"
#include "picture_canvas.h"
#include "picture_fit.h"
#include "picture_opener.h"
#include "sample_geometry.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"
#include "test_pictures.h"

#include <QSignalSpy>
#include <QTest>

using namespace verdalis;
using verdalis::test::TestPictures;

Q_DECLARE_METATYPE(AxisPlacement)

namespace {

qint32 packed(QRgb rgb)
{
    return qBlue(rgb) * 65536 + qGreen(rgb) * 256 + qRed(rgb);
}

// The dots one by one, as every overlay was painted before stretches.
class DotByDotPainter : public OverlayPainter {
public:
    explicit DotByDotPainter(PictureCanvas &canvas) : m_canvas(canvas) {}
    void paintDot(std::int32_t x, std::int32_t y, RgbColour colour, int widthPixels) override
    {
        m_canvas.setPen(QColor(colour.red, colour.green, colour.blue), widthPixels);
        m_canvas.drawPoint(QPointF(x, y));
    }

private:
    PictureCanvas &m_canvas;
};

// Pixels of the overlay painted in the square of side 2 * reach + 1 around a
// pixel, row by row: '#' painted, '.' not.
QStringList paintedAround(const QImage &overlay, QPoint centre, int reach)
{
    QStringList rows;
    for (int dy = -reach; dy <= reach; ++dy) {
        QString row;
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint pixel = centre + QPoint(dx, dy);
            const bool painted =
                overlay.rect().contains(pixel) && qAlpha(overlay.pixel(pixel)) == 255;
            row += painted ? u'#' : u'.';
        }
        rows << row;
    }
    return rows;
}

} // namespace

class WorkspaceRulesTest : public QObject {
    Q_OBJECT
private slots:
    void fitPicture_data();
    void fitPicture();
    void layoutSnapsAndKeepsControlsApart();
    void canvasReadsWhereTheEngineSamplesAndTheMouseIs();
    void canvasDotShape_data();
    void canvasDotShape();
    void overlayIsEmptyAfterClearingAndForTheNextPicture_data();
    void overlayIsEmptyAfterClearingAndForTheNextPicture();
    void stretchIsTheDotsOneByOne_data();
    void stretchIsTheDotsOneByOne();
    void analysisOverlayIsTheDotsOneByOne_data();
    void analysisOverlayIsTheDotsOneByOne();
    void picturesReadAhead();
    void numberEntry_data();
    void numberEntry();
};

void WorkspaceRulesTest::fitPicture_data()
{
    QTest::addColumn<double>("picture");
    QTest::addColumn<AxisPlacement>("expected");
    // Along a viewport of 6000 twips: offset, scroll maximum, value.
    const struct {
        const char *name;
        double picture;
        AxisPlacement expected;
    } rows[] = {
        {"smaller: centred", 3000, {1500, 0, 0}},
        {"100.5 larger rounds to 100: centred", 6100.5, {-50.25, 0, 0}},
        {"101 larger: maximum 1, value 0", 6101, {0, 1, 0}},
        {"250 larger: maximum 2.5 rounds to 2", 6250, {-100, 2, 1}},
        {"350 larger: maximum 3.5 rounds to 4", 6350, {-200, 4, 2}},
        {"300 larger: value 1.5 rounds to 2", 6300, {-200, 3, 2}},
        {"500 larger: value 2.5 rounds to 2", 6500, {-200, 5, 2}},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.picture << row.expected;
}

void WorkspaceRulesTest::fitPicture()
{
    QFETCH(double, picture);
    QFETCH(AxisPlacement, expected);
    // The same rule on both axes, whatever the other axis does.
    const PicturePlacement wide = PictureFit::place({picture, 100}, {6000, 4000});
    const PicturePlacement tall = PictureFit::place({100, picture}, {4000, 6000});
    QCOMPARE(wide.horizontal, expected);
    QCOMPARE(tall.vertical, expected);
    QCOMPARE(wide.vertical, (AxisPlacement{1950, 0, 0}));
    QCOMPARE(tall.horizontal, (AxisPlacement{1950, 0, 0}));
}

void WorkspaceRulesTest::layoutSnapsAndKeepsControlsApart()
{
    QVERIFY(!MainWindowLayout::compute({2000, 300}, true)); // minimised: left alone
    // Below 12000 x 9000 twips the window snaps back; a height just above is
    // kept.
    QCOMPARE(MainWindowLayout::compute({11000, 8000}, false)->window, QSize(12000, 9000));
    QCOMPARE(MainWindowLayout::compute({11999, 9001}, false)->window, QSize(12000, 9001));
    // At any size the scroll bars hug the viewport, the progress bar lies below
    // them inside the page, and the right-hand strip starts right of them.
    for (const QSize &size : {QSize(12000, 9000), QSize(18000, 13500)}) {
        const WindowGeometry g = *MainWindowLayout::compute(size, false);
        QCOMPARE(g.verticalScroll.left(), g.viewport.right() + 1);
        QCOMPARE(g.verticalScroll.height(), g.viewport.height());
        QCOMPARE(g.horizontalScroll.top(), g.viewport.bottom() + 1);
        QCOMPARE(g.horizontalScroll.width(), g.viewport.width());
        QVERIFY(g.progressBar.top() > g.horizontalScroll.bottom());
        QVERIFY(g.progressBar.bottom() < g.pages.height());
        QVERIFY(g.toolPanels.x() > g.verticalScroll.right());
    }
}

// The canvas has its own pixel arithmetic; it must read the pixel each engine
// sample reads, or the dots miss what was detected. And a mouse position
// (pixels) becomes units and back: the pixel found must be the one the position
// lies on, for every whole pixel of a large picture, the positions between
// pixels a scaled screen reports, and at every unit step.
void WorkspaceRulesTest::canvasReadsWhereTheEngineSamplesAndTheMouseIs()
{
    const QImage picture = TestPictures::gradient(40, 30);
    PictureCanvas canvas;
    canvas.setPicture(picture);
    PictureCanvas wide;
    wide.setPicture(TestPictures::gradient(8000, 1));
    for (int tenths = 1; tenths <= 10; ++tenths) {
        canvas.setUnitStepTenths(tenths);
        const SampleGeometry grid(40, 30, tenths);
        for (int x = 0; x <= grid.maxX(); ++x) {
            const int y = x % (grid.maxY() + 1);
            const QPoint pixel(int(SampleGeometry::pixelOfSample(x, tenths)),
                               int(SampleGeometry::pixelOfSample(y, tenths)));
            QCOMPARE(canvas.colourAt(x, y), packed(picture.pixel(pixel)));
        }
        QCOMPARE(canvas.colourAt(grid.maxX() + 1, 0), -1);
        QCOMPARE(canvas.colourAt(0, grid.maxY() + 1), -1);

        wide.setUnitStepTenths(tenths);
        for (int pixel = -2; pixel < 8000; ++pixel) {
            for (double within : {0.0, 0.25, 0.5, 0.8}) {
                const double units = wide.unitsFromPixels(pixel + within);
                if (wide.pixelIndex(units) != pixel)
                    QFAIL(qPrintable(QStringLiteral("position %1 at unit step %2 gave pixel %3")
                                         .arg(pixel + within)
                                         .arg(tenths / 10.0)
                                         .arg(wide.pixelIndex(units))));
            }
        }
    }
    QCOMPARE(canvas.colourAt(-1, 0), -1);
}

void WorkspaceRulesTest::canvasDotShape_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("shape");
    // The pixels whose centres lie within width/2 of the dot's centre pixel.
    QTest::newRow("1") << 1 << QStringList{"#"};
    QTest::newRow("2") << 2 << QStringList{".#.", "###", ".#."};
    QTest::newRow("3") << 3 << QStringList{"###", "###", "###"};
    QTest::newRow("4") << 4 << QStringList{"..#..", ".###.", "#####", ".###.", "..#.."};
    QTest::newRow("5") << 5 << QStringList{".###.", "#####", "#####", "#####", ".###."};
}

void WorkspaceRulesTest::canvasDotShape()
{
    QFETCH(int, width);
    QFETCH(QStringList, shape);
    const int reach = int(shape.size() / 2);
    PictureCanvas canvas;
    canvas.setPicture(TestPictures::gradient(200, 150));
    // The same shape at every place and every unit step, on the pixel the
    // sample reads and nowhere else; one by one and in a batch alike.
    for (int tenths : {10, 7, 3}) {
        canvas.setUnitStepTenths(tenths);
        for (bool batch : {false, true}) {
            for (int unit : {5, 6, 17, 28}) {
                canvas.clearDrawings();
                if (batch)
                    canvas.beginDrawingBatch();
                canvas.setPen(QColor(255, 0, 0), width);
                canvas.drawPoint(QPointF(unit, unit + 1));
                canvas.endDrawingBatch();
                const QPoint centre(int(canvas.pixelIndex(unit)), int(canvas.pixelIndex(unit + 1)));
                QCOMPARE(paintedAround(canvas.overlay(), centre, reach), shape);
                QCOMPARE(TestPictures::paintedPixels(canvas.overlay()),
                         int(shape.join(QString()).count(u'#')));
            }
        }
    }
    // At the picture's corner the part inside is painted and nothing breaks.
    canvas.setUnitStepTenths(10);
    canvas.clearDrawings();
    canvas.drawPoint(QPointF(0, 0));
    QStringList corner;
    for (int row = 0; row < shape.size(); ++row)
        corner << (row < reach ? QString(shape.size(), u'.')
                               : QString(reach, u'.') + shape[row].mid(reach));
    QCOMPARE(paintedAround(canvas.overlay(), QPoint(0, 0), reach), corner);
    canvas.drawPoint(QPointF(-40, 500));
    QCOMPARE(canvas.picture().size(), QSize(200, 150));
}

void WorkspaceRulesTest::overlayIsEmptyAfterClearingAndForTheNextPicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("columns"); // stretches down whole columns, 20 pixels apart
    QTest::addColumn<bool>("nextPicture");
    // A few columns are wiped; dots over most of a large picture take fresh
    // memory; large pictures live in a mapping of their own.
    QTest::newRow("cleared, small") << QSize(300, 200) << 3 << false;
    QTest::newRow("cleared, dots over most of it") << QSize(1500, 1000) << 70 << false;
    QTest::newRow("next picture, large") << QSize(1400, 900) << 3 << true;
}

// The overlay is emptied only where it was drawn on: every kind of drawing,
// near the edges too, must be gone afterwards, and the view told where.
void WorkspaceRulesTest::overlayIsEmptyAfterClearingAndForTheNextPicture()
{
    QFETCH(QSize, size);
    QFETCH(int, columns);
    QFETCH(bool, nextPicture);
    const QImage picture = TestPictures::gradient(size.width(), size.height());
    PictureCanvas canvas;
    canvas.setPicture(picture);
    const double right = canvas.widthUnits() - 1;
    const double bottom = canvas.heightUnits() - 1;
    canvas.setPen(Qt::red, 5);
    canvas.beginDrawingBatch();
    canvas.drawPoint(QPointF(0, 0));
    canvas.drawPoint(QPointF(right, bottom));
    for (int i = 0; i < columns; ++i)
        canvas.drawColumnDots(i * 20 * 127 / 480 + 1, 0, int(bottom) + 1);
    canvas.endDrawingBatch();
    canvas.setPen(Qt::blue, 3);
    canvas.drawLine(QPointF(2, bottom - 2), QPointF(right - 2, 4));
    canvas.setDotted(true);
    canvas.drawLine(QPointF(right, 0), QPointF(0, bottom));
    QVERIFY(TestPictures::paintedPixels(canvas.overlay()) > 100);

    QSignalSpy changed(&canvas, &PictureCanvas::drawingsChanged);
    if (nextPicture) {
        canvas.setPicture(picture);
    } else {
        canvas.clearDrawings();
        // The view repaints what was drawn on.
        QCOMPARE(changed.count(), 1);
        QVERIFY(
            changed.at(0).at(0).toRect().contains(QRect(1, 0, columns * 20 - 20, size.height())));
    }
    QCOMPARE(canvas.composedImage(), picture);
    // And again after drawing on the emptied overlay.
    canvas.setPen(Qt::red, 7);
    canvas.drawPoint(QPointF(right / 3, bottom / 3));
    QVERIFY(TestPictures::paintedPixels(canvas.overlay()) > 0);
    canvas.clearDrawings();
    QCOMPARE(TestPictures::paintedPixels(canvas.overlay()), 0);
}

void WorkspaceRulesTest::stretchIsTheDotsOneByOne_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("yFirst");
    QTest::addColumn<int>("count");
    // A 37 x 29 pixel picture: at unit step 1.0 the grid is 9 x 7 samples, at
    // 0.1 it is 97 x 76, so stretches cross the bottom edge and lie beside and
    // past the right edge.
    const struct {
        const char *name;
        int x, yFirst, count; // at unit step 1.0; scaled for finer steps
    } places[] = {{"inside", 4, 2, 3},     {"from the top", 0, 0, 4},
                  {"one dot", 5, 3, 1},    {"past the bottom", 2, 5, 6},
                  {"right edge", 9, 1, 5}, {"beyond the right", 11, 0, 3}};
    for (const int tenths : {1, 2, 3, 7, 10}) {
        for (const int width : {1, 2, 3, 4, 5}) {
            for (const auto &place : places) {
                const int scale = 10 / tenths;
                QTest::addRow("step %d/10, width %d, %s", tenths, width, place.name)
                    << tenths << width << place.x * scale << place.yFirst * scale
                    << place.count * scale;
            }
        }
    }
}

// The analysis overlay is painted a column stretch at a time; it must be the
// overlay of the dots painted one by one, pixel for pixel, over dots already
// there.
void WorkspaceRulesTest::stretchIsTheDotsOneByOne()
{
    QFETCH(int, tenths);
    QFETCH(int, width);
    QFETCH(int, x);
    QFETCH(int, yFirst);
    QFETCH(int, count);
    const QImage picture = TestPictures::gradient(37, 29);
    PictureCanvas stretch;
    PictureCanvas oneByOne;
    for (PictureCanvas *canvas : {&stretch, &oneByOne}) {
        canvas->setPicture(picture);
        canvas->setUnitStepTenths(tenths);
        canvas->setPen(Qt::blue, 3);
        for (int i = 0; i < 12; ++i)
            canvas->drawPoint(QPointF(i * 3, i * 2));
        canvas->setPen(QColor(255, 255, 0), width);
    }
    stretch.drawColumnDots(x, yFirst, count);
    for (int y = yFirst; y < yFirst + count; ++y)
        oneByOne.drawPoint(QPointF(x, y));
    QCOMPARE(stretch.overlay(), oneByOne.overlay());
}

void WorkspaceRulesTest::analysisOverlayIsTheDotsOneByOne_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("tenths");
    // "Leaf area only" paints the leaf edges, System 4 and System 1 the spots;
    // the dots are 1 to 5 pixels wide over these unit steps.
    for (const int system : {0, 1, 4})
        for (const int tenths : {1, 2, 5, 10})
            QTest::addRow("system %d, step %d/10", system, tenths) << system << tenths;
}

void WorkspaceRulesTest::analysisOverlayIsTheDotsOneByOne()
{
    QFETCH(int, system);
    QFETCH(int, tenths);
    const SyntheticScene scene = randomLeafScene(420, 300, 7);
    QImage picture(scene.width, scene.height, QImage::Format_RGB32);
    renderScene(scene, reinterpret_cast<std::uint32_t *>(picture.bits()),
                picture.bytesPerLine() / 4);

    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = system == 4 ? 330 : 25;
    settings.detection.thresholdStep = system == 4 ? 10 : 5;
    settings.unitStepTenths = tenths;
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(),
                             std::ptrdiff_t(picture.bytesPerLine() / 4)};

    PictureCanvas stretches;
    PictureCanvas oneByOne;
    for (PictureCanvas *canvas : {&stretches, &oneByOne}) {
        canvas->setPicture(picture);
        canvas->setUnitStepTenths(tenths);
    }
    CanvasDotPainter stretchPainter(stretches);
    DotByDotPainter dotPainter(oneByOne);
    AnalysisRun withStretches;
    AnalysisRun withDots;
    withStretches.start(buffer, settings, &stretchPainter);
    withDots.start(buffer, settings, &dotPainter);
    // Tick by tick, as the window runs it, so stretches are cut where ticks end.
    while (!withStretches.finished())
        withStretches.tick();
    withDots.runToEnd();

    // The scene has lesions and edges: something was painted.
    QVERIFY(stretches.composedImage() != picture);
    QCOMPARE(stretches.composedImage(), oneByOne.composedImage());
}

// Read ahead or not, a file gives the same picture, or the same reason; a
// picture loaded this way is shown but is not the file a reload reads again.
void WorkspaceRulesTest::picturesReadAhead()
{
    TestPictures files;
    PictureCanvas canvas;
    ScriptedDialogs dialogs;
    PictureOpener opener(canvas, dialogs);
    const QImage picture = TestPictures::gradient(1400, 900);
    const QString ahead = files.write(QStringLiteral("ahead.bmp"), picture);
    opener.prefetchFile(ahead);
    QString reason;
    QCOMPARE(opener.loadFile(ahead, &reason), PictureOpener::Outcome::Loaded);
    QVERIFY(canvas.picture() == picture);

    const QString damaged = files.writeGarbage(QStringLiteral("damaged.jpg"));
    opener.prefetchFile(damaged);
    QCOMPARE(opener.loadFile(damaged, &reason), PictureOpener::Outcome::Failed);
    QCOMPARE(PictureOpener::cannotOpenText(damaged, reason),
             TestPictures::cannotOpenMessage(damaged));
    QVERIFY(canvas.picture() == picture);

    // Another file than the one read ahead is read itself.
    const QString small = files.writeGradient(QStringLiteral("small.bmp"), 40, 30);
    opener.prefetchFile(files.writeGradient(QStringLiteral("unused.bmp"), 20, 10));
    QCOMPARE(opener.loadFile(small, &reason), PictureOpener::Outcome::Loaded);
    QCOMPARE(canvas.pixelSize(), QSize(40, 30));
    QVERIFY(!opener.hasOpenedFile());
    QVERIFY(dialogs.calls().isEmpty());
}

namespace {
const QLocale C = QLocale::c();
const QLocale German(QLocale::German, QLocale::Germany);
using R = NumberEntry::Range;
using V = NumberEntry::Verdict;
const struct {
    const char *name;
    const QLocale &locale;
    R range;
    const char *text;
    V verdict;
    double value; // when a number
} numberRows[] = {
    {"point", C, R::AboveZero, "2.5", V::Number, 2.5},
    {"blanks around", C, R::AboveZero, " 2.5 ", V::Number, 2.5},
    {"comma", German, R::AboveZero, "2,5", V::Number, 2.5},
    // The other convention's separator is refused, never read as grouping.
    {"point under comma", German, R::AboveZero, "2.5", V::Refused, 0},
    {"grouped thousands", German, R::Any, "1.234", V::Refused, 0},
    {"letters", C, R::Any, "1O", V::Refused, 0},
    {"infinity", C, R::Any, "inf", V::Refused, 0},
    // On the way to a number: nothing to complain about yet, no value either.
    {"empty", C, R::AboveZero, "", V::Incomplete, 0},
    {"separator first", German, R::AboveZero, ",", V::Incomplete, 0},
    {"minus alone", C, R::Any, "-", V::Incomplete, 0},
    {"zero, above zero", C, R::AboveZero, "0", V::Incomplete, 0},
    {"zero, not negative", C, R::NotNegative, "0", V::Number, 0},
    {"negative, any", C, R::Any, "-1.5", V::Number, -1.5},
    {"negative, not negative", German, R::NotNegative, "-1,5", V::Refused, 0},
};
} // namespace

void WorkspaceRulesTest::numberEntry_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(numberRows)); ++row)
        QTest::newRow(numberRows[row].name) << row;
}

void WorkspaceRulesTest::numberEntry()
{
    QFETCH(int, row);
    const auto &[name, locale, range, chars, verdict, value] = numberRows[row];
    const QString text = QString::fromUtf8(chars);
    const NumberEntry entry({range}, locale);
    QCOMPARE(entry.check(text), verdict);
    QCOMPARE(entry.value(text).has_value(), verdict == V::Number);
    if (verdict == V::Number)
        QCOMPARE(*entry.value(text), value);
    // Only a refused text has a refusal, and it says what the box expects.
    const QString refusal = entry.refusal(text);
    QCOMPARE(refusal.isEmpty(), verdict != V::Refused);
    if (!refusal.isEmpty())
        QVERIFY2(refusal.endsWith(entry.expectation() + u'.'), qPrintable(refusal));
}

QTEST_MAIN(WorkspaceRulesTest)
#include "workspace_rules_test.moc"
