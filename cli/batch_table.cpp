#include "batch_table.h"

#include "results_csv.h"
#include "results_table.h"

#include <QLocale>

namespace verdalis {

namespace {

const QChar Tab = QLatin1Char('\t');
const QChar LineFeed = QLatin1Char('\n');

QString line(const BatchJob &job, const QStringList &cells)
{
    return job.csv ? csvRecord(cells) : cells.join(Tab) + LineFeed;
}

} // namespace

QString batchHeaderLine(const BatchJob &job)
{
    return line(job, resultsHeaderFields(job.systemIndex(), job.unitName,
                                         {job.spots, job.correctBackground}));
}

QString batchRowLine(const BatchJob &job, const QString &lineName, const PictureOutcome &outcome)
{
    // One row of the window's results table, so the cells are the window's.
    ResultsTable table;
    table.prepare(job.systemIndex(), job.unitName, 2, {job.spots, job.correctBackground});
    if (outcome.figures) {
        AnalysisResult result = analysisResultOf(*outcome.figures, lineName);
        table.recordRow(result);
    } else {
        table.recordEmptyRow(lineName);
    }
    const QLocale locale = job.csv ? QLocale::c() : QLocale();
    return line(job, table.dataRows(locale).constFirst());
}

} // namespace verdalis
