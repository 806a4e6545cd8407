// The results' files from the real main window, driven offscreen, against
// verdalis-batch: the overlay saved with Ctrl+S, a batch's spot columns,
// overlays and CSV file, and saves that fail.
#include "analyze_command.h"
#include "main_window.h"
#include "picture_set_command.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace verdalis;

namespace {

// verdalis-batch with the window's calibration over a set file of the pictures.
QByteArray commandLine(const QString &system, int tenths, QStringList arguments,
                       const QVector<SetPicture> &set, const QString &folder)
{
    QFile setFile(folder + QStringLiteral("/window.set"));
    if (!setFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the set file");
    for (const SetPicture &picture : set)
        setFile.write((picture.lineName + '\t' + picture.path + '\n').toUtf8());
    setFile.close();
    arguments << "--system" << system << "--size-ratio"
              << "0.32"
              << "--unit"
              << "mm"
              << "--unit-step" << QString::number(tenths / 10.0) << "--set" << setFile.fileName();
    QProcess batch;
    batch.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    if (!batch.waitForFinished(120000) || batch.exitCode() != 0)
        qFatal("verdalis-batch failed");
    return batch.readAllStandardOutput();
}

QImage pixelsOf(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class WindowResultsFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void overlayEqualsCommandLine_data();
    void overlayEqualsCommandLine();
    void overlayGoesWithWhatIsDrawnSince();
    void batchSpotsOverlaysAndCsvEqualCommandLine();
    void failedSavesSayWhereAndLeaveNothing_data();
    void failedSavesSayWhereAndLeaveNothing();

private:
    void calibrate(const QString &system, int tenths);
    void analyse(const QString &picture);
    // The overlays' folder is asked for, then one message is answered (a
    // question before the run or a failure after it), when given.
    void runBatch(const QVector<SetPicture> &set, bool spots, const QString &overlayFolder,
                  std::optional<MessageAnswer> message = std::nullopt);

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void WindowResultsFilesTest::initTestCase()
{
    const std::pair<const char *, std::uint32_t> pictures[] = {
        {"/a.bmp", 5}, {"/b.jpg", 7}, {"/c.bmp", 6}};
    for (const auto &[name, seed] : pictures) {
        const SyntheticScene scene = randomLeafScene(360, 300, seed);
        const std::vector<std::uint32_t> pixels = renderScene(scene);
        QVERIFY(
            QImage(reinterpret_cast<const uchar *>(pixels.data()), 360, 300, QImage::Format_RGB32)
                .save(m_dir.path() + name));
    }
}

void WindowResultsFilesTest::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void WindowResultsFilesTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
}

void WindowResultsFilesTest::calibrate(const QString &system, int tenths)
{
    m_window->selector().select(m_window->selector().catalogue().indexOf(system));
    m_window->state().setSizeRatio(0.32);
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_window->state().markCalibrated();
    m_window->canvas().setUnitStepTenths(tenths);
}

void WindowResultsFilesTest::analyse(const QString &picture)
{
    m_dialogs->answerOpenFile(picture);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    m_window->analyzeButton->click();
    QVERIFY(QTest::qWaitFor([&] { return !m_window->analyzeCommand().isRunning(); }, 60000));
}

void WindowResultsFilesTest::runBatch(const QVector<SetPicture> &set, bool spots,
                                      const QString &overlayFolder,
                                      std::optional<MessageAnswer> message)
{
    m_window->pictureSetButton->click();
    PictureSetWindow *window = m_window->pictureSetCommand().pictureSetWindow();
    window->pictureSet().add(set);
    window->spotStatisticsBox->setChecked(spots);
    window->saveOverlaysBox->setChecked(!overlayFolder.isEmpty());
    if (!overlayFolder.isEmpty())
        m_dialogs->answerFolder(overlayFolder);
    if (message)
        m_dialogs->answerMessage(*message);
    window->analyzeButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->pictureSetCommand().batchRun().isRunning(), 120000);
}

void WindowResultsFilesTest::overlayEqualsCommandLine_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRgb>("dotColour");
    QTest::newRow("System 1, JPEG, unit step 0.5") << "System 1" << 5 << "b.jpg" << qRgb(255, 0, 0);
    QTest::newRow("Leaf area only, unit step 0.3")
        << "Leaf area only" << 3 << "c.bmp" << qRgb(255, 255, 0);
}

void WindowResultsFilesTest::overlayEqualsCommandLine()
{
    QFETCH(QString, system);
    QFETCH(int, tenths);
    QFETCH(QString, picture);
    QFETCH(QRgb, dotColour);
    calibrate(system, tenths);
    const QString path = m_dir.filePath(picture);
    analyse(path);
    // Ctrl+S, a name typed without extension: PNG, the type offered first.
    QTemporaryDir out;
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window")), 1);
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    const QImage saved = pixelsOf(out.filePath(QStringLiteral("window.png")));
    QCOMPARE(saved.size(), QSize(360, 300));
    int dots = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            dots += saved.pixel(x, y) == dotColour;
    QVERIFY2(dots > 20, qPrintable(QString::number(dots)));
    commandLine(system, tenths, {"--overlay", out.filePath(QStringLiteral("cli"))},
                {{QStringLiteral("p"), path}}, out.path());
    QVERIFY(saved == pixelsOf(out.filePath(QStringLiteral("cli/p.png"))));
    // JPEG when the name asks for it.
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window.jpg")), 1);
    m_window->resultsPage->saveOverlayButton->click();
    QCOMPARE(QImageReader(out.filePath(QStringLiteral("window.jpg"))).format(), "jpeg");
    QVERIFY(m_dialogs->messages().isEmpty());
}

// The overlay saved is what the analysis painted: a line drawn over it or
// another picture withdraw it until the next analysis; Ctrl+S then asks nothing.
void WindowResultsFilesTest::overlayGoesWithWhatIsDrawnSince()
{
    calibrate(QStringLiteral("System 2"), 10);
    QPushButton *save = m_window->resultsPage->saveOverlayButton;
    QVERIFY(!save->isEnabled());
    analyse(m_dir.filePath(QStringLiteral("a.bmp")));
    QVERIFY(save->isEnabled());
    m_window->canvas().drawLine(QPointF(1, 1), QPointF(20, 20));
    QVERIFY(!save->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    analyse(m_dir.filePath(QStringLiteral("c.bmp")));
    QVERIFY(save->isEnabled());
    m_dialogs->answerOpenFile(m_dir.filePath(QStringLiteral("a.bmp")));
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QVERIFY(!save->isEnabled());
}

void WindowResultsFilesTest::batchSpotsOverlaysAndCsvEqualCommandLine()
{
    const QString system = QStringLiteral("System 1");
    calibrate(system, 10);
    // A comma and quotes for the CSV, a slash and a repeated name for the files.
    const QVector<SetPicture> set{{"plot \"a\", 2", m_dir.filePath(QStringLiteral("a.bmp"))},
                                  {"row/b", m_dir.filePath(QStringLiteral("b.jpg"))},
                                  {"c", m_dir.filePath(QStringLiteral("c.bmp"))},
                                  {"c", m_dir.filePath(QStringLiteral("a.bmp"))}};
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("window"));
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("window")));
    QFile earlier(folder + QStringLiteral("/c.png"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();
    // A file the run would replace is named first; Cancel starts nothing.
    runBatch(set, true, folder, MessageAnswer::Cancel);
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("1 overlay picture of this set is already in %1 and will be "
                            "replaced:\nc.png")
                 .arg(QDir::toNativeSeparators(folder)));
    QVERIFY(m_window->pictureSetCommand().pictureSetWindow()->spotStatisticsBox->isEnabled());
    m_window->pictureSetCommand().pictureSetWindow()->cancelButton->click();
    runBatch(set, true, folder, MessageAnswer::Ok);

    QTableWidget *table = m_window->resultsPage->resultsTableView;
    QCOMPARE(table->columnCount(), 6);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("Mean spot area\nmm2"));
    QVERIFY(table->item(0, 4)->text().toInt() > 0);
    m_window->resultsPage->copyTableButton->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString::fromUtf8(commandLine(system, 10, {"--spots"}, set, out.path())));
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("results")));
    m_window->resultsPage->saveTableButton->click();
    QFile csv(out.filePath(QStringLiteral("results.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(),
             commandLine(system, 10, {"--spots", "--csv", "--overlay", out.filePath("cli")}, set,
                         out.path()));
    QStringList written = QDir(folder).entryList(QDir::Files);
    written.sort();
    QCOMPARE(written, (QStringList{"c-2.png", "c.png", "plot _a_, 2.png", "row_b.png"}));
    for (const QString &name : written)
        QVERIFY2(pixelsOf(folder + '/' + name) == pixelsOf(out.filePath("cli/" + name)),
                 qPrintable(name));
}

void WindowResultsFilesTest::failedSavesSayWhereAndLeaveNothing_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("overlay") << "The overlay picture";
    QTest::newRow("CSV") << "The results table";
    QTest::newRow("batch overlays") << "2 overlay pictures could not be written:";
}

// Below a plain file nothing can be written.
void WindowResultsFilesTest::failedSavesSayWhereAndLeaveNothing()
{
    QFETCH(QString, what);
    calibrate(QStringLiteral("System 2"), 10);
    QTemporaryDir out;
    QFile plain(out.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString below = QDir::toNativeSeparators(plain.fileName() + '/');
    QString expected;
    if (what.startsWith(u'2')) {
        runBatch({{"a", m_dir.filePath(QStringLiteral("a.bmp"))},
                  {"c", m_dir.filePath(QStringLiteral("c.bmp"))}},
                 false, plain.fileName(), MessageAnswer::Ok);
        expected = what + "\n" + below + "a.png: ";
        QVERIFY(m_dialogs->lastCall().text.contains("\n" + below + "c.png: "));
        QCOMPARE(m_window->resultsPage->resultsTable().dataRows().constLast().at(0),
                 QStringLiteral("c"));
    } else {
        analyse(m_dir.filePath(QStringLiteral("a.bmp")));
        const bool overlay = what.contains(QLatin1String("overlay"));
        m_dialogs->answerSaveFile(below + (overlay ? "x.png" : "x.csv"));
        m_dialogs->answerMessage(MessageAnswer::Ok);
        (overlay ? static_cast<QAbstractButton *>(m_window->resultsPage->saveOverlayButton)
                 : m_window->resultsPage->saveTableButton)
            ->click();
        expected = what + " could not be saved to " + below + (overlay ? "x.png" : "x.csv") + ":\n";
    }
    QVERIFY2(m_dialogs->lastCall().text.startsWith(expected),
             qPrintable(m_dialogs->lastCall().text));
    QVERIFY(m_dialogs->lastCall().text.size() > expected.size());
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("plain")});
    QCOMPARE(QFileInfo(plain).size(), 0);
}

QTEST_MAIN(WindowResultsFilesTest)
#include "tst_window_results_files.moc"
