// The Grid frame driven offscreen through its controls: typing, choosing,
// Enter, leaving the spacing box, the offset bars and the centre button. When
// Show can be ticked and where the lines land are the rules' (grid_rules_test);
// here, that the controls reach them.
#include "grid_frame.h"
#include "grid_overlay.h"
#include "grid_test_support.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace verdalis;
using namespace verdalis::test;

namespace {

// The frame in a window with another control to move the focus to, over a
// white picture of 400 x 300 pixels.
struct Window {
    WorkspaceState state;
    PictureCanvas canvas;
    QWidget window;
    GridFrame *frame;
    QPushButton *elsewhere;

    Window()
    {
        QImage white(400, 300, QImage::Format_RGB32);
        white.fill(Qt::white);
        canvas.setPicture(white);
        frame = new GridFrame(state, canvas);
        elsewhere = new QPushButton(QStringLiteral("Elsewhere"));
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(frame);
        layout->addWidget(elsewhere);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the test window does not become active");
    }
    QLineEdit *spacingEdit() const { return frame->spacingBox()->lineEdit(); }
    // Typed with the keyboard focus in the box, as a user types.
    void type(const QString &text)
    {
        spacingEdit()->setFocus();
        spacingEdit()->clear();
        QTest::keyClicks(spacingEdit(), text);
    }
    void calibrate() { state.setUnitName(QStringLiteral("mm")); }
};

} // namespace

class GridFrameTest : public QObject {
    Q_OBJECT
private slots:
    void typedSpacingIsTakenAsTyped_data();
    void typedSpacingIsTakenAsTyped();
    void textThatIsNotANumberEmptiesTheBox();
    void controlsDriveTheGrid();
};

void GridFrameTest::typedSpacingIsTakenAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("spacing");
    // Each is the start of a longer entry of the list.
    QTest::newRow("1, not 10") << "1" << 1.0;
    QTest::newRow("0.05, not 0.9 on the way") << "0.05" << 0.05;
    QTest::newRow("2.5") << "2.5" << 2.5;
}

void GridFrameTest::typedSpacingIsTakenAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(double, spacing);
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(typed);
    QTest::keyClick(w.spacingEdit(), Qt::Key_Return);
    QCOMPARE(w.frame->spacingBox()->currentText(), typed);
    QCOMPARE(w.frame->overlay().spacing(), spacing);
    // Enter does not add the typed spacing to the list.
    QCOMPARE(w.frame->spacingBox()->count(), 19);
}

void GridFrameTest::textThatIsNotANumberEmptiesTheBox()
{
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(QStringLiteral("5"));
    QVERIFY(w.frame->showBox()->isEnabled());
    w.type(QStringLiteral("5x"));
    QVERIFY(w.frame->spacingBox()->currentText().isEmpty());
    QCOMPARE(w.frame->overlay().spacing(), 0.0);
    QVERIFY(!w.frame->showBox()->isEnabled());
}

void GridFrameTest::controlsDriveTheGrid()
{
    Window w;
    w.frame->onPictureOpened();
    QVERIFY(!w.frame->showBox()->isEnabled());
    w.calibrate();
    QCOMPARE(w.frame->unitLabel()->text(), QStringLiteral("mm"));

    // A refused spacing says why in the box's tip.
    const QString usual = w.frame->spacingBox()->toolTip();
    w.type(QStringLiteral("0.01"));
    QVERIFY(!w.frame->showBox()->isEnabled());
    QVERIFY2(w.frame->spacingBox()->toolTip().contains(QStringLiteral("closer than one pixel")),
             qPrintable(w.frame->spacingBox()->toolTip()));

    // Enter ticks Show and draws.
    w.type(QStringLiteral("10"));
    QCOMPARE(w.frame->spacingBox()->toolTip(), usual);
    QTest::keyClick(w.spacingEdit(), Qt::Key_Return);
    QVERIFY(w.frame->showBox()->isChecked());
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 0, 400));

    // The offset bars move the lines; the centre button brings them back.
    w.frame->horizontalOffset()->setValue(19);
    w.frame->verticalOffset()->setValue(-19);
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 19, 400));
    QCOMPARE(horizontalLines(w.canvas.overlay()), expectedLinePixels(10, -19, 300));
    w.frame->centreButton()->click();
    QCOMPARE(w.frame->horizontalOffset()->value(), 0);
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 0, 400));

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

QTEST_MAIN(GridFrameTest)
#include "grid_frame_test.moc"
