#pragma once

#include <QLatin1String>

namespace verdalis {

// Gives a control its design name, so the main window, tests and later panels
// can find it by that name.
template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace verdalis
