#pragma once

#include <QString>

namespace verdalis {

// What a calibration may hold, checked alike wherever one comes in: the
// calibration dialog, a calibration file, the command-line analyser's options.
// A size ratio of 0 would report every area as 0.000, and one near the largest
// double overflows the squared areas into "inf" and "nan"; a tab or a line break
// in the unit would split the results table's header.

constexpr double MinSizeRatio = 1e-100;
constexpr double MaxSizeRatio = 1e100;

// Why the size ratio cannot be used, in plain words; empty when it can.
QString sizeRatioProblem(double sizeRatio);
// Why the unit name cannot be used; empty when it can.
QString unitNameProblem(const QString &unitName);

} // namespace verdalis
