#include "catalogue_test_files.h"
#include "custom_detection_file.h"
#include "custom_detection_panel.h"
#include "detection_selector.h"
#include "detection_system_panel.h"
#include "scripted_dialogs.h"
#include "workspace_state.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

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

} // namespace

// Both panels over one selector, as the main window holds them.
class DetectionPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startShowsLeafAreaOnly();
    void customTableFollowsTheList();
    void movingSliderUpdatesDisplayAndState();
    void savingFromSampledColours();
    void deletingKeepsListAndTableInStep();
    void samplingSwitchReportsToggles();

private:
    void start(const QByteArray &file);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WorkspaceState> m_state;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<DetectionSelector> m_selector;
    std::unique_ptr<DetectionSystemPanel> m_panel;
    std::unique_ptr<CustomDetectionPanel> m_custom;
};

void DetectionPanelsTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<WorkspaceState>();
    m_state->setProgramFolder(m_folder->path());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_selector = std::make_unique<DetectionSelector>(*m_state, *m_dialogs);
    m_panel = std::make_unique<DetectionSystemPanel>(*m_selector);
    m_custom = std::make_unique<CustomDetectionPanel>(*m_selector, *m_state);
}

void DetectionPanelsTest::cleanup()
{
    m_custom.reset();
    m_panel.reset();
    m_selector.reset();
    m_dialogs.reset();
    m_state.reset();
    m_folder.reset();
}

void DetectionPanelsTest::start(const QByteArray &file)
{
    if (!file.isEmpty())
        writeBytes(customDetectionFilePath(m_folder->path()), file);
    m_selector->loadCustomSystems();
}

void DetectionPanelsTest::startShowsLeafAreaOnly()
{
    start({});
    QCOMPARE(comboEntries(m_panel->Combo1),
             (QStringList{"Leaf area only", "System 1", "System 2", "System 3", "System 4"}));
    QCOMPARE(m_panel->Combo1->currentIndex(), 0);
    QCOMPARE(m_panel->Slider1->minimum(), -3);
    QCOMPARE(m_panel->Slider1->maximum(), 10);
    QCOMPARE(m_panel->Slider1->value(), 0);
    QVERIFY(!m_panel->Slider1->isEnabled());
    QCOMPARE(m_panel->Label2->text(), QStringLiteral("3"));
    QVERIFY(!m_panel->Command17->isEnabled());
    QVERIFY(!m_panel->Check1->isChecked());
    QVERIFY(m_custom->isHidden());
    QVERIFY(!m_custom->Command16->isEnabled());
    for (int column = 0; column < 3; ++column)
        QVERIFY(m_custom->Grid1->isColumnHidden(column));
    QCOMPARE(m_custom->Grid1->columnWidth(3), 500 / 15);
    QCOMPARE(m_custom->GridCust->rowCount(), 0);
}

void DetectionPanelsTest::customTableFollowsTheList()
{
    start(ThreeSystems);
    QCOMPARE(comboEntries(m_panel->Combo1).mid(5), (QStringList{"Spot", "Rust", "Blight"}));
    QCOMPARE(tableRows(m_custom->GridCust),
             (QStringList{"Spot,120,45,30", "Rust,200,100,0", "Blight,90,60,20"}));
    m_panel->Combo1->setCurrentIndex(7);
    QCOMPARE(m_state->systemIndex(), 7);
    QCOMPARE(m_custom->GridCust->currentRow(), 2);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    QVERIFY(m_panel->Command17->isEnabled());
    QCOMPARE(m_panel->Command17->toolTip(), QStringLiteral("Delete \"Blight\" detection system"));
    QCOMPARE(m_panel->Slider1->minimum(), -10);
    m_panel->Combo1->setCurrentIndex(1);
    QVERIFY(!m_panel->Command17->isEnabled());
    QCOMPARE(m_panel->Command17->toolTip(), QString());
}

void DetectionPanelsTest::movingSliderUpdatesDisplayAndState()
{
    start({});
    m_panel->Combo1->setCurrentIndex(2);
    m_panel->Slider1->setValue(4);
    QCOMPARE(m_panel->Label2->text(), QStringLiteral("7"));
    QCOMPARE(m_panel->Slider1->toolTip(), QStringLiteral("7"));
    QCOMPARE(m_state->sliderPosition(), 4);
    // The selector clamps; the slider shows what it decided.
    m_panel->Combo1->setCurrentIndex(3);
    m_panel->Slider1->setValue(-10);
    m_panel->Combo1->setCurrentIndex(0);
    QCOMPARE(m_panel->Slider1->value(), -3);
    QVERIFY(!m_panel->Slider1->isEnabled());
}

void DetectionPanelsTest::savingFromSampledColours()
{
    start("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    m_panel->setSamplingChecked(true);
    m_custom->addSampledColour({10, 20, 30});
    m_custom->addSampledColour({11, 21, 31});
    QVERIFY(m_custom->Command16->isEnabled());
    QCOMPARE(m_custom->Grid1->rowCount(), 2);
    QCOMPARE(tableRows(m_custom->Grid1).first(), QStringLiteral("10,20,30,"));
    QCOMPARE(m_custom->Label1->palette().color(QPalette::Window), QColor(10, 20, 30));
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("10,20,30"));

    QSignalSpy toggled(m_panel.get(), &DetectionSystemPanel::samplingToggled);
    m_dialogs->answerInput(QStringLiteral("Lesion"));
    QTest::mouseClick(m_custom->Command16, Qt::LeftButton);

    QCOMPARE(comboEntries(m_panel->Combo1).mid(5), (QStringList{"Spot", "Lesion"}));
    QCOMPARE(m_panel->Combo1->currentIndex(), 6);
    QCOMPARE(tableRows(m_custom->GridCust), (QStringList{"Spot,120,45,30", "Lesion,10,20,30"}));
    QCOMPARE(m_custom->GridCust->currentRow(), 1);
    // Sampling ended: switch unticked, list reset, the new system's colour active.
    QVERIFY(!m_panel->isSamplingChecked());
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(m_custom->Grid1->rowCount(), 0);
    QCOMPARE(m_custom->samples().count(), 0);
    QVERIFY(!m_custom->Command16->isEnabled());
    QCOMPARE(m_custom->Label1->palette().color(QPalette::Window),
             m_custom->palette().color(QPalette::Window));
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("10,20,30"));
    QCOMPARE(m_panel->Command17->toolTip(), QStringLiteral("Delete \"Lesion\" detection system"));
}

void DetectionPanelsTest::deletingKeepsListAndTableInStep()
{
    start(ThreeSystems);
    m_panel->Combo1->setCurrentIndex(6);
    m_dialogs->answerMessage(MessageAnswer::Yes);
    QTest::mouseClick(m_panel->Command17, Qt::LeftButton);

    QCOMPARE(comboEntries(m_panel->Combo1).mid(5), (QStringList{"Spot", "Blight"}));
    QCOMPARE(tableRows(m_custom->GridCust), (QStringList{"Spot,120,45,30", "Blight,90,60,20"}));
    QCOMPARE(m_panel->Combo1->currentIndex(), 0);
    QCOMPARE(m_state->systemIndex(), 0);
    QVERIFY(!m_panel->Command17->isEnabled());
    QVERIFY(!m_panel->Slider1->isEnabled());
    m_panel->Combo1->setCurrentIndex(6);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    QCOMPARE(m_custom->GridCust->currentRow(), 1);
}

void DetectionPanelsTest::samplingSwitchReportsToggles()
{
    start({});
    QSignalSpy toggled(m_panel.get(), &DetectionSystemPanel::samplingToggled);
    QTest::mouseClick(m_panel->Check1, Qt::LeftButton);
    QVERIFY(m_panel->isSamplingChecked());
    m_panel->setSamplingChecked(true); // no change, no signal
    m_panel->setSamplingChecked(false);
    QCOMPARE(toggled.count(), 2);
    QCOMPARE(toggled.at(0).first().toBool(), true);
    QCOMPARE(toggled.at(1).first().toBool(), false);
}

QTEST_MAIN(DetectionPanelsTest)
#include "detection_panels_test.moc"
