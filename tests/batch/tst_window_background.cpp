// "Correct background" and the background warning on the real main window,
// driven offscreen, over a clean synthetic scan and the same scan photographed
// on grey paper (BMP, so no compression stands between the two).
#include "picture_folder_browser.h"
#include "window_rig.h"

#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>

using namespace verdalis;

class WindowBackgroundTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_rig.close(); }
    void reportSaysWhatBecameOfTheBackground_data();
    void reportSaysWhatBecameOfTheBackground();
    void optionIsKeptBetweenRuns();
    void batchCopyEqualsCommandLine_data();
    void batchCopyEqualsCommandLine();

private:
    // Analyses a picture as a set picture outside a batch; its leaf area.
    double analyse(const QString &path);

    QTemporaryDir m_dir;
    QString m_pictures;
    QString m_clean;
    QString m_photo;
    WindowRig m_rig;
};

void WindowBackgroundTest::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("settings"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("set")));
    m_pictures = m_dir.filePath(QStringLiteral("set"));
    m_clean = writeScene(m_pictures + "/clean.bmp", 480, 360, 21);
    m_photo = writeScene(m_pictures + "/photo.bmp", 480, 360, 21, Background::White, true);
}

void WindowBackgroundTest::init()
{
    writeCorrectBackgroundSetting(false);
    m_rig.open();
    m_rig.window->state().setUnitName(QStringLiteral("mm"));
    m_rig.window->state().markCalibrated();
}

double WindowBackgroundTest::analyse(const QString &path)
{
    double leafArea = -1.0;
    const auto connection =
        connect(&m_rig.window->analyzeCommand().driver(), &AnalysisDriver::finished, this,
                [&](const AnalysisResult &result) { leafArea = result.leafArea; });
    if (!m_rig.window->loadSetPicture(QStringLiteral("picture"), path) ||
        !QTest::qWaitFor([&] { return leafArea >= 0.0; }, 60000))
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
    MainWindow &w = *m_rig.window;
    const double cleanArea = analyse(m_clean);
    w.correctBackgroundBox->setChecked(correct);
    const double area = analyse(photo ? m_photo : m_clean);
    QVERIFY(cleanArea > 0.0 && area > 0.0);
    const QStringList lines =
        w.resultsPage->reportText->toPlainText().split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.last().startsWith(lastLine), qPrintable(lines.last()));
    QCOMPARE(w.resultsPage->backgroundWarning->isVisible(), warned);
    if (warned)
        QVERIFY(w.resultsPage->backgroundWarning->text().contains("\"Correct background\""));
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
    for (bool on : {true, false}) {
        QCOMPARE(m_rig.window->correctBackgroundBox->isChecked(), !on);
        m_rig.window->correctBackgroundBox->click();
        QCOMPARE(m_rig.window->backgroundCorrector().isEnabled(), on);
        m_rig.open();
        QCOMPARE(m_rig.window->correctBackgroundBox->isChecked(), on);
        QCOMPARE(m_rig.window->backgroundCorrector().isEnabled(), on);
    }
}

void WindowBackgroundTest::batchCopyEqualsCommandLine_data()
{
    QTest::addColumn<bool>("correct");
    QTest::newRow("as read") << false;
    QTest::newRow("corrected") << true;
}

// The copied table, header included, equals verdalis-batch's; the photo's row
// and verdalis-batch's standard error warn unless its paper was corrected.
void WindowBackgroundTest::batchCopyEqualsCommandLine()
{
    QFETCH(bool, correct);
    MainWindow &w = *m_rig.window;
    w.correctBackgroundBox->setChecked(correct);
    PictureSetWindow *window = m_rig.openSetWindow();
    QVERIFY(window->browser->openFolder(m_pictures));
    QTRY_COMPARE(window->browser->listedFiles(), QStringList({"clean.bmp", "photo.bmp"}));
    window->addAllButton->click();
    m_rig.runSet();

    QTableWidget *table = w.resultsPage->resultsTableView;
    QCOMPARE(table->rowCount(), 2);
    QVERIFY(table->item(0, 0)->toolTip().isEmpty());
    QCOMPARE(table->item(1, 0)->toolTip().contains(QStringLiteral("border")), !correct);
    QCOMPARE(table->horizontalHeaderItem(0)->text().contains(QStringLiteral("corrected")), correct);
    const QString copied = m_rig.copiedTable();
    QCOMPARE(copied.startsWith(QStringLiteral("File name (background corrected)\t")), correct);

    QStringList arguments{"--size-ratio", "1", "--unit", "mm", "--jobs", "1", m_clean, m_photo};
    if (correct)
        arguments.prepend(QStringLiteral("--correct-background"));
    const CommandLineRun cli = runCommandLine(arguments);
    QCOMPARE(cli.status, 0);
    QCOMPARE(copied, QString::fromUtf8(cli.out));
    const QStringList remarks = cli.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(remarks.size(), correct ? 0 : 1);
    if (!correct)
        QVERIFY(remarks.first().contains("photo.bmp") && remarks.first().contains("background"));
}

QTEST_MAIN(WindowBackgroundTest)
#include "tst_window_background.moc"
