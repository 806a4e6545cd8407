#include "batch_table.h"

#include "number_text.h"

#include "results_table.h"

#include <QLocale>

namespace verdalis {

namespace {

const QChar Tab = QLatin1Char('\t');
const QChar LineFeed = QLatin1Char('\n');

bool hasSpotColumns(const BatchJob &job)
{
    return job.spots && !isLeafAreaOnly(job.systemIndex());
}

QString wholeNumber(qint64 value)
{
    return numberLocale().toString(value);
}

} // namespace

QString batchHeaderLine(const BatchJob &job)
{
    QString header = resultsCopyText(job.systemIndex(), job.unitName, {}, job.correctBackground);
    header.chop(1);
    if (hasSpotColumns(job))
        header += Tab + QStringLiteral("Spots") + Tab + QStringLiteral("Mean spot area ") +
                  job.unitName + QLatin1Char('2');
    return header + LineFeed;
}

QString batchRowLine(const BatchJob &job, const QString &lineName, const PictureOutcome &outcome)
{
    ResultsTable table;
    table.prepare(job.systemIndex(), job.unitName, 2);
    QStringList cells;
    if (outcome.figures) {
        const AnalysisFigures &figures = *outcome.figures;
        AnalysisResult result;
        result.leafArea = figures.leafArea;
        result.symptomArea = figures.symptomArea;
        result.perimeter = figures.perimeter;
        result.pictureName = lineName;
        table.recordRow(result);
        cells = table.dataRows().constFirst();
        if (hasSpotColumns(job)) {
            const double mean =
                figures.spotCount > 0 ? figures.symptomArea / double(figures.spotCount) : 0.0;
            cells << wholeNumber(figures.spotCount) << formatResult(mean);
        }
    } else {
        cells.resize(table.columnCount() + (hasSpotColumns(job) ? 2 : 0));
        cells[0] = lineName;
    }
    return cells.join(Tab) + LineFeed;
}

} // namespace verdalis
