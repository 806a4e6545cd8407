#include "results_csv.h"

#include "results_table.h"

#include <QLocale>

namespace verdalis {

namespace {

bool needsQuotes(const QString &field)
{
    for (const QChar ch : field)
        if (ch == QLatin1Char(',') || ch == QLatin1Char('"') || ch == QLatin1Char('\r') ||
            ch == QLatin1Char('\n'))
            return true;
    // Some readers trim unquoted blanks; quoted ones are kept.
    return !field.isEmpty() && (field.front().isSpace() || field.back().isSpace());
}

QString csvField(const QString &field)
{
    if (!needsQuotes(field))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString csvRecord(const QStringList &fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString &field : fields)
        written << csvField(field);
    return written.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString resultsCsvText(const ResultsTable &table)
{
    QString text = csvRecord(table.headerFields());
    for (const QStringList &row : table.dataRows(QLocale::c()))
        text += csvRecord(row);
    return text;
}

} // namespace verdalis
