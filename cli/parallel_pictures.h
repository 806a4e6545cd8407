#pragma once

#include "picture_analysis.h"

#include <functional>

namespace verdalis {

// Works through pictures 0..count-1 on `jobs` threads (each reads its picture
// and analyses it, so one picture is decoded while another is analysed) and
// hands the outcomes to `deliver` on the calling thread in input order, each
// as soon as it and every picture before it are done. `progress` is called on
// the calling thread whenever another picture is done, with the number done.
// `work` must be safe to call from several threads at once.
void runPicturesInParallel(int count, int jobs,
                           const std::function<PictureOutcome(int index)> &work,
                           const std::function<void(int index, const PictureOutcome &)> &deliver,
                           const std::function<void(int done)> &progress);

} // namespace verdalis
