// Picture sets, batches and the results' files on the real main window, driven
// offscreen over generated pictures: the picture-set window (browsing, line
// names, adding, renaming, removing, closing), batch rows against single
// analyses and verdalis-batch, unreadable pictures, Cancel during a run,
// "Correct background" and its warning, the overlay, spot columns and CSV
// against verdalis-batch, and saves that fail. Path labels, line names and the
// set's limit are the rules' (tst_batch_rules); here, their wiring.
#include "analyze_command.h"
#include "main_window.h"
#include "paper_photo.h"
#include "picture_background.h"
#include "picture_folder_browser.h"
#include "picture_set_command.h"
#include "picture_set_rules.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include <array>
#include <memory>

using namespace verdalis;

namespace {

const QStringList Bitmaps{"photo.bmp", "plot-a.bmp", "plot-c.bmp"};

// A generated scene, or the same scene photographed on grey paper.
QString writeScene(const QString &path, int width, int height, std::uint32_t seed,
                   Background background = Background::White, bool greyPaper = false)
{
    QImage picture(width, height, QImage::Format_RGB32);
    auto *pixels = reinterpret_cast<std::uint32_t *>(picture.bits());
    renderScene(randomLeafScene(width, height, seed, background), pixels,
                picture.bytesPerLine() / 4);
    if (greyPaper) {
        PaperLight light;
        light.noise = 1.0;
        photographUnder(light, pixels, width, height, picture.bytesPerLine() / 4);
    }
    if (!picture.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QImage pixelsOf(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// verdalis-batch's arguments for the window's calibration.
QStringList calibrated(const QString &system, int tenths = 10, const QStringList &more = {})
{
    return more + QStringList{"--system", system, "--size-ratio", "0.32",
                              "--unit",   "mm",   "--unit-step",  QString::number(tenths / 10.0),
                              "--jobs",   "1"};
}

struct CommandLineRun {
    int status = -1;
    QByteArray out;
};

// verdalis-batch with the arguments, then "--set" and a set file of the
// pictures written in the folder.
CommandLineRun runCommandLine(QStringList arguments, const QVector<SetPicture> &set,
                              const QString &folder)
{
    QFile file(folder + QStringLiteral("/window.set"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the set file");
    for (const SetPicture &picture : set)
        file.write((picture.lineName + '\t' + picture.path + '\n').toUtf8());
    file.close();
    QProcess batch;
    batch.start(QStringLiteral(VERDALIS_BATCH_PROGRAM),
                arguments << QStringLiteral("--set") << file.fileName());
    if (!batch.waitForFinished(120000))
        qFatal("verdalis-batch did not finish");
    return {batch.exitCode(), batch.readAllStandardOutput()};
}

// Leaf area, symptom area, perimeter.
using Figures = std::array<double, 3>;

} // namespace

class WindowBatchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void addsWhatIsChosenUnderItsLineName();
    void lineNameIsRequired();
    void renameAndRemove();
    void fullSetRefusesMore();
    void unreadableFolderKeepsTheLists();
    void closingTheSetWindowFreesTheMainWindow_data();
    void closingTheSetWindowFreesTheMainWindow();
    void batchRowsEqualSingleAnalyses_data();
    void batchRowsEqualSingleAnalyses();
    void unreadablePicturesKeepTheirRows();
    void cancelDuringARun();
    void overlayEqualsCommandLine_data();
    void overlayEqualsCommandLine();
    void overlayGoesWithWhatIsDrawnSince();
    void batchSpotsOverlaysAndCsvEqualCommandLine();
    void failedSavesSayWhereAndLeaveNothing_data();
    void failedSavesSayWhereAndLeaveNothing();

private:
    void openWindow();
    void calibrate(const QString &system, int tenths = 10);
    // Opens the picture, analyses it and waits for the end.
    Figures analyse(const QString &path);
    // The calibrated window's set window, its file list in the picture folder.
    PictureSetWindow &setWindow();
    void chooseFile(const QString &name);
    void clickSetRow(int row);
    QStringList setLineNames();
    // The set window's Add all over the set folder with every picture type.
    void addAllPictures();
    void waitForTheRun();
    // A set run from a new set window. The overlays' folder is asked for, then
    // one message is answered (a question before the run or a failure after
    // it), when given.
    void runSet(const QVector<SetPicture> &set, bool spots, const QString &overlayFolder,
                std::optional<MessageAnswer> message = std::nullopt);
    QString copiedTable();
    QString picture(const QString &name) const { return m_pictures + '/' + name; }

    QTemporaryDir m_dir;
    QString m_pictures;
    QString m_clean;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    // The results of the window's set analyses in the order they came.
    QVector<Figures> m_setResults;
};

void WindowBatchTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("settings"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("set")));
    m_pictures = m_dir.filePath(QStringLiteral("set"));
    writeScene(picture("plot-a.bmp"), 360, 240, 5);
    writeScene(picture("plot-b.jpg"), 420, 300, 7, Background::Black);
    writeScene(picture("plot-c.bmp"), 300, 330, 6);
    // BMP, so no compression stands between the clean scan and its photo.
    m_clean = writeScene(m_dir.filePath("clean.bmp"), 480, 360, 21);
    writeScene(picture("photo.bmp"), 480, 360, 21, Background::White, true);
    QVERIFY(QDir(m_pictures).mkdir(QStringLiteral("sub")));
    writeScene(picture("sub/inside.bmp"), 8, 6, 1);
    // A file that no filter lists.
    QFile notes(picture("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    // The set window starts in the process's current folder.
    QDir::setCurrent(m_pictures);
}

void WindowBatchTest::init()
{
    writeCorrectBackgroundSetting(false);
    openWindow();
}

void WindowBatchTest::openWindow()
{
    m_window.reset();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_setResults.clear();
    connect(&m_window->analyzeCommand(), &AnalyzeCommand::setResultReady, this,
            [this](const AnalysisResult &r) {
                m_setResults.append({r.leafArea, r.symptomArea, r.perimeter});
            });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void WindowBatchTest::calibrate(const QString &system, int tenths)
{
    m_window->selector().select(m_window->selector().catalogue().indexOf(system));
    m_window->state().setSizeRatio(0.32);
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_window->state().markCalibrated();
    m_window->canvas().setUnitStepTenths(tenths);
}

Figures WindowBatchTest::analyse(const QString &path)
{
    m_dialogs->answerOpenFile(path);
    m_window->openPictureButton->click();
    if (!QTest::qWaitFor([&] { return !m_window->isLoadingPicture(); }, 60000))
        qFatal("the picture was not read");
    m_window->analyzeButton->click();
    if (!QTest::qWaitFor([&] { return !m_window->analyzeCommand().isRunning(); }, 60000))
        qFatal("the analysis did not end");
    const AnalysisFigures &f = m_window->analyzeCommand().driver().figures();
    return {f.leafArea, f.symptomArea, f.perimeter};
}

PictureSetWindow &WindowBatchTest::setWindow()
{
    m_window->state().markCalibrated();
    m_window->pictureSetButton->click();
    PictureSetWindow *window = m_window->pictureSetCommand().pictureSetWindow();
    if (!window || !QTest::qWaitForWindowExposed(window))
        qFatal("the picture-set window is not shown");
    // Loaded, bitmaps only, and in the order the list keeps.
    if (!QTest::qWaitFor([&] { return window->browser->listedFiles() == Bitmaps; }))
        qWarning("the file list shows %s", qPrintable(window->browser->listedFiles().join(' ')));
    return *window;
}

void WindowBatchTest::chooseFile(const QString &name)
{
    PictureFolderBrowser *browser = m_window->pictureSetCommand().pictureSetWindow()->browser;
    QListView *list = browser->fileList;
    const int row = browser->listedFiles().indexOf(name);
    QVERIFY2(row >= 0, qPrintable(name));
    const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void WindowBatchTest::clickSetRow(int row)
{
    QTableView *table = m_window->pictureSetCommand().pictureSetWindow()->setTable;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(row, 1)).center());
}

QStringList WindowBatchTest::setLineNames()
{
    QStringList names;
    for (const SetPicture &picture :
         m_window->pictureSetCommand().pictureSetWindow()->pictureSet().pictures())
        names << picture.lineName;
    return names;
}

void WindowBatchTest::addAllPictures()
{
    PictureSetWindow *window = m_window->pictureSetCommand().pictureSetWindow();
    PictureFolderBrowser &browser = *window->browser;
    QVERIFY(browser.openFolder(m_pictures));
    browser.typeFilter->setCurrentIndex(2);
    emit browser.typeFilter->activated(2);
    // Loaded, and in the list's order.
    const QStringList files =
        QDir(m_pictures).entryList({"*.bmp", "*.jpg"}, QDir::Files, QDir::Name);
    QTRY_COMPARE(browser.listedFiles(), files);
    window->addAllButton->click();
}

void WindowBatchTest::waitForTheRun()
{
    if (!QTest::qWaitFor([&] { return !m_window->pictureSetCommand().batchRun().isRunning(); },
                         120000))
        qFatal("the batch did not end");
}

void WindowBatchTest::runSet(const QVector<SetPicture> &set, bool spots,
                             const QString &overlayFolder, std::optional<MessageAnswer> message)
{
    PictureSetWindow *window = &setWindow();
    window->pictureSet().add(set);
    window->spotStatisticsBox->setChecked(spots);
    window->saveOverlaysBox->setChecked(!overlayFolder.isEmpty());
    if (!overlayFolder.isEmpty())
        m_dialogs->answerFolder(overlayFolder);
    if (message)
        m_dialogs->answerMessage(*message);
    window->analyzeButton->click();
    waitForTheRun();
}

QString WindowBatchTest::copiedTable()
{
    m_window->resultsPage->copyTableButton->click();
    return QGuiApplication::clipboard()->text();
}

void WindowBatchTest::addsWhatIsChosenUnderItsLineName()
{
    PictureSetWindow &w = setWindow();
    QCOMPARE(w.browser->pathLabel->text(), QDir::toNativeSeparators(m_pictures + "/"));
    chooseFile(QStringLiteral("plot-c.bmp"));
    QCOMPARE(w.browser->pathLabel->text(), QDir::toNativeSeparators(picture("plot-c.bmp")));
    QCOMPARE(w.lineNameBox->text(), QStringLiteral("plot-c"));
    // The offered name can be changed before adding.
    w.lineNameBox->setText(QStringLiteral("Plot 4, rep 2"));
    w.addSelectedButton->click();
    QCOMPARE(
        w.pictureSet().pictures(),
        (QVector<SetPicture>{{"Plot 4, rep 2", QDir::toNativeSeparators(picture("plot-c.bmp"))}}));

    // Appended, the same file again too; a double click adds as well.
    for (int i = 0; i < 2; ++i) {
        chooseFile(QStringLiteral("plot-a.bmp"));
        w.addSelectedButton->click();
    }
    QListView *list = w.browser->fileList;
    const QPoint photo = list->visualRect(list->model()->index(0, 0, list->rootIndex())).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, photo);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, photo);
    QCOMPARE(setLineNames(), (QStringList{"Plot 4, rep 2", "plot-a", "plot-a", "photo"}));

    // Add all, in the list's order; their paths are the batch test's.
    addAllPictures();
    QCOMPARE(setLineNames().mid(4), (QStringList{"photo", "plot-a", "plot-b", "plot-c"}));
    QCOMPARE(w.currentRow(), 7);
}

// The set window needs a calibration first; then a line name for each picture.
void WindowBatchTest::lineNameIsRequired()
{
    m_dialogs->answerMessage(MessageAnswer::Ok);
    m_window->pictureSetButton->click();
    QVERIFY(!m_window->pictureSetCommand().pictureSetWindow());
    PictureSetWindow &w = setWindow();
    chooseFile(QStringLiteral("plot-a.bmp"));
    w.lineNameBox->clear();
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.addSelectedButton->click();
    QCOMPARE(m_dialogs->messages(),
             (QStringList{"The software need to be calibrated, please calibrate it first",
                          "please set the line name"}));
    QVERIFY(w.pictureSet().isEmpty());
}

void WindowBatchTest::renameAndRemove()
{
    PictureSetWindow &w = setWindow();
    w.addAllButton->click();
    clickSetRow(1);
    m_dialogs->answerInput(QStringLiteral("Plot 7"));
    w.renameButton->click();
    QCOMPARE(m_dialogs->lastCall().defaultText, QStringLiteral("plot-a"));
    QCOMPARE(setLineNames(), (QStringList{"photo", "Plot 7", "plot-c"}));
    // An empty answer, or Cancel, keeps the name.
    m_dialogs->answerInput(QString());
    w.renameButton->click();
    m_dialogs->cancelInput();
    w.renameButton->click();
    QCOMPARE(setLineNames(), (QStringList{"photo", "Plot 7", "plot-c"}));

    clickSetRow(0);
    w.removeSelectedButton->click();
    QCOMPARE(setLineNames(), (QStringList{"Plot 7", "plot-c"}));
    // The current row ends on the last row.
    QCOMPARE(w.currentRow(), 1);

    // Removing all asks first.
    m_dialogs->answerMessage(MessageAnswer::Cancel);
    w.removeAllButton->click();
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("That will delete all Pictures in the table"));
    QCOMPARE(m_dialogs->lastCall().buttons, MessageButtons::OkCancel);
    QCOMPARE(w.pictureSet().count(), 2);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.removeAllButton->click();
    QVERIFY(w.pictureSet().isEmpty());
}

// The limit is the set's; here, that the window says so and adds nothing.
void WindowBatchTest::fullSetRefusesMore()
{
    PictureSetWindow &w = setWindow();
    QVERIFY(w.pictureSet().add(QVector<SetPicture>(PictureSet::MaxPictures - 2, {"p", "/p.bmp"})));
    // Three listed files do not fit in the two places left.
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.addAllButton->click();
    QCOMPARE(m_dialogs->lastCall().text, PictureSetRules::setFullText(32764, 3));
    QCOMPARE(w.pictureSet().count(), 32764);
}

void WindowBatchTest::unreadableFolderKeepsTheLists()
{
    PictureSetWindow &w = setWindow();
    PictureFolderBrowser &browser = *w.browser;
    const QString sub = picture(QStringLiteral("sub"));
    auto *model = qobject_cast<QFileSystemModel *>(browser.folderList->model());
    QVERIFY(model);
    // A folder opened from the folder list.
    emit browser.folderList->activated(model->index(sub));
    QTRY_COMPARE(browser.listedFiles(), QStringList{"inside.bmp"});
    chooseFile(QStringLiteral("inside.bmp"));

    // A folder gone by the time it is opened.
    const QString gone = picture(QStringLiteral("gone"));
    QVERIFY(QDir().mkdir(gone));
    const QModelIndex goneIndex = model->index(gone);
    QVERIFY(QDir().rmdir(gone));
    m_dialogs->answerMessage(MessageAnswer::Ok);
    emit browser.folderList->activated(goneIndex);
    QCOMPARE(m_dialogs->lastCall().text,
             PictureSetRules::unreadableFolderText(gone, QStringLiteral("It does not exist.")));
    QCOMPARE(browser.currentFolder(), sub);
    QCOMPARE(browser.listedFiles(), QStringList{"inside.bmp"});
    QVERIFY(w.addSelectedButton->isEnabled());
}

void WindowBatchTest::closingTheSetWindowFreesTheMainWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void WindowBatchTest::closingTheSetWindowFreesTheMainWindow()
{
    QFETCH(QString, how);
    PictureSetWindow &w = setWindow();
    w.addAllButton->click();
    QVERIFY(!m_window->isEnabled());
    // Cancel is batchSpotsOverlaysAndCsvEqualCommandLine's.
    if (how == QLatin1String("escape"))
        QTest::keyClick(w.setTable, Qt::Key_Escape);
    else
        w.close();
    QVERIFY(!m_window->pictureSetCommand().pictureSetWindow());
    QVERIFY(m_window->isEnabled());
    QVERIFY(!m_window->state().isBatchActive());
    // The set went with the window.
    QVERIFY(setWindow().pictureSet().isEmpty());
}

void WindowBatchTest::batchRowsEqualSingleAnalyses_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<bool>("correct");
    // The last report line of the photo on grey paper, then of a clean scan.
    QTest::addColumn<QStringList>("lastLines");
    QTest::newRow("Leaf area only")
        << "Leaf area only" << false << QStringList{"Leaf perimeter", "Leaf perimeter"};
    QTest::newRow("System 2, background corrected")
        << "System 2" << true
        << QStringList{"Background corrected", "Background not corrected: it is white already"};
}

// Each row equals a single analysis of its picture, to the last bit; the copied
// table, header included, is what verdalis-batch writes for the same set. The
// row and the report of the photo on grey paper warn unless its paper was
// corrected, and the report says what became of the paper. Whether the
// correction gives the clean scan's figures is the engine's test.
void WindowBatchTest::batchRowsEqualSingleAnalyses()
{
    QFETCH(QString, system);
    QFETCH(bool, correct);
    QFETCH(QStringList, lastLines);
    MainWindow &w = *m_window;
    calibrate(system);
    w.correctBackgroundBox->setChecked(correct);
    PictureSetWindow *window = &setWindow();
    addAllPictures();
    const QVector<SetPicture> set = window->pictureSet().pictures();
    QCOMPARE(set.size(), 4);

    window->analyzeButton->click();
    QVERIFY(!w.isEnabled());
    waitForTheRun();
    // The end: the window back, the set window gone, the results table shown.
    QVERIFY(w.isEnabled());
    QVERIFY(!w.pictureSetCommand().pictureSetWindow());
    QVERIFY(w.resultsPage->resultsTableView->isVisible());
    QVERIFY(m_dialogs->calls().isEmpty());
    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->item(0, 0)->toolTip().contains(QStringLiteral("border")), !correct);
    QVERIFY(table->item(1, 0)->toolTip().isEmpty());

    QStringList arguments = calibrated(system);
    if (correct)
        arguments << QStringLiteral("--correct-background");
    const CommandLineRun cli = runCommandLine(arguments, set, m_dir.path());
    QCOMPARE(cli.status, 0);
    QCOMPARE(copiedTable(), QString::fromUtf8(cli.out));
    const QVector<Figures> batch = m_setResults;
    QCOMPARE(batch.size(), 4);
    QLabel *warning = w.resultsPage->backgroundWarning;
    for (int row = 0; row < 4; ++row) {
        QVERIFY2(analyse(set.at(row).path) == batch.at(row), qPrintable(set.at(row).lineName));
        const QString report = w.resultsPage->reportText->toPlainText();
        if (row >= 2)
            continue;
        QVERIFY2(report.split('\n', Qt::SkipEmptyParts).last().startsWith(lastLines[row]),
                 qPrintable(report));
        QCOMPARE(warning->isVisible(), row == 0 && !correct);
        if (warning->isVisible())
            QVERIFY(warning->text().contains("\"Correct background\""));
    }
    // The option is kept for the next window.
    openWindow();
    QCOMPARE(m_window->correctBackgroundBox->isChecked(), correct);
    QCOMPARE(m_window->backgroundCorrector().isEnabled(), correct);
}

void WindowBatchTest::unreadablePicturesKeepTheirRows()
{
    calibrate(QStringLiteral("System 1"));
    QDir dir(m_dir.path());
    const QString missing = dir.filePath(QStringLiteral("moved away.bmp"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    QFile garbage(damaged);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray("\xff\xd8\xff not a picture at all \x01\x02"));
    garbage.close();

    const QVector<SetPicture> set{{"first", picture("plot-a.bmp")},
                                  {"gone", missing},
                                  {"broken", damaged},
                                  {"last", picture("plot-c.bmp")}};
    runSet(set, false, QString(), MessageAnswer::Ok);
    // One message after the run (its text is the run's, tst_batch_rules).
    QCOMPARE(m_dialogs->calls().size(), 1);
    QVERIFY(m_dialogs->lastCall().text.startsWith(QStringLiteral("2 pictures of the set")));
    // verdalis-batch gives the same table, and says a picture failed.
    const CommandLineRun cli = runCommandLine(calibrated("System 1"), set, m_dir.path());
    QCOMPARE(cli.status, 1);
    // The copied header is the run's, whatever is chosen since.
    calibrate(QStringLiteral("Leaf area only"));
    m_window->state().setUnitName(QStringLiteral("cm"));
    QCOMPARE(copiedTable(), QString::fromUtf8(cli.out));
}

void WindowBatchTest::cancelDuringARun()
{
    MainWindow &w = *m_window;
    PictureSetWindow *window = &setWindow();
    addAllPictures();
    window->analyzeButton->click();
    QVERIFY(w.analyzeCommand().isRunning());
    window->cancelButton->click();

    // The set window goes at once; the picture in progress is finished first,
    // with the main window still closed to input.
    QVERIFY(!w.pictureSetCommand().pictureSetWindow());
    QVERIFY(w.state().isBatchActive());
    QVERIFY(!w.isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!w.state().isBatchActive(), 60000);

    QVERIFY(w.isEnabled());
    QCOMPARE(w.pageTabs->currentIndex(), 1);
    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("photo"));
    QVERIFY(!table->item(0, 1)->text().isEmpty());
    QCOMPARE(table->item(1, 0)->text(), QString());
    QVERIFY(m_dialogs->calls().isEmpty());
}

void WindowBatchTest::overlayEqualsCommandLine_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("picture");
    QTest::newRow("System 1, JPEG, unit step 0.5") << "System 1" << 5 << "plot-b.jpg";
    QTest::newRow("Leaf area only, unit step 0.3") << "Leaf area only" << 3 << "plot-c.bmp";
}

void WindowBatchTest::overlayEqualsCommandLine()
{
    QFETCH(QString, system);
    QFETCH(int, tenths);
    QFETCH(QString, picture);
    calibrate(system, tenths);
    const QString path = m_pictures + '/' + picture;
    analyse(path);
    // Ctrl+S, a name typed without extension: PNG, the type offered first.
    QTemporaryDir out;
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window")), 1);
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    // That verdalis-batch's overlay is the analysed picture the window shows is
    // tst_batch_figures'; here, that the window saves what it shows.
    const QImage saved = pixelsOf(out.filePath(QStringLiteral("window.png")));
    runCommandLine(calibrated(system, tenths, {"--overlay", out.filePath("cli")}), {{"p", path}},
                   out.path());
    QVERIFY(saved == pixelsOf(out.filePath(QStringLiteral("cli/p.png"))));
    // JPEG when the name asks for it.
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window.jpg")), 1);
    m_window->resultsPage->saveOverlayButton->click();
    QCOMPARE(QImageReader(out.filePath(QStringLiteral("window.jpg"))).format(), "jpeg");
    QVERIFY(m_dialogs->messages().isEmpty());
}

// The overlay saved is what the analysis painted: a line drawn over it or
// another picture withdraw it until the next analysis; Ctrl+S then asks nothing.
void WindowBatchTest::overlayGoesWithWhatIsDrawnSince()
{
    calibrate(QStringLiteral("System 2"));
    QPushButton *save = m_window->resultsPage->saveOverlayButton;
    QVERIFY(!save->isEnabled());
    analyse(picture("plot-a.bmp"));
    QVERIFY(save->isEnabled());
    m_window->canvas().drawLine(QPointF(1, 1), QPointF(20, 20));
    QVERIFY(!save->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    analyse(picture("plot-c.bmp"));
    QVERIFY(save->isEnabled());
    m_dialogs->answerOpenFile(picture("plot-a.bmp"));
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QVERIFY(!save->isEnabled());
    QCOMPARE(m_dialogs->calls().size(), 3);
}

void WindowBatchTest::batchSpotsOverlaysAndCsvEqualCommandLine()
{
    calibrate(QStringLiteral("System 1"));
    // A comma and quotes for the CSV, a slash and a repeated name for the files.
    const QVector<SetPicture> set{{"plot \"a\", 2", picture("plot-a.bmp")},
                                  {"row/b", picture("plot-b.jpg")},
                                  {"c", picture("plot-c.bmp")},
                                  {"c", picture("plot-a.bmp")}};
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("window"));
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("window")));
    QFile earlier(folder + QStringLiteral("/c.png"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();
    // A file the run would replace is named first; Cancel starts nothing.
    runSet(set, true, folder, MessageAnswer::Cancel);
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("1 overlay picture of this set is already in %1 and will be "
                            "replaced:\nc.png")
                 .arg(QDir::toNativeSeparators(folder)));
    QCOMPARE(QFileInfo(earlier).size(), 0);
    m_window->pictureSetCommand().pictureSetWindow()->cancelButton->click();
    runSet(set, true, folder, MessageAnswer::Ok);

    QTableWidget *table = m_window->resultsPage->resultsTableView;
    QCOMPARE(table->columnCount(), 6);
    QVERIFY(table->item(0, 4)->text().toInt() > 0);
    QCOMPARE(copiedTable(),
             QString::fromUtf8(
                 runCommandLine(calibrated("System 1", 10, {"--spots"}), set, out.path()).out));
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("results")));
    m_window->resultsPage->saveTableButton->click();
    QFile csv(out.filePath(QStringLiteral("results.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(),
             runCommandLine(
                 calibrated("System 1", 10, {"--spots", "--csv", "--overlay", out.filePath("cli")}),
                 set, out.path())
                 .out);
    QStringList written = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(written, (QStringList{"c-2.png", "c.png", "plot _a_, 2.png", "row_b.png"}));
    for (const QString &name : written)
        QVERIFY2(pixelsOf(folder + '/' + name) == pixelsOf(out.filePath("cli/" + name)),
                 qPrintable(name));
}

void WindowBatchTest::failedSavesSayWhereAndLeaveNothing_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("overlay") << "The overlay picture";
    QTest::newRow("CSV") << "The results table";
    QTest::newRow("batch overlays") << "2 overlay pictures could not be written:";
}

// Below a plain file nothing can be written.
void WindowBatchTest::failedSavesSayWhereAndLeaveNothing()
{
    QFETCH(QString, what);
    calibrate(QStringLiteral("System 2"));
    QTemporaryDir out;
    QFile plain(out.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString below = QDir::toNativeSeparators(plain.fileName() + '/');
    QString expected;
    if (what.startsWith(u'2')) {
        runSet({{"a", picture("plot-a.bmp")}, {"c", picture("plot-c.bmp")}}, false,
               plain.fileName(), MessageAnswer::Ok);
        expected = what + "\n" + below + "a.png: ";
        QVERIFY(m_dialogs->lastCall().text.contains("\n" + below + "c.png: "));
        QCOMPARE(m_window->resultsPage->resultsTable().dataRows().constLast().at(0),
                 QStringLiteral("c"));
    } else {
        analyse(picture("plot-a.bmp"));
        const QString name = what.contains(QLatin1String("overlay")) ? "x.png" : "x.csv";
        m_dialogs->answerSaveFile(below + name);
        m_dialogs->answerMessage(MessageAnswer::Ok);
        ResultsPage *page = m_window->resultsPage;
        (name == "x.png" ? static_cast<QAbstractButton *>(page->saveOverlayButton)
                         : page->saveTableButton)
            ->click();
        expected = what + " could not be saved to " + below + name + ":\n";
    }
    const QString message = m_dialogs->lastCall().text;
    QVERIFY2(message.startsWith(expected), qPrintable(message));
    QVERIFY(message.size() > expected.size());
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("plain")});
    QCOMPARE(QFileInfo(plain).size(), 0);
}

QTEST_MAIN(WindowBatchTest)
#include "tst_window_batch.moc"
