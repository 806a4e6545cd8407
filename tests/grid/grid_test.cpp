// The measuring grid: reading the spacing, the cell and line arithmetic, when
// Show can be ticked and where the lines land on the picture canvas; then the
// Grid frame driven offscreen through its controls, to show they reach those
// rules.
#include "grid_frame.h"
#include "grid_geometry.h"
#include "grid_overlay.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace verdalis;

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

// Pixels per picture unit at unit step 1.0: 480/127.
const double PixelsPerUnit = 480.0 / 127.0;

// Where the grid's lines must land, worked out in whole numbers apart from the
// program: line i with offset h lies at (20 i + h) twentieths of a cell, and a
// cell of `millimetres` display millimetres spans millimetres * 96 / 25.4 =
// millimetres * 480 / 127 pixels, so the line's pixel is
// floor((20 i + h) * millimetres * 24 / 127). Lines before the picture or past
// its size are left out.
QList<int> expectedLinePixels(int millimetres, int offset, int size)
{
    QList<int> pixels;
    for (int i = 0;; ++i) {
        const int twentieths = 20 * i + offset;
        if (twentieths < 0)
            continue;
        const int pixel = twentieths * millimetres * 24 / 127;
        if (pixel >= size)
            return pixels;
        pixels << pixel;
    }
}

// The pixels of the grid's vertical (or horizontal) lines: those painted in the
// grid's blue along the first row (column) that is not itself a line.
QList<int> gridLines(const QImage &overlay, Qt::Orientation orientation)
{
    const bool vertical = orientation == Qt::Vertical;
    const int length = vertical ? overlay.width() : overlay.height();
    const int across = vertical ? overlay.height() : overlay.width();
    for (int j = 0; j < across; ++j) {
        QList<int> blue;
        for (int i = 0; i < length; ++i)
            if (overlay.pixel(vertical ? i : j, vertical ? j : i) == qRgb(0, 0, 255))
                blue << i;
        if (blue.size() < length)
            return blue;
    }
    return {};
}

bool hasDrawings(const QImage &overlay)
{
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            if (qAlpha(overlay.pixel(x, y)) != 0)
                return true;
    return false;
}

// A white picture of 400 x 300 pixels (105.8 x 79.4 units at unit step 1.0),
// its unit mm, under the grid's rules.
struct Grid {
    WorkspaceState state;
    PictureCanvas canvas;
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
    QList<int> columns() const { return gridLines(canvas.overlay(), Qt::Vertical); }
    QList<int> rows() const { return gridLines(canvas.overlay(), Qt::Horizontal); }
};

// The Grid frame over the picture (with rules of its own; those above stay
// hidden) in a window, with another control to move the focus to.
struct Window : Grid {
    QWidget window;
    GridFrame *frame = new GridFrame(state, canvas);
    QPushButton *elsewhere = new QPushButton(QStringLiteral("Elsewhere"));

    Window()
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(frame);
        layout->addWidget(elsewhere);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the test window does not become active");
        frame->onPictureOpened();
    }
    QLineEdit *spacingEdit() const { return frame->spacingBox()->lineEdit(); }
    // Typed with the keyboard focus in the box, as a user types.
    void type(const QString &text)
    {
        spacingEdit()->setFocus();
        spacingEdit()->clear();
        QTest::keyClicks(spacingEdit(), text);
    }
};

} // namespace

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(English); }

    void readsTheSpacing();
    void countsLinesWithHalvesToEven();
    void refusesLinesCloserThanAPixel();
    void countThatWouldOverflowGivesNoLines();

    void showNeedsAUnitAndASpacing();
    void linesLandOnTheirPixels();
    void brushGoesOffBeforeEarlierDrawingsAreErased();
    void offsetsStopAtTheBarsEnds();
    void refusedSpacingSwitchesTheGridOff();
    void enterAndLeavingTheSpacingBox();
    void newSizeRatioRedrawsTheCells();

    void controlsDriveTheGrid();
};

void GridTest::readsTheSpacing()
{
    const struct {
        QLocale locale;
        QString text;
        std::optional<double> spacing; // none: not a number
    } entries[] = {
        {English, "", 0.0},      {English, "0", 0.0},  {English, "0.0", 0.0}, {English, "0.1", 0.1},
        {English, " 2.5 ", 2.5}, {English, "abc", {}}, {English, "5x", {}},   {English, "1,5", {}},
        {German, "1,5", 1.5},    {German, "0.5", {}},
    };
    for (const auto &entry : entries) {
        QLocale::setDefault(entry.locale);
        QVERIFY2(parseGridSpacing(entry.text) == entry.spacing,
                 qPrintable(entry.locale.name() + u' ' + entry.text));
    }
}

void GridTest::countsLinesWithHalvesToEven()
{
    const struct {
        double spacing, unitStep, sizeRatio, width;
        QList<float> lines;
    } grids[] = {
        // cell = spacing / (unitStep x sizeRatio) = 10; 95 / 10 + 1 = 10.5 goes to 10.
        {1.0, 0.5, 0.2, 95.0, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {10.0, 1.0, 1.0, 85.0, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}}, // 9.5 to 10
        {10.0, 1.0, 1.0, 75.0, {0, 10, 20, 30, 40, 50, 60, 70, 80}},          // 8.5 to 8
        {10.0, 1.0, 1.0, 0.0, {0, 10}}, // no picture: one cell
    };
    for (const auto &g : grids) {
        const GridGeometry grid(g.spacing, g.unitStep, g.sizeRatio);
        QCOMPARE(grid.lineCount(g.width), g.lines.size() - 1);
        const std::vector<float> positions = grid.linePositions(g.width, 0);
        QCOMPARE(QList<float>(positions.begin(), positions.end()), g.lines);
    }
}

void GridTest::refusesLinesCloserThanAPixel()
{
    const struct {
        double spacing, sizeRatio;
        QString refusal;
    } grids[] = {
        // A cell of 0.27 display mm is 1.02 pixels, one of 0.26 mm 0.98 pixels.
        {0.27, 1.0, ""},
        {0.26, 1.0, "Grid lines would be closer than one pixel: choose a larger spacing."},
        {-5.0, 1.0, "The grid spacing must be more than 0."},
        {5.0, 0.0, "The grid cannot be drawn with this calibration."},
    };
    for (const auto &g : grids)
        QCOMPARE(GridGeometry(g.spacing, 1.0, g.sizeRatio).refusal(PixelsPerUnit), g.refusal);
}

void GridTest::countThatWouldOverflowGivesNoLines()
{
    // 95 units in cells of 1e-9 would be 95 billion lines, past a 32-bit count.
    const GridGeometry grid(1e-9, 1.0, 1.0);
    QCOMPARE(grid.lineCount(95.0), std::nullopt);
    QVERIFY(grid.linePositions(95.0, 0).empty());
    QVERIFY(!grid.refusal(PixelsPerUnit).isEmpty());
    // The largest count that fits still counts.
    QCOMPARE(GridGeometry(1.0, 1.0, 1.0).lineCount(2147483646.0), 2147483647);
}

void GridTest::showNeedsAUnitAndASpacing()
{
    PictureCanvas canvas;
    WorkspaceState state;
    GridOverlay overlay(canvas, state);
    QSignalSpy changed(&overlay, &GridOverlay::changed);
    overlay.setSpacingText(QStringLiteral("5"));
    QVERIFY(!overlay.canShow());
    // A calibration gives the unit: Show becomes available without a word
    // about the spacing.
    changed.clear();
    state.setUnitName(QStringLiteral("mm"));
    QVERIFY(overlay.canShow());
    QCOMPARE(changed.count(), 1);
}

// A 10 mm cell spans the same pixels at every unit step: 10, 5 and 3.33
// picture units at unit steps 1.0, 0.5 and 0.3.
void GridTest::linesLandOnTheirPixels()
{
    for (int tenths : {10, 5, 3}) {
        for (const auto &[horizontal, vertical] : {std::pair{0, 0}, {19, -19}, {-19, 7}}) {
            Grid grid(tenths);
            grid.show(QStringLiteral("10"));
            grid.overlay.setHorizontalOffset(horizontal);
            grid.overlay.setVerticalOffset(vertical);
            QCOMPARE(grid.columns(), expectedLinePixels(10, horizontal, 400));
            QCOMPARE(grid.rows(), expectedLinePixels(10, vertical, 300));
        }
    }
}

void GridTest::brushGoesOffBeforeEarlierDrawingsAreErased()
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
    for (int x = 0; x < 100; ++x)
        QVERIFY(qRed(grid.canvas.overlay().pixel(x, 7)) != 255);
}

// Centring and switching off are driven through the frame's controls below.
void GridTest::offsetsStopAtTheBarsEnds()
{
    Grid grid;
    grid.show(QStringLiteral("10"));
    grid.overlay.setHorizontalOffset(25);
    grid.overlay.setVerticalOffset(-25);
    QCOMPARE(grid.overlay.horizontalOffset(), 19);
    QCOMPARE(grid.overlay.verticalOffset(), -19);
    // While off, an offset moves nothing and draws nothing.
    grid.overlay.setShown(false);
    grid.overlay.setVerticalOffset(3);
    QVERIFY(!hasDrawings(grid.canvas.overlay()));
}

void GridTest::refusedSpacingSwitchesTheGridOff()
{
    Grid grid;
    grid.show(QStringLiteral("5"));
    QVERIFY(hasDrawings(grid.canvas.overlay()));

    grid.overlay.setSpacingText(QStringLiteral("0.01"));
    QVERIFY(!grid.overlay.isShown());
    QVERIFY(!hasDrawings(grid.canvas.overlay()));
    grid.overlay.confirmSpacing();
    QVERIFY(!grid.overlay.isShown());

    grid.overlay.setSpacingText(QStringLiteral("5"));
    QVERIFY(grid.overlay.canShow());
    QVERIFY(grid.overlay.refusal().isEmpty());
}

void GridTest::enterAndLeavingTheSpacingBox()
{
    Grid grid;
    grid.show(QStringLiteral("10"));
    // Enter while shown draws again.
    grid.canvas.clearDrawings();
    grid.overlay.confirmSpacing();
    QCOMPARE(grid.columns(), expectedLinePixels(10, 0, 400));

    // A spacing of 0 makes Show unavailable but leaves it ticked until the box
    // is left; leaving a box with a spacing keeps the grid.
    grid.overlay.setSpacingText(QStringLiteral("0"));
    QVERIFY(!grid.overlay.canShow());
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

void GridTest::newSizeRatioRedrawsTheCells()
{
    Grid grid;
    grid.show(QStringLiteral("10"));
    // 2 mm per display millimetre: a 10 mm cell is 5 display millimetres.
    grid.state.setSizeRatio(2.0);
    QCOMPARE(grid.columns(), expectedLinePixels(5, 0, 400));
    QCOMPARE(grid.rows(), expectedLinePixels(5, 0, 300));
}

void GridTest::controlsDriveTheGrid()
{
    Window w;
    // Text that is not a number empties the box.
    w.type(QStringLiteral("5"));
    QVERIFY(w.frame->showBox()->isEnabled());
    w.type(QStringLiteral("5x"));
    QVERIFY(w.frame->spacingBox()->currentText().isEmpty());
    QCOMPARE(w.frame->overlay().spacing(), 0.0);
    QVERIFY(!w.frame->showBox()->isEnabled());

    // A spacing is taken as typed, though it starts an entry of the list (no
    // completion from it); a refused one says why in the box's tip.
    const QString usual = w.frame->spacingBox()->toolTip();
    w.type(QStringLiteral("0.05"));
    QCOMPARE(w.frame->overlay().spacing(), 0.05);
    QVERIFY(!w.frame->showBox()->isEnabled());
    QVERIFY2(w.frame->spacingBox()->toolTip().contains(QStringLiteral("closer than one pixel")),
             qPrintable(w.frame->spacingBox()->toolTip()));

    // Enter ticks Show and draws; it does not add the spacing to the list.
    w.type(QStringLiteral("1"));
    QCOMPARE(w.frame->spacingBox()->toolTip(), usual);
    QTest::keyClick(w.spacingEdit(), Qt::Key_Return);
    QCOMPARE(w.frame->spacingBox()->currentText(), QStringLiteral("1"));
    QCOMPARE(w.frame->spacingBox()->count(), 19);
    QVERIFY(w.frame->showBox()->isChecked());
    QCOMPARE(w.columns(), expectedLinePixels(1, 0, 400));

    // The offset bars move the lines; the centre button brings them back.
    w.type(QStringLiteral("10"));
    w.frame->horizontalOffset()->setValue(19);
    w.frame->verticalOffset()->setValue(-19);
    QCOMPARE(w.columns(), expectedLinePixels(10, 19, 400));
    QCOMPARE(w.rows(), expectedLinePixels(10, -19, 300));
    w.frame->centreButton()->click();
    QCOMPARE(w.frame->horizontalOffset()->value(), 0);
    QCOMPARE(w.rows(), expectedLinePixels(10, 0, 300));

    // Unticking takes the grid away and the bars with it.
    w.frame->horizontalOffset()->setValue(4);
    w.frame->showBox()->click();
    QVERIFY(!hasDrawings(w.canvas.overlay()));
    QCOMPARE(w.frame->horizontalOffset()->value(), 0);
    QVERIFY(!w.frame->horizontalOffset()->isEnabled());

    // Emptied, Show stays ticked until the focus leaves the box.
    w.frame->showBox()->click();
    w.type(QString());
    QVERIFY(w.frame->showBox()->isChecked());
    w.elsewhere->setFocus();
    QVERIFY(!w.frame->showBox()->isChecked());
    QVERIFY(!hasDrawings(w.canvas.overlay()));
}

QTEST_MAIN(GridTest)
#include "grid_test.moc"
