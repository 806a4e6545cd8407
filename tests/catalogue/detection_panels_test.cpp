#include "catalogue_test_files.h"
#include "custom_detection_file.h"
#include "custom_detection_panel.h"
#include "detection_selector.h"
#include "detection_system_panel.h"
#include "scripted_dialogs.h"
#include "workspace_icons.h"
#include "workspace_state.h"

#include <QAbstractButton>
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

Q_DECLARE_METATYPE(QList<Rgb>)

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

QColor toColor(const Rgb &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// Pixels an icon covers at its button's size: none when its picture failed to load.
int drawnPixels(const QAbstractButton *button)
{
    const QImage image = button->icon().pixmap(button->iconSize(), 1.0).toImage();
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0;
    return drawn;
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
    void deletingAColourTakesItOutOfTheAverage_data();
    void deletingAColourTakesItOutOfTheAverage();
    void buttonsAndPointerShowTheirPictures();

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
    QCOMPARE(m_panel->systemList->currentIndex(), 0);
    QCOMPARE(m_panel->thresholdSlider->minimum(), -3);
    QCOMPARE(m_panel->thresholdSlider->maximum(), 10);
    QCOMPARE(m_panel->thresholdSlider->value(), 0);
    QVERIFY(!m_panel->thresholdSlider->isEnabled());
    QCOMPARE(m_panel->thresholdLabel->text(), QStringLiteral("3"));
    QVERIFY(!m_panel->deleteSystemButton->isEnabled());
    // The slider has a caption above it; its position reads to its right.
    m_panel->show();
    QCOMPARE(m_panel->thresholdCaption->text(), QStringLiteral("Tolerance"));
    QVERIFY(m_panel->thresholdCaption->isVisible());
    const QRect slider = m_panel->thresholdSlider->geometry();
    QVERIFY(m_panel->thresholdCaption->geometry().bottom() < slider.top());
    QVERIFY(m_panel->thresholdLabel->geometry().left() > slider.right());
}

void DetectionPanelsTest::customTableFollowsTheList()
{
    start(ThreeSystems);
    QCOMPARE(comboEntries(m_panel->systemList),
             (QStringList{"Leaf area only", "System 1", "System 2", "System 3", "System 4", "Spot",
                          "Rust", "Blight"}));
    QCOMPARE(tableRows(m_custom->customSystemTable),
             (QStringList{"Spot,120,45,30", "Rust,200,100,0", "Blight,90,60,20"}));
    m_panel->systemList->setCurrentIndex(7);
    QCOMPARE(m_state->systemIndex(), 7);
    QCOMPARE(m_custom->customSystemTable->currentRow(), 2);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    QVERIFY(m_panel->deleteSystemButton->isEnabled());
    QCOMPARE(m_panel->deleteSystemButton->toolTip(),
             QStringLiteral("Delete \"Blight\" detection system"));
    QCOMPARE(m_panel->thresholdSlider->minimum(), -10);
    m_panel->systemList->setCurrentIndex(1);
    QVERIFY(!m_panel->deleteSystemButton->isEnabled());
}

void DetectionPanelsTest::movingSliderUpdatesDisplayAndState()
{
    start({});
    m_panel->systemList->setCurrentIndex(2);
    m_panel->thresholdSlider->setValue(4);
    QCOMPARE(m_panel->thresholdLabel->text(), QStringLiteral("7"));
    QCOMPARE(m_panel->thresholdSlider->toolTip(), QStringLiteral("7"));
    QCOMPARE(m_state->sliderPosition(), 4);
    // The selector clamps; the slider shows what it decided.
    m_panel->systemList->setCurrentIndex(3);
    m_panel->thresholdSlider->setValue(-10);
    m_panel->systemList->setCurrentIndex(0);
    QCOMPARE(m_panel->thresholdSlider->value(), -3);
    QVERIFY(!m_panel->thresholdSlider->isEnabled());
}

void DetectionPanelsTest::savingFromSampledColours()
{
    start("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    m_panel->setSamplingChecked(true);
    m_custom->addSampledColour({10, 20, 30});
    m_custom->addSampledColour({11, 21, 31});
    QSignalSpy toggled(m_panel.get(), &DetectionSystemPanel::samplingToggled);
    m_dialogs->answerInput(QStringLiteral("Lesion"));
    QTest::mouseClick(m_custom->saveSystemButton, Qt::LeftButton);

    QCOMPARE(comboEntries(m_panel->systemList).mid(5), (QStringList{"Spot", "Lesion"}));
    QCOMPARE(m_panel->systemList->currentIndex(), 6);
    QCOMPARE(tableRows(m_custom->customSystemTable),
             (QStringList{"Spot,120,45,30", "Lesion,10,20,30"}));
    QCOMPARE(m_custom->customSystemTable->currentRow(), 1);
    // Sampling ended: switch unticked, list reset, the new system's colour active.
    QVERIFY(!m_panel->isSamplingChecked());
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(m_custom->sampledColourTable->rowCount(), 0);
    QVERIFY(!m_custom->saveSystemButton->isEnabled());
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("10,20,30"));
}

void DetectionPanelsTest::deletingKeepsListAndTableInStep()
{
    start(ThreeSystems);
    m_panel->systemList->setCurrentIndex(6);
    m_dialogs->answerMessage(MessageAnswer::Yes);
    QTest::mouseClick(m_panel->deleteSystemButton, Qt::LeftButton);

    QCOMPARE(comboEntries(m_panel->systemList).mid(5), (QStringList{"Spot", "Blight"}));
    QCOMPARE(tableRows(m_custom->customSystemTable),
             (QStringList{"Spot,120,45,30", "Blight,90,60,20"}));
    QCOMPARE(m_panel->systemList->currentIndex(), 0);
    QCOMPARE(m_state->systemIndex(), 0);
    QVERIFY(!m_panel->deleteSystemButton->isEnabled());
    QVERIFY(!m_panel->thresholdSlider->isEnabled());
    m_panel->systemList->setCurrentIndex(6);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    QCOMPARE(m_custom->customSystemTable->currentRow(), 1);
}

void DetectionPanelsTest::deletingAColourTakesItOutOfTheAverage_data()
{
    QTest::addColumn<QList<Rgb>>("picked");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QStringList>("rowsLeft");
    QTest::addColumn<QString>("average"); // empty: no colour left

    const QList<Rgb> three = {{10, 20, 30}, {11, 21, 31}, {12, 22, 32}};
    QTest::newRow("middle of three")
        << three << 1 << QStringList{"10,20,30,", "12,22,32,"} << "11,21,31";
    QTest::newRow("first of three") << three << 0 << QStringList{"11,21,31,", "12,22,32,"}
                                    << "12,22,32"; // 11.5, 21.5, 31.5 to the even neighbour
    QTest::newRow("the only colour") << QList<Rgb>{{10, 20, 30}} << 0 << QStringList() << "";
    QTest::newRow("empty list") << QList<Rgb>() << -1 << QStringList() << "";
}

void DetectionPanelsTest::deletingAColourTakesItOutOfTheAverage()
{
    QFETCH(QList<Rgb>, picked);
    QFETCH(int, currentRow);
    QFETCH(QStringList, rowsLeft);
    QFETCH(QString, average);
    start({});
    m_state->setCustomColour({1, 2, 3});
    for (const Rgb &colour : picked)
        m_custom->addSampledColour(colour);
    if (currentRow >= 0)
        m_custom->sampledColourTable->setCurrentCell(currentRow, 3);

    QTest::mouseClick(m_custom->deleteColourButton, Qt::LeftButton);

    QCOMPARE(tableRows(m_custom->sampledColourTable), rowsLeft);
    QCOMPARE(m_custom->samples().count(), rowsLeft.size());
    QCOMPARE(rgb(m_state->customColour()), average.isEmpty() ? QStringLiteral("0,0,0") : average);
    QCOMPARE(m_custom->saveSystemButton->isEnabled(), !average.isEmpty());
    const QColor swatch = average.isEmpty() ? m_custom->palette().color(QPalette::Window)
                                            : toColor(m_state->customColour());
    QCOMPARE(m_custom->averageColourSwatch->palette().color(QPalette::Window), swatch);
}

void DetectionPanelsTest::buttonsAndPointerShowTheirPictures()
{
    for (const QAbstractButton *button :
         {static_cast<QAbstractButton *>(m_panel->deleteSystemButton),
          static_cast<QAbstractButton *>(m_panel->colourSamplingSwitch),
          static_cast<QAbstractButton *>(m_custom->saveSystemButton)})
        QVERIFY2(drawnPixels(button) > button->iconSize().width(),
                 qPrintable(button->objectName()));
    // The sampling pointer picks the colour under the drop at the dropper's tip.
    const QCursor pointer = WorkspaceIcons::eyedropperCursor();
    const QImage image = pointer.pixmap().toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(image.pixelColor(pointer.hotSpot()), QColor(30, 140, 60));
}

QTEST_MAIN(DetectionPanelsTest)
#include "detection_panels_test.moc"
