// The results' files from the real main window, driven offscreen, against
// verdalis-batch: the overlay picture saved with Ctrl+S, the overlays and the
// spot columns of a batch, the results table saved as CSV, and saves that fail.
#include "analyze_command.h"
#include "main_window.h"
#include "picture_set_command.h"
#include "picture_set_window.h"
#include "results_files_command.h"
#include "results_page.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace verdalis;

namespace {

const double SizeRatio = 0.32;
const QString Unit = QStringLiteral("mm");

void writeScene(const QString &path, int width, int height, std::uint32_t seed,
                Background background)
{
    const SyntheticScene scene = randomLeafScene(width, height, seed, background);
    QImage picture(width, height, QImage::Format_RGB32);
    renderScene(scene, reinterpret_cast<std::uint32_t *>(picture.bits()),
                picture.bytesPerLine() / 4);
    if (!picture.save(path))
        qFatal("cannot write %s", qPrintable(path));
}

struct CommandLineRun {
    int status = -1;
    QByteArray out;
};

// verdalis-batch over the pictures (a set file when line names are given).
CommandLineRun runCommandLine(const QString &system, int tenths, const QStringList &options,
                              const QVector<SetPicture> &set, const QString &folder)
{
    QStringList arguments{"--system", system, "--size-ratio", QString::number(SizeRatio),
                          "--unit",   Unit,   "--unit-step",  QString::number(tenths / 10.0),
                          "--jobs",   "2"};
    arguments << options;
    const QString setFile = QDir(folder).filePath(QStringLiteral("window.set"));
    QFile file(setFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the set file");
    for (const SetPicture &picture : set)
        file.write(
            (picture.lineName + QLatin1Char('\t') + picture.path + QLatin1Char('\n')).toUtf8());
    file.close();
    arguments << "--set" << setFile;
    QProcess batch;
    batch.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    if (!batch.waitForFinished(120000))
        qFatal("verdalis-batch did not finish");
    return {batch.exitCode(), batch.readAllStandardOutput()};
}

QImage pixelsOf(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

int pixelsOfColour(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    QTemporaryDir m_dir;
    QString m_pictures;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void WindowResultsFilesTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir dir(m_dir.path());
    QVERIFY(dir.mkdir(QStringLiteral("set")));
    m_pictures = dir.filePath(QStringLiteral("set"));
    writeScene(m_pictures + "/plot-a.bmp", 360, 240, 5, Background::White);
    writeScene(m_pictures + "/plot-b.jpg", 420, 300, 7, Background::Black);
    writeScene(m_pictures + "/plot-c.bmp", 300, 330, 6, Background::White);
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
    MainWindow &w = *m_window;
    w.selector().select(w.selector().catalogue().indexOf(system));
    w.state().setSizeRatio(SizeRatio);
    w.state().setUnitName(Unit);
    w.state().markCalibrated();
    w.canvas().setUnitStepTenths(tenths);
}

void WindowResultsFilesTest::analyse(const QString &picture)
{
    m_dialogs->answerOpenFile(picture);
    m_window->openPictureButton->click();
    m_window->analyzeButton->click();
    QVERIFY(QTest::qWaitFor([&] { return !m_window->analyzeCommand().isRunning(); }, 60000));
}

void WindowResultsFilesTest::overlayEqualsCommandLine_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRgb>("dotColour");
    QTest::newRow("System 2, BMP") << "System 2" << 10 << "plot-a.bmp" << qRgb(255, 0, 0);
    QTest::newRow("System 1, JPEG, unit step 0.5")
        << "System 1" << 5 << "plot-b.jpg" << qRgb(255, 0, 0);
    QTest::newRow("Leaf area only, unit step 0.3")
        << "Leaf area only" << 3 << "plot-c.bmp" << qRgb(255, 255, 0);
}

void WindowResultsFilesTest::overlayEqualsCommandLine()
{
    QFETCH(QString, system);
    QFETCH(int, tenths);
    QFETCH(QString, picture);
    QFETCH(QRgb, dotColour);
    calibrate(system, tenths);
    const QString path = m_pictures + QLatin1Char('/') + picture;
    analyse(path);
    QVERIFY(m_window->resultsPage->saveOverlayButton->isEnabled());

    // Ctrl+S with a name typed without extension: PNG, the first type.
    QTemporaryDir out;
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window")), 1);
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Save overlay picture"));
    const QImage saved = pixelsOf(out.filePath(QStringLiteral("window.png")));
    QCOMPARE(saved.size(), QImage(path).size());
    QVERIFY(pixelsOfColour(saved, dotColour) > 100);

    const QString line = QFileInfo(picture).completeBaseName();
    const CommandLineRun cli =
        runCommandLine(system, tenths, {"--overlay", out.filePath(QStringLiteral("cli"))},
                       {{line, path}}, out.path());
    QCOMPARE(cli.status, 0);
    QVERIFY(saved == pixelsOf(out.filePath(QStringLiteral("cli/") + line + ".png")));

    // JPEG when the name asks for it, at full resolution.
    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("window.jpeg")), 1);
    m_window->resultsPage->saveOverlayButton->click();
    QCOMPARE(fileBytes(out.filePath(QStringLiteral("window.jpeg"))).left(2),
             QByteArray("\xff\xd8"));
    QCOMPARE(QImage(out.filePath(QStringLiteral("window.jpeg"))).size(), saved.size());
    QVERIFY(m_dialogs->messages().isEmpty());
}

// The saved overlay is what the analysis painted: a line drawn over it, or
// another picture, withdraw it until the next analysis, and Ctrl+S then asks
// nothing.
void WindowResultsFilesTest::overlayGoesWithWhatIsDrawnSince()
{
    calibrate(QStringLiteral("System 2"), 10);
    QPushButton *save = m_window->resultsPage->saveOverlayButton;
    QVERIFY(!save->isEnabled());
    analyse(m_pictures + "/plot-a.bmp");
    QVERIFY(save->isEnabled());
    m_window->canvas().setPen(Qt::blue, 1);
    m_window->canvas().drawLine(QPointF(1, 1), QPointF(20, 20));
    QVERIFY(!save->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);

    m_window->analyzeButton->click();
    QVERIFY(QTest::qWaitFor([&] { return !m_window->analyzeCommand().isRunning(); }, 60000));
    QVERIFY(save->isEnabled());
    m_dialogs->answerOpenFile(m_pictures + "/plot-c.bmp");
    m_window->openPictureButton->click();
    QVERIFY(!save->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_dialogs->calls().size(), 2); // the two open dialogs
}

void WindowResultsFilesTest::batchSpotsOverlaysAndCsvEqualCommandLine()
{
    const QString system = QStringLiteral("System 1");
    calibrate(system, 10);
    MainWindow &w = *m_window;
    // Awkward line names: a comma and quotes for the CSV, a slash and a
    // repeated name for the overlay files.
    const QVector<SetPicture> set{{"plot-a", m_pictures + "/plot-a.bmp"},
                                  {"plot \"b\", block 2", m_pictures + "/plot-b.jpg"},
                                  {"row/c", m_pictures + "/plot-c.bmp"},
                                  {"plot-a", m_pictures + "/plot-c.bmp"}};
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("window"));
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("window")));
    QFile earlier(folder + QStringLiteral("/plot-a.png"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();

    w.pictureSetButton->click();
    PictureSetWindow *window = w.pictureSetCommand().pictureSetWindow();
    QVERIFY(window);
    window->pictureSet().add(set);
    QVERIFY(!window->spotStatisticsBox->isChecked());
    window->spotStatisticsBox->setChecked(true);
    window->saveOverlaysBox->setChecked(true);
    m_dialogs->answerFolder(folder);
    // A file the run would replace is named first; Cancel keeps it and starts nothing.
    m_dialogs->answerMessage(MessageAnswer::Cancel);
    window->analyzeButton->click();
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("1 overlay picture of this set is already in %1 and will be "
                            "replaced:\nplot-a.png")
                 .arg(QDir::toNativeSeparators(folder)));
    QVERIFY(!w.pictureSetCommand().batchRun().isRunning());
    m_dialogs->answerFolder(folder);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    window->analyzeButton->click();
    QVERIFY(w.pictureSetCommand().batchRun().isRunning());
    QVERIFY(!window->spotStatisticsBox->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!w.pictureSetCommand().batchRun().isRunning(), 120000);
    QCOMPARE(m_dialogs->calls().size(), 4);

    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->columnCount(), 6);
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Spots"));
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("Mean spot area\nmm2"));
    QVERIFY(table->item(0, 4)->text().toInt() > 0);

    // The copied table, the CSV file and the overlay files are verdalis-batch's.
    w.resultsPage->copyTableButton->click();
    const CommandLineRun tabs = runCommandLine(system, 10, {"--spots"}, set, out.path());
    QCOMPARE(tabs.status, 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(tabs.out));

    m_dialogs->answerSaveFile(out.filePath(QStringLiteral("results")));
    w.resultsPage->saveTableButton->click();
    const CommandLineRun csv = runCommandLine(
        system, 10, {"--spots", "--csv", "--overlay", out.filePath(QStringLiteral("cli"))}, set,
        out.path());
    QCOMPARE(csv.status, 0);
    QCOMPARE(fileBytes(out.filePath(QStringLiteral("results.csv"))), csv.out);

    const QStringList names{"plot _b_, block 2.png", "plot-a-2.png", "plot-a.png", "row_c.png"};
    QStringList written = QDir(folder).entryList(QDir::Files);
    written.sort();
    QCOMPARE(written, names);
    for (const QString &name : names) {
        const QImage windowOverlay = pixelsOf(folder + QLatin1Char('/') + name);
        QVERIFY2(!windowOverlay.isNull(), qPrintable(name));
        QVERIFY2(windowOverlay == pixelsOf(out.filePath(QStringLiteral("cli/")) + name),
                 qPrintable(name));
    }
}

void WindowResultsFilesTest::failedSavesSayWhereAndLeaveNothing_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("overlay") << "overlay";
    QTest::newRow("CSV") << "csv";
    QTest::newRow("batch overlays") << "batch";
}

void WindowResultsFilesTest::failedSavesSayWhereAndLeaveNothing()
{
    QFETCH(QString, what);
    calibrate(QStringLiteral("System 2"), 10);
    QTemporaryDir out;
    QFile plain(out.filePath(QStringLiteral("plain-file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString below = out.filePath(QStringLiteral("plain-file/"));
    const auto nativeBelow = [&](const QString &name) {
        return QDir::toNativeSeparators(below + name);
    };

    if (what == QLatin1String("batch")) {
        m_window->pictureSetButton->click();
        PictureSetWindow *window = m_window->pictureSetCommand().pictureSetWindow();
        window->pictureSet().add(QVector<SetPicture>{{"a", m_pictures + "/plot-a.bmp"},
                                                     {"c", m_pictures + "/plot-c.bmp"}});
        window->saveOverlaysBox->setChecked(true);
        // A folder that is a file: nothing can be written into it.
        m_dialogs->answerFolder(out.filePath(QStringLiteral("plain-file")));
        m_dialogs->answerMessage(MessageAnswer::Ok);
        window->analyzeButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->pictureSetCommand().batchRun().isRunning(), 120000);
        QCOMPARE(m_dialogs->messages().size(), 1);
        const QStringList lines = m_dialogs->lastCall().text.split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("2 overlay pictures could not be written:"));
        QVERIFY(lines.at(1).startsWith(nativeBelow(QStringLiteral("a.png: "))));
        QVERIFY(lines.at(2).startsWith(nativeBelow(QStringLiteral("c.png: "))));
        // The rows are there all the same.
        QCOMPARE(m_window->resultsPage->resultsTable().dataRows().size(), 2);
    } else {
        analyse(m_pictures + "/plot-a.bmp");
        m_window->resultsPage->prepareResultsTable(1);
        const QString name =
            what == QLatin1String("overlay") ? QStringLiteral("x.png") : QStringLiteral("x.csv");
        m_dialogs->answerSaveFile(below + name);
        m_dialogs->answerMessage(MessageAnswer::Ok);
        if (what == QLatin1String("overlay"))
            m_window->resultsPage->saveOverlayButton->click();
        else
            m_window->resultsPage->saveTableButton->click();
        const QString text = m_dialogs->lastCall().text;
        const QString head = what == QLatin1String("overlay")
                                 ? QStringLiteral("The overlay picture")
                                 : QStringLiteral("The results table");
        QVERIFY2(text.startsWith(head + QStringLiteral(" could not be saved to ") +
                                 nativeBelow(name) + QStringLiteral(":\n")),
                 qPrintable(text));
        QVERIFY(text.size() > text.indexOf(u'\n') + 1);
    }
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("plain-file")});
    QCOMPARE(QFileInfo(plain).size(), 0);
}

QTEST_MAIN(WindowResultsFilesTest)
#include "tst_window_results_files.moc"
