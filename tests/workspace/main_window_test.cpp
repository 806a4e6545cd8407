// The main window driven offscreen: opening and reloading pictures (read off
// the GUI thread, the last choice winning), scrolling, the leaf area read-out,
// the picture tools, the brush frame, and the help button and its window.
#include "analyze_command.h"
#include "brush_panel.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "help_command.h"
#include "help_viewer.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_tools.h"
#include "picture_view.h"
#include "scripted_dialogs.h"
#include "test_pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QThreadPool>
#include <QToolButton>

#include <memory>

using namespace verdalis;
using verdalis::test::TestPictures;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openShowsThePicture();
    void damagedFileKeepsWhatIsShown_data();
    void damagedFileKeepsWhatIsShown();
    void lastChoiceWins_data();
    void lastChoiceWins();
    void closingWhileLoadingIsSafe();
    void largePictureScrollsAndReloadKeepsItsPlace();
    void leafAreaShowsLongFiguresWhole();
    void pictureToolsExcludeEachOther();
    void brushFollowsTheDetectionSystem();
    void eyedropperReadsThePixelUnderTheMouse();
    void helpButtonChoosesThePageAndSaysWhenItIsMissing();

private:
    void openPicture(const QString &path);
    QString tabCaption() const { return m_window->pageTabs->tabText(0); }
    // Lets every read started end, and its result (if still wanted) arrive.
    static void letReadsEnd();
    void clickHelp() { QTest::mouseClick(m_window->helpButton, Qt::LeftButton); }
    HelpViewer *viewer() const { return m_window->helpCommand().viewer(); }
    QString shownPage() const { return viewer()->browser->source().fileName(); }

    std::unique_ptr<TestPictures> m_files;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    PhotoPage *m_page = nullptr;
};

void MainWindowTest::init()
{
    m_files = std::make_unique<TestPictures>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_page = m_window->photoPage;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->resize(800, 600);
    QTRY_COMPARE(m_page->pictureViewport->size(), QSize(517, 463));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    letReadsEnd();
    m_dialogs.reset();
    m_files.reset();
}

void MainWindowTest::letReadsEnd()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MainWindowTest::openPicture(const QString &path)
{
    m_dialogs->answerOpenFile(path);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
}

// A picture opened from any page is read off the GUI thread: the window says
// so and keeps what it has until the picture is there, then shows it on the
// photo page, centred.
void MainWindowTest::openShowsThePicture()
{
    m_window->pageTabs->setCurrentIndex(1);
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("leaf one.jpg"), 200, 100), 2);
    m_window->openPictureButton->click();
    QVERIFY(m_window->isLoadingPicture());
    QVERIFY(!m_window->analyzeButton->isEnabled());
    QVERIFY(m_page->isHintRunning());

    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_window->canvas().pixelSize(), QSize(200, 100));
    QCOMPARE(tabCaption(), QStringLiteral("Photo leaf one.jpg"));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QVERIFY(!m_page->isHintRunning());
    QVERIFY(m_window->analyzeButton->isEnabled());
    // Smaller than the 517 x 463 pixel viewport: centred on both axes.
    QCOMPARE(m_page->pictureView->pos(), QPoint(158, 182));
}

void MainWindowTest::damagedFileKeepsWhatIsShown_data()
{
    // With no picture shown yet, lastChoiceWins's damaged file.
    QTest::addColumn<bool>("reload"); // reload the picture after deleting its file
    QTest::newRow("open over a picture") << false;
    QTest::newRow("reload of a deleted file") << true;
}

void MainWindowTest::damagedFileKeepsWhatIsShown()
{
    QFETCH(bool, reload);
    const QString good = m_files->writeGradient(QStringLiteral("good.bmp"), 60, 40);
    openPicture(good);
    const QImage before = m_window->canvas().picture();
    const QString caption = tabCaption();

    QString failing = good;
    if (reload) {
        QVERIFY(QFile::remove(good));
        m_dialogs->answerMessage(MessageAnswer::Ok);
        m_window->reloadPictureButton->click();
    } else {
        failing = m_files->writeGarbage(QStringLiteral("damaged.jpg"));
        m_dialogs->answerOpenFile(failing, 2);
        m_dialogs->answerMessage(MessageAnswer::Ok);
        m_window->openPictureButton->click();
    }
    QTRY_VERIFY(!m_window->isLoadingPicture());

    QCOMPARE(m_dialogs->lastCall().text, TestPictures::cannotOpenMessage(failing));
    QCOMPARE(m_dialogs->lastCall().messageKind, MessageKind::Error);
    QCOMPARE(m_window->canvas().picture(), before);
    QCOMPARE(tabCaption(), caption);
    QVERIFY(m_window->analyzeButton->isEnabled());
    QVERIFY(!m_page->isHintRunning());
    if (!reload) { // a reload still reads the picture that loaded
        m_window->reloadPictureButton->click();
        QTRY_VERIFY(!m_window->isLoadingPicture());
        QCOMPARE(m_window->canvas().picture(), before);
    }
}

void MainWindowTest::lastChoiceWins_data()
{
    QTest::addColumn<QString>("second"); // "picture", "damaged", "cancel" or "set"
    QTest::addColumn<QSize>("shown");    // the picture shown at the end; 0 x 0: none
    QTest::addColumn<int>("opened");
    QTest::newRow("a second picture") << "picture" << QSize(90, 70) << 1;
    QTest::newRow("a damaged file") << "damaged" << QSize(0, 0) << 0;
    // Cancelling the dialog chooses nothing: the first read goes on.
    QTest::newRow("cancelled") << "cancel" << QSize(120, 80) << 1;
    // A picture of a set stays; the file chosen before is not opened.
    QTest::newRow("a picture of a set") << "set" << QSize(60, 50) << 0;
}

// A second choice while the first picture is still being read.
void MainWindowTest::lastChoiceWins()
{
    QFETCH(QString, second);
    QFETCH(QSize, shown);
    QFETCH(int, opened);
    m_window->state().markCalibrated();
    QSignalSpy openedSpy(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("first.bmp"), 120, 80));
    m_window->openPictureButton->click();
    QVERIFY(m_window->isLoadingPicture());
    QString secondPath;
    if (second == QLatin1String("set")) {
        const QString set = m_files->writeGradient(QStringLiteral("set.bmp"), 60, 50);
        QVERIFY(m_window->loadSetPicture(QStringLiteral("set"), set));
        QVERIFY(!m_window->isLoadingPicture());
        QTRY_VERIFY(!m_window->analyzeCommand().isRunning());
    } else if (second == QLatin1String("cancel")) {
        m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
        m_window->openPictureButton->click();
    } else {
        secondPath = second == QLatin1String("picture")
                         ? m_files->writeGradient(QStringLiteral("second.bmp"), 90, 70)
                         : m_files->writeGarbage(QStringLiteral("second.jpg"));
        m_dialogs->answerOpenFile(secondPath);
        if (second == QLatin1String("damaged"))
            m_dialogs->answerMessage(MessageAnswer::Ok);
        m_window->openPictureButton->click();
    }
    QTRY_VERIFY(!m_window->isLoadingPicture());
    letReadsEnd();

    QCOMPARE(m_window->canvas().pixelSize(), shown);
    QCOMPARE(openedSpy.count(), opened);
    // One message at most: for the damaged file, never for the read let go.
    QCOMPARE(m_dialogs->messages(), second == QLatin1String("damaged")
                                        ? QStringList{TestPictures::cannotOpenMessage(secondPath)}
                                        : QStringList());
    QCOMPARE(m_window->analyzeButton->isEnabled(), !shown.isEmpty());
    QCOMPARE(m_page->isHintRunning(), shown.isEmpty());
}

void MainWindowTest::closingWhileLoadingIsSafe()
{
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("large.jpg"), 3000, 2000), 2);
    m_window->openPictureButton->click();
    QVERIFY(m_window->isLoadingPicture());
    m_window->close();
    QVERIFY(!m_window->isLoadingPicture());
    m_window.reset();
    // The read ends with no window to take it; nothing is asked of anyone.
    letReadsEnd();
    QCOMPARE(m_dialogs->calls().size(), 1);
}

// The layout and fitting rules are their own; here, that the window follows
// them: it snaps back to its smallest size, a large picture gets its scroll
// bars, and a reload keeps the place scrolled to and drops the drawings.
void MainWindowTest::largePictureScrollsAndReloadKeepsItsPlace()
{
    m_window->resize(733, 533); // 11000 x 8000 twips
    QTRY_COMPARE(m_window->size(), QSize(800, 600));
    // 1000 x 800 pixels = 15000 x 12000 twips in a 7755 x 6945 twips viewport.
    openPicture(m_files->writeGradient(QStringLiteral("big.bmp"), 1000, 800));
    QCOMPARE(m_page->horizontalScroll->maximum(), 72);
    QCOMPARE(m_page->pictureView->pos(), QPoint(-240, -173)); // -3600, -2600 twips
    m_page->horizontalScroll->setValue(10);
    m_page->verticalScroll->setValue(0);
    QCOMPARE(m_page->pictureView->pos(), QPoint(-67, 0)); // -1000 twips, rounded
    m_window->canvas().setPen(Qt::red, 4);
    m_window->canvas().drawPoint(QPointF(10, 10));
    m_window->pageTabs->setCurrentIndex(1);

    m_window->reloadPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_window->canvas().composedImage(), TestPictures::gradient(1000, 800));
    QCOMPARE(m_page->pictureView->pos(), QPoint(-67, 0));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QCOMPARE(tabCaption(), QStringLiteral("Photo big.bmp"));
}

// A figure of 15 digits is readable whole in the smallest window: the box is
// wide enough for it, and the unit and its square mark stay beside it on the
// page. A new calibration takes the figure away; the box keeps its design
// width.
void MainWindowTest::leafAreaShowsLongFiguresWhole()
{
    const QString figure = QStringLiteral("48605.1840000001");
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_page->showLeafArea(figure);
    QLineEdit *box = m_page->leafAreaBox;
    QVERIFY(box->fontMetrics().horizontalAdvance(figure) < box->contentsRect().width() - 4);
    QVERIFY(m_page->areaUnitLabel->x() > box->geometry().right());
    QCOMPARE(m_page->areaSquareMark->x(), m_page->areaUnitLabel->geometry().right() + 1);
    QVERIFY(m_page->rect().contains(m_page->areaSquareMark->geometry()));
    m_window->state().setSizeRatio(0.5);
    QCOMPARE(box->text(), QString());
}

void MainWindowTest::pictureToolsExcludeEachOther()
{
    openPicture(m_files->writeGradient(QStringLiteral("leaf.bmp"), 100, 80));
    QToolButton *samplingSwitch = m_window->detectionSystemPanel->colourSamplingSwitch;
    QToolButton *brushSwitch = m_window->brushPanel->brushSwitch;
    QCheckBox *gridShow = m_window->measurementsPanel->gridFrame()->showBox();
    const QImage &overlay = m_window->canvas().overlay();

    // A calibrated unit and a spacing make the grid available.
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_window->measurementsPanel->gridFrame()->spacingBox()->setEditText(QStringLiteral("10"));

    // Sampling: the grid goes off, and the custom detection frame takes the
    // measurements frame's place.
    gridShow->click();
    QVERIFY(TestPictures::paintedPixels(overlay) > 0);
    samplingSwitch->click();
    QVERIFY(!gridShow->isChecked());
    QCOMPARE(TestPictures::paintedPixels(overlay), 0);

    // The brush: sampling goes off (its frame gives the place back) and the
    // measuring line is cleared.
    m_window->canvas().setPen(Qt::red, 1);
    m_window->canvas().drawLine(QPointF(2, 2), QPointF(20, 2));
    brushSwitch->click();
    QVERIFY(!samplingSwitch->isChecked());
    QCOMPARE(TestPictures::paintedPixels(overlay), 0);
    QVERIFY(m_window->pictureTools().dispatcher().isBrushActive());

    // The brush off: the cross-hair and measuring are back.
    brushSwitch->click();
    QVERIFY(m_window->pictureTools().dispatcher().isMeasuring());
}

// The symptom brush is there only where a system detects symptoms; back on
// "Leaf area only" the brush paints leaf again, and its switch shows it.
void MainWindowTest::brushFollowsTheDetectionSystem()
{
    BrushPanel *brush = m_window->brushPanel;
    m_window->detectionSystemPanel->systemList->setCurrentIndex(3);
    QVERIFY(brush->symptomBrushButton->isEnabled());
    brush->symptomBrushButton->click();
    QCOMPARE(brush->kind(), BrushKind::Symptom);
    brush->followDetectionSystem(6); // a custom system keeps the choice
    QCOMPARE(brush->kind(), BrushKind::Symptom);
    m_window->detectionSystemPanel->systemList->setCurrentIndex(0);
    QCOMPARE(brush->kind(), BrushKind::Leaf);
    QVERIFY(!brush->symptomBrushButton->isEnabled());
}

// At every unit step the colour under the mouse, in the preview and in a pick,
// is that of the pixel the mouse is on (column 31 at unit step 1.0 read 30).
void MainWindowTest::eyedropperReadsThePixelUnderTheMouse()
{
    const QImage picture = TestPictures::gradient(300, 220);
    openPicture(m_files->write(QStringLiteral("columns.bmp"), picture));
    m_window->detectionSystemPanel->colourSamplingSwitch->click();
    PictureView *view = m_page->pictureView;
    const QLabel *preview = m_window->customDetectionPanel->colourUnderMouseSwatch;
    for (int tenths = 1; tenths <= 10; ++tenths) {
        m_window->canvas().setUnitStepTenths(tenths);
        for (int x = 0; x < picture.width(); x += 7) {
            const QPoint at(x, (x * 3) % picture.height());
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &move);
            QVERIFY2(
                preview->palette().color(QPalette::Window) == picture.pixelColor(at),
                qPrintable(QStringLiteral("at %1, %2, step %3").arg(x).arg(at.y()).arg(tenths)));
        }
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(31, 17));
        QCOMPARE(m_window->state().customColour(), (Rgb{31, 17, 90}));
        m_window->customDetectionPanel->resetColoursButton->click();
    }
}

// The help button opens the general page, or the custom detection page while
// colour sampling is on; Back and Home go where they should, and the button
// brings back the one window, closed or minimised. A missing page is said to be
// missing and leaves the window usable.
void MainWindowTest::helpButtonChoosesThePageAndSaysWhenItIsMissing()
{
    QTemporaryDir folder;
    m_window->state().setProgramFolder(folder.path());
    // The general page links to another.
    const char *const pages[][2] = {{"help-main.htm", "<a href=\"help-other.htm\">other</a>"},
                                    {"help-custom.htm", "custom"},
                                    {"help-other.htm", "other"}};
    for (const auto &page : pages) {
        QFile file(folder.filePath(QLatin1String(page[0])));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("<html><body>") + page[1] + "</body></html>");
    }
    const QUrl other = QUrl::fromLocalFile(folder.filePath(QStringLiteral("help-other.htm")));
    clickHelp();
    HelpViewer *help = viewer();
    QVERIFY(help && help->isVisible());
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
    // Back on the first page does nothing; after a link it returns.
    help->backButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
    help->browser->setSource(other);
    help->backButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));

    help->close();
    QToolButton *sampling = m_window->detectionSystemPanel->colourSamplingSwitch;
    sampling->click();
    clickHelp();
    QCOMPARE(viewer(), help);
    QVERIFY(help->isVisible());
    QCOMPARE(shownPage(), QStringLiteral("help-custom.htm"));
    // Home returns to the page chosen last.
    help->browser->setSource(other);
    help->homeButton->click();
    QCOMPARE(shownPage(), QStringLiteral("help-custom.htm"));

    help->showMinimized();
    clickHelp();
    QVERIFY(!help->isMinimized());
    QVERIFY(help->isVisible());
    QVERIFY(m_dialogs->calls().isEmpty());

    help->close();
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("help-custom.htm"))));
    m_dialogs->answerMessage(MessageAnswer::Ok);
    clickHelp();
    QCOMPARE(m_dialogs->messages(), QStringList{QStringLiteral("An error occur at loading help")});
    QVERIFY(!help->isVisible());
    QVERIFY(m_window->isEnabled()); // the main window stays usable
    // The general page is still there.
    sampling->click();
    clickHelp();
    QCOMPARE(shownPage(), QStringLiteral("help-main.htm"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
