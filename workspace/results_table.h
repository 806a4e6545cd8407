#pragma once

#include "results_report.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace verdalis {

// What a results table shows besides the system's figures.
struct ResultsTableOptions {
    // "Spots" and "Mean spot area" (never under "Leaf area only", which finds no spots).
    bool spotColumns = false;
    // The pictures were analysed with "Correct background" on: the name
    // column's header says so.
    bool backgroundCorrected = false;
};

// The results table of a batch: one header row (row 0) and one row per picture
// of the set, a fixed first column of picture names. Its column set and unit
// are chosen when the batch starts.
class ResultsTable {
public:
    ResultsTable();

    // Lays the table out for a new batch under the system selected now:
    // 3 columns under "Leaf area only", else 4, and 2 more for the spots
    // (count and mean area) when asked for under a symptom-detecting system;
    // pictureSetRows rows (the picture set's header row included), all data
    // rows empty; current row 0.
    void prepare(int systemIndex, const QString &unitName, int pictureSetRows,
                 ResultsTableOptions options = {});
    // Caps the result (written back) and writes it into the row after the
    // current one, which becomes current. A row past the end is added.
    void recordRow(AnalysisResult &result, const QLocale &locale = QLocale());
    // A picture that could not be read or analysed: the row after the current
    // one keeps the picture's name and empty figure cells, and becomes current.
    void recordEmptyRow(const QString &pictureName);

    // A warning about the current row's picture (its background), shown as a
    // mark on the row; not part of the copied text.
    void setCurrentRowWarning(const QString &warning);
    QString rowWarning(int row) const { return m_rowWarnings.value(row); }

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return m_columnCount; }
    int currentRow() const { return m_currentRow; }
    bool isLeafAreaOnly() const { return m_leafAreaOnly; }
    bool hasSpotColumns() const { return m_spotColumns; }
    // The system and unit the table was prepared for: its figures' columns and unit.
    int preparedSystemIndex() const { return m_systemIndex; }
    QString preparedUnitName() const { return m_unitName; }
    // Row 0 holds the header texts, with an LF before the unit.
    QString cell(int row, int column) const;
    QVector<QStringList> dataRows() const { return m_rows.mid(1); }
    // The data rows with the figures written in another locale (a file for other
    // programs wants a decimal point whatever the user's locale).
    QVector<QStringList> dataRows(const QLocale &locale) const;

    // Widths of the columns and height of the header row, in twips.
    static int columnWidthTwips(int column);
    static constexpr int HeaderRowHeightTwips = 500;

    // The clipboard text of the table, header following the given system; the
    // spot columns' header when the table has them.
    QString copyText(int systemIndex, const QString &unitName) const;
    // The names of the columns as the copied text and files give them, for
    // the system and unit the table was prepared for.
    QStringList headerFields() const;

private:
    QStringList &nextRow();
    QStringList cellsOf(const AnalysisResult &result, const QLocale &locale) const;
    ResultsTableOptions options() const;

    QVector<QStringList> m_rows;
    QVector<QString> m_rowWarnings;
    int m_columnCount = 0;
    int m_currentRow = 0;
    bool m_leafAreaOnly = true;
    bool m_spotColumns = false;
    bool m_backgroundCorrected = false;
    // What each row was recorded from (the header row and rows without figures: none).
    QVector<std::optional<AnalysisResult>> m_results;
    int m_systemIndex = 0;
    QString m_unitName;
};

// The names of the results' columns in copied text and files: "File name",
// "Leaf area <unit>2", then "Perimeter <unit>" under "Leaf area only", else
// "Symptom area <unit>2" and "Symptom %", followed with spot columns by "Spots"
// and "Mean spot area <unit>2"; "File name (background corrected)" when the
// background was corrected.
QStringList resultsHeaderFields(int systemIndex, const QString &unitName,
                                ResultsTableOptions options = {});

// Tab-separated text of a results table: a header line built from the unit and
// the system, then each data row's cells joined by TAB; every line ends in LF.
// The command-line analyser writes the same text to standard output.
QString resultsCopyText(int systemIndex, const QString &unitName,
                        const QVector<QStringList> &dataRows, ResultsTableOptions options = {});

} // namespace verdalis
