// Pictures are read off the GUI thread: the window says it is loading, keeps
// the picture it has until the new one is there, lets the last choice win, and
// lets a set picture or closing the window take over from a read in progress.
#include "analyze_command.h"
#include "main_window.h"
#include "photo_page.h"
#include "picture_view.h"
#include "scripted_dialogs.h"
#include "test_pictures.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QThreadPool>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace verdalis;
using verdalis::test::TestPictures;

class PictureLoadingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadingIsShownUntilThePictureIsThere();
    void lastChoiceWins_data();
    void lastChoiceWins();
    void setPictureTakesOver();
    void closingWhileLoadingIsSafe();

private:
    // Lets every read started end, and its result (if still wanted) arrive.
    static void letReadsEnd();

    std::unique_ptr<TestPictures> m_files;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void PictureLoadingTest::init()
{
    m_files = std::make_unique<TestPictures>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MainWindow>(*m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void PictureLoadingTest::cleanup()
{
    m_window.reset();
    letReadsEnd();
    m_dialogs.reset();
    m_files.reset();
}

void PictureLoadingTest::letReadsEnd()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PictureLoadingTest::loadingIsShownUntilThePictureIsThere()
{
    PhotoPage *page = m_window->photoPage;
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("leaf.bmp"), 640, 480));
    m_window->openPictureButton->click();

    // The result comes back through the event loop: nothing is shown yet.
    QVERIFY(m_window->isLoadingPicture());
    QVERIFY(page->loadingLabel->isVisible());
    QVERIFY(page->progressBar->isVisible());
    QVERIFY(!m_window->analyzeButton->isEnabled());
    QVERIFY(!m_window->reloadPictureButton->isEnabled());
    QVERIFY(m_window->openPictureButton->isEnabled());
    QVERIFY(page->isHintRunning());
    QVERIFY(!m_window->canvas().hasPicture());

    QTRY_VERIFY(!m_window->isLoadingPicture());
    QVERIFY(!page->loadingLabel->isVisible());
    QVERIFY(!page->progressBar->isVisible());
    QCOMPARE(m_window->canvas().picture(), TestPictures::gradient(640, 480));
    QVERIFY(page->pictureView->isVisible());
    QVERIFY(m_window->analyzeButton->isEnabled());
    QVERIFY(m_window->reloadPictureButton->isEnabled());
    QCOMPARE(opened.count(), 1);
}

void PictureLoadingTest::lastChoiceWins_data()
{
    QTest::addColumn<QString>("second"); // "picture", "damaged" or "cancel"
    QTest::addColumn<QSize>("shown");    // the picture shown at the end; 0 x 0: none
    QTest::addColumn<int>("opened");
    QTest::newRow("a second picture") << "picture" << QSize(90, 70) << 1;
    QTest::newRow("a damaged file") << "damaged" << QSize(0, 0) << 0;
    // Cancelling the dialog chooses nothing: the first read goes on.
    QTest::newRow("cancelled") << "cancel" << QSize(120, 80) << 1;
}

void PictureLoadingTest::lastChoiceWins()
{
    QFETCH(QString, second);
    QFETCH(QSize, shown);
    QFETCH(int, opened);
    QSignalSpy openedSpy(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("first.bmp"), 120, 80));
    m_window->openPictureButton->click();
    QString secondPath;
    if (second == QLatin1String("cancel")) {
        m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
    } else {
        secondPath = second == QLatin1String("picture")
                         ? m_files->writeGradient(QStringLiteral("second.bmp"), 90, 70)
                         : m_files->writeGarbage(QStringLiteral("second.jpg"));
        m_dialogs->answerOpenFile(secondPath);
        if (second == QLatin1String("damaged"))
            m_dialogs->answerMessage(MessageAnswer::Ok);
    }
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    letReadsEnd();

    QCOMPARE(m_window->canvas().pixelSize(), shown);
    QCOMPARE(openedSpy.count(), opened);
    // One message at most: for the damaged file, never for the read let go.
    const QStringList messages = m_dialogs->messages();
    QCOMPARE(messages, second == QLatin1String("damaged")
                           ? QStringList{TestPictures::cannotOpenMessage(secondPath)}
                           : QStringList());
    QCOMPARE(m_window->analyzeButton->isEnabled(), !shown.isEmpty());
}

void PictureLoadingTest::setPictureTakesOver()
{
    m_window->state().markCalibrated();
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("opened.bmp"), 150, 100));
    m_window->openPictureButton->click();
    QVERIFY(m_window->isLoadingPicture());

    const QString setPicture = m_files->writeGradient(QStringLiteral("set.bmp"), 60, 50);
    QVERIFY(m_window->loadSetPicture(QStringLiteral("set"), setPicture));
    QVERIFY(!m_window->isLoadingPicture());
    QVERIFY(!m_window->photoPage->loadingLabel->isVisible());
    QTRY_VERIFY(!m_window->analyzeCommand().isRunning());
    letReadsEnd();
    // The picture of the set stays; the file chosen before is not opened.
    QCOMPARE(m_window->canvas().picture(), TestPictures::gradient(60, 50));
    QCOMPARE(opened.count(), 0);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void PictureLoadingTest::closingWhileLoadingIsSafe()
{
    m_dialogs->answerOpenFile(m_files->writeGradient(QStringLiteral("large.jpg"), 3000, 2000), 2);
    m_window->openPictureButton->click();
    QVERIFY(m_window->isLoadingPicture());
    m_window->close();
    QVERIFY(!m_window->isLoadingPicture());
    m_window.reset();
    // The read ends with no window to take it; nothing is asked of anyone.
    letReadsEnd();
    QVERIFY(m_dialogs->calls().size() == 1);
}

QTEST_MAIN(PictureLoadingTest)
#include "picture_loading_test.moc"
