#include "overlay_painter.h"

#include <cmath>

namespace verdalis {

int symptomDotWidth(double unitStep)
{
    return static_cast<int>(std::nearbyint(5 * std::pow(unitStep, 0.7814)));
}

int leafEdgeDotWidth(double unitStep)
{
    return static_cast<int>(std::nearbyint(4 * std::pow(unitStep, 0.7814)));
}

} // namespace verdalis
