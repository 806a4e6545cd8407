#pragma once

#include <QIcon>
#include <QLatin1String>
#include <QPushButton>

namespace verdalis {

// Gives a control its design name, so the main window, tests and later panels
// can find it by that name.
template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A button that shows a 24 x 24 pixel icon and no caption; the tooltip says
// what it does.
inline QPushButton *pictureButton(const QIcon &icon, const QString &toolTip, const char *name)
{
    auto *button = named(new QPushButton, name);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(toolTip);
    button->setFixedSize(34, 32);
    return button;
}

} // namespace verdalis
