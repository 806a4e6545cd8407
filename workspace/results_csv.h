#pragma once

#include <QString>
#include <QStringList>

namespace verdalis {

class ResultsTable;

// Comma-separated values (RFC 4180) for spreadsheets, R and Python: one record
// per line, fields separated by commas, a field in double quotes (its quotes
// doubled) when it holds a comma, a quote, a line break or a blank at either
// end, every record ending in CR LF. Text is written as UTF-8 by the caller.
QString csvRecord(const QStringList &fields);

// The results table as CSV: a header record naming the columns and the unit,
// then one record per picture, the figures with a decimal point whatever the
// user's locale. A picture without figures keeps its name and empty fields.
QString resultsCsvText(const ResultsTable &table);

} // namespace verdalis
