#include "parallel_pictures.h"

#include <QThread>

#ifdef Q_OS_LINUX
#include <sched.h>
#endif

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

namespace verdalis {

namespace {

std::thread startStdThread(std::function<void()> body)
{
    return std::thread(std::move(body));
}

// Pictures one after the other on the calling thread, each delivered at once.
ParallelRunEnd
runOnCallingThread(int count, const std::function<PictureOutcome(int index)> &work,
                   const std::function<bool(int index, const PictureOutcome &)> &deliver,
                   const std::function<void(int done)> &progress)
{
    ParallelRunEnd end;
    for (int index = 0; index < count; ++index) {
        const PictureOutcome outcome = work(index);
        progress(index + 1);
        if (!deliver(index, outcome)) {
            end.completed = false;
            break;
        }
    }
    return end;
}

} // namespace

ParallelRunEnd
runPicturesInParallel(int count, int jobs, const std::function<PictureOutcome(int index)> &work,
                      const std::function<bool(int index, const PictureOutcome &)> &deliver,
                      const std::function<void(int done)> &progress,
                      const ThreadStarter &startThread)
{
    std::vector<std::optional<PictureOutcome>> outcomes(std::size_t(qMax(count, 0)));
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> next{0};
    std::atomic<bool> stopped{false};
    int done = 0;

    const auto worker = [&] {
        for (int index = next++; index < count && !stopped; index = next++) {
            PictureOutcome outcome = work(index);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                outcomes[std::size_t(index)] = std::move(outcome);
                ++done;
            }
            changed.notify_one();
        }
    };
    const ThreadStarter &start = startThread ? startThread : ThreadStarter(startStdThread);
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(qMax(qMin(jobs, count), 0)));
    // A system short of threads or memory refuses some: go on with fewer.
    try {
        for (int i = 0; i < qMin(jobs, count); ++i)
            threads.push_back(start(worker));
    } catch (const std::system_error &) {
    } catch (const std::bad_alloc &) {
    }
    if (threads.empty())
        return runOnCallingThread(count, work, deliver, progress);

    ParallelRunEnd end;
    end.workers = int(threads.size());
    int delivered = 0;
    int reported = 0;
    std::unique_lock<std::mutex> lock(mutex);
    while (delivered < count && end.completed) {
        changed.wait(lock, [&] { return done != reported || outcomes[std::size_t(delivered)]; });
        if (done != reported) {
            reported = done;
            lock.unlock();
            progress(reported);
            lock.lock();
        }
        while (delivered < count && outcomes[std::size_t(delivered)]) {
            const PictureOutcome outcome = std::move(*outcomes[std::size_t(delivered)]);
            outcomes[std::size_t(delivered)].reset();
            lock.unlock();
            const bool goOn = deliver(delivered, outcome);
            lock.lock();
            ++delivered;
            if (!goOn) {
                stopped = true;
                end.completed = false;
                break;
            }
        }
    }
    // The last pictures may finish while the loop above is delivering, after its
    // last progress report: the count still has to reach the end.
    const int finished = done;
    lock.unlock();
    if (end.completed && finished != reported)
        progress(finished);
    for (std::thread &thread : threads)
        thread.join();
    return end;
}

int usableCoreCount()
{
#ifdef Q_OS_LINUX
    // The set grows until it holds every processor the kernel knows of.
    for (int cpus = 1024; cpus <= (1 << 20); cpus *= 2) {
        cpu_set_t *set = CPU_ALLOC(cpus);
        if (!set)
            break;
        const std::size_t size = CPU_ALLOC_SIZE(cpus);
        const int result = sched_getaffinity(0, size, set);
        const int count = result == 0 ? CPU_COUNT_S(size, set) : 0;
        CPU_FREE(set);
        if (result == 0)
            return qMax(1, count);
        if (errno != EINVAL)
            break;
    }
#endif
    return qMax(1, QThread::idealThreadCount());
}

} // namespace verdalis
