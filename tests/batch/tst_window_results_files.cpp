// The results' files from the real main window, driven offscreen, against
// verdalis-batch: the overlay saved with Ctrl+S, a batch's spot columns,
// overlays and CSV file, and saves that fail.
#include "window_rig.h"

#include <QCheckBox>
#include <QImageReader>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace verdalis;

namespace {

QImage pixelsOf(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QStringList arguments(const QString &system, int tenths, QStringList more = {})
{
    return more << "--system" << system << "--size-ratio"
                << "0.32"
                << "--unit"
                << "mm"
                << "--unit-step" << QString::number(tenths / 10.0);
}

} // namespace

class WindowResultsFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_rig.open(); }
    void cleanup() { m_rig.close(); }
    void overlayEqualsCommandLine_data();
    void overlayEqualsCommandLine();
    void overlayGoesWithWhatIsDrawnSince();
    void batchSpotsOverlaysAndCsvEqualCommandLine();
    void failedSavesSayWhereAndLeaveNothing_data();
    void failedSavesSayWhereAndLeaveNothing();

private:
    // The overlays' folder is asked for, then one message is answered (a
    // question before the run or a failure after it), when given.
    void runBatch(const QVector<SetPicture> &set, bool spots, const QString &overlayFolder,
                  std::optional<MessageAnswer> message = std::nullopt);
    QString picture(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
    WindowRig m_rig;
};

void WindowResultsFilesTest::initTestCase()
{
    for (auto [name, seed] : {std::pair{"a.bmp", 5}, {"b.jpg", 7}, {"c.bmp", 6}})
        writeScene(picture(name), 360, 300, seed);
}

void WindowResultsFilesTest::runBatch(const QVector<SetPicture> &set, bool spots,
                                      const QString &overlayFolder,
                                      std::optional<MessageAnswer> message)
{
    PictureSetWindow *window = m_rig.openSetWindow();
    window->pictureSet().add(set);
    window->spotStatisticsBox->setChecked(spots);
    window->saveOverlaysBox->setChecked(!overlayFolder.isEmpty());
    if (!overlayFolder.isEmpty())
        m_rig.dialogs->answerFolder(overlayFolder);
    if (message)
        m_rig.dialogs->answerMessage(*message);
    m_rig.runSet();
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
    m_rig.calibrate(system, 0.32, tenths);
    const QString path = m_dir.filePath(picture);
    m_rig.analyse(path);
    // Ctrl+S, a name typed without extension: PNG, the type offered first.
    QTemporaryDir out;
    m_rig.dialogs->answerSaveFile(out.filePath(QStringLiteral("window")), 1);
    QTest::keyClick(m_rig.window.get(), Qt::Key_S, Qt::ControlModifier);
    const QImage saved = pixelsOf(out.filePath(QStringLiteral("window.png")));
    QCOMPARE(saved.size(), QSize(360, 300));
    int dots = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            dots += saved.pixel(x, y) == dotColour;
    QVERIFY2(dots > 20, qPrintable(QString::number(dots)));
    runCommandLine(arguments(system, tenths, {"--overlay", out.filePath("cli")}), {{"p", path}},
                   out.path());
    QVERIFY(saved == pixelsOf(out.filePath(QStringLiteral("cli/p.png"))));
    // JPEG when the name asks for it.
    m_rig.dialogs->answerSaveFile(out.filePath(QStringLiteral("window.jpg")), 1);
    m_rig.window->resultsPage->saveOverlayButton->click();
    QCOMPARE(QImageReader(out.filePath(QStringLiteral("window.jpg"))).format(), "jpeg");
    QVERIFY(m_rig.dialogs->messages().isEmpty());
}

// The overlay saved is what the analysis painted: a line drawn over it or
// another picture withdraw it until the next analysis; Ctrl+S then asks nothing.
void WindowResultsFilesTest::overlayGoesWithWhatIsDrawnSince()
{
    m_rig.calibrate(QStringLiteral("System 2"), 0.32);
    QPushButton *save = m_rig.window->resultsPage->saveOverlayButton;
    QVERIFY(!save->isEnabled());
    m_rig.analyse(picture("a.bmp"));
    QVERIFY(save->isEnabled());
    m_rig.window->canvas().drawLine(QPointF(1, 1), QPointF(20, 20));
    QVERIFY(!save->isEnabled());
    QTest::keyClick(m_rig.window.get(), Qt::Key_S, Qt::ControlModifier);
    m_rig.analyse(picture("c.bmp"));
    QVERIFY(save->isEnabled());
    m_rig.dialogs->answerOpenFile(picture("a.bmp"));
    m_rig.window->openPictureButton->click();
    QTRY_VERIFY(!m_rig.window->isLoadingPicture());
    QVERIFY(!save->isEnabled());
}

void WindowResultsFilesTest::batchSpotsOverlaysAndCsvEqualCommandLine()
{
    m_rig.calibrate(QStringLiteral("System 1"), 0.32);
    // A comma and quotes for the CSV, a slash and a repeated name for the files.
    const QVector<SetPicture> set{{"plot \"a\", 2", picture("a.bmp")},
                                  {"row/b", picture("b.jpg")},
                                  {"c", picture("c.bmp")},
                                  {"c", picture("a.bmp")}};
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("window"));
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("window")));
    QFile earlier(folder + QStringLiteral("/c.png"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();
    // A file the run would replace is named first; Cancel starts nothing.
    runBatch(set, true, folder, MessageAnswer::Cancel);
    QCOMPARE(m_rig.dialogs->lastCall().text,
             QStringLiteral("1 overlay picture of this set is already in %1 and will be "
                            "replaced:\nc.png")
                 .arg(QDir::toNativeSeparators(folder)));
    PictureSetWindow *setWindow = m_rig.window->pictureSetCommand().pictureSetWindow();
    QVERIFY(setWindow->spotStatisticsBox->isEnabled());
    setWindow->cancelButton->click();
    runBatch(set, true, folder, MessageAnswer::Ok);

    QTableWidget *table = m_rig.window->resultsPage->resultsTableView;
    QCOMPARE(table->columnCount(), 6);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("Mean spot area\nmm2"));
    QVERIFY(table->item(0, 4)->text().toInt() > 0);
    QCOMPARE(m_rig.copiedTable(),
             QString::fromUtf8(
                 runCommandLine(arguments("System 1", 10, {"--spots"}), set, out.path()).out));
    m_rig.dialogs->answerSaveFile(out.filePath(QStringLiteral("results")));
    m_rig.window->resultsPage->saveTableButton->click();
    QFile csv(out.filePath(QStringLiteral("results.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(),
             runCommandLine(
                 arguments("System 1", 10, {"--spots", "--csv", "--overlay", out.filePath("cli")}),
                 set, out.path())
                 .out);
    QStringList written = QDir(folder).entryList(QDir::Files, QDir::Name);
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
    m_rig.calibrate(QStringLiteral("System 2"), 0.32);
    QTemporaryDir out;
    QFile plain(out.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString below = QDir::toNativeSeparators(plain.fileName() + '/');
    const ScriptedDialogs &dialogs = *m_rig.dialogs;
    QString expected;
    if (what.startsWith(u'2')) {
        runBatch({{"a", picture("a.bmp")}, {"c", picture("c.bmp")}}, false, plain.fileName(),
                 MessageAnswer::Ok);
        expected = what + "\n" + below + "a.png: ";
        QVERIFY(dialogs.lastCall().text.contains("\n" + below + "c.png: "));
        QCOMPARE(m_rig.window->resultsPage->resultsTable().dataRows().constLast().at(0),
                 QStringLiteral("c"));
    } else {
        m_rig.analyse(picture("a.bmp"));
        const QString name = what.contains(QLatin1String("overlay")) ? "x.png" : "x.csv";
        m_rig.dialogs->answerSaveFile(below + name);
        m_rig.dialogs->answerMessage(MessageAnswer::Ok);
        ResultsPage *page = m_rig.window->resultsPage;
        (name == "x.png" ? static_cast<QAbstractButton *>(page->saveOverlayButton)
                         : page->saveTableButton)
            ->click();
        expected = what + " could not be saved to " + below + name + ":\n";
    }
    QVERIFY2(dialogs.lastCall().text.startsWith(expected), qPrintable(dialogs.lastCall().text));
    QVERIFY(dialogs.lastCall().text.size() > expected.size());
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("plain")});
    QCOMPARE(QFileInfo(plain).size(), 0);
}

QTEST_MAIN(WindowResultsFilesTest)
#include "tst_window_results_files.moc"
