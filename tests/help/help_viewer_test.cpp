// The help button of the real main window and the help window it opens, driven
// offscreen, with help pages written into a temporary program folder.
#include "detection_system_panel.h"
#include "help_command.h"
#include "help_viewer.h"
#include "help_viewer_layout.h"
#include "main_window.h"
#include "scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <memory>

using namespace verdalis;

namespace {

void writePage(const QString &path, const QString &title, const QString &body = QString())
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>")
            .arg(title, body)
            .toUtf8());
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void helpButtonChoosesThePage_data();
    void helpButtonChoosesThePage();
    void homeReturnsToThePageChosenLast();
    void backOnTheFirstPageDoesNothing();
    void helpButtonBringsTheOpenWindowBack();
    void heightNeverBelowTheMinimum();
    void missingPageSaysSo();

private:
    void clickHelp() { QTest::mouseClick(m_window->helpButton, Qt::LeftButton); }
    HelpViewer *viewer() const { return m_window->helpCommand().viewer(); }
    QString shownPage() const { return viewer()->browser->source().fileName(); }
    void switchSampling(bool on)
    {
        QToolButton *sampling = m_window->detectionSystemPanel->colourSamplingSwitch;
        if (sampling->isChecked() != on)
            sampling->click();
        QCOMPARE(sampling->isChecked(), on);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void HelpViewerTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    writePage(m_folder->filePath(QStringLiteral("help-main.htm")), QStringLiteral("General"),
              QStringLiteral("<a href=\"help-other.htm\">other</a>"));
    writePage(m_folder->filePath(QStringLiteral("help-custom.htm")), QStringLiteral("Custom"));
    writePage(m_folder->filePath(QStringLiteral("help-other.htm")), QStringLiteral("Other"));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_window->state().setProgramFolder(m_folder->path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void HelpViewerTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_folder.reset();
}

void HelpViewerTest::helpButtonChoosesThePage_data()
{
    QTest::addColumn<bool>("sampling");
    QTest::addColumn<QString>("page");
    QTest::newRow("general") << false << "help-main.htm";
    QTest::newRow("colour sampling on") << true << "help-custom.htm";
}

void HelpViewerTest::helpButtonChoosesThePage()
{
    QFETCH(bool, sampling);
    QFETCH(QString, page);
    QVERIFY(!viewer());
    switchSampling(sampling);
    clickHelp();
    QVERIFY(viewer());
    QVERIFY(viewer()->isVisible());
    QCOMPARE(viewer()->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(shownPage(), page);
    QCOMPARE(viewer()->homePage(), m_folder->filePath(page));
    // The main window stays usable beside it.
    QVERIFY(m_window->isEnabled());
}

void HelpViewerTest::homeReturnsToThePageChosenLast()
{
    switchSampling(true);
    clickHelp();
    viewer()->browser->setSource(QUrl::fromLocalFile(m_folder->filePath("help-other.htm")));
    QCOMPARE(shownPage(), QStringLiteral("help-other.htm"));
    viewer()->homeButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-custom.htm"));

    switchSampling(false);
    clickHelp();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
    viewer()->browser->setSource(QUrl::fromLocalFile(m_folder->filePath("help-other.htm")));
    viewer()->homeButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
}

void HelpViewerTest::backOnTheFirstPageDoesNothing()
{
    clickHelp();
    viewer()->backButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
    QVERIFY(m_dialogs->calls().isEmpty());

    // Following a link, Back returns.
    viewer()->browser->setSource(QUrl::fromLocalFile(m_folder->filePath("help-other.htm")));
    viewer()->backButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
}

void HelpViewerTest::helpButtonBringsTheOpenWindowBack()
{
    clickHelp();
    HelpViewer *first = viewer();
    first->close();
    QVERIFY(!first->isVisible());
    switchSampling(true);
    clickHelp();
    QCOMPARE(viewer(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(shownPage(), QStringLiteral("help-custom.htm"));

    first->showMinimized();
    clickHelp();
    QVERIFY(!first->isMinimized());
    QVERIFY(first->isVisible());
}

// Sizes are the outer ones, frame included: 2500 twips are 167 pixels. Where
// the buttons and the browser go only restates the layout's constants.
void HelpViewerTest::heightNeverBelowTheMinimum()
{
    clickHelp();
    const QSize frame = viewer()->frameGeometry().size() - viewer()->size();
    viewer()->resize(QSize(600, 100) - frame);
    QCOMPARE(viewer()->frameGeometry().size(), QSize(600, 167));
    // Minimised, the rules leave everything as it is.
    QVERIFY(!HelpViewerLayout::compute(QSize(9000, 100), true));
}

void HelpViewerTest::missingPageSaysSo()
{
    QVERIFY(QFile::remove(m_folder->filePath(QStringLiteral("help-custom.htm"))));
    switchSampling(true);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    clickHelp();
    QCOMPARE(m_dialogs->messages(), QStringList{QStringLiteral("An error occur at loading help")});
    QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Verdalis"));
    QCOMPARE(m_dialogs->lastCall().buttons, MessageButtons::Ok);
    QVERIFY(!viewer() || !viewer()->isVisible());
    QVERIFY(m_window->isEnabled());

    // The general page is still there.
    switchSampling(false);
    clickHelp();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
