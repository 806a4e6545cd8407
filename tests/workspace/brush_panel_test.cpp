#include "brush_panel.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using namespace verdalis;

class BrushPanelTest : public QObject {
    Q_OBJECT
private slots:
    void switchShowsChosenKind_data();
    void switchShowsChosenKind();
    void sizeReadsUpsideDown_data();
    void sizeReadsUpsideDown();
    void followsDetectionSystem();
};

void BrushPanelTest::switchShowsChosenKind_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<BrushKind>("kind");
    QTest::newRow("symptom") << 1 << BrushKind::Symptom;
    QTest::newRow("background") << 2 << BrushKind::Background;
    QTest::newRow("back to leaf") << 0 << BrushKind::Leaf;
}

void BrushPanelTest::switchShowsChosenKind()
{
    QFETCH(int, button);
    QFETCH(BrushKind, kind);
    BrushPanel panel;
    panel.followDetectionSystem(1);
    // Start elsewhere, so every row changes the face.
    panel.backgroundBrushButton->setChecked(true);
    if (kind == BrushKind::Background)
        panel.leafBrushButton->setChecked(true);
    QRadioButton *buttons[] = {panel.leafBrushButton, panel.symptomBrushButton,
                               panel.backgroundBrushButton};
    const QIcon *icons[] = {&panel.leafBrushIcon, &panel.symptomBrushIcon,
                            &panel.backgroundBrushIcon};
    buttons[button]->click();
    QCOMPARE(panel.kind(), kind);
    QCOMPARE(panel.brushSwitch->icon().cacheKey(), icons[button]->cacheKey());
}

void BrushPanelTest::sizeReadsUpsideDown_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("size");
    QTest::newRow("top") << 1 << 10;
    QTest::newRow("bottom") << 10 << 1;
}

void BrushPanelTest::sizeReadsUpsideDown()
{
    QFETCH(int, value);
    QFETCH(int, size);
    BrushPanel panel;
    panel.brushSizeBar->setValue(value);
    QCOMPARE(panel.brushSize(), size);
    QCOMPARE(panel.brushSizeLabel->text(), QString::number(size));
}

void BrushPanelTest::followsDetectionSystem()
{
    BrushPanel panel;
    QVERIFY(!panel.symptomBrushButton->isEnabled()); // "Leaf area only" at start
    panel.followDetectionSystem(3);
    QVERIFY(panel.symptomBrushButton->isEnabled());
    panel.symptomBrushButton->click();
    QCOMPARE(panel.kind(), BrushKind::Symptom);
    panel.followDetectionSystem(6); // a custom system keeps the choice
    QCOMPARE(panel.kind(), BrushKind::Symptom);
    panel.followDetectionSystem(0);
    QCOMPARE(panel.kind(), BrushKind::Leaf);
    QVERIFY(!panel.symptomBrushButton->isEnabled());
    QCOMPARE(panel.brushSwitch->icon().cacheKey(), panel.leafBrushIcon.cacheKey());
}

QTEST_MAIN(BrushPanelTest)
#include "brush_panel_test.moc"
