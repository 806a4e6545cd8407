#include "main_window_layout.h"
#include "number_entry.h"
#include "open_picture_hint.h"
#include "picture_canvas.h"
#include "picture_fit.h"
#include "picture_opener.h"
#include "sample_geometry.h"
#include "scripted_dialogs.h"
#include "test_pictures.h"

#include <QTest>

using namespace verdalis;
using verdalis::test::TestPictures;

Q_DECLARE_METATYPE(AxisPlacement)

namespace {
qint32 packed(QRgb rgb)
{
    return qBlue(rgb) * 65536 + qGreen(rgb) * 256 + qRed(rgb);
}
} // namespace

class WorkspaceRulesTest : public QObject {
    Q_OBJECT
private slots:
    void fitPicture_data();
    void fitPicture();
    void layoutSnapsAndKeepsControlsApart();
    void hintPlaysForwardAndBack();
    void canvasReadsWhereTheEngineSamples();
    void canvasDrawingsAndBaking();
    void canvasDotShape_data();
    void canvasDotShape();
    void mousePositionsComeBackToTheirPixel();
    void reloadWithoutOpenedFileDoesNothing();
    void overlayIsEmptyAfterClearingAndForTheNextPicture_data();
    void overlayIsEmptyAfterClearingAndForTheNextPicture();
    void setPictureReadAhead();
    void numberEntry_data();
    void numberEntry();
};

void WorkspaceRulesTest::fitPicture_data()
{
    QTest::addColumn<double>("picture");
    QTest::addColumn<double>("viewport");
    QTest::addColumn<AxisPlacement>("expected");
    // Viewport 6000 twips along the axis tested; offset, scroll maximum, value.
    QTest::newRow("smaller: centred") << 3000.0 << 6000.0 << AxisPlacement{1500, 0, 0};
    QTest::newRow("101 larger: maximum 1, value 0") << 6101.0 << 6000.0 << AxisPlacement{0, 1, 0};
    QTest::newRow("1000 larger: maximum 10, value 5")
        << 7000.0 << 6000.0 << AxisPlacement{-500, 10, 5};
    QTest::newRow("250 larger: maximum 2.5 rounds to 2")
        << 6250.0 << 6000.0 << AxisPlacement{-100, 2, 1};
    QTest::newRow("350 larger: maximum 3.5 rounds to 4")
        << 6350.0 << 6000.0 << AxisPlacement{-200, 4, 2};
    QTest::newRow("300 larger: value 1.5 rounds to 2")
        << 6300.0 << 6000.0 << AxisPlacement{-200, 3, 2};
    QTest::newRow("500 larger: value 2.5 rounds to 2")
        << 6500.0 << 6000.0 << AxisPlacement{-200, 5, 2};
    QTest::newRow("100.5 larger rounds to 100: centred")
        << 6100.5 << 6000.0 << AxisPlacement{-50.25, 0, 0};
    QTest::newRow("101.5 larger rounds to 102: scrolls")
        << 6101.5 << 6000.0 << AxisPlacement{0, 1, 0};
}

void WorkspaceRulesTest::fitPicture()
{
    QFETCH(double, picture);
    QFETCH(double, viewport);
    QFETCH(AxisPlacement, expected);
    // The same rule on both axes, whatever the other axis does.
    const PicturePlacement wide = PictureFit::place({picture, 100}, {viewport, 4000});
    const PicturePlacement tall = PictureFit::place({100, picture}, {4000, viewport});
    QCOMPARE(wide.horizontal, expected);
    QCOMPARE(tall.vertical, expected);
    QCOMPARE(wide.vertical, (AxisPlacement{1950, 0, 0}));
    QCOMPARE(tall.horizontal, (AxisPlacement{1950, 0, 0}));
    QCOMPARE(PictureFit::offsetForScrollValue(expected.scrollValue),
             expected.scrollMaximum ? expected.offset : 0.0);
}

void WorkspaceRulesTest::layoutSnapsAndKeepsControlsApart()
{
    QVERIFY(!MainWindowLayout::compute({2000, 300}, true)); // minimised: left alone
    // Below 12000 x 9000 twips the window snaps back; a height just above is kept.
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

void WorkspaceRulesTest::hintPlaysForwardAndBack()
{
    OpenPictureHint hint;
    QList<int> shown;
    for (int i = 0; i < 10; ++i)
        shown << hint.step();
    QCOMPARE(shown, (QList<int>{0, 1, 2, 3, 3, 2, 1, 0, 1, 2}));
}

// The canvas has its own pixel arithmetic; it must read and draw on the pixel
// each engine sample reads, or the dots miss what was detected.
void WorkspaceRulesTest::canvasReadsWhereTheEngineSamples()
{
    const QImage picture = TestPictures::gradient(40, 30);
    PictureCanvas canvas;
    canvas.setPicture(picture);
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
    }
    QCOMPARE(canvas.colourAt(-1, 0), -1);

    // A dot drawn at a sample is what that sample reads, and only there.
    canvas.setUnitStepTenths(10);
    canvas.setPen(QColor(255, 0, 0), 1);
    canvas.drawPoint(QPointF(2, 2));
    QCOMPARE(canvas.colourAt(2, 2), 255);
    QCOMPARE(canvas.colourAt(3, 2), packed(picture.pixel(11, 7)));
    QCOMPARE(canvas.picture(), picture.convertToFormat(QImage::Format_RGB32));
}

void WorkspaceRulesTest::canvasDrawingsAndBaking()
{
    const QImage picture = TestPictures::gradient(40, 30);
    PictureCanvas canvas;
    canvas.setPicture(picture);
    const qint32 blue = 255 * 65536;
    canvas.setPen(QColor(0, 0, 255), 1);
    canvas.drawLine(QPointF(1, 5), QPointF(8, 5));
    for (int x = 1; x <= 8; ++x)
        QCOMPARE(canvas.colourAt(x, 5), blue);
    QVERIFY(canvas.colourAt(1, 4) != blue);

    // Clearing removes the drawings and leaves the picture.
    canvas.clearDrawings();
    QCOMPARE(canvas.colourAt(3, 5), packed(picture.pixel(11, 18)));

    // Baked strokes belong to the picture: clearing no longer removes them.
    canvas.drawPoint(QPointF(4, 4));
    canvas.bakeDrawings();
    canvas.clearDrawings();
    QCOMPARE(canvas.colourAt(4, 4), blue);
    QCOMPARE(qAlpha(canvas.overlay().pixel(15, 15)), 0);
    QCOMPARE(canvas.picture().pixel(15, 15), qRgb(0, 0, 255));
}

// Pixels of the overlay painted in the square of side 2 * reach + 1 around a
// pixel, row by row: '#' painted, '.' not.
static QStringList paintedAround(const QImage &overlay, QPoint centre, int reach)
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

void WorkspaceRulesTest::canvasDotShape_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("shape");
    // The pixels whose centres lie within width/2 of the dot's centre pixel.
    QTest::newRow("1") << 1 << QStringList{".......", ".......", ".......", "...#...",
                                           ".......", ".......", "......."};
    QTest::newRow("2") << 2 << QStringList{".......", ".......", "...#...", "..###..",
                                           "...#...", ".......", "......."};
    QTest::newRow("3") << 3 << QStringList{".......", ".......", "..###..", "..###..",
                                           "..###..", ".......", "......."};
    QTest::newRow("4") << 4 << QStringList{".......", "...#...", "..###..", ".#####.",
                                           "..###..", "...#...", "......."};
    QTest::newRow("5") << 5 << QStringList{".......", "..###..", ".#####.", ".#####.",
                                           ".#####.", "..###..", "......."};
}

void WorkspaceRulesTest::canvasDotShape()
{
    QFETCH(int, width);
    QFETCH(QStringList, shape);
    PictureCanvas canvas;
    canvas.setPicture(TestPictures::gradient(200, 150));
    const QColor red(255, 0, 0);
    // The same shape at every place and every unit step, on the pixel the
    // sample reads; one by one and in a batch alike.
    for (int tenths : {10, 7, 3}) {
        canvas.setUnitStepTenths(tenths);
        for (bool batch : {false, true}) {
            for (int unit : {5, 6, 17, 28}) {
                canvas.clearDrawings();
                if (batch)
                    canvas.beginDrawingBatch();
                canvas.setPen(red, width);
                canvas.drawPoint(QPointF(unit, unit + 1));
                canvas.endDrawingBatch();
                const QPoint centre(int(canvas.pixelIndex(unit)), int(canvas.pixelIndex(unit + 1)));
                QCOMPARE(paintedAround(canvas.overlay(), centre, 3), shape);
                QCOMPARE(canvas.colourAt(unit, unit + 1), 255);
                int painted = 0;
                for (int y = 0; y < canvas.overlay().height(); ++y)
                    for (int x = 0; x < canvas.overlay().width(); ++x)
                        painted += qAlpha(canvas.overlay().pixel(x, y)) == 255;
                QCOMPARE(painted, int(shape.join(QString()).count(u'#')));
            }
        }
    }
    // At the picture's corner the part inside is painted and nothing breaks.
    canvas.setUnitStepTenths(10);
    canvas.clearDrawings();
    canvas.drawPoint(QPointF(0, 0));
    QStringList corner;
    for (int row = 0; row < shape.size(); ++row)
        corner << (row < 3 ? QStringLiteral(".......") : QStringLiteral("...") + shape[row].mid(3));
    QCOMPARE(paintedAround(canvas.overlay(), QPoint(0, 0), 3), corner);
    canvas.drawPoint(QPointF(-40, 500));
    QCOMPARE(canvas.picture().size(), QSize(200, 150));
}

// A mouse position p (pixels) becomes units and back: the pixel found must be
// the one the position lies on, for every whole pixel of a large picture, the
// positions between pixels a scaled screen reports, and at every unit step.
// Drawing at the position paints that pixel.
void WorkspaceRulesTest::mousePositionsComeBackToTheirPixel()
{
    PictureCanvas canvas;
    canvas.setPicture(TestPictures::gradient(8000, 1));
    canvas.setPen(QColor(255, 0, 0), 1);
    for (int tenths = 1; tenths <= 10; ++tenths) {
        canvas.setUnitStepTenths(tenths);
        for (int pixel = -2; pixel < 8000; ++pixel) {
            for (double within : {0.0, 0.25, 0.5, 0.8}) {
                const double units = canvas.unitsFromPixels(pixel + within);
                if (canvas.pixelIndex(units) != pixel)
                    QFAIL(qPrintable(QStringLiteral("position %1 at unit step %2 gave pixel %3")
                                         .arg(pixel + within)
                                         .arg(tenths / 10.0)
                                         .arg(canvas.pixelIndex(units))));
            }
        }
        for (int pixel : {0, 31, 4567, 7999}) {
            canvas.clearDrawings();
            canvas.drawPoint(QPointF(canvas.unitsFromPixels(pixel), canvas.unitsFromPixels(0)));
            QCOMPARE(canvas.overlay().pixel(pixel, 0), qRgb(255, 0, 0));
        }
    }
}

void WorkspaceRulesTest::reloadWithoutOpenedFileDoesNothing()
{
    TestPictures files;
    PictureCanvas canvas;
    ScriptedDialogs dialogs;
    PictureOpener opener(canvas, dialogs);
    // A set picture is shown, but nothing came through the dialog yet.
    QString reason;
    QCOMPARE(opener.loadFile(files.writeGradient(QStringLiteral("set.bmp"), 12, 8), &reason),
             PictureOpener::Outcome::Loaded);
    QVERIFY(!opener.hasOpenedFile());
    QVERIFY(dialogs.calls().isEmpty());
    QCOMPARE(canvas.pixelSize(), QSize(12, 8));
}

void WorkspaceRulesTest::overlayIsEmptyAfterClearingAndForTheNextPicture_data()
{
    QTest::addColumn<bool>("nextPicture");
    QTest::addColumn<QSize>("size");
    // Small pictures live in ordinary memory, large ones in a mapping of their own.
    QTest::newRow("cleared, small") << false << QSize(300, 200);
    QTest::newRow("next picture, large") << true << QSize(1400, 900);
}

// The overlay is emptied only where it was drawn on: every kind of drawing,
// near the edges too, must be gone afterwards.
void WorkspaceRulesTest::overlayIsEmptyAfterClearingAndForTheNextPicture()
{
    QFETCH(bool, nextPicture);
    QFETCH(QSize, size);
    PictureCanvas canvas;
    canvas.setPicture(TestPictures::gradient(size.width(), size.height()));
    const auto painted = [&canvas] {
        int count = 0;
        const QImage &overlay = canvas.overlay();
        for (int y = 0; y < overlay.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(overlay.constScanLine(y));
            for (int x = 0; x < overlay.width(); ++x)
                count += row[x] != 0;
        }
        return count;
    };
    QCOMPARE(painted(), 0);
    const double right = canvas.widthUnits() - 1;
    const double bottom = canvas.heightUnits() - 1;
    canvas.setPen(Qt::red, 5);
    canvas.beginDrawingBatch();
    canvas.drawPoint(QPointF(0, 0));
    canvas.drawPoint(QPointF(right, bottom));
    canvas.endDrawingBatch();
    canvas.setPen(Qt::yellow, 1);
    canvas.drawPoint(QPointF(right / 2, 3));
    canvas.setPen(Qt::blue, 3);
    canvas.drawLine(QPointF(2, bottom - 2), QPointF(right - 2, 4));
    canvas.setDotted(true);
    canvas.drawLine(QPointF(right, 0), QPointF(0, bottom));
    QVERIFY(painted() > 100);

    if (nextPicture)
        canvas.setPicture(TestPictures::gradient(size.width(), size.height()));
    else
        canvas.clearDrawings();
    QCOMPARE(painted(), 0);
    // And again after drawing on the emptied overlay.
    canvas.setPen(Qt::red, 7);
    canvas.drawPoint(QPointF(right / 3, bottom / 3));
    QVERIFY(painted() > 0);
    canvas.clearDrawings();
    QCOMPARE(painted(), 0);
}

void WorkspaceRulesTest::setPictureReadAhead()
{
    TestPictures files;
    PictureCanvas canvas;
    ScriptedDialogs dialogs;
    PictureOpener opener(canvas, dialogs);
    const QImage picture = TestPictures::gradient(1400, 900);
    const QString ahead = files.write(QStringLiteral("ahead.bmp"), picture);

    // Read ahead or not, a file gives the same picture, or the same reason.
    opener.prefetchFile(ahead);
    QString reason;
    QCOMPARE(opener.loadFile(ahead, &reason), PictureOpener::Outcome::Loaded);
    QVERIFY(canvas.picture() == picture);

    const QString damaged = files.writeGarbage(QStringLiteral("damaged.jpg"));
    opener.prefetchFile(damaged);
    reason.clear();
    QCOMPARE(opener.loadFile(damaged, &reason), PictureOpener::Outcome::Failed);
    QCOMPARE(reason, TestPictures::readerReason(damaged));
    QVERIFY(canvas.picture() == picture);

    // Another file than the one read ahead is read itself.
    const QString small = files.writeGradient(QStringLiteral("small.bmp"), 40, 30);
    opener.prefetchFile(files.writeGradient(QStringLiteral("unused.bmp"), 20, 10));
    QCOMPARE(opener.loadFile(small, &reason), PictureOpener::Outcome::Loaded);
    QCOMPARE(canvas.pixelSize(), QSize(40, 30));
    QVERIFY(dialogs.calls().isEmpty());
}

Q_DECLARE_METATYPE(NumberEntry::Range)
Q_DECLARE_METATYPE(NumberEntry::Verdict)

void WorkspaceRulesTest::numberEntry_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<NumberEntry::Range>("range");
    QTest::addColumn<QString>("text");
    QTest::addColumn<NumberEntry::Verdict>("verdict");
    QTest::addColumn<double>("value"); // when a number
    using R = NumberEntry::Range;
    using V = NumberEntry::Verdict;
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);
    QTest::newRow("point") << c << R::AboveZero << "2.5" << V::Number << 2.5;
    QTest::newRow("blanks around") << c << R::AboveZero << " 2.5 " << V::Number << 2.5;
    QTest::newRow("comma") << german << R::AboveZero << "2,5" << V::Number << 2.5;
    QTest::newRow("comma, French") << french << R::AboveZero << "0,32" << V::Number << 0.32;
    // The other convention's separator is refused, never read as grouping.
    QTest::newRow("point under comma") << german << R::AboveZero << "2.5" << V::Refused << 0.0;
    QTest::newRow("grouped thousands") << german << R::Any << "1.234" << V::Refused << 0.0;
    QTest::newRow("comma under point") << c << R::AboveZero << "2,5" << V::Refused << 0.0;
    QTest::newRow("two separators") << c << R::Any << "2.5.1" << V::Refused << 0.0;
    QTest::newRow("letters") << c << R::Any << "1O" << V::Refused << 0.0;
    QTest::newRow("inner blank") << c << R::Any << "2 5" << V::Refused << 0.0;
    QTest::newRow("infinity") << c << R::Any << "inf" << V::Refused << 0.0;
    // On the way to a number: nothing to complain about yet, no value either.
    QTest::newRow("empty") << c << R::AboveZero << "" << V::Incomplete << 0.0;
    QTest::newRow("separator first") << german << R::AboveZero << "," << V::Incomplete << 0.0;
    QTest::newRow("minus alone") << c << R::Any << "-" << V::Incomplete << 0.0;
    QTest::newRow("zero, above zero") << c << R::AboveZero << "0" << V::Incomplete << 0.0;
    QTest::newRow("zero, not negative") << c << R::NotNegative << "0" << V::Number << 0.0;
    // The sign.
    QTest::newRow("negative, any") << c << R::Any << "-1.5" << V::Number << -1.5;
    QTest::newRow("negative, not negative") << c << R::NotNegative << "-1.5" << V::Refused << 0.0;
    QTest::newRow("negative, above zero") << german << R::AboveZero << "-1" << V::Refused << 0.0;
}

void WorkspaceRulesTest::numberEntry()
{
    QFETCH(QLocale, locale);
    QFETCH(NumberEntry::Range, range);
    QFETCH(QString, text);
    QFETCH(NumberEntry::Verdict, verdict);
    QFETCH(double, value);
    const NumberEntry entry({range}, locale);
    QCOMPARE(entry.check(text), verdict);
    QCOMPARE(entry.value(text).has_value(), verdict == NumberEntry::Verdict::Number);
    if (verdict == NumberEntry::Verdict::Number)
        QCOMPARE(*entry.value(text), value);
    // Only a refused text has a refusal, and it says what the box expects.
    const QString refusal = entry.refusal(text);
    QCOMPARE(refusal.isEmpty(), verdict != NumberEntry::Verdict::Refused);
    if (!refusal.isEmpty())
        QVERIFY2(refusal.endsWith(entry.expectation() + u'.'), qPrintable(refusal));
    QVERIFY(entry.expectation().endsWith(locale.toString(2.5)));
}

QTEST_MAIN(WorkspaceRulesTest)
#include "workspace_rules_test.moc"
