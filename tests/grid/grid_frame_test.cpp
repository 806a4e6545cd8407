// The Grid frame driven offscreen through its controls: typing, choosing,
// Enter, leaving the spacing box, the offset bars and the centre button.
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
    void startsUnavailable();
    void calibrationMakesShowAvailable();
    void typedSpacingIsTakenAsTyped_data();
    void typedSpacingIsTakenAsTyped();
    void textThatIsNotANumberEmptiesTheBox_data();
    void textThatIsNotANumberEmptiesTheBox();
    void enterTicksShowAndDraws();
    void leavingTheBoxWithoutSpacingSwitchesOff();
    void offsetBarsAndCentreButton();
    void refusedSpacingSaysWhy();
};

void GridFrameTest::startsUnavailable()
{
    Window w;
    QCheckBox *show = w.frame->showBox();
    QComboBox *spacing = w.frame->spacingBox();
    QCOMPARE(show->text(), QStringLiteral("Show"));
    QVERIFY(!show->isEnabled());
    QVERIFY(!show->isChecked());
    QVERIFY(!spacing->isEnabled());
    QVERIFY(spacing->currentText().isEmpty());
    QStringList entries;
    for (int i = 0; i < spacing->count(); ++i)
        entries << spacing->itemText(i);
    QCOMPARE(entries, QStringList({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0.9", "0.8",
                                   "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1"}));
    for (QScrollBar *bar : {w.frame->horizontalOffset(), w.frame->verticalOffset()}) {
        QVERIFY(!bar->isEnabled());
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->minimum(), -19);
        QCOMPARE(bar->maximum(), 19);
    }
    QVERIFY(w.frame->centreButton()->isEnabled());
    QVERIFY(w.frame->unitLabel()->text().isEmpty());
}

void GridFrameTest::calibrationMakesShowAvailable()
{
    Window w;
    w.frame->onPictureOpened();
    QVERIFY(w.frame->spacingBox()->isEnabled());
    // Choosing an entry before any calibration: still unavailable.
    w.frame->spacingBox()->setCurrentIndex(5);
    QCOMPARE(w.frame->overlay().spacing(), 5.0);
    QVERIFY(!w.frame->showBox()->isEnabled());
    w.calibrate();
    QCOMPARE(w.frame->unitLabel()->text(), QStringLiteral("mm"));
    QVERIFY(w.frame->showBox()->isEnabled());
    QVERIFY(!w.frame->showBox()->isChecked());
}

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
}

void GridFrameTest::textThatIsNotANumberEmptiesTheBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("abc") << "abc";
    QTest::newRow("a letter after a number") << "5x";
}

void GridFrameTest::textThatIsNotANumberEmptiesTheBox()
{
    QFETCH(QString, typed);
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(QStringLiteral("5"));
    QVERIFY(w.frame->showBox()->isEnabled());
    w.type(typed);
    QVERIFY(w.frame->spacingBox()->currentText().isEmpty());
    QCOMPARE(w.frame->overlay().spacing(), 0.0);
    QVERIFY(!w.frame->showBox()->isEnabled());
}

void GridFrameTest::enterTicksShowAndDraws()
{
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(QStringLiteral("10"));
    QTest::keyClick(w.spacingEdit(), Qt::Key_Return);
    QVERIFY(w.frame->showBox()->isChecked());
    QVERIFY(w.frame->horizontalOffset()->isEnabled());
    QVERIFY(w.frame->verticalOffset()->isEnabled());
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 0, 400));
    // Enter does not add the typed spacing to the list.
    QCOMPARE(w.frame->spacingBox()->count(), 19);

    // Unticking takes the grid away.
    w.frame->showBox()->click();
    QVERIFY(!hasDrawings(w.canvas.overlay()));
    QVERIFY(!w.frame->horizontalOffset()->isEnabled());
}

void GridFrameTest::leavingTheBoxWithoutSpacingSwitchesOff()
{
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(QStringLiteral("10"));
    w.frame->showBox()->click();
    QVERIFY(w.frame->showBox()->isChecked());

    w.type(QString());
    QVERIFY(!w.frame->showBox()->isEnabled());
    QVERIFY(w.frame->showBox()->isChecked());
    w.elsewhere->setFocus();
    QVERIFY(!w.frame->showBox()->isChecked());
    QVERIFY(!hasDrawings(w.canvas.overlay()));
}

void GridFrameTest::offsetBarsAndCentreButton()
{
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    w.type(QStringLiteral("10"));
    w.frame->showBox()->click();

    w.frame->horizontalOffset()->setValue(19);
    w.frame->verticalOffset()->setValue(-19);
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 19, 400));
    QCOMPARE(horizontalLines(w.canvas.overlay()), expectedLinePixels(10, -19, 300));

    w.frame->centreButton()->click();
    QCOMPARE(w.frame->horizontalOffset()->value(), 0);
    QCOMPARE(w.frame->verticalOffset()->value(), 0);
    QCOMPARE(verticalLines(w.canvas.overlay()), expectedLinePixels(10, 0, 400));
    QCOMPARE(horizontalLines(w.canvas.overlay()), expectedLinePixels(10, 0, 300));

    // Switching off puts the bars back to 0.
    w.frame->horizontalOffset()->setValue(4);
    w.frame->onPictureOpened();
    QVERIFY(!w.frame->showBox()->isChecked());
    QCOMPARE(w.frame->horizontalOffset()->value(), 0);
    QVERIFY(!w.frame->horizontalOffset()->isEnabled());
}

void GridFrameTest::refusedSpacingSaysWhy()
{
    Window w;
    w.frame->onPictureOpened();
    w.calibrate();
    const QString usual = w.frame->spacingBox()->toolTip();
    w.type(QStringLiteral("0.01"));
    QVERIFY(!w.frame->showBox()->isEnabled());
    QVERIFY2(w.frame->spacingBox()->toolTip().contains(QStringLiteral("closer than one pixel")),
             qPrintable(w.frame->spacingBox()->toolTip()));
    w.type(QStringLiteral("5"));
    QVERIFY(w.frame->showBox()->isEnabled());
    QCOMPARE(w.frame->spacingBox()->toolTip(), usual);
}

QTEST_MAIN(GridFrameTest)
#include "grid_frame_test.moc"
