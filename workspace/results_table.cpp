#include "results_table.h"

namespace verdalis {

namespace {
const QChar Tab = QLatin1Char('\t');
const QChar LineFeed = QLatin1Char('\n');

// The name column's header tells the figures below it come from pictures whose
// background was corrected.
const QString CorrectedNote = QStringLiteral("(background corrected)");

QStringList headerTexts(bool leafAreaOnly, const QString &unitName, bool backgroundCorrected)
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
}

void ResultsTable::prepare(int systemIndex, const QString &unitName, int pictureSetRows,
                           bool backgroundCorrected)
{
    m_backgroundCorrected = backgroundCorrected;
    m_rowWarnings.clear();
    m_systemIndex = systemIndex;
    m_unitName = unitName;
    m_leafAreaOnly = verdalis::isLeafAreaOnly(systemIndex);
    m_columnCount = m_leafAreaOnly ? 3 : 4;
    // The header row always stays, even for a set without pictures.
    m_rows = QVector<QStringList>(qMax(1, pictureSetRows), emptyRow(m_columnCount));
    m_rows[0] = headerTexts(m_leafAreaOnly, unitName, backgroundCorrected);
    m_currentRow = 0;
}

QStringList &ResultsTable::nextRow()
{
    ++m_currentRow;
    // A picture recorded after its set was closed still gets a row of its own.
    while (m_currentRow >= rowCount())
        m_rows.append(emptyRow(m_columnCount));
    return m_rows[m_currentRow];
}

void ResultsTable::recordRow(AnalysisResult &result, const QLocale &locale)
{
    capSymptomArea(result);
    QStringList &row = nextRow();
    row[0] = result.pictureName;
    row[1] = formatResult(result.leafArea, locale);
    if (m_leafAreaOnly) {
        row[2] = formatResult(result.perimeter, locale);
    } else {
        row[2] = formatResult(result.symptomArea, locale);
        row[3] = formatResult(symptomRatio(result), locale);
    }
}

void ResultsTable::recordEmptyRow(const QString &pictureName)
{
    QStringList &row = nextRow();
    row = emptyRow(m_columnCount);
    row[0] = pictureName;
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
    static const int widths[] = {2000, 1200, 1200, 1000};
    return column >= 0 && column < 4 ? widths[column] : 0;
}

QString ResultsTable::copyText(int systemIndex, const QString &unitName) const
{
    return resultsCopyText(systemIndex, unitName, dataRows(), m_backgroundCorrected);
}

QString resultsCopyText(int systemIndex, const QString &unitName,
                        const QVector<QStringList> &dataRows, bool backgroundCorrected)
{
    QString text = QStringLiteral("File name");
    if (backgroundCorrected)
        text += QLatin1Char(' ') + CorrectedNote;
    text += Tab + QStringLiteral("Leaf area ") + unitName + QLatin1Char('2');
    if (isLeafAreaOnly(systemIndex)) {
        text += Tab + QStringLiteral("Perimeter ") + unitName;
    } else {
        text += Tab + QStringLiteral("Symptom area ") + unitName + QLatin1Char('2') + Tab +
                QStringLiteral("Symptom %");
    }
    text += LineFeed;
    for (const QStringList &row : dataRows)
        text += row.join(Tab) + LineFeed;
    return text;
}

} // namespace verdalis
