#pragma once

#include "detection_system.h"

#include <QString>

namespace verdalis {

// The tolerance slider, in slider positions. The program starts with -3..10 at 0,
// disabled because "Leaf area only" is selected.
struct SliderState {
    int minimum = -3;
    int maximum = 10;
    int position = 0;
    bool enabled = false;

    // What the label beside the slider and the slider's tooltip show.
    int display() const { return position - minimum; }
    bool operator==(const SliderState &o) const
    {
        return minimum == o.minimum && maximum == o.maximum && position == o.position &&
               enabled == o.enabled;
    }
};

// The slider after selecting entry `index`. A built-in system sets only the
// minimum: the maximum stays what it was (20 after a custom system) and the
// position is clamped into the new range, as the slider control itself would. A
// custom system sets the range -10..20 and the position 0.
SliderState sliderAfterSelecting(const DetectionSystem &system, int index,
                                 const SliderState &current);

// Clamped into the slider's range.
int clampedSliderPosition(const SliderState &slider, int position);

struct DeleteButtonState {
    bool enabled = false;
    QString toolTip;
};

// Only custom systems can be deleted; the tooltip names the system.
DeleteButtonState deleteButtonFor(const DetectionSystem &system);

} // namespace verdalis
