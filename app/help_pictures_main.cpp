// verdalis-help-pictures: the pictures of the help pages, taken from the real
// main window on the offscreen platform while it works on the sample pictures:
// opening a picture, measuring the scale bar, calibrating, analysing, the grid
// and colour sampling. The build runs it after writing the sample pictures.
#include "analyze_command.h"
#include "calibration_dialog.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "dialogs.h"
#include "grid_frame.h"
#include "main_window.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_view.h"
#include "sample_pictures.h"
#include "unit_tuner_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QQueue>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <stdexcept>

using namespace verdalis;

namespace {

// Answers the window's file dialogs with the files of the tour, in turn. Any
// message or question means the tour went wrong: it is kept, and the tour stops
// at its next step.
class TourDialogs : public Dialogs {
public:
    void queueFile(const QString &path) { m_files.enqueue(path); }
    void check() const
    {
        if (!m_failure.isEmpty())
            throw std::runtime_error(m_failure.toStdString());
    }

    MessageAnswer message(const QString &text, const QString &title, MessageButtons,
                          MessageKind) override
    {
        fail(title + QStringLiteral(": ") + text);
        return MessageAnswer::Ok;
    }
    std::optional<QString> inputText(const QString &prompt, const QString &,
                                     const QString &) override
    {
        fail(QStringLiteral("unexpected question: ") + prompt);
        return std::nullopt;
    }
    std::optional<FileChoice> openFile(const QString &, const QString &, int) override
    {
        return nextFile();
    }
    std::optional<FileChoice> saveFile(const QString &, const QString &, int) override
    {
        return nextFile();
    }
    std::optional<QString> chooseFolder(const QString &title) override
    {
        fail(QStringLiteral("unexpected folder dialog: ") + title);
        return std::nullopt;
    }

private:
    std::optional<FileChoice> nextFile()
    {
        if (m_files.isEmpty()) {
            fail(QStringLiteral("a file dialog with no file queued"));
            return std::nullopt;
        }
        return FileChoice{m_files.dequeue(), 1};
    }
    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = what;
    }

    QQueue<QString> m_files;
    QString m_failure;
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void save(const TourDialogs &dialogs, QWidget *widget, const QDir &folder, const QString &name)
{
    settle();
    dialogs.check();
    const QString path = folder.filePath(name);
    if (!widget->grab().save(path, "PNG"))
        throw std::runtime_error(qPrintable(QStringLiteral("cannot write ") + path));
}

template <typename Widget> Widget *child(QObject *parent, const char *name)
{
    auto *found = parent->findChild<Widget *>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("no control named ") + name);
    return found;
}

// A click on the picture at a pixel of the picture.
void clickPicture(PictureView *view, QPoint pixel)
{
    const QPointF local(pixel.x() + 0.5, pixel.y() + 0.5);
    const QPointF global = view->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(view, &release);
}

void movePointer(PictureView *view, QPoint pixel)
{
    const QPointF local(pixel.x() + 0.5, pixel.y() + 0.5);
    QMouseEvent move(QEvent::MouseMove, local, view->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
}

void analyzeAndWait(MainWindow &window, int system)
{
    window.detectionSystemPanel->systemList->setCurrentIndex(system);
    window.analyzeButton->click();
    QElapsedTimer clock;
    clock.start();
    while (window.analyzeCommand().isRunning()) {
        if (clock.elapsed() > 120000)
            throw std::runtime_error("the analysis did not end");
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void tour(const QDir &samples, const QDir &out)
{
    TourDialogs dialogs;
    MainWindow window(dialogs);
    // The tour's custom systems stay out of the program folder.
    QTemporaryDir programFolder;
    window.state().setProgramFolder(programFolder.path());
    window.resize(1024, 720);
    window.show();
    settle();
    PhotoPage *page = window.photoPage;

    // A picture, scrolled to its bottom left where the scale bar is, measured on
    // the finest coordinate grid (unit step 0.1).
    dialogs.queueFile(samples.filePath(QStringLiteral("leaves-on-white.jpg")));
    window.openPictureButton->click();
    // The picture is read off the GUI thread.
    while (window.isLoadingPicture())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    auto *unitStepBar = child<QScrollBar>(window.unitTunerPanel, "unitStepBar");
    unitStepBar->setValue(unitStepBar->maximum());
    page->horizontalScroll->setValue(0);
    page->verticalScroll->setValue(page->verticalScroll->maximum());
    const SyntheticScene scene = SamplePictures::scene(Background::White);
    const ScaleBar bar = *scene.scaleBar;
    const int barRow = bar.y + bar.thicknessPixels / 2;
    clickPicture(page->pictureView, QPoint(bar.x, barRow));
    clickPicture(page->pictureView, QPoint(bar.x + bar.lengthPixels, barRow));
    save(dialogs, &window, out, QStringLiteral("measure-scale-bar.png"));

    // The scale bar is 10 mm.
    child<QPushButton>(window.measurementsPanel, "calibrateButton")->click();
    settle();
    auto *dialog = qobject_cast<CalibrationDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        throw std::runtime_error("the calibration dialog did not open");
    child<QLineEdit>(dialog, "lengthBox")->setText(QStringLiteral("10"));
    child<QComboBox>(dialog, "unitBox")->setCurrentText(QStringLiteral("mm"));
    child<QLineEdit>(dialog, "scannerNameBox")->setText(QStringLiteral("Sample scans"));
    child<QLineEdit>(dialog, "resolutionBox")->setText(QStringLiteral("300 dpi"));
    save(dialogs, dialog, out, QStringLiteral("calibration-dialog.png"));
    child<QPushButton>(dialog, "okButton")->click();
    settle();

    // The sample calibration at unit step 1.0, so that the figures are those of
    // the guide.
    unitStepBar->setValue(unitStepBar->minimum());
    dialogs.queueFile(samples.filePath(QStringLiteral("samples.clb")));
    child<QPushButton>(window.measurementsPanel, "loadCalibrationButton")->click();
    page->fitPicture();
    save(dialogs, &window, out, QStringLiteral("main-window.png"));

    analyzeAndWait(window, 1);
    dialogs.check();
    save(dialogs, &window, out, QStringLiteral("results.png"));
    window.pageTabs->setCurrentIndex(0);
    save(dialogs, &window, out, QStringLiteral("symptom-overlay.png"));

    analyzeAndWait(window, 0);
    window.pageTabs->setCurrentIndex(0);
    save(dialogs, &window, out, QStringLiteral("leaf-edge-overlay.png"));

    // A 5 mm grid, moved by a quarter of a cell each way.
    GridFrame *grid = window.measurementsPanel->gridFrame();
    grid->spacingBox()->setEditText(QStringLiteral("5"));
    grid->showBox()->setChecked(true);
    grid->horizontalOffset()->setValue(5);
    grid->verticalOffset()->setValue(5);
    save(dialogs, &window, out, QStringLiteral("grid.png"));

    // Sampling the colour of a dark lesion.
    window.detectionSystemPanel->colourSamplingSwitch->click();
    for (const Lesion &lesion : scene.lesions) {
        if (lesion.kind != LesionKind::Necrotic)
            continue;
        const PixelRect &box = lesion.patch.bounds;
        clickPicture(page->pictureView, QPoint(box.x + box.width / 2, box.y + box.height / 2));
        clickPicture(page->pictureView, QPoint(box.x + box.width / 2 + 1, box.y + box.height / 2));
        movePointer(page->pictureView, QPoint(box.x + box.width / 2, box.y + box.height / 2 + 1));
        break;
    }
    save(dialogs, &window, out, QStringLiteral("custom-detection.png"));

    window.close();
}

} // namespace

int main(int argc, char *argv[])
{
    // The pictures are the same with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verdalis"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("Usage: verdalis-help-pictures SAMPLES_DIR OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QDir samples(arguments[1]);
    QDir out(arguments[2]);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "verdalis-help-pictures: cannot make %s\n", qPrintable(out.path()));
        return 1;
    }
    try {
        tour(samples, out);
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "verdalis-help-pictures: %s\n", failure.what());
        return 1;
    }
    return 0;
}
