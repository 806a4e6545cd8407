#pragma once

#include "picture_analysis.h"

#include <functional>
#include <thread>

namespace verdalis {

// Starts a thread running `body`, as the std::thread constructor does: throws
// std::system_error when the system refuses one.
using ThreadStarter = std::function<std::thread(std::function<void()> body)>;

struct ParallelRunEnd {
    // Threads that worked on pictures; 0 when none could be started and the
    // calling thread did the work itself.
    int workers = 0;
    // False when `deliver` asked to stop.
    bool completed = true;
};

// Works through pictures 0..count-1 on `jobs` threads (each reads its picture
// and analyses it, so one picture is decoded while another is analysed) and
// hands the outcomes to `deliver` on the calling thread in input order, each
// as soon as it and every picture before it are done. `deliver` returns false
// to end the run: no further picture is started, and the pictures being
// analysed are finished but not delivered. `progress` is called on the calling
// thread whenever another picture is done, with the number done.
//
// When the system refuses a thread, the run goes on with the threads it has,
// or on the calling thread when it has none. `work` must be safe to call from
// several threads at once.
ParallelRunEnd
runPicturesInParallel(int count, int jobs, const std::function<PictureOutcome(int index)> &work,
                      const std::function<bool(int index, const PictureOutcome &)> &deliver,
                      const std::function<void(int done)> &progress,
                      const ThreadStarter &startThread = ThreadStarter());

// The processor cores this process may run on (its CPU affinity, as a job
// scheduler or `taskset` sets it), at least 1.
int usableCoreCount();

} // namespace verdalis
