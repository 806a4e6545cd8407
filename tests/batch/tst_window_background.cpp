// "Correct background" and the background warning on the real main window,
// driven offscreen, over a clean synthetic scan and the same scan photographed
// on grey paper: the report's last line and the warning under it, the setting
// kept between runs, and a batch whose copied table (header included) equals
// what verdalis-batch writes, with its remarks on standard error.
#include "analyze_command.h"
#include "main_window.h"
#include "paper_photo.h"
#include "picture_folder_browser.h"
#include "picture_set_command.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace verdalis;

namespace {

const QString Unit = QStringLiteral("mm");

// The clean scan, or the same scene photographed on grey paper (BMP, so no
// compression stands between the two).
QString writePicture(const QString &path, bool greyPaper)
{
    const SyntheticScene scene = randomLeafScene(480, 360, 21);
    QImage picture(scene.width, scene.height, QImage::Format_RGB32);
    auto *pixels = reinterpret_cast<std::uint32_t *>(picture.bits());
    renderScene(scene, pixels, picture.bytesPerLine() / 4);
    if (greyPaper) {
        PaperLight light;
        light.noise = 1.0;
        photographUnder(light, pixels, picture.width(), picture.height(),
                        picture.bytesPerLine() / 4);
    }
    if (!picture.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class WindowBackgroundTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void reportSaysWhatBecameOfTheBackground_data();
    void reportSaysWhatBecameOfTheBackground();
    void optionIsKeptBetweenRuns();
    void batchCopyEqualsCommandLine_data();
    void batchCopyEqualsCommandLine();

private:
    // Analyses a picture on its own (as a set picture outside a batch) and
    // returns the leaf area.
    double analyse(const QString &path);
    void newWindow();

    QTemporaryDir m_dir;
    QString m_pictures;
    QString m_clean;
    QString m_photo;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void WindowBackgroundTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("settings"));
    QDir dir(m_dir.path());
    QVERIFY(dir.mkdir(QStringLiteral("set")));
    m_pictures = dir.filePath(QStringLiteral("set"));
    m_clean = writePicture(m_pictures + "/clean.bmp", false);
    m_photo = writePicture(m_pictures + "/photo.bmp", true);
}

void WindowBackgroundTest::newWindow()
{
    m_window.reset();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->state().setUnitName(Unit);
    m_window->state().markCalibrated();
}

void WindowBackgroundTest::init()
{
    writeCorrectBackgroundSetting(false);
    newWindow();
}

void WindowBackgroundTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
}

double WindowBackgroundTest::analyse(const QString &path)
{
    double leafArea = -1.0;
    const auto connection =
        connect(&m_window->analyzeCommand().driver(), &AnalysisDriver::finished, this,
                [&](const AnalysisResult &result) { leafArea = result.leafArea; });
    if (!m_window->loadSetPicture(QStringLiteral("picture"), path))
        qWarning("cannot load %s", qPrintable(path));
    if (!QTest::qWaitFor([&] { return leafArea >= 0.0; }, 60000))
        qWarning("the analysis of %s did not finish", qPrintable(path));
    disconnect(connection);
    return leafArea;
}

void WindowBackgroundTest::reportSaysWhatBecameOfTheBackground_data()
{
    QTest::addColumn<bool>("photo");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<bool>("warned");
    QTest::newRow("clean scan") << false << false << "Leaf perimeter" << false;
    QTest::newRow("grey paper") << true << false << "Leaf perimeter" << true;
    QTest::newRow("grey paper corrected") << true << true << "Background corrected" << false;
    QTest::newRow("clean scan, option on")
        << false << true << "Background not corrected: it is white already" << false;
}

void WindowBackgroundTest::reportSaysWhatBecameOfTheBackground()
{
    QFETCH(bool, photo);
    QFETCH(bool, correct);
    QFETCH(QString, lastLine);
    QFETCH(bool, warned);
    const double cleanArea = analyse(m_clean);
    m_window->correctBackgroundBox->setChecked(correct);
    const double area = analyse(photo ? m_photo : m_clean);
    QVERIFY(cleanArea > 0.0 && area > 0.0);

    const QStringList lines =
        m_window->resultsPage->reportText->toPlainText().split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.last().startsWith(lastLine), qPrintable(lines.last()));
    QLabel *warning = m_window->resultsPage->backgroundWarning;
    QCOMPARE(warning->isVisible(), warned);
    if (warned)
        QVERIFY(warning->text().contains(QStringLiteral("\"Correct background\"")));
    // The grey paper counts as leaf until it is corrected; then the leaf is the
    // clean scan's to within 1.5 %.
    if (photo && !correct)
        QVERIFY(area > 1.5 * cleanArea);
    else
        QVERIFY2(qAbs(area - cleanArea) <= 0.015 * cleanArea,
                 qPrintable(QStringLiteral("%1 against %2").arg(area).arg(cleanArea)));
}

void WindowBackgroundTest::optionIsKeptBetweenRuns()
{
    QVERIFY(!m_window->correctBackgroundBox->isChecked());
    m_window->correctBackgroundBox->click();
    QVERIFY(m_window->backgroundCorrector().isEnabled());
    newWindow();
    QVERIFY(m_window->correctBackgroundBox->isChecked());
    QVERIFY(m_window->backgroundCorrector().isEnabled());
    m_window->correctBackgroundBox->click();
    newWindow();
    QVERIFY(!m_window->correctBackgroundBox->isChecked());
    QVERIFY(!m_window->backgroundCorrector().isEnabled());
}

void WindowBackgroundTest::batchCopyEqualsCommandLine_data()
{
    QTest::addColumn<bool>("correct");
    QTest::newRow("as read") << false;
    QTest::newRow("corrected") << true;
}

void WindowBackgroundTest::batchCopyEqualsCommandLine()
{
    QFETCH(bool, correct);
    MainWindow &w = *m_window;
    w.correctBackgroundBox->setChecked(correct);
    w.pictureSetButton->click();
    PictureSetWindow *window = w.pictureSetCommand().pictureSetWindow();
    QVERIFY(window);
    PictureFolderBrowser &browser = *window->browser;
    QVERIFY(browser.openFolder(m_pictures));
    QTRY_COMPARE(browser.listedFiles(), QStringList({"clean.bmp", "photo.bmp"}));
    window->addAllButton->click();
    window->analyzeButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(!w.pictureSetCommand().batchRun().isRunning(), 120000);

    // The photo's row carries the warning mark unless its paper was corrected.
    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 2);
    QVERIFY(table->item(0, 0)->toolTip().isEmpty());
    QCOMPARE(table->item(1, 0)->toolTip().contains(QStringLiteral("border")), !correct);
    QCOMPARE(table->horizontalHeaderItem(0)->text().contains(QStringLiteral("corrected")), correct);

    w.resultsPage->copyTableButton->click();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.startsWith(QStringLiteral("File name (background corrected)\t")), correct);

    QStringList arguments{"--size-ratio", "1", "--unit", Unit, "--jobs", "1", m_clean, m_photo};
    if (correct)
        arguments.prepend(QStringLiteral("--correct-background"));
    QProcess batch;
    batch.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitCode(), 0);
    QCOMPARE(copied, QString::fromUtf8(batch.readAllStandardOutput()));
    // One remark on the photo as read, naming it and its background; none
    // on the clean scan, and none once the photo is corrected.
    const QStringList remarks =
        QString::fromUtf8(batch.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    if (correct) {
        QVERIFY(remarks.isEmpty());
    } else {
        QCOMPARE(remarks.size(), 1);
        QVERIFY(remarks.first().contains(QStringLiteral("photo.bmp")));
        QVERIFY(remarks.first().contains(QStringLiteral("background")));
    }
}

QTEST_MAIN(WindowBackgroundTest)
#include "tst_window_background.moc"
