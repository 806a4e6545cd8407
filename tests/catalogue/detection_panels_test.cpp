#include "catalogue_rig.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "workspace_icons.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace verdalis;

namespace {

QStringList comboEntries(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

QStringList tableRows(const QTableWidget *table)
{
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
        rows << cells.join(u',');
    }
    return rows;
}

// Both panels over the selector, as the main window holds them.
struct PanelsRig : CatalogueRig {
    DetectionSystemPanel panel{selector};
    CustomDetectionPanel custom{selector, state};
};

} // namespace

class DetectionPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void customTableFollowsTheList();
    void movingSliderUpdatesDisplayAndState();
    void savingFromSampledColours();
    void deletingKeepsListAndTableInStep();
    void deletingAColourTakesItOutOfTheAverage();
    void pointerPicksAtTheDroppersTip();
};

void DetectionPanelsTest::customTableFollowsTheList()
{
    PanelsRig c;
    c.start(ThreeSystems);
    QCOMPARE(comboEntries(c.panel.systemList),
             (QStringList{"Leaf area only", "System 1", "System 2", "System 3", "System 4", "Spot",
                          "Rust", "Blight"}));
    QCOMPARE(tableRows(c.custom.customSystemTable),
             (QStringList{"Spot,120,45,30", "Rust,200,100,0", "Blight,90,60,20"}));
    c.panel.systemList->setCurrentIndex(7);
    QCOMPARE(c.state.systemIndex(), 7);
    QCOMPARE(c.custom.customSystemTable->currentRow(), 2);
    // The button shows the selector's verdict on the selection.
    QVERIFY(c.panel.deleteSystemButton->isEnabled());
    QCOMPARE(c.panel.deleteSystemButton->toolTip(),
             QStringLiteral("Delete \"Blight\" detection system"));
    c.panel.systemList->setCurrentIndex(1);
    QVERIFY(!c.panel.deleteSystemButton->isEnabled());
}

void DetectionPanelsTest::movingSliderUpdatesDisplayAndState()
{
    PanelsRig c;
    c.start({});
    c.panel.systemList->setCurrentIndex(2);
    c.panel.thresholdSlider->setValue(4);
    QCOMPARE(c.panel.thresholdLabel->text(), QStringLiteral("7"));
    QCOMPARE(c.panel.thresholdSlider->toolTip(), QStringLiteral("7"));
    QCOMPARE(c.state.sliderPosition(), 4);
    // The selector clamps; the slider shows what it decided.
    c.panel.systemList->setCurrentIndex(3);
    c.panel.thresholdSlider->setValue(-10);
    c.panel.systemList->setCurrentIndex(0);
    QCOMPARE(c.panel.thresholdSlider->value(), -3);
    QVERIFY(!c.panel.thresholdSlider->isEnabled());
}

void DetectionPanelsTest::savingFromSampledColours()
{
    PanelsRig c;
    c.start("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    c.panel.setSamplingChecked(true);
    c.custom.addSampledColour({10, 20, 30});
    c.custom.addSampledColour({11, 21, 31});
    c.dialogs.answerInput(QStringLiteral("Lesion"));
    QTest::mouseClick(c.custom.saveSystemButton, Qt::LeftButton);

    QCOMPARE(comboEntries(c.panel.systemList).mid(5), (QStringList{"Spot", "Lesion"}));
    QCOMPARE(c.panel.systemList->currentIndex(), 6);
    QCOMPARE(tableRows(c.custom.customSystemTable),
             (QStringList{"Spot,120,45,30", "Lesion,10,20,30"}));
    QCOMPARE(c.custom.customSystemTable->currentRow(), 1);
    // Sampling ended: switch unticked, list reset, the new system's colour active.
    QVERIFY(!c.panel.isSamplingChecked());
    QCOMPARE(c.custom.sampledColourTable->rowCount(), 0);
    QVERIFY(!c.custom.saveSystemButton->isEnabled());
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("10,20,30"));
}

void DetectionPanelsTest::deletingKeepsListAndTableInStep()
{
    PanelsRig c;
    c.start(ThreeSystems);
    c.panel.systemList->setCurrentIndex(6);
    c.dialogs.answerMessage(MessageAnswer::Yes);
    QTest::mouseClick(c.panel.deleteSystemButton, Qt::LeftButton);

    QCOMPARE(comboEntries(c.panel.systemList).mid(5), (QStringList{"Spot", "Blight"}));
    QCOMPARE(tableRows(c.custom.customSystemTable),
             (QStringList{"Spot,120,45,30", "Blight,90,60,20"}));
    QCOMPARE(c.panel.systemList->currentIndex(), 0);
    // List entry and table row still name the same system.
    c.panel.systemList->setCurrentIndex(6);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("90,60,20"));
    QCOMPARE(c.custom.customSystemTable->currentRow(), 1);
}

// The average's arithmetic is the samples' (detection_selector_test); here, that
// Del takes the current row out of the table, the average, the swatch and the
// Save button's verdict.
void DetectionPanelsTest::deletingAColourTakesItOutOfTheAverage()
{
    PanelsRig c;
    c.start({});
    for (const Rgb &colour : {Rgb{10, 20, 30}, Rgb{11, 21, 31}, Rgb{12, 22, 32}})
        c.custom.addSampledColour(colour);
    c.custom.sampledColourTable->setCurrentCell(1, 3);
    QTest::mouseClick(c.custom.deleteColourButton, Qt::LeftButton);
    QCOMPARE(tableRows(c.custom.sampledColourTable), (QStringList{"10,20,30,", "12,22,32,"}));
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("11,21,31"));
    QCOMPARE(c.custom.averageColourSwatch->palette().color(QPalette::Window), QColor(11, 21, 31));
    QVERIFY(c.custom.saveSystemButton->isEnabled());
    for (int left = 2; left > 0; --left) {
        c.custom.sampledColourTable->setCurrentCell(0, 3);
        QTest::mouseClick(c.custom.deleteColourButton, Qt::LeftButton);
    }
    QCOMPARE(c.custom.sampledColourTable->rowCount(), 0);
    QVERIFY(!c.custom.saveSystemButton->isEnabled());
}

// The sampling pointer picks the colour under the drop at the dropper's tip.
void DetectionPanelsTest::pointerPicksAtTheDroppersTip()
{
    const QCursor pointer = WorkspaceIcons::eyedropperCursor();
    const QImage image = pointer.pixmap().toImage();
    QCOMPARE(image.pixelColor(pointer.hotSpot()), QColor(30, 140, 60));
}

QTEST_MAIN(DetectionPanelsTest)
#include "detection_panels_test.moc"
