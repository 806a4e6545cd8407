// The batch run on the real main window, driven offscreen: the picture-set
// button, the set window opened and closed, batches over generated pictures
// whose rows equal single analyses of the same pictures, unreadable pictures,
// Cancel during a run, and the copied table against verdalis-batch's output.
#include "photo_page.h"
#include "picture_folder_browser.h"
#include "window_rig.h"

#include <QComboBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>

using namespace verdalis;

namespace {

const double SizeRatio = 0.32;
const QString Unit = QStringLiteral("mm");

struct Figures {
    double leafArea = 0;
    double symptomArea = 0;
    double perimeter = 0;
    bool operator==(const Figures &o) const
    {
        return leafArea == o.leafArea && symptomArea == o.symptomArea && perimeter == o.perimeter;
    }
};

QStringList arguments(const QString &system)
{
    return {"--system", system, "--size-ratio", QString::number(SizeRatio),
            "--unit",   Unit,   "--jobs",       "1"};
}

Figures figuresOf(const AnalysisFigures &f)
{
    return {f.leafArea, f.symptomArea, f.perimeter};
}

} // namespace

class WindowBatchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_rig.open(); }
    void cleanup() { m_rig.close(); }

    void pictureSetButtonNeedsACalibration();
    void closingTheSetWindowEnablesTheMainWindow();
    void batchRowsEqualSingleAnalyses_data();
    void batchRowsEqualSingleAnalyses();
    void unreadablePicturesKeepTheirRows();
    void cancelDuringARun();

private:
    // The set window's Add all over the given folder with every picture type.
    void addAllOf(const QString &folder);
    // The results of the run's analyses in the order they came.
    QVector<Figures> runBatch();

    QTemporaryDir m_dir;
    QString m_pictures;
    WindowRig m_rig;
    std::unique_ptr<ScriptedDialogs> &m_dialogs = m_rig.dialogs;
    std::unique_ptr<MainWindow> &m_window = m_rig.window;
};

void WindowBatchTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir dir(m_dir.path());
    QVERIFY(dir.mkdir(QStringLiteral("set")));
    m_pictures = dir.filePath(QStringLiteral("set"));
    writeScene(m_pictures + "/plot-b.jpg", 420, 300, 7, Background::Black);
    writeScene(m_pictures + "/plot-a.bmp", 360, 240, 5, Background::White);
    writeScene(m_pictures + "/plot-c.bmp", 300, 330, 6, Background::White);
}

void WindowBatchTest::addAllOf(const QString &folder)
{
    PictureSetWindow *window = m_window->pictureSetCommand().pictureSetWindow();
    PictureFolderBrowser &browser = *window->browser;
    QVERIFY(browser.openFolder(folder));
    browser.typeFilter->setCurrentIndex(2);
    emit browser.typeFilter->activated(2);
    // Loaded, and in the list's order.
    const QStringList files = QDir(folder).entryList({"*.bmp", "*.jpg"}, QDir::Files, QDir::Name);
    QTRY_COMPARE(browser.listedFiles(), files);
    window->addAllButton->click();
}

QVector<Figures> WindowBatchTest::runBatch()
{
    QVector<Figures> results;
    QMetaObject::Connection recording =
        connect(&m_window->analyzeCommand(), &AnalyzeCommand::setResultReady, this,
                [&](const AnalysisResult &r) {
                    results.append({r.leafArea, r.symptomArea, r.perimeter});
                });
    m_rig.runSet();
    disconnect(recording);
    return results;
}

void WindowBatchTest::pictureSetButtonNeedsACalibration()
{
    m_dialogs->answerMessage(MessageAnswer::Ok);
    m_window->pictureSetButton->click();
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("The software need to be calibrated, please calibrate it first"));
    QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Calibration is required"));
    QVERIFY(!m_window->pictureSetCommand().pictureSetWindow());
    QVERIFY(m_window->isEnabled());
}

void WindowBatchTest::closingTheSetWindowEnablesTheMainWindow()
{
    m_window->state().markCalibrated();
    m_dialogs->answerOpenFile(m_pictures + "/plot-a.bmp");
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QVERIFY(m_window->analyzeButton->isEnabled());

    PictureSetWindow *window = m_rig.openSetWindow();
    QVERIFY(window);
    QVERIFY(!m_window->isEnabled());
    addAllOf(m_pictures);
    QCOMPARE(window->pictureSet().count(), 3);

    // Every way of closing it is the set window's (tst_picture_set_window).
    window->cancelButton->click();
    QVERIFY(m_window->isEnabled());
    QVERIFY(!m_window->analyzeButton->isEnabled());
    QVERIFY(!m_window->pictureSetCommand().pictureSetWindow());
    QVERIFY(!m_window->state().isBatchActive());

    // The set went with the window.
    window = m_rig.openSetWindow();
    QVERIFY(window);
    QVERIFY(window->pictureSet().isEmpty());
    window->cancelButton->click();
}

void WindowBatchTest::batchRowsEqualSingleAnalyses_data()
{
    QTest::addColumn<QString>("system");
    QTest::newRow("Leaf area only") << "Leaf area only";
    QTest::newRow("System 2") << "System 2";
}

void WindowBatchTest::batchRowsEqualSingleAnalyses()
{
    QFETCH(QString, system);
    MainWindow &w = *m_window;
    m_rig.calibrate(system, SizeRatio);

    PictureSetWindow *window = m_rig.openSetWindow();
    addAllOf(m_pictures);
    const QVector<SetPicture> set = window->pictureSet().pictures();
    QCOMPARE(set.size(), 3);

    QVector<Figures> batch;
    {
        QVector<Figures> results;
        connect(&w.analyzeCommand(), &AnalyzeCommand::setResultReady, window,
                [&](const AnalysisResult &r) {
                    results.append({r.leafArea, r.symptomArea, r.perimeter});
                });
        window->analyzeButton->click();
        // The run's compact view: the list panel alone, the table and Analyze locked.
        QVERIFY(w.state().isBatchActive());
        QVERIFY(!w.isEnabled());
        QCOMPARE(window->size(), window->listPanel->size());
        QVERIFY(!window->setTable->isEnabled());
        QVERIFY(!window->analyzeButton->isEnabled());
        QCOMPARE(w.pageTabs->tabText(0), QStringLiteral("Photo plot-a"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.pictureSetCommand().batchRun().isRunning(), 120000);
        batch = results;
    }
    // The end: the window back, the set window gone, the results table shown.
    QVERIFY(w.isEnabled());
    QVERIFY(!w.state().isBatchActive());
    QVERIFY(!w.pictureSetCommand().pictureSetWindow());
    QVERIFY(w.resultsPage->resultsTableView->isVisible());
    QVERIFY(m_dialogs->calls().isEmpty());

    // Each row equals a single analysis of its picture, to the last bit; the
    // copied table is what verdalis-batch writes for the same set.
    QCOMPARE(batch.size(), 3);
    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), system == QLatin1String("Leaf area only") ? 3 : 4);
    for (int row = 0; row < 3; ++row) {
        const Figures alone = figuresOf(m_rig.analyse(set.at(row).path));
        QVERIFY2(alone == batch.at(row), qPrintable(set.at(row).lineName));
        QCOMPARE(table->item(row, 0)->text(), set.at(row).lineName);
        QCOMPARE(table->item(row, 1)->text(), formatResult(alone.leafArea));
    }
    const CommandLineRun cli = runCommandLine(arguments(system), set, m_dir.path());
    QCOMPARE(cli.status, 0);
    QCOMPARE(m_rig.copiedTable(), QString::fromUtf8(cli.out));
}

void WindowBatchTest::unreadablePicturesKeepTheirRows()
{
    MainWindow &w = *m_window;
    m_rig.calibrate(QStringLiteral("System 1"), SizeRatio);

    QDir dir(m_dir.path());
    const QString missing = dir.filePath(QStringLiteral("moved away.bmp"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    QFile garbage(damaged);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray("\xff\xd8\xff not a picture at all \x01\x02"));
    garbage.close();

    PictureSetWindow *window = m_rig.openSetWindow();
    const QVector<SetPicture> set{{"first", m_pictures + "/plot-a.bmp"},
                                  {"gone", missing},
                                  {"broken", damaged},
                                  {"last", m_pictures + "/plot-c.bmp"}};
    window->pictureSet().add(set);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    const QVector<Figures> results = runBatch();
    QCOMPARE(results.size(), 2);

    // One message after the run (its text is the run's, tst_batch_rules).
    QCOMPARE(m_dialogs->calls().size(), 1);
    QVERIFY(m_dialogs->lastCall().text.startsWith(QStringLiteral("2 pictures of the set")));
    QVERIFY(w.isEnabled());

    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 4);
    for (int row : {1, 2}) {
        QCOMPARE(table->item(row, 0)->text(), set.at(row).lineName);
        for (int column = 1; column < 4; ++column)
            QCOMPARE(table->item(row, column)->text(), QString());
    }
    QCOMPARE(table->item(3, 1)->text(), formatResult(results.at(1).leafArea));
    // verdalis-batch gives the same table, and says a picture failed.
    const CommandLineRun cli = runCommandLine(arguments("System 1"), set, m_dir.path());
    QCOMPARE(cli.status, 1);
    QCOMPARE(m_rig.copiedTable(), QString::fromUtf8(cli.out));
}

void WindowBatchTest::cancelDuringARun()
{
    MainWindow &w = *m_window;
    w.state().markCalibrated();
    PictureSetWindow *window = m_rig.openSetWindow();
    addAllOf(m_pictures);
    window->analyzeButton->click();
    QVERIFY(w.analyzeCommand().isRunning());
    window->cancelButton->click();

    // The set window goes at once; the picture in progress is finished first,
    // with the main window still closed to input.
    QVERIFY(!w.pictureSetCommand().pictureSetWindow());
    QVERIFY(!window->isVisible());
    QVERIFY(w.state().isBatchActive());
    QVERIFY(!w.isEnabled());
    QVERIFY(w.analyzeCommand().isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!w.state().isBatchActive(), 60000);

    QVERIFY(w.isEnabled());
    QVERIFY(!w.analyzeButton->isEnabled());
    QVERIFY(!w.analyzeCommand().isRunning());
    QCOMPARE(w.pageTabs->currentIndex(), 1);
    QCOMPARE(w.pageTabs->tabText(0), QStringLiteral("Photo plot-a"));
    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("plot-a"));
    QVERIFY(!table->item(0, 1)->text().isEmpty());
    QCOMPARE(table->item(1, 0)->text(), QString());
    QVERIFY(m_dialogs->calls().isEmpty());
}

QTEST_MAIN(WindowBatchTest)
#include "tst_window_batch.moc"
