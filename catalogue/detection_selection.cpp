#include "detection_selection.h"

#include <algorithm>

namespace verdalis {

SliderState sliderAfterSelecting(const DetectionSystem &system, int index,
                                 const SliderState &current)
{
    SliderState slider = current;
    slider.enabled = index != LeafAreaOnlySystem;
    slider.minimum = system.sliderMinimum;
    slider.maximum = std::max(slider.minimum, system.sliderMaximum.value_or(current.maximum));
    slider.position = system.isCustom() ? 0 : clampedSliderPosition(slider, current.position);
    return slider;
}

int clampedSliderPosition(const SliderState &slider, int position)
{
    return std::clamp(position, slider.minimum, slider.maximum);
}

DeleteButtonState deleteButtonFor(const DetectionSystem &system)
{
    if (!system.isCustom())
        return {};
    return {true, QStringLiteral("Delete \"%1\" detection system").arg(system.name)};
}

} // namespace verdalis
