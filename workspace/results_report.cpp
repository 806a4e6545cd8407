#include "results_report.h"

#include "number_text.h"

#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace verdalis {

namespace {
const QChar Tab = QLatin1Char('\t');
const QChar LineFeed = QLatin1Char('\n');

QTextCharFormat regularFormat()
{
    QTextCharFormat format;
    format.setFontPointSize(ReportPointSize);
    format.setFontWeight(QFont::Normal);
    return format;
}
} // namespace

AnalysisResult analysisResultOf(const AnalysisFigures &figures, const QString &pictureName)
{
    AnalysisResult result;
    result.leafArea = figures.leafArea;
    result.symptomArea = figures.symptomArea;
    result.perimeter = figures.perimeter;
    result.pictureName = pictureName;
    result.spotCount = figures.spotCount;
    result.meanSpotArea = figures.meanSpotArea();
    return result;
}

void capSymptomArea(AnalysisResult &result)
{
    if (result.symptomArea > result.leafArea)
        result.symptomArea = result.leafArea;
}

double symptomRatio(const AnalysisResult &result)
{
    if (result.leafArea <= 0.0)
        return 0.0;
    return result.symptomArea / result.leafArea * 100.0;
}

QString formatResult(double value, const QLocale &locale)
{
    return numberLocale(locale).toString(value, 'f', 3);
}

QString formatCount(std::int64_t value, const QLocale &locale)
{
    return numberLocale(locale).toString(qlonglong(value));
}

ReportLayout buildReport(AnalysisResult &result, int systemIndex, const QString &unitName,
                         const QLocale &locale)
{
    capSymptomArea(result);
    ReportLayout layout;
    QString &text = layout.text;
    const QString title = QStringLiteral("Results of leaf image analysis");
    layout.titleLength = int(title.size());
    text = title + LineFeed + LineFeed;

    // An area line ends in " <unit> 2" + LF; its "2" is the character before the LF.
    auto appendAreaLine = [&](const QString &label, double area) {
        text += label + Tab + formatResult(area, locale) + QLatin1Char(' ') + unitName +
                QStringLiteral(" 2");
        layout.exponentPositions.append(int(text.size()) - 1);
        text += LineFeed;
    };

    appendAreaLine(QStringLiteral("Total scanned leaf area "), result.leafArea);
    if (!isLeafAreaOnly(systemIndex)) {
        appendAreaLine(QStringLiteral("Total detected symptom area "), result.symptomArea);
        text += QStringLiteral("Symptom area ratio") + Tab +
                formatResult(symptomRatio(result), locale) + QStringLiteral(" %") + LineFeed;
        text += QStringLiteral("Number of spots") + Tab + formatCount(result.spotCount, locale) +
                LineFeed;
        appendAreaLine(QStringLiteral("Mean spot area"), result.meanSpotArea);
    } else {
        text += QStringLiteral("Leaf perimeter ") + Tab + formatResult(result.perimeter, locale) +
                QLatin1Char(' ') + unitName;
    }

    ChartShares &chart = layout.chart;
    chart.nonSymptomArea = result.leafArea - result.symptomArea;
    chart.symptomArea = result.symptomArea;
    if (result.leafArea > 0.0) {
        const double ratio = symptomRatio(result);
        chart.nonSymptomLabel =
            formatResult(chart.nonSymptomArea / result.leafArea * 100.0, locale) +
            QStringLiteral(" %");
        chart.symptomLabel = formatResult(ratio, locale) + QStringLiteral(" %");
    } else {
        chart.emptyNote = QStringLiteral("No leaf was found in the picture, so there is no "
                                         "symptom ratio to show.");
    }
    return layout;
}

void writeReportDocument(const ReportLayout &layout, QTextDocument &document)
{
    document.clear();
    QFont font = document.defaultFont();
    font.setPointSizeF(ReportPointSize);
    document.setDefaultFont(font);

    QTextCursor cursor(&document);
    cursor.insertText(layout.text, regularFormat());

    // One tab stop just past the widest label lines the figures up in a column;
    // tab stops are a paragraph property, so every paragraph gets it.
    const QFontMetricsF metrics(font);
    qreal widestLabel = 0.0;
    for (const QString &line : layout.text.split(LineFeed)) {
        const int tab = int(line.indexOf(Tab));
        if (tab > 0)
            widestLabel = qMax(widestLabel, metrics.horizontalAdvance(line.left(tab)));
    }
    QTextBlockFormat tabStop;
    tabStop.setTabPositions(
        {QTextOption::Tab(widestLabel + metrics.averageCharWidth() * 2, QTextOption::LeftTab)});
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(tabStop);

    // The title: bold, its paragraph centred.
    cursor.setPosition(0);
    QTextBlockFormat centred = cursor.blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.setPosition(layout.titleLength, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);

    // The baseline offset is a percentage of the exponent's own font size.
    QTextCharFormat exponent;
    exponent.setFontPointSize(ExponentPointSize);
    exponent.setBaselineOffset(ExponentRaisePoints / ExponentPointSize * 100.0);
    for (int position : layout.exponentPositions) {
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(exponent);
    }
}

} // namespace verdalis
