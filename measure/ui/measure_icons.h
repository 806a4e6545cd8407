#pragma once

#include <QIcon>
#include <QPixmap>

namespace verdalis {

// Icons of the Measurements panel, drawn in code (device-independent pixels).
namespace MeasureIcons {
QPixmap notCalibrated(); // Picture6: red disc with a white cross
QPixmap calibrated();    // Picture7: green disc with a white tick
QIcon calibrate();       // Command6: a ruler
QIcon saveCalibration(); // Command7: a disk
QIcon loadCalibration(); // Command10: an open folder
QIcon notes();           // Command11: a note pad
} // namespace MeasureIcons

} // namespace verdalis
