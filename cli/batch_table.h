#pragma once

#include "batch_job.h"
#include "picture_analysis.h"

#include <QString>

namespace verdalis {

// The lines the command-line analyser writes: the results table's copy text
// line by line, each ending in LF, numbers "0.000" in the user's locale; with
// --csv the same table as comma-separated values (the window's CSV file).
//
// With --spots, a symptom-detecting system gets the window's two spot columns:
// "Spots", the number of spots found (a whole number), and "Mean spot area
// <unit>2", the spots' summed area (before capping at the leaf area) over their
// number, "0.000", and 0.000 when there is no spot. "Leaf area only" finds no
// spots and gets no extra columns.
QString batchHeaderLine(const BatchJob &job);
// A picture without figures keeps its line name; its figure cells are empty.
QString batchRowLine(const BatchJob &job, const QString &lineName, const PictureOutcome &outcome);

} // namespace verdalis
