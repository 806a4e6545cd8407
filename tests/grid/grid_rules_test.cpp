// The measuring grid's rules without widgets: reading the spacing, the cell and
// line arithmetic, when Show can be ticked, and the lines on the picture canvas.
#include "grid_geometry.h"
#include "grid_overlay.h"
#include "grid_test_support.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace verdalis;
using namespace verdalis::test;

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

// Pixels per picture unit at unit step 1.0: 480/127.
const double PixelsPerUnit = 480.0 / 127.0;

// A white picture of 400 x 300 pixels (105.8 x 79.4 units at unit step 1.0)
// under a grid whose unit is mm.
struct Grid {
    PictureCanvas canvas;
    WorkspaceState state;
    GridOverlay overlay{canvas, state};

    explicit Grid(int unitStepTenths = 10)
    {
        QImage white(400, 300, QImage::Format_RGB32);
        white.fill(Qt::white);
        canvas.setPicture(white);
        canvas.setUnitStepTenths(unitStepTenths);
        state.setUnitName(QStringLiteral("mm"));
    }
    void show(const QString &spacing)
    {
        overlay.setSpacingText(spacing);
        overlay.setShown(true);
    }
    QList<int> columns() const { return verticalLines(canvas.overlay()); }
    QList<int> rows() const { return horizontalLines(canvas.overlay()); }
};

} // namespace

class GridRulesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(English); }

    void readsTheSpacing_data();
    void readsTheSpacing();
    void countsLinesWithHalvesToEven_data();
    void countsLinesWithHalvesToEven();
    void offsetsMoveLinesInTwentieths_data();
    void offsetsMoveLinesInTwentieths();
    void refusesLinesCloserThanAPixel_data();
    void refusesLinesCloserThanAPixel();
    void countThatWouldOverflowGivesNoLines();

    void showNeedsAUnitAndASpacing();
    void linesLandOnTheirPixels_data();
    void linesLandOnTheirPixels();
    void brushGoesOffBeforeEarlierDrawingsAreErased();
    void offAndCentreBringTheOffsetsBack();
    void refusedSpacingSwitchesTheGridOff();
    void enterAndLeavingTheSpacingBox();
    void newSizeRatioRedrawsTheCells();
};

void GridRulesTest::readsTheSpacing_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("spacing");
    QTest::newRow("empty") << English << "" << true << 0.0;
    QTest::newRow("0") << English << "0" << true << 0.0;
    QTest::newRow("0.0") << English << "0.0" << true << 0.0;
    QTest::newRow("entry 10") << English << "10" << true << 10.0;
    QTest::newRow("entry 0.1") << English << "0.1" << true << 0.1;
    QTest::newRow("typed with blanks") << English << " 2.5 " << true << 2.5;
    QTest::newRow("abc") << English << "abc" << false << 0.0;
    QTest::newRow("5x") << English << "5x" << false << 0.0;
    QTest::newRow("comma under English") << English << "1,5" << false << 0.0;
    QTest::newRow("comma under German") << German << "1,5" << true << 1.5;
    QTest::newRow("point under German") << German << "0.5" << false << 0.0;
}

void GridRulesTest::readsTheSpacing()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, spacing);
    QLocale::setDefault(locale);
    const std::optional<double> read = parseGridSpacing(text);
    QCOMPARE(read.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*read, spacing);
}

void GridRulesTest::countsLinesWithHalvesToEven_data()
{
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("unitStep");
    QTest::addColumn<double>("sizeRatio");
    QTest::addColumn<double>("width");
    QTest::addColumn<QList<float>>("lines");
    // 95 / 10 + 1 = 10.5 goes to 10, so 11 lines.
    QTest::newRow("95 units, cell 10")
        << 10.0 << 1.0 << 1.0 << 95.0 << QList<float>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    QTest::newRow("85 units: 9.5 goes to 10")
        << 10.0 << 1.0 << 1.0 << 85.0 << QList<float>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    QTest::newRow("75 units: 8.5 goes to 8")
        << 10.0 << 1.0 << 1.0 << 75.0 << QList<float>{0, 10, 20, 30, 40, 50, 60, 70, 80};
    // cell = spacing / (unitStep x sizeRatio)
    QTest::newRow("1 cm at unit step 0.5, 0.2 cm per mm")
        << 1.0 << 0.5 << 0.2 << 95.0 << QList<float>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    QTest::newRow("2 cm at 0.1 cm per mm: 3.5 goes to 4")
        << 2.0 << 1.0 << 0.1 << 50.0 << QList<float>{0, 20, 40, 60, 80};
    QTest::newRow("no picture: one cell") << 10.0 << 1.0 << 1.0 << 0.0 << QList<float>{0, 10};
}

void GridRulesTest::countsLinesWithHalvesToEven()
{
    QFETCH(double, spacing);
    QFETCH(double, unitStep);
    QFETCH(double, sizeRatio);
    QFETCH(double, width);
    QFETCH(QList<float>, lines);
    const GridGeometry grid(spacing, unitStep, sizeRatio);
    QCOMPARE(grid.lineCount(width), lines.size() - 1);
    const std::vector<float> positions = grid.linePositions(width, 0);
    QCOMPARE(QList<float>(positions.begin(), positions.end()), lines);
}

void GridRulesTest::offsetsMoveLinesInTwentieths_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("last");
    // Cell 10, 95 units wide: lines 0 .. 10.
    QTest::newRow("0") << 0 << 0.0f << 100.0f;
    QTest::newRow("19 to the right") << 19 << 9.5f << 109.5f;
    QTest::newRow("19 to the left") << -19 << -9.5f << 90.5f;
    QTest::newRow("one step") << 1 << 0.5f << 100.5f;
}

void GridRulesTest::offsetsMoveLinesInTwentieths()
{
    QFETCH(int, offset);
    QFETCH(float, first);
    QFETCH(float, last);
    const std::vector<float> lines = GridGeometry(10.0, 1.0, 1.0).linePositions(95.0, offset);
    QCOMPARE(lines.size(), 11u);
    QCOMPARE(lines.front(), first);
    QCOMPARE(lines.back(), last);
}

void GridRulesTest::refusesLinesCloserThanAPixel_data()
{
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("sizeRatio");
    QTest::addColumn<QString>("refusal");
    // A cell of 0.27 display mm is 1.02 pixels, one of 0.26 mm 0.98 pixels.
    QTest::newRow("just over a pixel") << 0.27 << 1.0 << "";
    QTest::newRow("just under a pixel") << 0.26 << 1.0 << "closer than one pixel";
    QTest::newRow("0.1 mm on the sample calibration") << 0.1 << 0.32 << "";
    QTest::newRow("0.1 mm uncalibrated") << 0.1 << 1.0 << "closer than one pixel";
    QTest::newRow("negative") << -5.0 << 1.0 << "more than 0";
    QTest::newRow("size ratio 0") << 5.0 << 0.0 << "cannot be drawn";
}

void GridRulesTest::refusesLinesCloserThanAPixel()
{
    QFETCH(double, spacing);
    QFETCH(double, sizeRatio);
    QFETCH(QString, refusal);
    const QString said = GridGeometry(spacing, 1.0, sizeRatio).refusal(PixelsPerUnit);
    QCOMPARE(said.isEmpty(), refusal.isEmpty());
    QVERIFY2(said.contains(refusal), qPrintable(said));
}

void GridRulesTest::countThatWouldOverflowGivesNoLines()
{
    // 95 units in cells of 1e-9 would be 95 billion lines, past a 32-bit count.
    const GridGeometry grid(1e-9, 1.0, 1.0);
    QCOMPARE(grid.lineCount(95.0), std::nullopt);
    QVERIFY(grid.linePositions(95.0, 0).empty());
    QVERIFY(!grid.refusal(PixelsPerUnit).isEmpty());
    // The largest count that fits still counts.
    QCOMPARE(GridGeometry(1.0, 1.0, 1.0).lineCount(2147483646.0), 2147483647);
}

void GridRulesTest::showNeedsAUnitAndASpacing()
{
    PictureCanvas canvas;
    WorkspaceState state;
    GridOverlay overlay(canvas, state);
    QSignalSpy changed(&overlay, &GridOverlay::changed);
    QVERIFY(!overlay.canShow());

    overlay.setSpacingText(QStringLiteral("5"));
    QVERIFY(!overlay.canShow());
    // A calibration gives the unit: Show becomes available without a word
    // about the spacing.
    changed.clear();
    state.setUnitName(QStringLiteral("mm"));
    QVERIFY(overlay.canShow());
    QCOMPARE(changed.count(), 1);

    for (const char *none : {"", "0"}) {
        overlay.setSpacingText(QLatin1String(none));
        QVERIFY(!overlay.canShow());
        QCOMPARE(overlay.spacing(), 0.0);
    }

    // Text that is not a number asks for an empty box; the rules keep what they had.
    overlay.setSpacingText(QStringLiteral("5"));
    QSignalSpy rejected(&overlay, &GridOverlay::spacingTextRejected);
    overlay.setSpacingText(QStringLiteral("abc"));
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(overlay.spacing(), 5.0);
}

void GridRulesTest::linesLandOnTheirPixels_data()
{
    QTest::addColumn<int>("unitStepTenths");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    // A 10 mm cell spans the same pixels at every unit step: 10, 5 and 3.33
    // picture units at unit steps 1.0, 0.5 and 0.3.
    for (int tenths : {10, 5, 3}) {
        const QByteArray step = QByteArray::number(tenths / 10.0);
        QTest::newRow("unit step " + step + ", centred") << tenths << 0 << 0;
        QTest::newRow("unit step " + step + ", 19 right, 19 up") << tenths << 19 << -19;
        QTest::newRow("unit step " + step + ", 19 left, 7 down") << tenths << -19 << 7;
    }
}

void GridRulesTest::linesLandOnTheirPixels()
{
    QFETCH(int, unitStepTenths);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    Grid grid(unitStepTenths);
    grid.show(QStringLiteral("10"));
    grid.overlay.setHorizontalOffset(horizontal);
    grid.overlay.setVerticalOffset(vertical);
    QCOMPARE(grid.overlay.horizontalOffset(), horizontal);
    QCOMPARE(grid.overlay.verticalOffset(), vertical);
    QCOMPARE(grid.columns(), expectedLinePixels(10, horizontal, 400));
    QCOMPARE(grid.rows(), expectedLinePixels(10, vertical, 300));
}

void GridRulesTest::brushGoesOffBeforeEarlierDrawingsAreErased()
{
    Grid grid;
    // A measuring line (or an analysis dot) drawn before.
    grid.canvas.setPen(Qt::red, 1);
    grid.canvas.drawLine(QPointF(2, 2), QPointF(20, 2));
    bool drawnWhenBrushWentOff = false;
    connect(&grid.overlay, &GridOverlay::brushOffRequested, this,
            [&] { drawnWhenBrushWentOff = qRed(grid.canvas.overlay().pixel(40, 7)) == 255; });

    grid.show(QStringLiteral("10"));
    QVERIFY(drawnWhenBrushWentOff);
    QVERIFY(grid.overlay.isShown());
    QVERIFY(grid.overlay.offsetsEnabled());
    const QImage &overlay = grid.canvas.overlay();
    for (int x = 0; x < 100; ++x)
        QVERIFY(qRed(overlay.pixel(x, 7)) != 255);
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));
}

void GridRulesTest::offAndCentreBringTheOffsetsBack()
{
    Grid grid;
    grid.show(QStringLiteral("10"));
    grid.overlay.setHorizontalOffset(19);
    grid.overlay.setVerticalOffset(-19);
    // Past the scroll bars' ends nothing moves further.
    grid.overlay.setHorizontalOffset(25);
    QCOMPARE(grid.overlay.horizontalOffset(), 19);

    grid.overlay.centre();
    QCOMPARE(grid.overlay.horizontalOffset(), 0);
    QCOMPARE(grid.overlay.verticalOffset(), 0);
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));
    QCOMPARE(grid.rows(), expectedLinePixels(10, 0, 300));

    grid.overlay.setHorizontalOffset(5);
    grid.overlay.setShown(false);
    QCOMPARE(grid.overlay.horizontalOffset(), 0);
    QVERIFY(!grid.overlay.offsetsEnabled());
    QVERIFY(!hasDrawings(grid.canvas.overlay()));
    // While off, an offset moves nothing and draws nothing.
    grid.overlay.setVerticalOffset(3);
    QVERIFY(!hasDrawings(grid.canvas.overlay()));
}

void GridRulesTest::refusedSpacingSwitchesTheGridOff()
{
    Grid grid;
    grid.show(QStringLiteral("5"));
    QVERIFY(hasDrawings(grid.canvas.overlay()));

    grid.overlay.setSpacingText(QStringLiteral("0.01"));
    QVERIFY(!grid.overlay.isShown());
    QVERIFY(!grid.overlay.canShow());
    QVERIFY(grid.overlay.refusal().contains(QStringLiteral("closer than one pixel")));
    QVERIFY(!hasDrawings(grid.canvas.overlay()));
    grid.overlay.confirmSpacing();
    QVERIFY(!grid.overlay.isShown());

    grid.overlay.setSpacingText(QStringLiteral("5"));
    QVERIFY(grid.overlay.canShow());
    QVERIFY(grid.overlay.refusal().isEmpty());
}

void GridRulesTest::enterAndLeavingTheSpacingBox()
{
    Grid grid;
    grid.overlay.setSpacingText(QStringLiteral("10"));
    // Enter ticks Show, and while shown draws again.
    grid.overlay.confirmSpacing();
    QVERIFY(grid.overlay.isShown());
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));
    grid.canvas.clearDrawings();
    grid.overlay.confirmSpacing();
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));

    // A spacing of 0 makes Show unavailable but leaves it ticked until the box
    // is left; leaving a box with a spacing keeps the grid.
    grid.overlay.setSpacingText(QStringLiteral("0"));
    QVERIFY(!grid.overlay.canShow());
    QVERIFY(grid.overlay.isShown());
    grid.overlay.confirmSpacing();
    QVERIFY(grid.overlay.isShown());
    grid.overlay.leaveSpacing();
    QVERIFY(!grid.overlay.isShown());
    QVERIFY(!hasDrawings(grid.canvas.overlay()));

    grid.overlay.setSpacingText(QStringLiteral("10"));
    grid.overlay.setShown(true);
    grid.overlay.leaveSpacing();
    QVERIFY(grid.overlay.isShown());
}

void GridRulesTest::newSizeRatioRedrawsTheCells()
{
    Grid grid;
    grid.show(QStringLiteral("10"));
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));
    // 2 mm per display millimetre: a 10 mm cell is 5 display millimetres.
    grid.state.setSizeRatio(2.0);
    QCOMPARE(grid.columns(), expectedLinePixels(5, 0, 400));
    QCOMPARE(grid.rows(), expectedLinePixels(5, 0, 300));
}

QTEST_MAIN(GridRulesTest)
#include "grid_rules_test.moc"
