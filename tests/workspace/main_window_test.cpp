#include "analyze_command.h"
#include "brush_panel.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_tools.h"
#include "picture_view.h"
#include "scripted_dialogs.h"
#include "test_pictures.h"
#include "unit_tuner_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace verdalis;
using verdalis::test::TestPictures;

namespace {
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithTheHint();
    void cancelBeforeAnyPictureLeavesTheHintRunning();
    void openShowsThePicture();
    void openRemembersTheFileType();
    void damagedFileKeepsWhatIsShown_data();
    void damagedFileKeepsWhatIsShown();
    void reloadKeepsPlaceAndDropsDrawings();
    void setPictureIsLoadedAndAnalysed();
    void unreadableSetPictureGivesItsReason();
    void resizeSnapsToMinimum();
    void largerWindowWidensViewport();
    void bigPictureScrolls();
    void hintSteps();
    void unitSuperscriptFollowsUnitName();
    void leafAreaShowsLongFiguresWhole_data();
    void leafAreaShowsLongFiguresWhole();
    void mouseReportsPictureUnits();
    void brushFollowsDetectionSystem();
    void pictureToolsExcludeEachOther();
    void samplingPicksColoursInsteadOfMeasuring();
    void eyedropperReadsThePixelUnderTheMouse();
    void everythingFitsTheSmallestWindow_data();
    void everythingFitsTheSmallestWindow();
    void closingEndsTheProgram();

private:
    void openPicture(const QString &path, int filterIndex = 1);
    QString tabCaption() const { return m_window->pageTabs->tabText(0); }

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
    m_dialogs.reset();
    m_files.reset();
}

void MainWindowTest::openPicture(const QString &path, int filterIndex)
{
    m_dialogs->answerOpenFile(path, filterIndex);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
}

void MainWindowTest::startsWithTheHint()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Verdalis, Leaf & Symptom Area"));
    QVERIFY(!w.analyzeButton->isEnabled());
    QVERIFY(!w.reloadPictureButton->isEnabled());

    QVERIFY(m_page->isHintRunning());
    QCOMPARE(m_page->hintTimer->interval(), 300);
    QVERIFY(m_page->hintLabel->isVisible());
    QVERIFY(!m_page->pictureView->isVisible());
    QVERIFY(!m_page->progressBar->isVisible());
    for (const QPixmap &frame : m_page->hintFrames)
        QCOMPARE(frame.size(), QSize(150, 120));
    // The hint sits in the middle of the viewport.
    QCOMPARE(m_page->hintLabel->geometry().center(), m_page->pictureViewport->rect().center());

    QCOMPARE(w.state().programFolder(), QCoreApplication::applicationDirPath());
    QCOMPARE(w.opener().filterIndex(), 1);
}

void MainWindowTest::cancelBeforeAnyPictureLeavesTheHintRunning()
{
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_dialogs->calls().size(), 1); // the dialog only, no message
    QVERIFY(m_page->isHintRunning());
    QVERIFY(m_page->hintLabel->isVisible());
    QVERIFY(!m_page->pictureView->isVisible());
    QVERIFY(!m_window->analyzeButton->isEnabled());
    QVERIFY(!m_window->reloadPictureButton->isEnabled());
    QCOMPARE(tabCaption(), QStringLiteral("Photo"));
    QCOMPARE(opened.count(), 0);
}

void MainWindowTest::openShowsThePicture()
{
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_window->pageTabs->setCurrentIndex(1);
    openPicture(m_files->writeGradient(QStringLiteral("leaf one.bmp"), 200, 100));

    QCOMPARE(tabCaption(), QStringLiteral("Photo leaf one.bmp"));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QVERIFY(!m_page->isHintRunning());
    QVERIFY(!m_page->hintLabel->isVisible());
    QVERIFY(m_page->pictureView->isVisible());
    QCOMPARE(m_page->pictureView->size(), QSize(200, 100));
    QVERIFY(m_window->analyzeButton->isEnabled());
    QVERIFY(m_window->reloadPictureButton->isEnabled());
    QCOMPARE(opened.count(), 1);
    // Smaller than the 517 x 463 pixel viewport: centred on both axes.
    QCOMPARE(m_page->pictureView->pos(), QPoint(158, 182));
    QCOMPARE(m_page->horizontalScroll->maximum(), 0);
    QCOMPARE(m_page->verticalScroll->maximum(), 0);
}

void MainWindowTest::openRemembersTheFileType()
{
    openPicture(m_files->writeGradient(QStringLiteral("leaf.jpg"), 40, 30), 2);
    m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_dialogs->calls().at(0).title, QStringLiteral("Open picture file"));
    QCOMPARE(m_dialogs->calls().at(0).filter,
             QStringLiteral("bmp  Files (*.bmp)|*.bmp;|jpg  Files (*.jpg)|*.jpg"));
    QCOMPARE(m_dialogs->calls().at(0).filterIndex, 1);
    QCOMPARE(m_dialogs->calls().at(1).filterIndex, 2);
}

void MainWindowTest::damagedFileKeepsWhatIsShown_data()
{
    QTest::addColumn<bool>("pictureBefore");
    QTest::addColumn<bool>("reload");   // reload the picture after deleting its file
    QTest::addColumn<bool>("cutShort"); // a scan cut short instead of a file of nonsense
    QTest::newRow("open before any picture") << false << false << false;
    QTest::newRow("open over a picture") << true << false << false;
    QTest::newRow("reload of a deleted file") << true << true << false;
    QTest::newRow("open a scan cut short over a picture") << true << false << true;
}

void MainWindowTest::damagedFileKeepsWhatIsShown()
{
    QFETCH(bool, pictureBefore);
    QFETCH(bool, reload);
    QFETCH(bool, cutShort);
    const QString good = m_files->writeGradient(QStringLiteral("good.bmp"), 60, 40);
    if (pictureBefore)
        openPicture(good);
    const QImage before = m_window->canvas().picture();
    const QString caption = tabCaption();
    const bool analyzeEnabled = m_window->analyzeButton->isEnabled();

    QString failing = good;
    if (reload) {
        QVERIFY(QFile::remove(good));
        m_dialogs->answerMessage(MessageAnswer::Ok);
        m_window->reloadPictureButton->click();
        QTRY_VERIFY(!m_window->isLoadingPicture());
    } else {
        failing = cutShort ? m_files->writeCutShort(QStringLiteral("scan.jpg"), 0.95)
                           : m_files->writeGarbage(QStringLiteral("damaged.jpg"));
        m_dialogs->answerOpenFile(failing, 2);
        m_dialogs->answerMessage(MessageAnswer::Ok);
        m_window->openPictureButton->click();
        QTRY_VERIFY(!m_window->isLoadingPicture());
        // The file type is taken from the dialog all the same.
        QCOMPARE(m_window->opener().filterIndex(), 2);
    }

    QCOMPARE(m_dialogs->lastCall().text, TestPictures::cannotOpenMessage(failing));
    if (cutShort)
        QVERIFY(m_dialogs->lastCall().text.startsWith(
            QStringLiteral("This file can't be opened.\n") + QDir::toNativeSeparators(failing) +
            QStringLiteral(": The picture is incomplete or damaged (")));
    QCOMPARE(m_dialogs->lastCall().title, QStringLiteral("Verdalis"));
    QCOMPARE(m_dialogs->lastCall().messageKind, MessageKind::Error);
    QCOMPARE(m_window->canvas().picture(), before);
    QCOMPARE(tabCaption(), caption);
    QCOMPARE(m_window->analyzeButton->isEnabled(), analyzeEnabled);
    QCOMPARE(m_page->isHintRunning(), !pictureBefore);
    if (pictureBefore && !reload) { // a reload still reads the picture that loaded
        m_window->reloadPictureButton->click();
        QTRY_VERIFY(!m_window->isLoadingPicture());
        QCOMPARE(m_window->canvas().picture(), before);
    }
}

void MainWindowTest::reloadKeepsPlaceAndDropsDrawings()
{
    const QString path = m_files->writeGradient(QStringLiteral("wide.bmp"), 900, 300);
    openPicture(path);
    m_page->horizontalScroll->setValue(3);
    const QPoint place = m_page->pictureView->pos();
    QCOMPARE(place.x(), -20); // 300 twips
    m_window->canvas().setPen(Qt::red, 4);
    m_window->canvas().drawPoint(QPointF(10, 10));
    m_window->pageTabs->setCurrentIndex(1);

    m_window->reloadPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_window->canvas().composedImage(), TestPictures::gradient(900, 300));
    QCOMPARE(m_page->pictureView->pos(), place);
    QCOMPARE(m_page->horizontalScroll->value(), 3);
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QCOMPARE(tabCaption(), QStringLiteral("Photo wide.bmp"));
}

void MainWindowTest::setPictureIsLoadedAndAnalysed()
{
    QSignalSpy analyze(m_window.get(), &MainWindow::analyzeRequested);
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_window->state().markCalibrated();
    m_window->pageTabs->setCurrentIndex(1);
    const QString path = m_files->writeGradient(QStringLiteral("p7.bmp"), 1000, 200);
    QVERIFY(m_window->loadSetPicture(QStringLiteral("Plant 7"), path));

    QCOMPARE(tabCaption(), QStringLiteral("Photo Plant 7"));
    QCOMPARE(m_window->state().currentPictureName(), QStringLiteral("Plant 7"));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QVERIFY(!m_page->isHintRunning());
    QVERIFY(m_page->pictureView->isVisible());
    // The window is disabled while the analysis runs.
    QVERIFY(m_window->analyzeButton->isEnabledTo(m_window.get()));
    QVERIFY(m_window->reloadPictureButton->isEnabledTo(m_window.get()));
    QCOMPARE(analyze.count(), 1);
    QCOMPARE(opened.count(), 0);
    QVERIFY(m_window->analyzeCommand().isRunning());
    QVERIFY(!m_window->isEnabled());
    QTRY_VERIFY(!m_window->analyzeCommand().isRunning());
    QVERIFY(m_window->isEnabled());
}

// A batch goes on past a picture it cannot read and names it at the end, so
// loading a set picture asks nothing of the user.
void MainWindowTest::unreadableSetPictureGivesItsReason()
{
    QSignalSpy analyze(m_window.get(), &MainWindow::analyzeRequested);
    const QString damaged = m_files->writeGarbage(QStringLiteral("p8.jpg"));
    QString reason;
    QVERIFY(!m_window->loadSetPicture(QStringLiteral("Plant 8"), damaged, &reason));
    QCOMPARE(reason, TestPictures::readerReason(damaged));
    QVERIFY(m_dialogs->calls().isEmpty());
    QCOMPARE(analyze.count(), 0);
    QVERIFY(m_page->isHintRunning());
    QVERIFY(!m_window->analyzeButton->isEnabled());
}

void MainWindowTest::resizeSnapsToMinimum()
{
    // 11000 x 8000 twips.
    m_window->resize(733, 533);
    QTRY_COMPARE(m_window->size(), QSize(800, 600));
    // No dead space: 7 pixels to the window's edges beside and below the tabs.
    QCOMPARE(m_window->pageTabs->geometry(), QRect(7, 50, 786, 543));
    QCOMPARE(m_page->pictureViewport->size(), QSize(517, 463));
    QCOMPARE(m_page->horizontalScroll->width(), 517);
    QCOMPARE(m_page->verticalScroll->height(), 463);
}

void MainWindowTest::largerWindowWidensViewport()
{
    m_window->resize(1200, 900);
    QTRY_COMPARE(m_page->pictureViewport->size(), QSize(917, 763));
    // The hint stays centred in the larger viewport.
    QCOMPARE(m_page->hintLabel->geometry().center(), m_page->pictureViewport->rect().center());
}

void MainWindowTest::bigPictureScrolls()
{
    // 1000 x 800 pixels = 15000 x 12000 twips in a 7755 x 6945 twips viewport.
    openPicture(m_files->writeGradient(QStringLiteral("big.bmp"), 1000, 800));
    QCOMPARE(m_page->horizontalScroll->maximum(), 72);
    QCOMPARE(m_page->horizontalScroll->value(), 36);
    QCOMPARE(m_page->verticalScroll->maximum(), 51);
    QCOMPARE(m_page->verticalScroll->value(), 26);            // half of 51 rounds to the even 26
    QCOMPARE(m_page->pictureView->pos(), QPoint(-240, -173)); // -3600, -2600 twips

    m_page->horizontalScroll->setValue(10);
    m_page->verticalScroll->setValue(0);
    QCOMPARE(m_page->pictureView->pos(), QPoint(-67, 0)); // -1000 twips, rounded
}

void MainWindowTest::hintSteps()
{
    // A page of its own, whose timer has had no event loop to tick in.
    PictureCanvas canvas;
    WorkspaceState state;
    PhotoPage page(canvas, state);
    QList<int> shown;
    for (int i = 0; i < 9; ++i) {
        QMetaObject::invokeMethod(page.hintTimer, "timeout");
        shown << page.hintFrameShown();
        QCOMPARE(page.hintLabel->pixmap().cacheKey(), page.hintFrames[shown.last()].cacheKey());
    }
    QCOMPARE(shown, (QList<int>{0, 1, 2, 3, 3, 2, 1, 0, 1}));
}

void MainWindowTest::unitSuperscriptFollowsUnitName()
{
    QLabel *unit = m_page->areaUnitLabel;
    QLabel *square = m_page->areaSquareMark;
    QCOMPARE(square->x(), unit->geometry().right() + 1);
    const int before = square->x();
    m_window->state().setUnitName(QStringLiteral("centimetres"));
    QCOMPARE(unit->text(), QStringLiteral("centimetres"));
    QVERIFY(square->x() > before);
    QCOMPARE(square->x(), unit->geometry().right() + 1);
}

void MainWindowTest::leafAreaShowsLongFiguresWhole_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QString>("figure");
    QTest::newRow("short") << QSize(800, 600) << "7896.166";
    QTest::newRow("15 digits") << QSize(800, 600) << "48605.1840000001";
    QTest::newRow("15 digits, wide window") << QSize(1280, 1024) << "1234567890.12345";
}

// The whole figure is readable: the box is wide enough for it, the unit and its
// square mark stay beside it on the page, and its tooltip holds it too.
void MainWindowTest::leafAreaShowsLongFiguresWhole()
{
    QFETCH(QSize, window);
    QFETCH(QString, figure);
    m_window->resize(window);
    QTRY_COMPARE(m_window->size(), window);
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_page->showLeafArea(figure);
    QLineEdit *box = m_page->leafAreaBox;
    QCOMPARE(box->text(), figure);
    QCOMPARE(box->toolTip(), figure);
    QVERIFY(box->fontMetrics().horizontalAdvance(figure) < box->contentsRect().width() - 4);
    QVERIFY(box->width() >= 120);
    QVERIFY(m_page->areaUnitLabel->x() > box->geometry().right());
    QVERIFY(m_page->rect().contains(m_page->areaSquareMark->geometry()));
    // A new calibration takes the figure away, and the box keeps its design width.
    m_window->state().setSizeRatio(0.5);
    QCOMPARE(box->text(), QString());
    QCOMPARE(box->width(), 120);
}

void MainWindowTest::mouseReportsPictureUnits()
{
    openPicture(m_files->writeGradient(QStringLiteral("leaf.bmp"), 100, 80));
    PictureView *view = m_page->pictureView;
    QCOMPARE(view->cursor().shape(), Qt::CrossCursor);
    QSignalSpy down(view, &PictureView::mouseDown);
    QSignalSpy up(view, &PictureView::mouseUp);

    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(48, 24));
    QCOMPARE(down.last().at(0).toPointF(), QPointF(12.7, 6.35)); // 480/127 pixels a unit
    m_window->canvas().setUnitStepTenths(5);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(48, 24));
    QCOMPARE(up.last().at(0).toPointF(), QPointF(25.4, 12.7));

    // What is drawn shows on the view.
    m_window->canvas().setPen(QColor(255, 0, 0), 1);
    m_window->canvas().drawPoint(QPointF(4, 4)); // pixel 7 at unitStep 0.5
    QCOMPARE(view->grab().toImage().pixel(7, 7), qRgb(255, 0, 0));

    view->setEnabled(false);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(down.count(), 1);
}

void MainWindowTest::brushFollowsDetectionSystem()
{
    BrushPanel *brush = m_window->brushPanel;
    // The rule is the panel's own; here only that the window passes the system on.
    m_window->state().setSystemIndex(2);
    QVERIFY(brush->symptomBrushButton->isEnabled());
    m_window->state().setSystemIndex(0);
    QVERIFY(!brush->symptomBrushButton->isEnabled());
}

void MainWindowTest::pictureToolsExcludeEachOther()
{
    openPicture(m_files->writeGradient(QStringLiteral("leaf.bmp"), 100, 80));
    QToolButton *samplingSwitch = m_window->detectionSystemPanel->colourSamplingSwitch;
    QToolButton *brushSwitch = m_window->brushPanel->brushSwitch;
    QCheckBox *gridShow = m_window->measurementsPanel->gridFrame()->showBox();
    PictureView *picture = m_page->pictureView;
    auto overlayIsEmpty = [this] {
        const QImage &overlay = m_window->canvas().overlay();
        for (int y = 0; y < overlay.height(); ++y)
            for (int x = 0; x < overlay.width(); ++x)
                if (qAlpha(overlay.pixel(x, y)) != 0)
                    return false;
        return true;
    };

    // A calibrated unit and a spacing make the grid available.
    m_window->state().setUnitName(QStringLiteral("mm"));
    m_window->measurementsPanel->gridFrame()->spacingBox()->setEditText(QStringLiteral("10"));
    QVERIFY(gridShow->isEnabled());

    // Sampling: the grid and the brush go off, the custom detection frame takes
    // the measurements frame's place, the pointer is the eyedropper.
    gridShow->click();
    QVERIFY(!overlayIsEmpty());
    samplingSwitch->click();
    QVERIFY(!gridShow->isChecked());
    QVERIFY(overlayIsEmpty());
    QCOMPARE(m_page->toolPanels->currentWidget(), m_window->customDetectionPanel);
    QCOMPARE(picture->cursor().shape(), Qt::BitmapCursor);

    // The brush: sampling goes off (its frame gives the place back) and the
    // measuring line is cleared.
    m_window->canvas().setPen(Qt::red, 1);
    m_window->canvas().drawLine(QPointF(2, 2), QPointF(20, 2));
    brushSwitch->click();
    QVERIFY(!samplingSwitch->isChecked());
    QCOMPARE(m_page->toolPanels->currentWidget(), m_window->measurementsPanel);
    QVERIFY(overlayIsEmpty());
    QCOMPARE(picture->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(m_window->pictureTools().dispatcher().isBrushActive());

    // The brush off: the cross-hair and measuring are back.
    brushSwitch->click();
    QCOMPARE(picture->cursor().shape(), Qt::CrossCursor);
    QVERIFY(m_window->pictureTools().dispatcher().isMeasuring());

    // Showing the grid switches the brush off; sampling unticked gives the
    // cross-hair back.
    brushSwitch->click();
    gridShow->click();
    QVERIFY(!brushSwitch->isChecked());
    QVERIFY(gridShow->isChecked());
    samplingSwitch->click();
    samplingSwitch->click();
    QCOMPARE(picture->cursor().shape(), Qt::CrossCursor);
    QVERIFY(m_window->pictureTools().dispatcher().isMeasuring());

    // Opening a picture takes the grid away.
    gridShow->click();
    QVERIFY(!overlayIsEmpty());
    openPicture(m_files->writeGradient(QStringLiteral("other.bmp"), 100, 80));
    QVERIFY(!gridShow->isChecked());
    QVERIFY(overlayIsEmpty());
}

void MainWindowTest::samplingPicksColoursInsteadOfMeasuring()
{
    QImage picture = TestPictures::gradient(100, 80);
    openPicture(m_files->write(QStringLiteral("leaf.bmp"), picture));
    auto *distances =
        m_window->measurementsPanel->findChild<QTableView *>(QStringLiteral("distanceTable"));
    QVERIFY(distances);
    m_window->detectionSystemPanel->colourSamplingSwitch->click();

    // Pixels (30, 20) and (40, 20) at unit step 1.0.
    const QPointF over(30, 20);
    QMouseEvent move(QEvent::MouseMove, over, m_page->pictureView->mapToGlobal(over), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_page->pictureView, &move);
    QCOMPARE(
        m_window->customDetectionPanel->colourUnderMouseSwatch->palette().color(QPalette::Window),
        picture.pixelColor(30, 20));
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, QPoint(40, 20));
    QCOMPARE(m_window->customDetectionPanel->sampledColourTable->rowCount(), 2);
    QCOMPARE(m_window->state().customColour(), (Rgb{35, 20, 90})); // 30 and 40, 20, 90
    QVERIFY(m_window->customDetectionPanel->saveSystemButton->isEnabled());
    QCOMPARE(distances->model()->rowCount(), 0);

    // Unticked, the same clicks measure.
    m_window->detectionSystemPanel->colourSamplingSwitch->click();
    QTest::mouseClick(m_page->pictureView, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(distances->model()->rowCount(), 1);
    QCOMPARE(m_window->customDetectionPanel->sampledColourTable->rowCount(), 2);
}

// Every column and every row of a picture, at every unit step: the colour
// under the mouse is that of the pixel the mouse is on, in the preview and in
// a pick.
void MainWindowTest::eyedropperReadsThePixelUnderTheMouse()
{
    // Each pixel of its row and column has a colour of its own.
    const QSize size(300, 220);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y, x / 256));
    openPicture(m_files->write(QStringLiteral("columns.bmp"), picture));
    m_window->detectionSystemPanel->colourSamplingSwitch->click();
    PictureView *view = m_page->pictureView;
    const QLabel *preview = m_window->customDetectionPanel->colourUnderMouseSwatch;
    auto hover = [view](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
    };

    for (int tenths = 1; tenths <= 10; ++tenths) {
        m_window->canvas().setUnitStepTenths(tenths);
        QList<QPoint> positions;
        for (int x = 0; x < size.width(); ++x)
            positions << QPoint(x, (x * 3) % size.height());
        for (int y = 0; y < size.height(); ++y)
            positions << QPoint((y * 5) % size.width(), y);
        for (const QPoint &at : positions) {
            hover(at);
            if (preview->palette().color(QPalette::Window) != picture.pixelColor(at))
                QFAIL(qPrintable(QStringLiteral("mouse on %1, %2 at unit step %3 read %4")
                                     .arg(at.x())
                                     .arg(at.y())
                                     .arg(tenths / 10.0)
                                     .arg(preview->palette().color(QPalette::Window).name())));
        }
        // A pick reads the same pixel: column 31 at unit step 1.0 read column 30.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(31, 17));
        QCOMPARE(m_window->state().customColour(), (Rgb{31, 17, 0}));
        m_window->customDetectionPanel->resetColoursButton->click();
    }
}

void MainWindowTest::everythingFitsTheSmallestWindow_data()
{
    QTest::addColumn<bool>("sampling");
    QTest::newRow("measurements frame") << false;
    QTest::newRow("custom detection frame") << true;
}

// At 800 x 600 pixels every panel gets at least the room it needs, every
// control lies inside its panel, and the top strip's items sit side by side
// inside the window.
void MainWindowTest::everythingFitsTheSmallestWindow()
{
    QFETCH(bool, sampling);
    openPicture(m_files->writeGradient(QStringLiteral("leaf.bmp"), 1000, 800));
    m_window->detectionSystemPanel->colourSamplingSwitch->setChecked(sampling);
    QCOMPARE(m_window->size(), QSize(800, 600));

    const QList<QWidget *> panels{m_window->detectionSystemPanel, m_window->brushPanel,
                                  m_window->unitTunerPanel, m_window->measurementsPanel,
                                  m_window->customDetectionPanel};
    for (QWidget *panel : panels) {
        if (!panel->isVisible())
            continue;
        const QSize needed = panel->minimumSizeHint();
        QVERIFY2(needed.width() <= panel->width() && needed.height() <= panel->height(),
                 panel->metaObject()->className());
        for (QWidget *control : panel->findChildren<QWidget *>()) {
            if (!control->isVisible() || control->isWindow())
                continue;
            const QRect inPanel(control->mapTo(panel, QPoint(0, 0)), control->size());
            QVERIFY2(panel->rect().contains(inPanel),
                     qPrintable(panel->objectName() + u' ' + control->objectName()));
        }
    }

    auto *strip = m_window->findChild<QWidget *>(QStringLiteral("topStrip"));
    QVERIFY(strip);
    QList<QRect> items;
    for (QWidget *item : strip->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (item->isVisible())
            items << item->geometry();
    QCOMPARE(items.size(), 8);
    for (int i = 0; i < items.size(); ++i) {
        QVERIFY(QRect(0, 0, 800, strip->height()).contains(items[i]));
        for (int j = i + 1; j < items.size(); ++j)
            QVERIFY(!items[i].intersects(items[j]));
    }
    QCOMPARE(strip->geometry().bottom() + 1, m_window->pageTabs->y());

    // Right of the picture: the frame, then the leaf area row, inside the page.
    const QRect page = m_page->rect();
    const QWidget *frame = m_page->toolPanels;
    QVERIFY(frame->geometry().bottom() < m_page->leafAreaCaption->y());
    QVERIFY(frame->x() > m_page->verticalScroll->geometry().right());
    for (const QWidget *control : {static_cast<const QWidget *>(frame),
                                   static_cast<const QWidget *>(m_page->leafAreaCaption),
                                   static_cast<const QWidget *>(m_page->leafAreaBox),
                                   static_cast<const QWidget *>(m_page->areaSquareMark)})
        QVERIFY2(page.contains(control->geometry()), qPrintable(control->objectName()));
}

void MainWindowTest::closingEndsTheProgram()
{
    QWidget otherWindow;
    otherWindow.show();
    QTimer::singleShot(0, m_window.get(), &QWidget::close);
    // Without the main window ending it, the run would go on for the other
    // window; the guard then ends it with a failing code.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
