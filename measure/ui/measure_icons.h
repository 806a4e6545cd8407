#pragma once

#include <QIcon>

namespace verdalis {

// Icons of the picture tools, drawn as SVG in measure_icons.qrc so they stay
// sharp at any size and screen scale.
namespace MeasureIcons {
QIcon notCalibrated();   // red disc with a white cross
QIcon calibrated();      // green disc with a white tick
QIcon calibrate();       // a ruler
QIcon saveCalibration(); // a disk
QIcon loadCalibration(); // an open folder
QIcon notes();           // a note pad
// Brushes loaded with the paint of each brush kind, 20 x 20 drawings with the
// bristles' tip at the bottom left.
QIcon leafBrush();       // green
QIcon symptomBrush();    // yellow
QIcon backgroundBrush(); // black
} // namespace MeasureIcons

} // namespace verdalis
