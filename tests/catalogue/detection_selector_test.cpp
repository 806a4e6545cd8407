#include "catalogue_test_files.h"
#include "custom_detection_file.h"
#include "detection_colour_samples.h"
#include "detection_selector.h"
#include "scripted_dialogs.h"
#include "workspace_state.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace verdalis;

namespace {

const QString DuplicateMessage =
    QStringLiteral("Detection system name already exist. Please set another name.");
const QString QuoteMessage = QStringLiteral(
    "A detection system name cannot contain a double quote (\"). Please set another name.");
const QString LoadMessage =
    QStringLiteral("An error occurred when downloading detection systems.\n");
const QStringList BuiltIns = {"Leaf area only", "System 1", "System 2", "System 3", "System 4"};

} // namespace

// The selector over a program folder in a temporary directory. The scripted
// dialogs fail the test on any question nobody expected.
class DetectionSelectorTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsOnLeafAreaOnly();
    void selectionSetsThresholdsAndSlider_data();
    void selectionSetsThresholdsAndSlider();
    void customColourComesFromTheSelectedRow();
    void deleteButtonOnlyForCustomSystems_data();
    void deleteButtonOnlyForCustomSystems();
    void suppressedSelectionChangesNothing();
    void loadShowsOnlyWholeFiles_data();
    void loadShowsOnlyWholeFiles();
    void saveAsksUntilNameIsUsable_data();
    void saveAsksUntilNameIsUsable();
    void saveEndsSamplingThenReselects();
    void deleteRewritesFile_data();
    void deleteRewritesFile();
    void unwritableFileKeepsCatalogue();
    void sampleAverageRoundsHalvesToEven();

private:
    // Program folder with this custom file (none when empty), custom systems loaded.
    void start(const QByteArray &file);
    QString filePath() const { return customDetectionFilePath(m_folder->path()); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WorkspaceState> m_state;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<DetectionSelector> m_selector;
};

void DetectionSelectorTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<WorkspaceState>();
    m_state->setProgramFolder(m_folder->path());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_selector = std::make_unique<DetectionSelector>(*m_state, *m_dialogs);
}

void DetectionSelectorTest::cleanup()
{
    m_selector.reset();
    m_dialogs.reset(); // fails the test if a scripted answer was left unused
    m_state.reset();
    m_folder.reset();
}

void DetectionSelectorTest::start(const QByteArray &file)
{
    if (!file.isEmpty())
        writeBytes(filePath(), file);
    m_selector->loadCustomSystems();
}

void DetectionSelectorTest::startsOnLeafAreaOnly()
{
    start({});
    QVERIFY(m_dialogs->calls().isEmpty()); // a fresh installation has no file: no message
    QCOMPARE(m_selector->catalogue().names(), BuiltIns);
    QCOMPARE(m_selector->selectedIndex(), 0);
    // The slider's start (range -3..10, at 0, disabled) is checked on the panel.
    QCOMPARE(m_state->baseThreshold(), 25.0);
    QCOMPARE(m_state->thresholdStep(), 5);
}

void DetectionSelectorTest::selectionSetsThresholdsAndSlider_data()
{
    // Steps: "s<i>" selects entry i, "p<n>" moves the slider to n. Entry 5 is custom.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("display");
    QTest::addColumn<double>("baseThreshold");
    QTest::addColumn<int>("thresholdStep");

    QTest::newRow("System 3") << QStringList{"s3"} << -10 << 10 << 0 << true << 10 << 40.0 << 1;
    QTest::newRow("custom, then System 1")
        << QStringList{"s5", "s1"} << -3 << 20 << 0 << true << 3 << 25.0 << 5;
    QTest::newRow("custom resets the position")
        << QStringList{"s1", "p7", "s5"} << -10 << 20 << 0 << true << 10 << 50.0 << 5;
    QTest::newRow("System 3 at -10, then System 2 clamps")
        << QStringList{"s3", "p-10", "s2"} << -3 << 10 << -3 << true << 0 << 1750.0 << 50;
    QTest::newRow("custom at 20, then System 4 keeps 20")
        << QStringList{"s5", "p20", "s4"} << -3 << 20 << 20 << true << 23 << 330.0 << 10;
    QTest::newRow("slider clamped at both ends")
        << QStringList{"s1", "p15"} << -3 << 10 << 10 << true << 13 << 25.0 << 5;
    QTest::newRow("slider below its minimum")
        << QStringList{"s4", "p-7"} << -3 << 10 << -3 << true << 0 << 330.0 << 10;
    QTest::newRow("Leaf area only disables the slider")
        << QStringList{"s2", "p4", "s0"} << -3 << 10 << 4 << false << 7 << 25.0 << 5;
}

void DetectionSelectorTest::selectionSetsThresholdsAndSlider()
{
    QFETCH(QStringList, steps);
    start("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    int lastIndex = 0;
    for (const QString &step : steps) {
        const int value = step.mid(1).toInt();
        if (step.startsWith(u's')) {
            m_selector->select(value);
            lastIndex = value;
        } else {
            m_selector->setSliderPosition(value);
        }
    }
    const SliderState &slider = m_selector->slider();
    QTEST(slider.minimum, "minimum");
    QTEST(slider.maximum, "maximum");
    QTEST(slider.position, "position");
    QTEST(slider.enabled, "enabled");
    QTEST(slider.display(), "display");
    QTEST(m_state->baseThreshold(), "baseThreshold");
    QTEST(m_state->thresholdStep(), "thresholdStep");
    QCOMPARE(m_state->sliderPosition(), slider.position);
    QCOMPARE(m_state->systemIndex(), lastIndex);
    QCOMPARE(m_selector->selectedIndex(), lastIndex);
}

void DetectionSelectorTest::customColourComesFromTheSelectedRow()
{
    start(ThreeSystems);
    QSignalSpy systemChanged(m_state.get(), &WorkspaceState::systemChanged);
    // Whoever follows the system index must already see the new colour.
    Rgb colourSeenOnChange;
    connect(m_state.get(), &WorkspaceState::systemChanged, this,
            [&] { colourSeenOnChange = m_state->customColour(); });

    m_selector->select(6);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("200,100,0"));
    QCOMPARE(rgb(colourSeenOnChange), QStringLiteral("200,100,0"));
    m_selector->select(7);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    // A built-in system leaves the custom colour alone.
    m_selector->select(2);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("90,60,20"));
    QCOMPARE(systemChanged.count(), 3);
}

void DetectionSelectorTest::deleteButtonOnlyForCustomSystems_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("toolTip");
    for (int i = 0; i < 5; ++i)
        QTest::addRow("built-in %d", i) << i << false << QString();
    QTest::newRow("Spot") << 5 << true << "Delete \"Spot\" detection system";
    QTest::newRow("Blight") << 7 << true << "Delete \"Blight\" detection system";
}

void DetectionSelectorTest::deleteButtonOnlyForCustomSystems()
{
    QFETCH(int, index);
    start(ThreeSystems);
    m_selector->select(index == 0 ? 5 : 0); // come from the other kind
    m_selector->select(index);
    QTEST(m_selector->deleteButton().enabled, "enabled");
    QTEST(m_selector->deleteButton().toolTip, "toolTip");
}

void DetectionSelectorTest::suppressedSelectionChangesNothing()
{
    start(ThreeSystems);
    m_selector->select(3);
    QSignalSpy selection(m_selector.get(), &DetectionSelector::selectionChanged);
    m_selector->setSelectionSuppressed(true);
    m_selector->select(6);
    QCOMPARE(m_selector->selectedIndex(), 3);
    QCOMPARE(m_state->baseThreshold(), 40.0);
    QCOMPARE(m_selector->slider().minimum, -10);
    QCOMPARE(selection.count(), 0);
    m_selector->setSelectionSuppressed(false);
    m_selector->select(6);
    QCOMPARE(m_selector->selectedIndex(), 6);
}

void DetectionSelectorTest::loadShowsOnlyWholeFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QStringList>("customNames");

    QTest::newRow("no file") << QByteArray() << QString() << QStringList();
    QTest::newRow("three systems")
        << ThreeSystems << QString() << QStringList{"Spot", "Rust", "Blight"};
    QTest::newRow("count says 2, one record")
        << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n")
        << LoadMessage + "The file ends after 1 of 2 records." << QStringList();
}

void DetectionSelectorTest::loadShowsOnlyWholeFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QStringList, customNames);
    if (!message.isEmpty())
        m_dialogs->answerMessage(MessageAnswer::Ok);
    m_selector->select(3);
    QSignalSpy reset(m_selector.get(), &DetectionSelector::customSystemsReset);
    start(file);

    QCOMPARE(m_dialogs->messages(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Verdalis"));
        QCOMPARE(m_dialogs->lastCall().messageKind, MessageKind::Error);
    }
    QCOMPARE(m_selector->catalogue().names(), BuiltIns + customNames);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(m_selector->selectedIndex(), 0);
}

void DetectionSelectorTest::saveAsksUntilNameIsUsable_data()
{
    // Answers to the name box in order; "<cancel>" cancels it.
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("savedName"); // empty: nothing saved

    QTest::newRow("System 2 refused, system 2 accepted")
        << QStringList{"System 2", "system 2"} << QStringList{DuplicateMessage} << "system 2";
    QTest::newRow("existing custom name refused")
        << QStringList{"Spot", "Spot 2"} << QStringList{DuplicateMessage} << "Spot 2";
    QTest::newRow("double quote refused") << QStringList{"Leaf \"dark\" spot", "Leaf dark spot"}
                                          << QStringList{QuoteMessage} << "Leaf dark spot";
    QTest::newRow("Leaf area only refused twice, then cancel")
        << QStringList{"Leaf area only", "Leaf area only", "<cancel>"}
        << QStringList{DuplicateMessage, DuplicateMessage} << QString();
    QTest::newRow("empty name") << QStringList{""} << QStringList() << QString();
}

void DetectionSelectorTest::saveAsksUntilNameIsUsable()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, messages);
    QFETCH(QString, savedName);
    const QByteArray before("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    start(before);
    m_selector->select(3);
    m_selector->setSliderPosition(-6);
    m_state->setCustomColour({10, 20, 30});
    for (const QString &answer : answers) {
        if (answer == "<cancel>")
            m_dialogs->cancelInput();
        else
            m_dialogs->answerInput(answer);
        if (answer != answers.last())
            m_dialogs->answerMessage(MessageAnswer::Ok);
    }

    QCOMPARE(m_selector->saveNewSystem(), !savedName.isEmpty());

    QCOMPARE(m_dialogs->messages(), messages);
    for (const ScriptedDialogs::Call &call : m_dialogs->calls()) {
        if (call.kind == ScriptedDialogs::Kind::Input) {
            QCOMPARE(call.text, QStringLiteral("Please set the name of the new detection system"));
            QCOMPARE(call.title, QStringLiteral("Saving a new detection system"));
            QCOMPARE(call.defaultText, QString());
        } else {
            QCOMPARE(call.title, QStringLiteral("Verdalis"));
            QCOMPARE(call.messageKind, MessageKind::Warning);
        }
    }
    if (savedName.isEmpty()) {
        // Asking and comparing left everything as it was.
        QCOMPARE(m_selector->catalogue().count(), 6);
        QCOMPARE(m_selector->selectedIndex(), 3);
        QCOMPARE(m_state->baseThreshold(), 40.0);
        QCOMPARE(m_state->sliderPosition(), -6);
        QCOMPARE(readBytes(filePath()), before);
        return;
    }
    QCOMPARE(m_selector->catalogue().names().last(), savedName);
    QCOMPARE(m_selector->selectedIndex(), 6);
    QCOMPARE(m_state->systemIndex(), 6);
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("10,20,30"));
    QCOMPARE(readBytes(filePath()),
             "2" + before.mid(1) + "\"" + savedName.toUtf8() + "\",\"10\",\"20\",\"30\"\r\n");
}

void DetectionSelectorTest::saveEndsSamplingThenReselects()
{
    start({});
    m_state->setCustomColour({7, 8, 9});
    QStringList events;
    connect(m_selector.get(), &DetectionSelector::customSystemAppended, this,
            [&](int index) { events << QStringLiteral("appended %1").arg(index); });
    connect(m_selector.get(), &DetectionSelector::selectionChanged, this,
            [&](int index) { events << QStringLiteral("selected %1").arg(index); });
    // Ending the sampling resets its list and with it the custom colour.
    connect(m_selector.get(), &DetectionSelector::newSystemSaved, this, [&] {
        events << QStringLiteral("file %1").arg(QString::fromUtf8(readBytes(filePath()).left(3)));
        m_state->setCustomColour({0, 0, 0});
    });
    m_dialogs->answerInput(QStringLiteral("Lesion"));

    QVERIFY(m_selector->saveNewSystem());
    QCOMPARE(events, (QStringList{"appended 5", "selected 5", "file 1\r\n", "selected 5"}));
    QCOMPARE(rgb(m_state->customColour()), QStringLiteral("7,8,9"));
    QCOMPARE(m_selector->slider().minimum, -10);
    QCOMPARE(m_selector->slider().maximum, 20);
    QCOMPARE(m_selector->deleteButton().toolTip,
             QStringLiteral("Delete \"Lesion\" detection system"));
}

void DetectionSelectorTest::deleteRewritesFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::addColumn<QStringList>("customNames");

    QTest::newRow("the only custom system") << QByteArray("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n")
                                            << 5 << true << QByteArray("0\r\n") << QStringList();
    QTest::newRow("entry 6 of three")
        << ThreeSystems << 6 << true
        << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Blight\",\"90\",\"60\",\"20\"\r\n")
        << QStringList{"Spot", "Blight"};
    QTest::newRow("last of three") << ThreeSystems << 7 << true
                                   << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n"
                                                 "\"Rust\",\"200\",\"100\",\"0\"\r\n")
                                   << QStringList{"Spot", "Rust"};
    QTest::newRow("answered No") << ThreeSystems << 6 << false << ThreeSystems
                                 << QStringList{"Spot", "Rust", "Blight"};
}

void DetectionSelectorTest::deleteRewritesFile()
{
    QFETCH(QByteArray, file);
    QFETCH(int, index);
    QFETCH(bool, yes);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QStringList, customNames);
    start(file);
    m_selector->select(index);
    const QString name = m_selector->catalogue().at(index).name;
    QSignalSpy removed(m_selector.get(), &DetectionSelector::customSystemRemoved);
    m_dialogs->answerMessage(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QCOMPARE(m_selector->deleteSelectedSystem(), yes);

    const ScriptedDialogs::Call &question = m_dialogs->lastCall();
    QCOMPARE(question.text,
             QStringLiteral("Are you sure you want to delete \"%1\" detection system?").arg(name));
    QCOMPARE(question.title, QStringLiteral("Delete detection system"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.messageKind, MessageKind::Question);
    QCOMPARE(readBytes(filePath()), fileAfter);
    QCOMPARE(m_selector->catalogue().names(), BuiltIns + customNames);
    QCOMPARE(m_selector->selectedIndex(), yes ? 0 : index);
    QCOMPARE(m_state->systemIndex(), yes ? 0 : index);
    QCOMPARE(removed.count(), yes ? 1 : 0);
    if (yes)
        QCOMPARE(removed.first().first().toInt(), index);
}

void DetectionSelectorTest::unwritableFileKeepsCatalogue()
{
    start({});
    QVERIFY(QDir().mkdir(filePath())); // a folder where the file should be
    const QString messageStart =
        QStringLiteral("The detection systems could not be saved to ") + filePath() + u'\n';

    m_state->setCustomColour({1, 2, 3});
    m_dialogs->answerInput(QStringLiteral("Spot"));
    m_dialogs->answerMessage(MessageAnswer::Ok);
    QVERIFY(m_selector->saveNewSystem());
    QVERIFY(m_dialogs->lastCall().text.startsWith(messageStart));
    QVERIFY(m_dialogs->lastCall().text.size() > messageStart.size()); // and the reason
    QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Verdalis"));
    QCOMPARE(m_dialogs->lastCall().messageKind, MessageKind::Error);
    QCOMPARE(m_selector->catalogue().names(), BuiltIns + QStringList{"Spot"});
    QCOMPARE(m_selector->selectedIndex(), 5);

    m_dialogs->answerMessage(MessageAnswer::Yes);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    QVERIFY(m_selector->deleteSelectedSystem());
    QVERIFY(m_dialogs->lastCall().text.startsWith(messageStart));
    QCOMPARE(m_selector->catalogue().names(), BuiltIns);
}

void DetectionSelectorTest::sampleAverageRoundsHalvesToEven()
{
    DetectionColourSamples samples;
    QVERIFY(!samples.canSave());
    samples.add({10, 20, 30});
    samples.add({11, 21, 31});
    QCOMPARE(rgb(samples.average()), QStringLiteral("10,20,30")); // 10.5, 20.5, 30.5
    samples.add({12, 23, 32});
    QCOMPARE(rgb(samples.average()), QStringLiteral("11,21,31")); // 21.33 rounds down
    QVERIFY(samples.canSave());
    samples.reset();
    QCOMPARE(samples.count(), 0);
    QCOMPARE(rgb(samples.average()), QStringLiteral("0,0,0"));
    QVERIFY(!samples.canSave());
    samples.add({3, 4, 5});
    QCOMPARE(rgb(samples.average()), QStringLiteral("3,4,5")); // the sums were emptied too
}

QTEST_GUILESS_MAIN(DetectionSelectorTest)
#include "detection_selector_test.moc"
