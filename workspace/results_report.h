#pragma once

#include "analysis_run.h"
#include "symptom_rule.h"

#include <QLocale>
#include <QString>
#include <QVector>

class QTextDocument;

namespace verdalis {

// The figures of one analysed picture as the report and the results table read
// them. Areas are in square calibrated units, the perimeter in calibrated units.
struct AnalysisResult {
    double leafArea = 0.0;
    double symptomArea = 0.0;
    double perimeter = 0.0;
    // Name of the current picture of a picture set; only the results table uses it.
    QString pictureName;
    // Spots found under a symptom-detecting system and their mean area (square
    // calibrated units, taken before the symptom area is capped).
    std::int64_t spotCount = 0;
    double meanSpotArea = 0.0;
};

// The result of a finished run, as the window and the command-line analyser report it.
AnalysisResult analysisResultOf(const AnalysisFigures &figures, const QString &pictureName);

inline bool isLeafAreaOnly(int systemIndex)
{
    return systemIndex == LeafAreaOnlySystem;
}

// A symptom area larger than the leaf area cannot be real (the tolerance slider
// can call background symptom); it is capped in the result itself, so everything
// shown afterwards agrees.
void capSymptomArea(AnalysisResult &result);
// Symptom area as a percentage of the leaf area; 0 when there is no leaf.
double symptomRatio(const AnalysisResult &result);
// "0.000" in the given locale: three decimals, no digit grouping.
QString formatResult(double value, const QLocale &locale = QLocale());
// A count in the given locale, without digit grouping.
QString formatCount(std::int64_t value, const QLocale &locale = QLocale());

// The two shares the results chart shows, in square calibrated units, and the
// labels of its slices: each share of the leaf area in percent ("98.157 %").
// Without leaf there is nothing to divide: the chart then shows no slices, only
// emptyNote, rather than a full disc of either colour.
struct ChartShares {
    double nonSymptomArea = 0.0;
    double symptomArea = 0.0;
    QString nonSymptomLabel;
    QString symptomLabel;
    QString emptyNote; // empty when there are shares to show
};

// The text report of a single analysis and where its formats go. Positions are
// character indices into text; the report's lines end in a single LF.
struct ReportLayout {
    QString text;
    int titleLength = 0;
    // The final "2" of each area line, set as a raised 7-point exponent.
    QVector<int> exponentPositions;
    ChartShares chart;
};

inline constexpr double ReportPointSize = 12.0;
inline constexpr double ExponentPointSize = 7.0;
// How far the exponent sits above the base line: 100 twips, 5 points.
inline constexpr double ExponentRaisePoints = 100.0 / 20.0;

// Caps the result (written back) and lays out the report for the chosen system.
ReportLayout buildReport(AnalysisResult &result, int systemIndex, const QString &unitName,
                         const QLocale &locale = QLocale());

// Replaces the document's contents with the report: 12-point regular type, the
// title bold in a centred paragraph, the exponents 7-point and raised.
void writeReportDocument(const ReportLayout &layout, QTextDocument &document);

} // namespace verdalis
