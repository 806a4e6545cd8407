// The window's batch run timed: the real main window, offscreen, analyses a
// set of pictures through its picture-set window, as a user's Analyze does.
//
//   verdalis_bench_window_batch --system NAME --size-ratio X --unit NAME PICTURE...
//
// Each picture's line name is its file name without the extension, as
// verdalis-batch names them. The copied results table goes to standard output
// (so it can be compared with verdalis-batch's), and one line to standard
// error: the run's wall time and the process's processor time during the run,
// in seconds.
#include "main_window.h"
#include "picture_set_command.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "unattended_window.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

#include <cstdio>

using namespace verdalis;
using namespace verdalis::bench;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: verdalis_bench_window_batch --system NAME [--unit-step X] "
                         "--size-ratio X --unit NAME PICTURE...\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<WindowSettings> settings = readWindowSettings(app.arguments().mid(1));
    if (!settings)
        return usage();
    QVector<SetPicture> set;
    for (const QString &picture : settings->pictures)
        set.append({QFileInfo(picture).completeBaseName(), picture});

    UnattendedDialogs dialogs;
    MainWindow window(dialogs);
    window.show();
    if (!applyWindowSettings(window, *settings))
        return usage();

    window.pictureSetButton->click();
    PictureSetWindow *setWindow = window.pictureSetCommand().pictureSetWindow();
    setWindow->pictureSet().add(set);
    QApplication::processEvents();

    const double processorAtStart = processorSeconds();
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&window.pictureSetCommand().batchRun(), &BatchRun::finished, &app,
                     &QApplication::quit);
    setWindow->analyzeButton->click();
    app.exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double processor = processorSeconds() - processorAtStart;

    window.resultsPage->copyTableButton->click();
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
    std::fprintf(stderr, "window batch: %d pictures, %.3f s wall, %.3f s processor\n",
                 int(set.size()), wall, processor);
    return 0;
}
