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

    void prepareResultsTable(int rows) override { log << QStringLiteral("prepare %1").arg(rows); }
    bool loadSetPicture(const QString &lineName, const QString &path, QString *reason) override
    {
        log << QStringLiteral("load ") + lineName;
        *reason = unreadable.value(path);
        return !unreadable.contains(path);
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

struct RunRig {
    WorkspaceState state;
    RecordingHost host;
    ScriptedDialogs dialogs;
    BatchRun run{state, host, dialogs};

    void analysed(const QString &name, double leafArea)
    {
        run.pictureAnalysed(AnalysisResult{leafArea, 0.0, 0.0, name});
    }
};

} // namespace

class BatchRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rowsStayNumbered();
    void fullSetRefusesAndKeepsItsPictures();
    void namesOfFiles();
    void runRecordsEveryPictureInSetOrder();
    void unreadablePicturesAreListedOnceAtTheEnd();
    void abandonedSetEndsAfterThePictureInProgress();
};

// The empty set's one row is filled by the first picture; rows after a removed
// one move up and take new numbers; the last one removed leaves the empty row.
void BatchRulesTest::rowsStayNumbered()
{
    PictureSet set;
    QCOMPARE(tableRows(set), QStringList{"||"});
    QVERIFY(set.add(picture("a")));
    QCOMPARE(tableRows(set), QStringList{"1|a|/scans/a.bmp"});
    QVERIFY(set.add({picture("b"), picture("c"), picture("a")}));
    set.removeAt(1);
    QCOMPARE(tableRows(set),
             (QStringList{"1|a|/scans/a.bmp", "2|c|/scans/c.bmp", "3|a|/scans/a.bmp"}));
    for (int i = 0; i < 3; ++i)
        set.removeAt(0);
    QCOMPARE(tableRows(set), QStringList{"||"});
}

void BatchRulesTest::fullSetRefusesAndKeepsItsPictures()
{
    PictureSet set;
    QVERIFY(set.add(QVector<SetPicture>(PictureSet::MaxPictures - 1, picture("p"))));
    // Two more do not fit: neither is added.
    QVERIFY(!set.add({picture("a"), picture("b")}));
    QVERIFY(set.add(picture("last")));
    QCOMPARE(set.data(set.index(32765, 0)).toString(), QStringLiteral("32766"));
    QVERIFY(!set.add(picture("one too many")));
    QCOMPARE(set.count(), 32766);
    QCOMPARE(set.pictures().constLast(), picture("last"));
    QCOMPARE(PictureSetRules::setFullText(32766, 1),
             QStringLiteral("A picture set holds at most 32766 pictures. This set has 32766, "
                            "so the 1 to add do not fit; none was added."));
}

// The label over the file list, and the line name offered for a file.
void BatchRulesTest::namesOfFiles()
{
    const struct {
        const char *folder, *file, *label;
        bool namesFile;
    } labels[] = {{"/scans/2024", "", "/scans/2024/", false},
                  {"/", "", "/", false},
                  {"/", "leaf.bmp", "/leaf.bmp", true}};
    for (const auto &row : labels) {
        const QString label = PictureSetRules::pathLabel(row.folder, row.file);
        QCOMPARE(label, QDir::toNativeSeparators(row.label));
        QCOMPARE(PictureSetRules::labelNamesFile(label), row.namesFile);
    }
    QCOMPARE(PictureSetRules::offeredLineName("leaf12.bmp"), QStringLiteral("leaf12"));
    QCOMPARE(PictureSetRules::offeredLineName("plot 3.rep.2.jpg"), QStringLiteral("plot 3.rep.2"));
    QCOMPARE(PictureSetRules::offeredLineName("a.b"), QString());
}

void BatchRulesTest::runRecordsEveryPictureInSetOrder()
{
    RunRig rig;
    RecordingHost &host = rig.host;
    QSignalSpy started(&rig.run, &BatchRun::pictureStarted);
    QSignalSpy finished(&rig.run, &BatchRun::finished);
    QVERIFY(!rig.run.start({}));
    QVERIFY(!rig.state.isBatchActive());

    QVERIFY(rig.run.start({picture("b"), picture("a"), picture("b")}));
    QVERIFY(rig.state.isBatchActive());
    // Runs never overlap.
    QVERIFY(!rig.run.start({picture("c")}));
    // The next picture is read ahead while this one is analysed.
    QCOMPARE(host.log, (QStringList{"prepare 4", "load b", "read ahead /scans/a.bmp"}));
    // The next picture is loaded from the event loop, after the row is written;
    // a second result for the same picture is not a row of its own.
    rig.analysed("b", 1.5);
    rig.analysed("b", 1.5);
    QCOMPARE(host.log.constLast(), QStringLiteral("row b 1.5"));
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("read ahead /scans/b.bmp"));
    rig.analysed("a", 2);
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("load b"));
    rig.analysed("b", 3);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(host.log, (QStringList{"prepare 4", "load b", "read ahead /scans/a.bmp", "row b 1.5",
                                    "load a", "read ahead /scans/b.bmp", "row a 2", "load b",
                                    "row b 3", "drop", "end"}));
    QCOMPARE(started.count(), 3);
    QCOMPARE(started.at(2).at(0).toInt(), 2);
    QVERIFY(!rig.state.isBatchActive());
    QVERIFY(rig.dialogs.calls().isEmpty());

    // A result that comes after the run (a single analysis) is not recorded;
    // a second run lays the table out afresh.
    rig.analysed("single", 9);
    QCOMPARE(host.log.constLast(), QStringLiteral("end"));
    host.log.clear();
    QVERIFY(rig.run.start({picture("c")}));
    QCOMPARE(host.log, (QStringList{"prepare 2", "load c"}));
}

// Pictures that cannot be read, in a row, before and after a good one and at
// the end, and one that cannot be analysed: one message once the run is over.
void BatchRulesTest::unreadablePicturesAreListedOnceAtTheEnd()
{
    RunRig rig;
    RecordingHost &host = rig.host;
    host.unreadable.insert(QStringLiteral("/scans/gone.bmp"), QStringLiteral("File not found"));
    host.unreadable.insert(QStringLiteral("/scans/bad.bmp"),
                           QStringLiteral("Unsupported image format"));
    QVERIFY(rig.run.start(
        {picture("gone"), picture("bad"), picture("ok"), picture("huge"), picture("gone")}));
    QCOMPARE(host.log, (QStringList{"prepare 6", "load gone", "empty row gone", "load bad",
                                    "empty row bad", "load ok", "read ahead /scans/huge.bmp"}));
    rig.analysed("ok", 4);
    QTRY_COMPARE(host.log.constLast(), QStringLiteral("read ahead /scans/gone.bmp"));
    QVERIFY(rig.dialogs.calls().isEmpty());
    rig.dialogs.answerMessage(MessageAnswer::Ok);
    rig.run.pictureFailed(QStringLiteral("not enough memory"));
    QTRY_VERIFY(!rig.run.isRunning());
    QCOMPARE(host.log.mid(7),
             (QStringList{"row ok 4", "load huge", "read ahead /scans/gone.bmp", "empty row huge",
                          "load gone", "empty row gone", "drop", "end"}));
    QCOMPARE(rig.dialogs.calls().size(), 1);
    QCOMPARE(rig.dialogs.lastCall().text,
             QStringLiteral("4 pictures of the set could not be analysed; their rows have no "
                            "figures:\n"
                            "gone (%1scans%1gone.bmp): File not found\n"
                            "bad (%1scans%1bad.bmp): Unsupported image format\n"
                            "huge (%1scans%1huge.bmp): not enough memory\n"
                            "gone (%1scans%1gone.bmp): File not found")
                 .arg(QDir::separator()));
    QCOMPARE(rig.dialogs.lastCall().title, QStringLiteral("Verdalis"));

    // A long list names the first twenty.
    QStringList lines;
    for (int i = 1; i <= 25; ++i)
        lines << QStringLiteral("p%1").arg(i);
    const QStringList text = BatchRun::unreadPicturesText(lines).split(QLatin1Char('\n'));
    QCOMPARE(text.mid(20), (QStringList{"p20", "and 5 more."}));
}

void BatchRulesTest::abandonedSetEndsAfterThePictureInProgress()
{
    RunRig rig;
    QVERIFY(rig.run.start({picture("a"), picture("b"), picture("c")}));
    rig.run.abandonSet();
    QVERIFY(rig.run.isRunning());
    QVERIFY(rig.state.isBatchActive());
    rig.analysed("a", 1);
    QTRY_VERIFY(!rig.run.isRunning());
    // What was read ahead is let go.
    QCOMPARE(rig.host.log, (QStringList{"prepare 4", "load a", "read ahead /scans/b.bmp", "row a 1",
                                        "drop", "end"}));
}

QTEST_GUILESS_MAIN(BatchRulesTest)
#include "tst_batch_rules.moc"
