// The detection-system catalogue: the custom detection file and the lookup by
// name, selecting, saving and deleting systems and the average of the sampled
// colours, without widgets; then the two panels over the selector, for what
// they show of its rules and that their controls reach it.
#include "../input/hostile_files.h"
#include "custom_detection_file.h"
#include "custom_detection_panel.h"
#include "detection_catalogue.h"
#include "detection_colour_samples.h"
#include "detection_selector.h"
#include "detection_system_panel.h"
#include "scripted_dialogs.h"
#include "workspace_icons.h"
#include "workspace_state.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace verdalis;
using namespace verdalis::test;

namespace {

// A custom detection file with three systems, as the program writes it.
const QByteArray ThreeSystems("3\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n"
                              "\"Rust\",\"200\",\"100\",\"0\"\r\n"
                              "\"Blight\",\"90\",\"60\",\"20\"\r\n");

const QString DuplicateMessage =
    QStringLiteral("Detection system name already exist. Please set another name.");
const QString QuoteMessage = QStringLiteral(
    "A detection system name cannot contain a double quote (\"). Please set another name.");
const QStringList BuiltIns = {"Leaf area only", "System 1", "System 2", "System 3", "System 4"};
const QByteArray OneSystem("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
// The count promises a record more than the file holds.
const QByteArray Damaged("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");

QString rgb(const Rgb &c)
{
    return QStringLiteral("%1,%2,%3").arg(c.red).arg(c.green).arg(c.blue);
}

// Name and colour are all the file keeps.
QStringList describe(const QList<DetectionSystem> &list)
{
    QStringList lines;
    for (const DetectionSystem &s : list)
        lines << s.name + u'|' + rgb(s.referenceColour.value_or(Rgb{-1, -1, -1}));
    return lines;
}

// A program folder in a temporary directory with the selector over it, as the
// main window holds them.
struct CatalogueRig {
    QTemporaryDir folder;
    WorkspaceState state;
    // Fails the test on a question nobody expected or an answer nobody asked for.
    ScriptedDialogs dialogs;
    DetectionSelector selector{state, dialogs};

    CatalogueRig() { state.setProgramFolder(folder.path()); }
    QString filePath() const { return customDetectionFilePath(folder.path()); }
    // Loads the custom systems of this file (none when empty).
    void start(const QByteArray &file)
    {
        if (!file.isEmpty())
            writeBytes(QDir(folder.path()), QStringLiteral("CustFile"), file);
        selector.loadCustomSystems();
    }
};

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

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void readsEveryAcceptedLayout();
    void refusesDamagedFileWhole();
    void findsSystemByName();
    void selectionSetsThresholdsAndSlider();
    void customColourComesFromTheSelectedRow();
    void suppressedSelectionChangesNothing();
    void loadShowsOnlyWholeFiles();
    void saveAsksUntilNameIsUsable();
    void deleteRewritesFile();
    void unwritableFileKeepsCatalogue();
    void deletingASampleKeepsTheAverageOfTheRest();
    void listTableAndSliderFollowTheSelection();
    void savingFromSampledColours();
    void deletingAColourTakesItOutOfTheAverage();
    void pointerPicksAtTheDroppersTip();
};

void CatalogueTest::readsEveryAcceptedLayout()
{
    const QStringList two = {"Spot|120,45,30", "Rust brown|200,100,0"};
    const struct {
        QByteArray bytes;
        QStringList expected;
    } layouts[] = {
        // LF alone and CR alone end lines too.
        {"2\n\"Spot\",\"120\",\"45\",\"30\"\r\"Rust brown\",\"200\",\"100\",\"0\"\n", two},
        // Line ends and commas mixed, blanks around them, no final line end.
        {"  2 \r\n\"Spot\" , \"120\"\r\n\"45\",\"30\"\r\n\r\n\"Rust brown\",\"200\",\r\n\"100\","
         "\"0\"",
         two},
        // Text after the counted records is ignored.
        {"1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Extra\",\"1\",\"2\",\"3\"\r\n",
         {"Spot|120,45,30"}},
        // Blanks, a comma and accents inside quotes are kept.
        {"1\r\n\" Mildiou, \xc3\xa9t\xc3\xa9 \",\" 7\",\"8 \",\"9\"\r\n",
         {QString::fromUtf8(" Mildiou, \xc3\xa9t\xc3\xa9 |7,8,9")}},
        // A legacy 8-bit encoding.
        {"1\r\n\"Rouille \xe9t\xe9\",\"1\",\"2\",\"3\"\r\n",
         {QString::fromUtf8("Rouille \xc3\xa9t\xc3\xa9|1,2,3")}},
    };
    for (const auto &layout : layouts) {
        QList<DetectionSystem> read;
        QString error;
        QVERIFY2(decodeCustomSystems(layout.bytes, &read, &error), qPrintable(error));
        QCOMPARE(describe(read), layout.expected);
    }
}

void CatalogueTest::refusesDamagedFileWhole()
{
    const QString notCount("The record count \"%1\" is not a whole number from 0 to 32767.");
    const QString notColour("Record %1 of %2: \"%3\" is not a colour value from 0 to 255.");
    const struct {
        QByteArray bytes;
        QString reason;
    } files[] = {
        {Damaged, "The file ends after 1 of 2 records."},
        {"", "The file holds no record count."},
        {"-1\r\n", notCount.arg("-1")},
        {"40000\r\n", notCount.arg("40000")},
        {"hello world\r\n", notCount.arg("hello world")},
        {"1\r\nSpot,\"1\",\"2\",\"3\"\r\n",
         "Record 1 of 1: a field does not start with a double quote."},
        {"1\r\n\"Spot,\"1\",\"2\",\"3\r\n", "Record 1 of 1: unexpected text after a field."},
        {"1\r\n\"Spot\",\"1\",\"2\",\"3\r\n",
         "Record 1 of 1: a field has no closing double quote."},
        {"1\r\n\"Spot\",\"256\",\"2\",\"3\"\r\n", notColour.arg(1).arg(1).arg(256)},
        {"2\r\n\"A\",\"1\",\"2\",\"3\"\r\n\"B\",\"1\",\"x\",\"3\"\r\n",
         notColour.arg(2).arg(2).arg("x")},
    };
    for (const auto &file : files) {
        QList<DetectionSystem> read{customDetectionSystem(QStringLiteral("Earlier"), {1, 2, 3})};
        QString error;
        QVERIFY(!decodeCustomSystems(file.bytes, &read, &error));
        QCOMPARE(error, file.reason);
        QVERIFY(read.isEmpty()); // never a partial catalogue
    }
}

// The lookup the command-line analyser uses.
void CatalogueTest::findsSystemByName()
{
    const struct {
        QByteArray file;
        QString name;
        QString found; // the index, then the system or the error; %1 is the file
    } lookups[] = {
        {Damaged, "System 1", "1 System 1|-1,-1,-1"},
        {ThreeSystems, "Rust", "6 Rust|200,100,0"},
        {ThreeSystems, "system 2", "-1 There is no detection system named \"system 2\"."},
        {Damaged, "Spot",
         "-1 The custom detection file %1 cannot be read.\nThe file ends after 1 of 2 records."},
    };
    for (const auto &l : lookups) {
        QTemporaryDir folder;
        const QString path = writeBytes(QDir(folder.path()), QStringLiteral("CustFile"), l.file);
        const DetectionSystemLookup lookup = findDetectionSystem(l.name, path);
        const QString found =
            lookup.found() ? describe({lookup.system}).constFirst() : lookup.error;
        QCOMPARE(QString::number(lookup.index) + u' ' + found,
                 QString(l.found).replace(QStringLiteral("%1"), path));
    }
}

void CatalogueTest::selectionSetsThresholdsAndSlider()
{
    // "s<i>" selects entry i, "p<n>" moves the slider to n. Entry 5 is custom.
    const struct {
        const char *steps;
        const char *expected;
    } walks[] = {
        {"s3", "-10..10 at 0, shows 10, threshold 40 step 1"},
        {"s5 s1", "-3..20 at 0, shows 3, threshold 25 step 5"},
        // A custom system resets the position.
        {"s1 p7 s5", "-10..20 at 0, shows 10, threshold 50 step 5"},
        // System 2 clamps the position, System 4 keeps the custom maximum.
        {"s3 p-10 s2", "-3..10 at -3, shows 0, threshold 1750 step 50"},
        {"s5 p20 s4", "-3..20 at 20, shows 23, threshold 330 step 10"},
        {"s1 p15", "-3..10 at 10, shows 13, threshold 25 step 5"},
        {"s4 p-7", "-3..10 at -3, shows 0, threshold 330 step 10"},
        {"s2 p4 s0", "-3..10 at 4 disabled, shows 7, threshold 25 step 5"},
    };
    for (const auto &walk : walks) {
        CatalogueRig c;
        c.start(OneSystem);
        int lastIndex = 0;
        for (const QString &step : QString::fromLatin1(walk.steps).split(u' ')) {
            const int value = step.mid(1).toInt();
            if (step.startsWith(u's'))
                c.selector.select(lastIndex = value);
            else
                c.selector.setSliderPosition(value);
        }
        const SliderState &slider = c.selector.slider();
        const QString seen = QStringLiteral("%1..%2 at %3%4, shows %5, threshold %6 step %7")
                                 .arg(slider.minimum)
                                 .arg(slider.maximum)
                                 .arg(slider.position)
                                 .arg(slider.enabled ? "" : " disabled")
                                 .arg(slider.display())
                                 .arg(c.state.baseThreshold())
                                 .arg(c.state.thresholdStep());
        QCOMPARE(walk.steps + QStringLiteral(": ") + seen,
                 walk.steps + QStringLiteral(": ") + walk.expected);
        QCOMPARE(c.state.sliderPosition(), slider.position);
        QCOMPARE(c.state.systemIndex(), lastIndex);
        QCOMPARE(c.selector.selectedIndex(), lastIndex);
    }
}

void CatalogueTest::customColourComesFromTheSelectedRow()
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

void CatalogueTest::suppressedSelectionChangesNothing()
{
    CatalogueRig c;
    c.start(ThreeSystems);
    c.selector.select(3);
    c.selector.setSelectionSuppressed(true);
    c.selector.select(6);
    QCOMPARE(c.selector.selectedIndex(), 3);
    QCOMPARE(c.state.baseThreshold(), 40.0);
    c.selector.setSelectionSuppressed(false);
    c.selector.select(6);
    QCOMPARE(c.selector.selectedIndex(), 6);
}

void CatalogueTest::loadShowsOnlyWholeFiles()
{
    // A fresh installation has no file: no message.
    CatalogueRig fresh;
    fresh.selector.select(3);
    fresh.start({});
    QCOMPARE(fresh.dialogs.messages(), QStringList());
    QCOMPARE(fresh.selector.selectedIndex(), 0);

    CatalogueRig c;
    c.dialogs.answerMessage(MessageAnswer::Ok);
    c.selector.select(3);
    c.start(Damaged);
    QCOMPARE(c.dialogs.messages(),
             QStringList{"An error occurred when downloading detection systems.\n" + c.filePath() +
                         ": The file ends after 1 of 2 records."});
    QCOMPARE(c.dialogs.lastCall().messageKind, MessageKind::Error);
    QCOMPARE(c.selector.catalogue().names(), BuiltIns);
    QCOMPARE(c.selector.selectedIndex(), 0);
}

void CatalogueTest::saveAsksUntilNameIsUsable()
{
    const QString Mildiou = QString::fromUtf8("Mildiou, feuille \xc3\xa9t\xc3\xa9");
    const struct {
        QStringList answers; // to the name box in order; "<cancel>" cancels it
        QStringList messages;
        QString savedName; // empty: nothing saved
    } saves[] = {
        // Names are compared case by case, built-in and custom alike.
        {{"System 2", "Spot", "system 2"}, {DuplicateMessage, DuplicateMessage}, "system 2"},
        // A comma and accents are written as they are.
        {{"Leaf \"dark\" spot", Mildiou}, {QuoteMessage}, Mildiou},
        {{"Leaf area only", "<cancel>"}, {DuplicateMessage}, ""},
        {{""}, {}, ""},
    };
    for (const auto &save : saves) {
        CatalogueRig c;
        c.start(OneSystem);
        c.selector.select(3);
        c.selector.setSliderPosition(-6);
        c.state.setCustomColour({10, 20, 30});
        for (const QString &answer : save.answers) {
            if (answer == "<cancel>")
                c.dialogs.cancelInput();
            else
                c.dialogs.answerInput(answer);
            if (answer != save.answers.last())
                c.dialogs.answerMessage(MessageAnswer::Ok);
        }

        QCOMPARE(c.selector.saveNewSystem(), !save.savedName.isEmpty());
        QCOMPARE(c.dialogs.messages(), save.messages);
        if (save.savedName.isEmpty()) {
            // Asking and comparing left everything as it was.
            QCOMPARE(c.selector.catalogue().count(), 6);
            QCOMPARE(c.selector.selectedIndex(), 3);
            QCOMPARE(c.state.baseThreshold(), 40.0);
            QCOMPARE(c.state.sliderPosition(), -6);
            QCOMPARE(readBytes(c.filePath()), OneSystem);
            continue;
        }
        QCOMPARE(c.selector.catalogue().names().last(), save.savedName);
        QCOMPARE(c.selector.selectedIndex(), 6);
        QCOMPARE(c.state.systemIndex(), 6);
        QCOMPARE(rgb(c.state.customColour()), QStringLiteral("10,20,30"));
        QCOMPARE(readBytes(c.filePath()), "2" + OneSystem.mid(1) + "\"" + save.savedName.toUtf8() +
                                              "\",\"10\",\"20\",\"30\"\r\n");
    }
}

void CatalogueTest::deleteRewritesFile()
{
    const struct {
        QByteArray file;
        int index;
        bool yes;
        QByteArray fileAfter;
        QStringList customNames;
    } deletions[] = {
        {OneSystem, 5, true, "0\r\n", {}},
        {ThreeSystems,
         6,
         true,
         "2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Blight\",\"90\",\"60\",\"20\"\r\n",
         {"Spot", "Blight"}},
        {ThreeSystems, 6, false, ThreeSystems, {"Spot", "Rust", "Blight"}},
    };
    for (const auto &d : deletions) {
        CatalogueRig c;
        c.start(d.file);
        c.selector.select(d.index);
        const QString name = c.selector.catalogue().at(d.index).name;
        c.dialogs.answerMessage(d.yes ? MessageAnswer::Yes : MessageAnswer::No);

        QCOMPARE(c.selector.deleteSelectedSystem(), d.yes);

        const ScriptedDialogs::Call &question = c.dialogs.lastCall();
        QCOMPARE(
            question.text,
            QStringLiteral("Are you sure you want to delete \"%1\" detection system?").arg(name));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(readBytes(c.filePath()), d.fileAfter);
        QCOMPARE(c.selector.catalogue().names(), BuiltIns + d.customNames);
        QCOMPARE(c.selector.selectedIndex(), d.yes ? 0 : d.index);
        QCOMPARE(c.state.systemIndex(), d.yes ? 0 : d.index);
    }
}

void CatalogueTest::unwritableFileKeepsCatalogue()
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
    QCOMPARE(c.selector.catalogue().names(), BuiltIns + QStringList{"Spot"});
    QCOMPARE(c.selector.selectedIndex(), 5);

    c.dialogs.answerMessage(MessageAnswer::Yes);
    c.dialogs.answerMessage(MessageAnswer::Ok);
    QVERIFY(c.selector.deleteSelectedSystem());
    QVERIFY(c.dialogs.lastCall().text.startsWith(messageStart));
    QCOMPARE(c.selector.catalogue().names(), BuiltIns);
}

void CatalogueTest::deletingASampleKeepsTheAverageOfTheRest()
{
    const QList<Rgb> three = {{10, 20, 30}, {11, 21, 31}, {12, 22, 32}};
    const struct {
        QList<Rgb> picked;
        int row; // the list's current row when Del is pressed
        QString left;
        QString average;
        QString next; // the average once 100,100,100 is picked next
    } deletions[] = {
        // 11.5, 21.5, 31.5 and 10.5, 20.5, 30.5 go to the even neighbour.
        {three, 0, "11,21,31 12,22,32", "12,22,32", "41,48,54"},
        {three, 2, "10,20,30 11,21,31", "10,20,30", "40,47,54"},
        {three, -1, "10,20,30 11,21,31 12,22,32", "11,21,31", "33,41,48"},
        // The last colour deleted empties the sums too.
        {{{10, 20, 30}}, 0, "", "0,0,0", "100,100,100"},
    };
    for (const auto &d : deletions) {
        DetectionColourSamples samples;
        for (const Rgb &colour : d.picked)
            samples.add(colour);
        samples.removeAt(d.row);

        QStringList listed;
        for (int i = 0; i < samples.count(); ++i)
            listed << rgb(samples.at(i));
        QCOMPARE(listed.join(u' '), d.left);
        QCOMPARE(rgb(samples.average()), d.average);
        QCOMPARE(samples.canSave(), !d.left.isEmpty());
        // The sums lost exactly the deleted colour.
        samples.add({100, 100, 100});
        QCOMPARE(rgb(samples.average()), d.next);
    }
}

void CatalogueTest::listTableAndSliderFollowTheSelection()
{
    PanelsRig c;
    c.start(ThreeSystems);
    QCOMPARE(comboEntries(c.panel.systemList).mid(4),
             (QStringList{"System 4", "Spot", "Rust", "Blight"}));
    QCOMPARE(tableRows(c.custom.customSystemTable),
             (QStringList{"Spot,120,45,30", "Rust,200,100,0", "Blight,90,60,20"}));
    c.panel.systemList->setCurrentIndex(5);
    QCOMPARE(c.state.systemIndex(), 5);
    QCOMPARE(c.custom.customSystemTable->currentRow(), 0);
    // The button shows the selector's verdict on the selection.
    QVERIFY(c.panel.deleteSystemButton->isEnabled());
    QCOMPARE(c.panel.deleteSystemButton->toolTip(),
             QStringLiteral("Delete \"Spot\" detection system"));
    c.panel.systemList->setCurrentIndex(4);
    QVERIFY(!c.panel.deleteSystemButton->isEnabled());

    // The slider: its position shown to its right; the selector clamps it and
    // the slider shows what it decided.
    c.panel.systemList->setCurrentIndex(2);
    c.panel.thresholdSlider->setValue(4);
    QCOMPARE(c.panel.thresholdLabel->text(), QStringLiteral("7"));
    QCOMPARE(c.state.sliderPosition(), 4);
    c.panel.systemList->setCurrentIndex(3);
    c.panel.thresholdSlider->setValue(-10);
    c.panel.systemList->setCurrentIndex(0);
    QCOMPARE(c.panel.thresholdSlider->value(), -3);
    QVERIFY(!c.panel.thresholdSlider->isEnabled());

    // Deleting keeps list entries and table rows naming the same systems.
    c.panel.systemList->setCurrentIndex(6);
    c.dialogs.answerMessage(MessageAnswer::Yes);
    QTest::mouseClick(c.panel.deleteSystemButton, Qt::LeftButton);
    QCOMPARE(comboEntries(c.panel.systemList).mid(5), (QStringList{"Spot", "Blight"}));
    QCOMPARE(tableRows(c.custom.customSystemTable),
             (QStringList{"Spot,120,45,30", "Blight,90,60,20"}));
    QCOMPARE(c.panel.systemList->currentIndex(), 0);
    c.panel.systemList->setCurrentIndex(6);
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("90,60,20"));
    QCOMPARE(c.custom.customSystemTable->currentRow(), 1);
}

void CatalogueTest::savingFromSampledColours()
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
    QCOMPARE(rgb(c.state.customColour()), QStringLiteral("10,20,30"));
}

// The average's arithmetic is the samples' (above); here, that
// Del takes the current row out of the table, the average, the swatch and the
// Save button's verdict.
void CatalogueTest::deletingAColourTakesItOutOfTheAverage()
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
void CatalogueTest::pointerPicksAtTheDroppersTip()
{
    const QCursor pointer = WorkspaceIcons::eyedropperCursor();
    const QImage image = pointer.pixmap().toImage();
    QCOMPARE(image.pixelColor(pointer.hotSpot()), QColor(30, 140, 60));
}

QTEST_MAIN(CatalogueTest)
#include "catalogue_test.moc"
