#include "catalogue_rig.h"
#include "detection_colour_samples.h"

#include <QDir>
#include <QTest>

#include <cmath>

using namespace verdalis;

Q_DECLARE_METATYPE(QList<Rgb>)

namespace {

const QString DuplicateMessage =
    QStringLiteral("Detection system name already exist. Please set another name.");
const QString QuoteMessage = QStringLiteral(
    "A detection system name cannot contain a double quote (\"). Please set another name.");
const QString LoadMessage =
    QStringLiteral("An error occurred when downloading detection systems.\n");
const QStringList BuiltIns = {"Leaf area only", "System 1", "System 2", "System 3", "System 4"};

} // namespace

class DetectionSelectorTest : public QObject {
    Q_OBJECT
private slots:
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
    void deleteRewritesFile_data();
    void deleteRewritesFile();
    void unwritableFileKeepsCatalogue();
    void resetEmptiesTheSamples();
    void deletingASampleKeepsTheAverageOfTheRest_data();
    void deletingASampleKeepsTheAverageOfTheRest();
};

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
    CatalogueRig c;
    QFETCH(QStringList, steps);
    c.start("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    int lastIndex = 0;
    for (const QString &step : steps) {
        const int value = step.mid(1).toInt();
        if (step.startsWith(u's')) {
            c.selector.select(value);
            lastIndex = value;
        } else {
            c.selector.setSliderPosition(value);
        }
    }
    const SliderState &slider = c.selector.slider();
    QTEST(slider.minimum, "minimum");
    QTEST(slider.maximum, "maximum");
    QTEST(slider.position, "position");
    QTEST(slider.enabled, "enabled");
    QTEST(slider.display(), "display");
    QTEST(c.state.baseThreshold(), "baseThreshold");
    QTEST(c.state.thresholdStep(), "thresholdStep");
    QCOMPARE(c.state.sliderPosition(), slider.position);
    QCOMPARE(c.state.systemIndex(), lastIndex);
    QCOMPARE(c.selector.selectedIndex(), lastIndex);
}

void DetectionSelectorTest::customColourComesFromTheSelectedRow()
{
    CatalogueRig c;
    c.start(ThreeSystems);
    // Whoever follows the system index must already see the new colour.
    Rgb colourSeenOnChange;
    connect(&c.state, &WorkspaceState::systemChanged, this,
            [&] { colourSeenOnChange = c.state.customColour(); });

    c.selector.select(6);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("200,100,0"));
    QCOMPARE(rgb(colourSeenOnChange), QStringLiteral("200,100,0"));
    c.selector.select(7);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("90,60,20"));
    // A built-in system leaves the custom colour alone.
    c.selector.select(2);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("90,60,20"));
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
    CatalogueRig c;
    QFETCH(int, index);
    c.start(ThreeSystems);
    c.selector.select(index == 0 ? 5 : 0); // come from the other kind
    c.selector.select(index);
    QTEST(c.selector.deleteButton().enabled, "enabled");
    QTEST(c.selector.deleteButton().toolTip, "toolTip");
}

void DetectionSelectorTest::suppressedSelectionChangesNothing()
{
    CatalogueRig c;
    c.start(ThreeSystems);
    c.selector.select(3);
    c.selector.setSelectionSuppressed(true);
    c.selector.select(6);
    QCOMPARE(c.selector.selectedIndex(), 3);
    QCOMPARE(c.state.baseThreshold(), 40.0);
    QCOMPARE(c.selector.slider().minimum, -10);
    c.selector.setSelectionSuppressed(false);
    c.selector.select(6);
    QCOMPARE(c.selector.selectedIndex(), 6);
}

void DetectionSelectorTest::loadShowsOnlyWholeFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message"); // empty: none; %F is the file
    QTest::addColumn<QStringList>("customNames");

    // A fresh installation has no file: no message.
    QTest::newRow("no file") << QByteArray() << QString() << QStringList();
    QTest::newRow("three systems")
        << ThreeSystems << QString() << QStringList{"Spot", "Rust", "Blight"};
    QTest::newRow("count says 2, one record")
        << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n")
        << LoadMessage + "%F: The file ends after 1 of 2 records." << QStringList();
}

void DetectionSelectorTest::loadShowsOnlyWholeFiles()
{
    CatalogueRig c;
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QStringList, customNames);
    message.replace(QStringLiteral("%F"), c.filePath());
    if (!message.isEmpty())
        c.dialogs.answerMessage(MessageAnswer::Ok);
    c.selector.select(3);
    c.start(file);

    QCOMPARE(c.dialogs.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(c.dialogs.lastCall().title, QStringLiteral("Verdalis"));
        QCOMPARE(c.dialogs.lastCall().messageKind, MessageKind::Error);
    }
    QCOMPARE(c.selector.catalogue().names(), BuiltIns + customNames);
    QCOMPARE(c.selector.selectedIndex(), 0);
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
    CatalogueRig c;
    QFETCH(QStringList, answers);
    QFETCH(QStringList, messages);
    QFETCH(QString, savedName);
    const QByteArray before("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    c.start(before);
    c.selector.select(3);
    c.selector.setSliderPosition(-6);
    c.state.setCustomColour({10, 20, 30});
    for (const QString &answer : answers) {
        if (answer == "<cancel>")
            c.dialogs.cancelInput();
        else
            c.dialogs.answerInput(answer);
        if (answer != answers.last())
            c.dialogs.answerMessage(MessageAnswer::Ok);
    }

    QCOMPARE(c.selector.saveNewSystem(), !savedName.isEmpty());

    QCOMPARE(c.dialogs.messages(), messages);
    if (savedName.isEmpty()) {
        // Asking and comparing left everything as it was.
        QCOMPARE(c.selector.catalogue().count(), 6);
        QCOMPARE(c.selector.selectedIndex(), 3);
        QCOMPARE(c.state.baseThreshold(), 40.0);
        QCOMPARE(c.state.sliderPosition(), -6);
        QCOMPARE(readBytes(c.filePath()), before);
        return;
    }
    QCOMPARE(c.selector.catalogue().names().last(), savedName);
    QCOMPARE(c.selector.selectedIndex(), 6);
    QCOMPARE(c.state.systemIndex(), 6);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("10,20,30"));
    QCOMPARE(readBytes(c.filePath()),
             "2" + before.mid(1) + "\"" + savedName.toUtf8() + "\",\"10\",\"20\",\"30\"\r\n");
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
    QTest::newRow("answered No") << ThreeSystems << 6 << false << ThreeSystems
                                 << QStringList{"Spot", "Rust", "Blight"};
}

void DetectionSelectorTest::deleteRewritesFile()
{
    CatalogueRig c;
    QFETCH(QByteArray, file);
    QFETCH(int, index);
    QFETCH(bool, yes);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QStringList, customNames);
    c.start(file);
    c.selector.select(index);
    const QString name = c.selector.catalogue().at(index).name;
    c.dialogs.answerMessage(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QCOMPARE(c.selector.deleteSelectedSystem(), yes);

    const ScriptedDialogs::Call &question = c.dialogs.lastCall();
    QCOMPARE(question.text,
             QStringLiteral("Are you sure you want to delete \"%1\" detection system?").arg(name));
    QCOMPARE(question.title, QStringLiteral("Delete detection system"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(readBytes(c.filePath()), fileAfter);
    QCOMPARE(c.selector.catalogue().names(), BuiltIns + customNames);
    QCOMPARE(c.selector.selectedIndex(), yes ? 0 : index);
    QCOMPARE(c.state.systemIndex(), yes ? 0 : index);
}

void DetectionSelectorTest::unwritableFileKeepsCatalogue()
{
    CatalogueRig c;
    c.start({});
    QVERIFY(QDir().mkdir(c.filePath())); // a folder where the file should be
    const QString messageStart =
        QStringLiteral("The detection systems could not be saved to ") + c.filePath() + u'\n';

    c.state.setCustomColour({1, 2, 3});
    c.dialogs.answerInput(QStringLiteral("Spot"));
    c.dialogs.answerMessage(MessageAnswer::Ok);
    QVERIFY(c.selector.saveNewSystem());
    QVERIFY(c.dialogs.lastCall().text.startsWith(messageStart));
    QVERIFY(c.dialogs.lastCall().text.size() > messageStart.size()); // and the reason
    QCOMPARE(c.dialogs.lastCall().title, QStringLiteral("Verdalis"));
    QCOMPARE(c.dialogs.lastCall().messageKind, MessageKind::Error);
    QCOMPARE(c.selector.catalogue().names(), BuiltIns + QStringList{"Spot"});
    QCOMPARE(c.selector.selectedIndex(), 5);

    c.dialogs.answerMessage(MessageAnswer::Yes);
    c.dialogs.answerMessage(MessageAnswer::Ok);
    QVERIFY(c.selector.deleteSelectedSystem());
    QVERIFY(c.dialogs.lastCall().text.startsWith(messageStart));
    QCOMPARE(c.selector.catalogue().names(), BuiltIns);
}

// Halves go to the even neighbour (the rows below); a reset empties the sums too.
void DetectionSelectorTest::resetEmptiesTheSamples()
{
    DetectionColourSamples samples;
    samples.add({10, 20, 30});
    samples.add({12, 23, 32});
    samples.reset();
    QCOMPARE(samples.count(), 0);
    QVERIFY(!samples.canSave());
    samples.add({3, 4, 5});
    QCOMPARE(rgb(samples.average()), QStringLiteral("3,4,5"));
}

void DetectionSelectorTest::deletingASampleKeepsTheAverageOfTheRest_data()
{
    QTest::addColumn<QList<Rgb>>("picked");
    QTest::addColumn<int>("row"); // the list's current row when Del is pressed
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("average");

    const QList<Rgb> three = {{10, 20, 30}, {11, 21, 31}, {12, 22, 32}};
    // 11.5, 21.5, 31.5 and 10.5, 20.5, 30.5 go to the even neighbour.
    QTest::newRow("first of three") << three << 0 << "11,21,31 12,22,32"
                                    << "12,22,32";
    QTest::newRow("middle of three") << three << 1 << "10,20,30 12,22,32"
                                     << "11,21,31";
    QTest::newRow("last of three") << three << 2 << "10,20,30 11,21,31"
                                   << "10,20,30";
    QTest::newRow("no current row") << three << -1 << "10,20,30 11,21,31 12,22,32"
                                    << "11,21,31";
    QTest::newRow("the only colour") << QList<Rgb>{{10, 20, 30}} << 0 << ""
                                     << "0,0,0";
    QTest::newRow("empty list") << QList<Rgb>() << -1 << ""
                                << "0,0,0";
}

void DetectionSelectorTest::deletingASampleKeepsTheAverageOfTheRest()
{
    QFETCH(QList<Rgb>, picked);
    QFETCH(int, row);
    QFETCH(QString, left);
    QFETCH(QString, average);
    DetectionColourSamples samples;
    for (const Rgb &colour : picked)
        samples.add(colour);
    samples.removeAt(row);

    QStringList listed;
    for (int i = 0; i < samples.count(); ++i)
        listed << rgb(samples.at(i));
    QCOMPARE(listed.join(u' '), left);
    QCOMPARE(rgb(samples.average()), average);
    QCOMPARE(samples.canSave(), !left.isEmpty());
    // The sums lost exactly the deleted colour: a colour picked next averages
    // with the colours listed and nothing else.
    samples.add({100, 100, 100});
    double sum = 100.0;
    for (int i = 0; i < samples.count() - 1; ++i)
        sum += samples.at(i).red;
    QCOMPARE(samples.average().red, int(std::nearbyint(sum / samples.count())));
}

QTEST_GUILESS_MAIN(DetectionSelectorTest)
#include "detection_selector_test.moc"
