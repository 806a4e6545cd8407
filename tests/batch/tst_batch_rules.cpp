// Picture sets and the batch run without any widget: the set table's rows and
// numbering, the picture-set window's rules, and a run driven through a
// stand-in for the main window.
#include "batch_run.h"
#include "picture_set.h"
#include "picture_set_rules.h"
#include "scripted_dialogs.h"
#include "workspace_state.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

using namespace verdalis;

namespace {

SetPicture picture(const QString &name)
{
    return {name, QStringLiteral("/scans/") + name + QStringLiteral(".bmp")};
}

// The set table as a view shows it: number, line name, path of every row.
QStringList tableRows(const PictureSet &set)
{
    QStringList rows;
    for (int row = 0; row < set.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < set.columnCount(); ++column)
            cells << set.data(set.index(row, column)).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The main window as a run sees it: loading fails for the paths listed as
// unreadable; everything asked is written down in order.
class RecordingHost : public BatchHost {
public:
    QHash<QString, QString> unreadable; // path -> reason
    QStringList log;
    int loadsInProgress = 0;

    void prepareResultsTable(int rows) override { log << QStringLiteral("prepare %1").arg(rows); }
    bool loadSetPicture(const QString &lineName, const QString &path, QString *reason) override
    {
        log << QStringLiteral("load ") + lineName;
        if (unreadable.contains(path)) {
            *reason = unreadable.value(path);
            return false;
        }
        ++loadsInProgress;
        return true;
    }
    void prefetchSetPicture(const QString &path) override
    {
        log << (path.isEmpty() ? QStringLiteral("drop") : QStringLiteral("read ahead ") + path);
    }
    void recordBatchRow(AnalysisResult &result) override
    {
        log << QStringLiteral("row %1 %2").arg(result.pictureName).arg(result.leafArea);
    }
    void recordEmptyBatchRow(const QString &lineName) override
    {
        log << QStringLiteral("empty row ") + lineName;
    }
    void endRun() override { log << QStringLiteral("end"); }
};

AnalysisResult analysed(const QString &name, double leafArea)
{
    AnalysisResult result;
    result.pictureName = name;
    result.leafArea = leafArea;
    return result;
}

} // namespace

class BatchRulesTest : public QObject {
    Q_OBJECT
private slots:
    void firstPictureFillsTheEmptyRow();
    void rowsStayNumberedAfterRemoving_data();
    void rowsStayNumberedAfterRemoving();
    void fullSetRefusesAndKeepsItsPictures();
    void pathLabel_data();
    void pathLabel();
    void offeredLineName_data();
    void offeredLineName();

    void runRecordsEveryPictureInSetOrder();
    void unreadablePicturesAreListedOnceAtTheEnd();
    void pictureThatCannotBeAnalysedIsListedToo();
    void abandonedSetEndsAfterThePictureInProgress();
    void runsNeverOverlap();
};

void BatchRulesTest::firstPictureFillsTheEmptyRow()
{
    PictureSet set;
    QCOMPARE(tableRows(set), QStringList{"||"});
    QVERIFY(set.add(picture("leaf1")));
    QCOMPARE(tableRows(set), QStringList{"1|leaf1|/scans/leaf1.bmp"});
    QVERIFY(set.add(picture("leaf2")));
    QVERIFY(set.add({picture("leaf3"), picture("leaf1")}));
    QCOMPARE(tableRows(set), (QStringList{"1|leaf1|/scans/leaf1.bmp", "2|leaf2|/scans/leaf2.bmp",
                                          "3|leaf3|/scans/leaf3.bmp", "4|leaf1|/scans/leaf1.bmp"}));
}

void BatchRulesTest::rowsStayNumberedAfterRemoving_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("middle") << 3 << 1 << QStringList{"1|p0|/scans/p0.bmp", "2|p2|/scans/p2.bmp"};
    QTest::newRow("first") << 2 << 0 << QStringList{"1|p1|/scans/p1.bmp"};
    QTest::newRow("last") << 2 << 1 << QStringList{"1|p0|/scans/p0.bmp"};
    QTest::newRow("the only one leaves the empty row") << 1 << 0 << QStringList{"||"};
}

void BatchRulesTest::rowsStayNumberedAfterRemoving()
{
    QFETCH(int, pictures);
    QFETCH(int, removed);
    QFETCH(QStringList, rows);
    PictureSet set;
    for (int i = 0; i < pictures; ++i)
        set.add(picture(QStringLiteral("p%1").arg(i)));
    set.removeAt(removed);
    QCOMPARE(tableRows(set), rows);
}

void BatchRulesTest::fullSetRefusesAndKeepsItsPictures()
{
    PictureSet set;
    QVector<SetPicture> many(PictureSet::MaxPictures - 1, picture("p"));
    QVERIFY(set.add(many));
    // Two more do not fit: neither is added.
    QVERIFY(!set.add({picture("a"), picture("b")}));
    QCOMPARE(set.count(), PictureSet::MaxPictures - 1);
    QVERIFY(set.add(picture("last")));
    QCOMPARE(set.data(set.index(32765, 0)).toString(), QStringLiteral("32766"));
    QVERIFY(!set.add(picture("one too many")));
    QCOMPARE(set.count(), 32766);
    QCOMPARE(set.pictures().constLast(), picture("last"));
    QCOMPARE(PictureSetRules::setFullText(32766, 1),
             QStringLiteral("A picture set holds at most 32766 pictures. This set has 32766, "
                            "so the 1 to add do not fit; none was added."));
}

void BatchRulesTest::pathLabel_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("namesFile");
    QTest::newRow("folder") << "/scans/2024"
                            << ""
                            << "/scans/2024/" << false;
    QTest::newRow("file") << "/scans/2024"
                          << "leaf12.bmp"
                          << "/scans/2024/leaf12.bmp" << true;
    QTest::newRow("short folder") << "/ab"
                                  << "x.jpg"
                                  << "/ab/x.jpg" << true;
    QTest::newRow("root") << "/"
                          << ""
                          << "/" << false;
    QTest::newRow("file in the root") << "/"
                                      << "leaf.bmp"
                                      << "/leaf.bmp" << true;
}

void BatchRulesTest::pathLabel()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, label);
    QFETCH(bool, namesFile);
    QCOMPARE(PictureSetRules::pathLabel(folder, file), QDir::toNativeSeparators(label));
    QCOMPARE(PictureSetRules::labelNamesFile(PictureSetRules::pathLabel(folder, file)), namesFile);
}

void BatchRulesTest::offeredLineName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("lineName");
    QTest::newRow("bitmap") << "leaf12.bmp"
                            << "leaf12";
    QTest::newRow("upper case") << "LEAF.JPG"
                                << "LEAF";
    QTest::newRow("dots and blanks") << "plot 3.rep.2.jpg"
                                     << "plot 3.rep.2";
    QTest::newRow("short") << "a.b"
                           << "";
}

void BatchRulesTest::offeredLineName()
{
    QFETCH(QString, file);
    QFETCH(QString, lineName);
    QCOMPARE(PictureSetRules::offeredLineName(file), lineName);
}

void BatchRulesTest::runRecordsEveryPictureInSetOrder()
{
    WorkspaceState state;
    RecordingHost host;
    ScriptedDialogs dialogs;
    BatchRun run(state, host, dialogs);
    QSignalSpy started(&run, &BatchRun::pictureStarted);
    QSignalSpy finished(&run, &BatchRun::finished);

    QVERIFY(run.start({picture("b"), picture("a"), picture("b")}));
    QVERIFY(state.isBatchActive());
    // The next picture is read ahead while this one is analysed.
    QCOMPARE(host.log, (QStringList{"prepare 4", "load b", "read ahead /scans/a.bmp"}));
    // The next picture is loaded from the event loop, after the row is written.
    run.pictureAnalysed(analysed("b", 1.5));
    QCOMPARE(host.log.constLast(), QStringLiteral("row b 1.5"));
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("read ahead /scans/b.bmp"));
    run.pictureAnalysed(analysed("a", 2));
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("load b"));
    run.pictureAnalysed(analysed("b", 3));
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(host.log, (QStringList{"prepare 4", "load b", "read ahead /scans/a.bmp", "row b 1.5",
                                    "load a", "read ahead /scans/b.bmp", "row a 2", "load b",
                                    "row b 3", "drop", "end"}));
    QCOMPARE(started.count(), 3);
    QCOMPARE(started.at(2).at(0).toInt(), 2);
    QVERIFY(!state.isBatchActive());
    QVERIFY(!run.isRunning());
    QVERIFY(dialogs.calls().isEmpty());

    // A result that comes after the run (a single analysis) is not recorded;
    // a second run lays the table out afresh.
    run.pictureAnalysed(analysed("single", 9));
    QCOMPARE(host.log.constLast(), QStringLiteral("end"));
    host.log.clear();
    QVERIFY(run.start({picture("c")}));
    QCOMPARE(host.log, (QStringList{"prepare 2", "load c"}));
}

void BatchRulesTest::unreadablePicturesAreListedOnceAtTheEnd()
{
    WorkspaceState state;
    RecordingHost host;
    host.unreadable.insert(QStringLiteral("/scans/gone.bmp"), QStringLiteral("File not found"));
    host.unreadable.insert(QStringLiteral("/scans/bad.bmp"),
                           QStringLiteral("Unsupported image format"));
    ScriptedDialogs dialogs;
    BatchRun run(state, host, dialogs);

    // Unreadable pictures in a row, before and after a good one, and at the end.
    QVERIFY(run.start({picture("gone"), picture("bad"), picture("ok"), picture("gone")}));
    QCOMPARE(host.log, (QStringList{"prepare 5", "load gone", "empty row gone", "load bad",
                                    "empty row bad", "load ok", "read ahead /scans/gone.bmp"}));
    QVERIFY(dialogs.calls().isEmpty());
    dialogs.answerMessage(MessageAnswer::Ok);
    run.pictureAnalysed(analysed("ok", 4));
    QTRY_VERIFY(!run.isRunning());
    QCOMPARE(host.log.mid(7),
             (QStringList{"row ok 4", "load gone", "empty row gone", "drop", "end"}));
    QCOMPARE(dialogs.calls().size(), 1);
    const QString sep = QDir::separator();
    QCOMPARE(dialogs.lastCall().text,
             QStringLiteral("3 pictures of the set could not be analysed; their rows have no "
                            "figures:\n"
                            "gone (%1scans%1gone.bmp): File not found\n"
                            "bad (%1scans%1bad.bmp): Unsupported image format\n"
                            "gone (%1scans%1gone.bmp): File not found")
                 .arg(sep));
    QCOMPARE(dialogs.lastCall().title, QStringLiteral("Verdalis"));

    // A long list names the first twenty.
    QStringList lines;
    for (int i = 1; i <= 25; ++i)
        lines << QStringLiteral("p%1").arg(i);
    const QStringList text = BatchRun::unreadPicturesText(lines).split(QLatin1Char('\n'));
    QCOMPARE(text.size(), 22);
    QCOMPARE(text.at(20), QStringLiteral("p20"));
    QCOMPARE(text.at(21), QStringLiteral("and 5 more."));
}

void BatchRulesTest::pictureThatCannotBeAnalysedIsListedToo()
{
    WorkspaceState state;
    RecordingHost host;
    ScriptedDialogs dialogs;
    BatchRun run(state, host, dialogs);
    QVERIFY(run.start({picture("huge"), picture("small")}));
    run.pictureFailed(QStringLiteral("not enough memory"));
    QCOMPARE(host.log.constLast(), QStringLiteral("empty row huge"));
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("load small"));
    dialogs.answerMessage(MessageAnswer::Ok);
    run.pictureAnalysed(analysed("small", 1));
    QTRY_VERIFY(!run.isRunning());
    QVERIFY(dialogs.lastCall().text.endsWith(
        QStringLiteral("huge (%1scans%1huge.bmp): not enough memory").arg(QDir::separator())));
}

void BatchRulesTest::abandonedSetEndsAfterThePictureInProgress()
{
    WorkspaceState state;
    RecordingHost host;
    ScriptedDialogs dialogs;
    BatchRun run(state, host, dialogs);
    QVERIFY(run.start({picture("a"), picture("b"), picture("c")}));
    run.abandonSet();
    QVERIFY(run.isRunning());
    QVERIFY(state.isBatchActive());
    run.pictureAnalysed(analysed("a", 1));
    QTRY_VERIFY(!run.isRunning());
    // What was read ahead is let go.
    QCOMPARE(host.log, (QStringList{"prepare 4", "load a", "read ahead /scans/b.bmp", "row a 1",
                                    "drop", "end"}));

    // Between two pictures: the next one is never loaded.
    host.log.clear();
    QVERIFY(run.start({picture("a"), picture("b")}));
    run.pictureAnalysed(analysed("a", 1));
    run.abandonSet();
    QTRY_VERIFY(!run.isRunning());
    QCOMPARE(host.log, (QStringList{"prepare 3", "load a", "read ahead /scans/b.bmp", "row a 1",
                                    "drop", "end"}));
}

void BatchRulesTest::runsNeverOverlap()
{
    WorkspaceState state;
    RecordingHost host;
    ScriptedDialogs dialogs;
    BatchRun run(state, host, dialogs);
    QVERIFY(!run.start({}));
    QVERIFY(!state.isBatchActive());
    QVERIFY(run.start({picture("a"), picture("b")}));
    QVERIFY(!run.start({picture("c")}));
    // One result per picture loaded: a second one for the same picture is not
    // a row of its own.
    run.pictureAnalysed(analysed("a", 1));
    run.pictureAnalysed(analysed("a", 1));
    QTRY_COMPARE(host.loadsInProgress, 2);
    QCOMPARE(host.log,
             (QStringList{"prepare 3", "load a", "read ahead /scans/b.bmp", "row a 1", "load b"}));
}

QTEST_GUILESS_MAIN(BatchRulesTest)
#include "tst_batch_rules.moc"
