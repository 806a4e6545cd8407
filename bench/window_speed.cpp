// The window's speed on one picture: the real main window, offscreen, opens a
// picture through its open button and analyses it through its Analyze button.
//
//   verdalis_bench_window_speed --system NAME --unit-step X --size-ratio X --unit NAME PICTURE
//
// One line goes to standard output, in seconds:
//   open <wall> <processor> <late> <busy> run <wall> <processor> <late> <busy> leaf <area>
// "open" runs from the click on the open button to the picture shown, "run" from
// the click on Analyze to the report shown. Processor time is user + system of
// every thread of the process. "late" is how late a timer that should fire every
// millisecond on the GUI thread fired at worst: the longest time the window could
// not have answered the user; "busy" the most processor time the GUI thread
// spent between two firings (see BlockWatch).
#include "analyze_command.h"
#include "main_window.h"
#include "photo_page.h"
#include "picture_view.h"
#include "unattended_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>

#include <time.h>

#include <algorithm>
#include <cstdio>

using namespace verdalis;
using namespace verdalis::bench;

namespace {

// A timer due every millisecond on the GUI thread; how much later than due it
// fires is how long the thread was held. On a machine shared with other work
// the thread may also just have been waiting for a processor, so the processor
// time the GUI thread itself spent between two firings is kept too: the
// longest stretch of its own work.
class BlockWatch : public QObject {
public:
    static constexpr qint64 IntervalNs = 1000000;

    BlockWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, &BlockWatch::fired);
    }
    void start()
    {
        m_late = m_busy = 0;
        m_clock.start();
        m_last = 0;
        m_lastBusy = threadNanoseconds();
        m_timer.start();
    }
    // Stops; a block still going on when the watch ends counts too.
    void stop()
    {
        fired();
        m_timer.stop();
    }
    // Seconds: the longest lateness, and the most GUI-thread processor time
    // between two firings.
    double longestLateness() const { return m_late / 1e9; }
    double longestBusy() const { return m_busy / 1e9; }

private:
    static qint64 threadNanoseconds()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    }
    void fired()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 busy = threadNanoseconds();
        m_late = std::max(m_late, now - m_last - IntervalNs);
        m_busy = std::max(m_busy, busy - m_lastBusy);
        m_last = now;
        m_lastBusy = busy;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastBusy = 0;
    qint64 m_late = 0;
    qint64 m_busy = 0;
};

// Clicks the button and runs the event loop until done() holds.
template <typename Done> double clickAndWait(QToolButton *button, Done done)
{
    QElapsedTimer clock;
    clock.start();
    button->click();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return clock.nsecsElapsed() / 1e9;
}

int usage()
{
    std::fprintf(stderr, "usage: verdalis_bench_window_speed --system NAME --unit-step X "
                         "--size-ratio X --unit NAME PICTURE\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<WindowSettings> settings = readWindowSettings(app.arguments().mid(1));
    if (!settings || settings->pictures.size() != 1)
        return usage();

    UnattendedDialogs dialogs(settings->pictures.constFirst());
    MainWindow window(dialogs);
    window.show();
    if (!applyWindowSettings(window, *settings))
        return usage();
    QApplication::processEvents();

    BlockWatch watch;
    bool opened = false;
    QObject::connect(&window, &MainWindow::pictureOpened, [&] { opened = true; });
    const double processorBeforeOpen = processorSeconds();
    watch.start();
    const double openWall = clickAndWait(window.openPictureButton, [&] { return opened; });
    watch.stop();
    const double openLate = watch.longestLateness();
    const double openBusy = watch.longestBusy();
    const double openProcessor = processorSeconds() - processorBeforeOpen;

    bool finished = false;
    AnalysisResult result;
    QObject::connect(&window.analyzeCommand().driver(), &AnalysisDriver::finished,
                     [&](const AnalysisResult &r) {
                         result = r;
                         finished = true;
                     });
    QApplication::processEvents();
    const double processorAtStart = processorSeconds();
    watch.start();
    const double runWall = clickAndWait(window.analyzeButton, [&] { return finished; });
    watch.stop();
    const double runProcessor = processorSeconds() - processorAtStart;

    std::printf("open %.3f %.3f %.3f %.3f run %.3f %.3f %.3f %.3f leaf %.17g\n", openWall,
                openProcessor, openLate, openBusy, runWall, runProcessor, watch.longestLateness(),
                watch.longestBusy(), result.leafArea);
    return 0;
}
