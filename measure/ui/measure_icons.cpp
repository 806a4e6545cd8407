#include "measure_icons.h"

// Q_INIT_RESOURCE names a function of the global namespace. The resources sit
// in a static library, so nothing would pull them into the program without it.
static void initMeasureIconResources()
{
    Q_INIT_RESOURCE(measure_icons);
}

namespace verdalis {

namespace {
QIcon svgIcon(const char *name)
{
    static const bool resourcesReady = (initMeasureIconResources(), true);
    Q_UNUSED(resourcesReady);
    return QIcon(QStringLiteral(":/measure/icons/%1.svg").arg(QLatin1String(name)));
}
} // namespace

QIcon MeasureIcons::notCalibrated()
{
    return svgIcon("not_calibrated");
}

QIcon MeasureIcons::calibrated()
{
    return svgIcon("calibrated");
}

QIcon MeasureIcons::calibrate()
{
    return svgIcon("calibrate");
}

QIcon MeasureIcons::saveCalibration()
{
    return svgIcon("save");
}

QIcon MeasureIcons::loadCalibration()
{
    return svgIcon("load");
}

QIcon MeasureIcons::notes()
{
    return svgIcon("notes");
}

QIcon MeasureIcons::leafBrush()
{
    return svgIcon("brush_leaf");
}

QIcon MeasureIcons::symptomBrush()
{
    return svgIcon("brush_symptom");
}

QIcon MeasureIcons::backgroundBrush()
{
    return svgIcon("brush_background");
}

} // namespace verdalis
