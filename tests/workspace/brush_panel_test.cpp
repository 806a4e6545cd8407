#include "brush_panel.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace verdalis;

class BrushPanelTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithLeafBrushOfSizeFive();
    void switchShowsChosenKind_data();
    void switchShowsChosenKind();
    void sizeReadsUpsideDown_data();
    void sizeReadsUpsideDown();
    void followsDetectionSystem();
    void switchReportsToggles();
};

void BrushPanelTest::startsWithLeafBrushOfSizeFive()
{
    BrushPanel panel;
    QCOMPARE(panel.title(), QStringLiteral("Brush"));
    QVERIFY(panel.Option1->isChecked());
    QVERIFY(!panel.Option2->isEnabled());
    QVERIFY(panel.Option3->isEnabled());
    QVERIFY(!panel.isBrushOn());
    QCOMPARE(panel.VScroll3->minimum(), 1);
    QCOMPARE(panel.VScroll3->maximum(), 10);
    QCOMPARE(panel.VScroll3->value(), 6);
    QCOMPARE(panel.Label18->text(), QStringLiteral("5"));
    QCOMPARE(panel.kind(), BrushKind::Leaf);
    QCOMPARE(panel.Check4->icon().cacheKey(), panel.Picture8.cacheKey());
}

void BrushPanelTest::switchShowsChosenKind_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<BrushKind>("kind");
    QTest::newRow("symptom") << 2 << BrushKind::Symptom;
    QTest::newRow("background") << 3 << BrushKind::Background;
    QTest::newRow("back to leaf") << 1 << BrushKind::Leaf;
}

void BrushPanelTest::switchShowsChosenKind()
{
    QFETCH(int, option);
    QFETCH(BrushKind, kind);
    BrushPanel panel;
    panel.followDetectionSystem(1);
    panel.Option3->setChecked(true); // start elsewhere, so every row changes the face
    if (option == 3)
        panel.Option1->setChecked(true);
    QRadioButton *buttons[] = {panel.Option1, panel.Option2, panel.Option3};
    const QIcon *icons[] = {&panel.Picture8, &panel.Picture9, &panel.Picture10};
    buttons[option - 1]->click();
    QCOMPARE(panel.kind(), kind);
    QCOMPARE(panel.Check4->icon().cacheKey(), icons[option - 1]->cacheKey());
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
    panel.VScroll3->setValue(value);
    QCOMPARE(panel.brushSize(), size);
    QCOMPARE(panel.Label18->text(), QString::number(size));
}

void BrushPanelTest::followsDetectionSystem()
{
    BrushPanel panel;
    panel.followDetectionSystem(3);
    QVERIFY(panel.Option2->isEnabled());
    panel.Option2->click();
    QCOMPARE(panel.kind(), BrushKind::Symptom);
    panel.followDetectionSystem(6); // a custom system keeps the choice
    QCOMPARE(panel.kind(), BrushKind::Symptom);
    panel.followDetectionSystem(0);
    QCOMPARE(panel.kind(), BrushKind::Leaf);
    QVERIFY(!panel.Option2->isEnabled());
    QCOMPARE(panel.Check4->icon().cacheKey(), panel.Picture8.cacheKey());
}

void BrushPanelTest::switchReportsToggles()
{
    BrushPanel panel;
    QSignalSpy toggled(&panel, &BrushPanel::brushToggled);
    panel.Check4->click();
    QVERIFY(panel.isBrushOn());
    panel.setBrushOn(false);
    QVERIFY(!panel.isBrushOn());
    QCOMPARE(toggled.count(), 2);
    QCOMPARE(toggled.at(0).at(0).toBool(), true);
    QCOMPARE(toggled.at(1).at(0).toBool(), false);
    QVERIFY(!BrushPanel::brushCursor().pixmap().isNull());
}

QTEST_MAIN(BrushPanelTest)
#include "brush_panel_test.moc"
