#include "parallel_pictures.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace verdalis {

void runPicturesInParallel(int count, int jobs,
                           const std::function<PictureOutcome(int index)> &work,
                           const std::function<void(int index, const PictureOutcome &)> &deliver,
                           const std::function<void(int done)> &progress)
{
    std::vector<std::optional<PictureOutcome>> outcomes(std::size_t(qMax(count, 0)));
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> next{0};
    int done = 0;

    const auto worker = [&] {
        for (int index = next++; index < count; index = next++) {
            PictureOutcome outcome = work(index);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                outcomes[std::size_t(index)] = std::move(outcome);
                ++done;
            }
            changed.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < qMin(jobs, count); ++i)
        threads.emplace_back(worker);

    int delivered = 0;
    int reported = 0;
    std::unique_lock<std::mutex> lock(mutex);
    while (delivered < count) {
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
            deliver(delivered, outcome);
            lock.lock();
            ++delivered;
        }
    }
    // The last pictures may finish while the loop above is delivering, after its
    // last progress report: the count still has to reach the end.
    const int finished = done;
    lock.unlock();
    if (finished != reported)
        progress(finished);
    for (std::thread &thread : threads)
        thread.join();
}

} // namespace verdalis
