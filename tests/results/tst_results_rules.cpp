// The report's text and figures and the results table, without any widget.
#include "results_report.h"
#include "results_table.h"

#include <QtTest>

using namespace verdalis;

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

AnalysisResult result(const QString &name, double leaf, double symptom, double perimeter = 0.0)
{
    AnalysisResult r;
    r.pictureName = name;
    r.leafArea = leaf;
    r.symptomArea = symptom;
    r.perimeter = perimeter;
    return r;
}
} // namespace

class ResultsRulesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(English); }

    void reportText_data();
    void reportText();
    void roundsTheStoredValue();
    void tableKeepsItsSystemAndUnit();
    void prepareDiscardsEarlierRows();
    void rowRecordedPastTheSetIsKept();
};

void ResultsRulesTest::reportText_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("leaf");
    QTest::addColumn<double>("symptom");
    QTest::addColumn<double>("perimeter");
    QTest::addColumn<QString>("text");
    // Which characters are raised is checked on the page, where they are drawn.
    QTest::addColumn<double>("cappedSymptom");
    QTest::addColumn<double>("chartNonSymptom");
    QTest::addColumn<double>("chartSymptom");
    QTest::addColumn<QStringList>("chartLabels"); // empty: no shares, a note instead

    const QString title = QStringLiteral("Results of leaf image analysis\n\n");
    QTest::newRow("worked example")
        << 1 << "mm" << English << 1234.5 << 56.78 << 0.0
        << title + "Total scanned leaf area \t1234.500 mm 2\n"
                   "Total detected symptom area \t56.780 mm 2\n"
                   "Symptom area ratio\t4.599 %\n"
                   "Number of spots\t0\n"
                   "Mean spot area\t0.000 mm 2\n"
        << 56.78 << 1234.5 - 56.78 << 56.78 << QStringList{"95.401 %", "4.599 %"};
    QTest::newRow("symptom larger than leaf is capped")
        << 2 << "cm" << English << 10.0 << 12.0 << 0.0
        << title + "Total scanned leaf area \t10.000 cm 2\n"
                   "Total detected symptom area \t10.000 cm 2\n"
                   "Symptom area ratio\t100.000 %\n"
                   "Number of spots\t0\n"
                   "Mean spot area\t0.000 cm 2\n"
        << 10.0 << 0.0 << 10.0 << QStringList{"0.000 %", "100.000 %"};
    QTest::newRow("no leaf") << 3 << "mm" << English << 0.0 << 0.0 << 0.0
                             << title + "Total scanned leaf area \t0.000 mm 2\n"
                                        "Total detected symptom area \t0.000 mm 2\n"
                                        "Symptom area ratio\t0.000 %\n"
                                        "Number of spots\t0\n"
                                        "Mean spot area\t0.000 mm 2\n"
                             << 0.0 << 0.0 << 0.0 << QStringList();
    QTest::newRow("custom system reports symptoms")
        << 5 << "in" << English << 8.0 << 2.0 << 0.0
        << title + "Total scanned leaf area \t8.000 in 2\n"
                   "Total detected symptom area \t2.000 in 2\n"
                   "Symptom area ratio\t25.000 %\n"
                   "Number of spots\t0\n"
                   "Mean spot area\t0.000 in 2\n"
        << 2.0 << 6.0 << 2.0 << QStringList{"75.000 %", "25.000 %"};
    QTest::newRow("leaf area only: perimeter line ends the text")
        << 0 << "mm" << English << 1234.5 << 0.0 << 150.25
        << title + "Total scanned leaf area \t1234.500 mm 2\n"
                   "Leaf perimeter \t150.250 mm"
        << 0.0 << 1234.5 << 0.0 << QStringList{"100.000 %", "0.000 %"};
    QTest::newRow("decimal comma, no grouping")
        << 1 << "mm" << German << 1234567.5 << 56.78 << 0.0
        << title + "Total scanned leaf area \t1234567,500 mm 2\n"
                   "Total detected symptom area \t56,780 mm 2\n"
                   "Symptom area ratio\t0,005 %\n"
                   "Number of spots\t0\n"
                   "Mean spot area\t0,000 mm 2\n"
        << 56.78 << 1234567.5 - 56.78 << 56.78 << QStringList{"99,995 %", "0,005 %"};
}

void ResultsRulesTest::reportText()
{
    QFETCH(int, system);
    QFETCH(QString, unit);
    QFETCH(QLocale, locale);
    QFETCH(double, leaf);
    QFETCH(double, symptom);
    QFETCH(double, perimeter);
    QFETCH(QString, text);

    AnalysisResult figures = result(QString(), leaf, symptom, perimeter);
    const ReportLayout layout = buildReport(figures, system, unit, locale);
    QCOMPARE(layout.text, text);
    QCOMPARE(layout.text.left(layout.titleLength),
             QStringLiteral("Results of leaf image analysis"));

    QTEST(figures.symptomArea, "cappedSymptom");
    QTEST(layout.chart.nonSymptomArea, "chartNonSymptom");
    QTEST(layout.chart.symptomArea, "chartSymptom");
    QFETCH(QStringList, chartLabels);
    if (chartLabels.isEmpty()) {
        QVERIFY(!layout.chart.emptyNote.isEmpty());
    } else {
        QCOMPARE((QStringList{layout.chart.nonSymptomLabel, layout.chart.symptomLabel}),
                 chartLabels);
        QVERIFY(layout.chart.emptyNote.isEmpty());
    }
}

void ResultsRulesTest::roundsTheStoredValue()
{
    // 1.0005 is stored just below the half, 0.0005 just above it.
    QCOMPARE(formatResult(1.0005, English), QStringLiteral("1.000"));
    QCOMPARE(formatResult(0.0005, English), QStringLiteral("0.001"));
}

void ResultsRulesTest::tableKeepsItsSystemAndUnit()
{
    QLocale::setDefault(German);
    ResultsTable table;
    table.prepare(0, QStringLiteral("mm"), 3);
    QCOMPARE(table.columnCount(), 3);
    AnalysisResult leaf = result("leaf1", 1234.5, 0.0, 150.25);
    table.recordRow(leaf, English);
    // The copied header is the table's, whatever is chosen later. The second
    // row was never recorded and copies as empty cells.
    QCOMPARE(table.preparedSystemIndex(), 0);
    QCOMPARE(table.preparedUnitName(), QStringLiteral("mm"));
    QCOMPARE(table.copyText(table.preparedSystemIndex(), table.preparedUnitName()),
             QStringLiteral("File name\tLeaf area mm2\tPerimeter mm\n"
                            "leaf1\t1234.500\t150.250\n"
                            "\t\t\n"));
    QCOMPARE(table.cell(0, 1), QStringLiteral("Leaf area\nmm2"));
    // Without an explicit locale the user's is used.
    table.prepare(0, QStringLiteral("mm"), 2);
    table.recordRow(leaf);
    QCOMPARE(table.cell(1, 1), QStringLiteral("1234,500"));
}

void ResultsRulesTest::prepareDiscardsEarlierRows()
{
    ResultsTable table;
    table.prepare(1, QStringLiteral("mm"), 3);
    AnalysisResult leaf = result("a", 2.0, 1.0);
    table.recordRow(leaf);
    table.prepare(0, QStringLiteral("mm"), 3);
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(table.columnCount(), 3);
    QCOMPARE(table.cell(1, 0), QString());
    leaf.perimeter = 7.5;
    table.recordRow(leaf);
    QCOMPARE(table.cell(1, 2), QStringLiteral("7.500"));
}

void ResultsRulesTest::rowRecordedPastTheSetIsKept()
{
    // A picture still running when its picture set was closed is recorded too.
    ResultsTable table;
    table.prepare(1, QStringLiteral("mm"), 2);
    AnalysisResult first = result("a", 4.0, 1.0);
    AnalysisResult late = result("b", 5.0, 5.0);
    table.recordRow(first);
    table.recordRow(late);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.currentRow(), 2);
    QCOMPARE(table.dataRows().last(), (QStringList{"b", "5.000", "5.000", "100.000"}));
}

QTEST_APPLESS_MAIN(ResultsRulesTest)
#include "tst_results_rules.moc"
