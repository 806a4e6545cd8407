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
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
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
    void reloadKeepsPlaceAndDropsDrawings();
    void resizeSnapsToMinimum();
    void leafAreaShowsLongFiguresWhole_data();
    void leafAreaShowsLongFiguresWhole();
    void pictureToolsExcludeEachOther();
    void eyedropperReadsThePixelUnderTheMouse();
    void everythingFitsTheSmallestWindow_data();
    void everythingFitsTheSmallestWindow();

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

// A cancelled dialog leaves the hint running; a picture opened from any page
// is shown on the photo page, centred, and the file type chosen is offered again.
void MainWindowTest::openShowsThePicture()
{
    QSignalSpy opened(m_window.get(), &MainWindow::pictureOpened);
    m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_dialogs->calls().size(), 1); // the dialog only, no message
    QVERIFY(m_page->isHintRunning());
    QVERIFY(!m_window->analyzeButton->isEnabled());
    QCOMPARE(opened.count(), 0);

    m_window->pageTabs->setCurrentIndex(1);
    openPicture(m_files->writeGradient(QStringLiteral("leaf one.jpg"), 200, 100), 2);
    QCOMPARE(tabCaption(), QStringLiteral("Photo leaf one.jpg"));
    QCOMPARE(m_window->pageTabs->currentIndex(), 0);
    QVERIFY(!m_page->isHintRunning());
    QVERIFY(m_page->pictureView->isVisible());
    QVERIFY(m_window->analyzeButton->isEnabled());
    QVERIFY(m_window->reloadPictureButton->isEnabled());
    QCOMPARE(opened.count(), 1);
    // Smaller than the 517 x 463 pixel viewport: centred on both axes.
    QCOMPARE(m_page->pictureView->pos(), QPoint(158, 182));
    QCOMPARE(m_page->horizontalScroll->maximum(), 0);

    m_dialogs->cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
    m_window->openPictureButton->click();
    QTRY_VERIFY(!m_window->isLoadingPicture());
    QCOMPARE(m_dialogs->calls().at(0).title, QStringLiteral("Open picture file"));
    QCOMPARE(m_dialogs->calls().at(0).filter,
             QStringLiteral("bmp  Files (*.bmp)|*.bmp;|jpg  Files (*.jpg)|*.jpg"));
    QCOMPARE(m_dialogs->calls().at(0).filterIndex, 1);
    QCOMPARE(m_dialogs->lastCall().filterIndex, 2);
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

// The layout rules are the layout's; here, that the window follows them and
// that a large picture gets its scroll bars.
void MainWindowTest::resizeSnapsToMinimum()
{
    m_window->resize(733, 533); // 11000 x 8000 twips
    QTRY_COMPARE(m_window->size(), QSize(800, 600));
    QCOMPARE(m_page->pictureViewport->size(), QSize(517, 463));

    // 1000 x 800 pixels = 15000 x 12000 twips in a 7755 x 6945 twips viewport.
    openPicture(m_files->writeGradient(QStringLiteral("big.bmp"), 1000, 800));
    QCOMPARE(m_page->horizontalScroll->maximum(), 72);
    QCOMPARE(m_page->verticalScroll->value(), 26);            // half of 51 rounds to the even 26
    QCOMPARE(m_page->pictureView->pos(), QPoint(-240, -173)); // -3600, -2600 twips
    m_page->horizontalScroll->setValue(10);
    m_page->verticalScroll->setValue(0);
    QCOMPARE(m_page->pictureView->pos(), QPoint(-67, 0)); // -1000 twips, rounded
}

void MainWindowTest::leafAreaShowsLongFiguresWhole_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QString>("figure");
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
    QCOMPARE(box->toolTip(), figure);
    QVERIFY(box->fontMetrics().horizontalAdvance(figure) < box->contentsRect().width() - 4);
    QVERIFY(m_page->areaUnitLabel->x() > box->geometry().right());
    QCOMPARE(m_page->areaSquareMark->x(), m_page->areaUnitLabel->geometry().right() + 1);
    QVERIFY(m_page->rect().contains(m_page->areaSquareMark->geometry()));
    // A new calibration takes the figure away, and the box keeps its design width.
    m_window->state().setSizeRatio(0.5);
    QCOMPARE(box->text(), QString());
    QCOMPARE(box->width(), 120);
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

    // Sampling unticked gives the cross-hair back. (The grid and sampling
    // switching the brush off are the brush scenario's.)
    samplingSwitch->click();
    samplingSwitch->click();
    QCOMPARE(picture->cursor().shape(), Qt::CrossCursor);

    // Opening a picture takes the grid away.
    gridShow->click();
    QVERIFY(!overlayIsEmpty());
    openPicture(m_files->writeGradient(QStringLiteral("other.bmp"), 100, 80));
    QVERIFY(!gridShow->isChecked());
    QVERIFY(overlayIsEmpty());
}

// At every unit step the colour under the mouse, in the preview and in a pick,
// is that of the pixel the mouse is on (column 31 at unit step 1.0 read 30).
void MainWindowTest::eyedropperReadsThePixelUnderTheMouse()
{
    QImage picture(300, 220, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y, x / 256));
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
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
