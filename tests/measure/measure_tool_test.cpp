// The two-click measuring tool and the statistics of the list, on a canvas
// without widgets. Positions are in picture units. Which tool a mouse event
// reaches is the end-to-end tests' (real mouse events on the picture).
#include "measure_tool.h"
#include "measurement_list.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QTest>

#include <cmath>

using namespace verdalis;

namespace {
constexpr qint32 kRed = 255; // packed blue*65536 + green*256 + red
constexpr qint32 kWhite = 0xffffff;
} // namespace

class MeasureToolTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        WorkspaceState state;
        PictureCanvas canvas;
        MeasurementList list;
        MeasureTool tool{list, canvas, state};
        Rig()
        {
            QImage white(400, 400, QImage::Format_RGB32);
            white.fill(Qt::white);
            canvas.setPicture(white);
        }
        void measure(QPointF from, QPointF to)
        {
            tool.mouseDown(from);
            tool.mouseMove(to);
            tool.mouseDown(to);
        }
    };

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void measuresOneDistance_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QStringList>("row"); // columns 0..5

        QTest::newRow("halves to even") << QPointF(0.5, 2.5) << QPointF(3.5, 2.5) << 10 << 1.0
                                        << QStringList{"0", "2", "4", "2", "4", "4.00"};
        QTest::newRow("calibrated") << QPointF(0, 0) << QPointF(0, 7) << 10 << 0.25
                                    << QStringList{"0", "0", "0", "7", "7", "1.75"};
        QTest::newRow("unit step 0.5") << QPointF(0, 0) << QPointF(6, 8) << 5 << 1.0
                                       << QStringList{"0", "0", "6", "8", "5", "5.00"};
        // 16-bit points would wrap here: a wide picture at the finest unit step.
        QTest::newRow("beyond 16 bits")
            << QPointF(1000, 0) << QPointF(41000.4, 0) << 1 << 1.0
            << QStringList{"1000", "0", "41000", "0", "4000", "4000.00"};
    }
    void measuresOneDistance()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, tenths);
        QFETCH(double, sizeRatio);
        QFETCH(QStringList, row);
        Rig rig;
        rig.canvas.setUnitStepTenths(tenths);
        rig.state.setSizeRatio(sizeRatio);

        rig.tool.mouseDown(from);
        QCOMPARE(rig.tool.measurePhase(), MeasurePhase::AwaitEnd);
        QCOMPARE(rig.list.rowCount(), 1);
        rig.tool.mouseDown(to);

        QCOMPARE(rig.tool.measurePhase(), MeasurePhase::AwaitStart);
        QStringList cells;
        for (int column = 0; column < MeasurementList::kColumnCount; ++column)
            cells << rig.list.cell(0, column);
        QCOMPARE(cells, row);
        QCOMPARE(rig.list.currentRow(), 0);
        QCOMPARE(rig.list.statistics().mean, row.last());
    }

    void rubberBandFollowsTheMouse()
    {
        Rig rig;
        rig.measure({0, 0}, {0, 2}); // an earlier measurement, drawn
        rig.tool.mouseDown({10, 10});
        QVERIFY(rig.list.cell(1, DistanceColumn).isEmpty());
        QCOMPARE(rig.canvas.colourAt(10, 10), kWhite); // nothing drawn at the first click

        rig.tool.mouseMove({13.0, 14.5});
        // Column 4 keeps every bit of the length.
        QCOMPARE(rig.list.cell(1, BaseDistanceColumn).toDouble(), std::sqrt(29.25));
        QCOMPARE(rig.list.cell(1, DistanceColumn), "5.41");
        // The pending row is no measurement: the statistics and the copy leave it out.
        rig.list.recomputeMeasurementStatistics();
        QCOMPARE(rig.list.statistics().mean, "2.00");
        QCOMPARE(rig.tool.copyAll(), "2.00\n");
        QCOMPARE(rig.canvas.colourAt(10, 10), kRed);
        QCOMPARE(rig.canvas.colourAt(0, 2), kWhite); // the earlier drawing is gone

        rig.tool.mouseDown({13, 14});
        QCOMPARE(rig.list.cell(1, DistanceColumn), "5.00");
        QCOMPARE(rig.canvas.colourAt(10, 10), kRed);
        QCOMPARE(rig.canvas.colourAt(13, 14), kRed);
    }

    // Del while a measurement is pending cancels it, whatever row is selected,
    // and so does a new unit step, since the start point belongs to the old
    // coordinate system. The finished rows and the statistics stay, and the
    // tool waits for a start.
    void pendingMeasurementIsCancelled_data()
    {
        QTest::addColumn<int>("finishedRows");
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<bool>("byUnitStep"); // else by Del
        QTest::newRow("Del, only the pending row") << 0 << -1 << false;
        QTest::newRow("Del, older row selected") << 2 << 0 << false;
        QTest::newRow("unit step") << 2 << 1 << true;
    }
    void pendingMeasurementIsCancelled()
    {
        QFETCH(int, finishedRows);
        QFETCH(int, selectedRow);
        QFETCH(bool, byUnitStep);
        Rig rig;
        for (int i = 0; i < finishedRows; ++i)
            rig.measure({0, 0}, {0, double(2 + 2 * i)});
        const QString mean = rig.list.statistics().mean;
        rig.list.setCurrentRow(selectedRow);
        rig.tool.mouseDown({50, 50});
        rig.tool.mouseMove({60, 50});

        if (byUnitStep)
            rig.canvas.setUnitStepTenths(5);
        else
            rig.tool.deleteCurrent();
        QCOMPARE(rig.tool.measurePhase(), MeasurePhase::AwaitStart);
        QCOMPARE(rig.list.rowCount(), finishedRows);
        QCOMPARE(rig.list.pendingRow(), -1);
        QCOMPARE(rig.list.statistics().mean, mean);
        QCOMPARE(rig.canvas.colourAt(50, 50), kWhite);

        // The next click starts a new measurement.
        rig.measure({0, 0}, {0, 9});
        QCOMPARE(rig.list.rowCount(), finishedRows + 1);
        QCOMPARE(rig.list.cell(finishedRows, DistanceColumn), byUnitStep ? "4.50" : "9.00");
    }
};

QTEST_MAIN(MeasureToolTest)
#include "measure_tool_test.moc"
