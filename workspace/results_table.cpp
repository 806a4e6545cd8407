#include "results_table.h"

namespace verdalis {

namespace {
const QChar Tab = QLatin1Char('\t');
const QChar LineFeed = QLatin1Char('\n');

// The name column's header tells the figures below it come from pictures whose
// background was corrected.
const QString CorrectedNote = QStringLiteral("(background corrected)");

QStringList headerTexts(bool leafAreaOnly, bool spotColumns, bool backgroundCorrected,
                        const QString &unitName)
{
    const QString fileName = QStringLiteral("File name");
    QStringList header{backgroundCorrected ? fileName + LineFeed + CorrectedNote : fileName,
                       QStringLiteral("Leaf area") + LineFeed + unitName + QLatin1Char('2')};
    if (leafAreaOnly) {
        header << QStringLiteral("Perimeter") + LineFeed + unitName;
    } else {
        header << QStringLiteral("Symptom area") + LineFeed + unitName + QLatin1Char('2')
               << QStringLiteral("Symptom %");
    }
    if (spotColumns)
        header << QStringLiteral("Spots")
               << QStringLiteral("Mean spot area") + LineFeed + unitName + QLatin1Char('2');
    return header;
}

QStringList emptyRow(int columns)
{
    QStringList row;
    row.resize(columns);
    return row;
}
} // namespace

ResultsTable::ResultsTable()
{
    // Before the first batch: a header row with no texts, nothing to copy but the header.
    m_columnCount = 3;
    m_rows.append(emptyRow(m_columnCount));
    m_results.append(std::nullopt);
}

void ResultsTable::prepare(int systemIndex, const QString &unitName, int pictureSetRows,
                           ResultsTableOptions options)
{
    m_backgroundCorrected = options.backgroundCorrected;
    m_rowWarnings.clear();
    m_systemIndex = systemIndex;
    m_unitName = unitName;
    m_leafAreaOnly = verdalis::isLeafAreaOnly(systemIndex);
    m_spotColumns = options.spotColumns && !m_leafAreaOnly;
    m_columnCount = (m_leafAreaOnly ? 3 : 4) + (m_spotColumns ? 2 : 0);
    // The header row always stays, even for a set without pictures.
    m_rows = QVector<QStringList>(qMax(1, pictureSetRows), emptyRow(m_columnCount));
    m_rows[0] = headerTexts(m_leafAreaOnly, m_spotColumns, m_backgroundCorrected, unitName);
    m_results = QVector<std::optional<AnalysisResult>>(m_rows.size());
    m_currentRow = 0;
}

QStringList &ResultsTable::nextRow()
{
    ++m_currentRow;
    // A picture recorded after its set was closed still gets a row of its own.
    while (m_currentRow >= rowCount()) {
        m_rows.append(emptyRow(m_columnCount));
        m_results.append(std::nullopt);
    }
    return m_rows[m_currentRow];
}

QStringList ResultsTable::cellsOf(const AnalysisResult &result, const QLocale &locale) const
{
    QStringList row{result.pictureName, formatResult(result.leafArea, locale)};
    if (m_leafAreaOnly)
        row << formatResult(result.perimeter, locale);
    else
        row << formatResult(result.symptomArea, locale)
            << formatResult(symptomRatio(result), locale);
    if (m_spotColumns)
        row << formatCount(result.spotCount, locale) << formatResult(result.meanSpotArea, locale);
    return row;
}

void ResultsTable::recordRow(AnalysisResult &result, const QLocale &locale)
{
    capSymptomArea(result);
    nextRow() = cellsOf(result, locale);
    m_results[m_currentRow] = result;
}

void ResultsTable::recordEmptyRow(const QString &pictureName)
{
    QStringList &row = nextRow();
    row = emptyRow(m_columnCount);
    row[0] = pictureName;
    m_results[m_currentRow].reset();
}

QVector<QStringList> ResultsTable::dataRows(const QLocale &locale) const
{
    QVector<QStringList> rows = dataRows();
    for (int row = 1; row < rowCount(); ++row)
        if (m_results[row])
            rows[row - 1] = cellsOf(*m_results[row], locale);
    return rows;
}

void ResultsTable::setCurrentRowWarning(const QString &warning)
{
    if (m_rowWarnings.size() <= m_currentRow)
        m_rowWarnings.resize(m_currentRow + 1);
    m_rowWarnings[m_currentRow] = warning;
}

QString ResultsTable::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columnCount)
        return QString();
    return m_rows[row][column];
}

int ResultsTable::columnWidthTwips(int column)
{
    // The spot columns (4 and 5) follow the symptom ratio.
    static const int widths[] = {2000, 1200, 1200, 1000, 800, 1500};
    return column >= 0 && column < 6 ? widths[column] : 0;
}

QString ResultsTable::copyText(int systemIndex, const QString &unitName) const
{
    return resultsCopyText(systemIndex, unitName, dataRows(), options());
}

QStringList ResultsTable::headerFields() const
{
    return resultsHeaderFields(m_systemIndex, m_unitName, options());
}

ResultsTableOptions ResultsTable::options() const
{
    return {m_spotColumns, m_backgroundCorrected};
}

QStringList resultsHeaderFields(int systemIndex, const QString &unitName,
                                ResultsTableOptions options)
{
    QString fileName = QStringLiteral("File name");
    if (options.backgroundCorrected)
        fileName += QLatin1Char(' ') + CorrectedNote;
    QStringList fields{fileName, QStringLiteral("Leaf area ") + unitName + QLatin1Char('2')};
    if (isLeafAreaOnly(systemIndex))
        return fields << QStringLiteral("Perimeter ") + unitName;
    fields << QStringLiteral("Symptom area ") + unitName + QLatin1Char('2')
           << QStringLiteral("Symptom %");
    if (options.spotColumns)
        fields << QStringLiteral("Spots")
               << QStringLiteral("Mean spot area ") + unitName + QLatin1Char('2');
    return fields;
}

QString resultsCopyText(int systemIndex, const QString &unitName,
                        const QVector<QStringList> &dataRows, ResultsTableOptions options)
{
    QString text = resultsHeaderFields(systemIndex, unitName, options).join(Tab) + LineFeed;
    for (const QStringList &row : dataRows)
        text += row.join(Tab) + LineFeed;
    return text;
}

} // namespace verdalis
