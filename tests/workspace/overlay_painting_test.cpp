// The analysis overlay painted a column stretch at a time is the overlay of
// the dots painted one by one with drawPoint, pixel for pixel: for single
// stretches at every dot width, unit step and edge of the picture, and for
// whole analyses of a synthetic scan.
#include "analysis_run.h"
#include "canvas_dot_painter.h"
#include "picture_canvas.h"
#include "synthetic_leaves.h"

#include <QtTest>

using namespace verdalis;

namespace {

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

QImage plainPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    return picture;
}

// Blue dots already there, which a stretch paints over where it reaches.
void paintEarlierDots(PictureCanvas &canvas)
{
    canvas.setPen(Qt::blue, 3);
    for (int i = 0; i < 12; ++i)
        canvas.drawPoint(QPointF(i * 3, i * 2));
}

} // namespace

class OverlayPaintingTest : public QObject {
    Q_OBJECT
private slots:
    void stretchIsTheDotsOneByOne_data();
    void stretchIsTheDotsOneByOne();
    void analysisOverlayIsTheDotsOneByOne_data();
    void analysisOverlayIsTheDotsOneByOne();
    void clearingEmptiesTheOverlay_data();
    void clearingEmptiesTheOverlay();
};

void OverlayPaintingTest::stretchIsTheDotsOneByOne_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("yFirst");
    QTest::addColumn<int>("count");
    // A 37 x 29 pixel picture: at unit step 1.0 the grid is 9 x 7 samples, at
    // 0.1 it is 97 x 76, so stretches cross the bottom edge and lie beside and
    // past the right edge.
    struct Place {
        const char *name;
        int x, yFirst, count; // at unit step 1.0; scaled for finer steps
    };
    const Place places[] = {{"inside", 4, 2, 3},           {"from the top", 0, 0, 4},
                            {"one dot", 5, 3, 1},          {"past the bottom", 2, 5, 6},
                            {"right edge", 9, 1, 5},       {"whole column", 1, 0, 8},
                            {"beyond the right", 11, 0, 3}};
    for (const int tenths : {1, 2, 3, 7, 10}) {
        for (const int width : {1, 2, 3, 4, 5}) {
            for (const Place &place : places) {
                const int scale = 10 / tenths;
                QTest::addRow("step %d/10, width %d, %s", tenths, width, place.name)
                    << tenths << width << place.x * scale << place.yFirst * scale
                    << place.count * scale;
            }
        }
    }
}

void OverlayPaintingTest::stretchIsTheDotsOneByOne()
{
    QFETCH(int, tenths);
    QFETCH(int, width);
    QFETCH(int, x);
    QFETCH(int, yFirst);
    QFETCH(int, count);
    PictureCanvas stretch;
    PictureCanvas oneByOne;
    for (PictureCanvas *canvas : {&stretch, &oneByOne}) {
        canvas->setPicture(plainPicture(37, 29));
        canvas->setUnitStepTenths(tenths);
        paintEarlierDots(*canvas);
        canvas->setPen(QColor(255, 255, 0), width);
    }
    stretch.drawColumnDots(x, yFirst, count);
    for (int y = yFirst; y < yFirst + count; ++y)
        oneByOne.drawPoint(QPointF(x, y));
    QCOMPARE(stretch.overlay(), oneByOne.overlay());
    // What was drawn is all cleared again.
    stretch.clearDrawings();
    QImage empty(stretch.overlay().size(), stretch.overlay().format());
    empty.fill(Qt::transparent);
    QCOMPARE(stretch.overlay(), empty);
}

void OverlayPaintingTest::analysisOverlayIsTheDotsOneByOne_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("tenths");
    // "Leaf area only" paints the leaf edges, System 4 and System 1 the spots;
    // the dots are 1 to 5 pixels wide over these unit steps.
    for (const int system : {0, 1, 4})
        for (const int tenths : {1, 2, 5, 10})
            QTest::addRow("system %d, step %d/10", system, tenths) << system << tenths;
}

void OverlayPaintingTest::analysisOverlayIsTheDotsOneByOne()
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
    QCOMPARE(withStretches.figures().leafSamples, withDots.figures().leafSamples);
}

void OverlayPaintingTest::clearingEmptiesTheOverlay_data()
{
    QTest::addColumn<int>("columns"); // stretches down whole columns, 20 pixels apart
    // A few columns are wiped; dots over most of a large picture take fresh memory.
    QTest::newRow("small area") << 3;
    QTest::newRow("large area") << 70;
}

void OverlayPaintingTest::clearingEmptiesTheOverlay()
{
    QFETCH(int, columns);
    PictureCanvas canvas;
    const QImage picture = plainPicture(1500, 1000);
    canvas.setPicture(picture);
    canvas.setPen(Qt::red, 5);
    for (int i = 0; i < columns; ++i)
        canvas.drawColumnDots(i * 20 * 127 / 480 + 1, 0, 270);
    QVERIFY(canvas.composedImage() != picture);
    QSignalSpy changed(&canvas, &PictureCanvas::drawingsChanged);
    canvas.clearDrawings();
    QCOMPARE(canvas.composedImage(), picture);
    QCOMPARE(canvas.colourAt(1, 1), qint32(30 * 65536 + 20 * 256 + 10));
    // The view repaints what was drawn on.
    QCOMPARE(changed.count(), 1);
    QVERIFY(changed.at(0).at(0).toRect().contains(QRect(1, 0, columns * 20 - 20, 1000)));
    // Drawing goes on as before.
    canvas.drawPoint(QPointF(5, 5));
    QVERIFY(canvas.composedImage() != picture);
}

QTEST_GUILESS_MAIN(OverlayPaintingTest)
#include "overlay_painting_test.moc"
