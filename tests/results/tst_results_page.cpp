// The "Results" page: formats of the text report, what the chart and the table
// show, the clipboard, and which of them is visible.
#include "results_page.h"
#include "results_report.h"
#include "workspace_state.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <QtTest>

using namespace verdalis;

namespace {
// Format of the character at a document position.
QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position))
            return fragment.charFormat();
    }
    return QTextCharFormat();
}

QList<double> shares(const ResultsPage &page)
{
    const auto *series =
        qobject_cast<QPieSeries *>(page.symptomRatioChart->chart()->series().first());
    QList<double> values;
    for (const QPieSlice *slice : series->slices())
        values << slice->value();
    return values;
}
} // namespace

class ResultsPageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void reportFormats_data();
    void reportFormats();
    void showModeSwapsTableAndReport();
    void tableShowsAndCopiesTheResults();
    void reportAndChartShareTheTabWidth();
    void reportAndChartFillThePage_data();
    void reportAndChartFillThePage();
    void titleStaysCentred_data();
    void titleStaysCentred();
    void chartLabelsTheShares();
    void chartWithoutLeafShowsNoSlices_data();
    void chartWithoutLeafShowsNoSlices();

private:
    std::unique_ptr<WorkspaceState> m_state;
    std::unique_ptr<ResultsPage> m_page;
};

void ResultsPageTest::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_state = std::make_unique<WorkspaceState>();
    m_state->setUnitName(QStringLiteral("mm"));
    m_page = std::make_unique<ResultsPage>(*m_state);
}

void ResultsPageTest::reportFormats_data()
{
    QTest::addColumn<int>("system");
    QTest::newRow("symptom system, capped") << 1;
    QTest::newRow("leaf area only") << 0;
}

// The text and the chart's shares are the report's (checked with the report);
// here, that the page shows them and how the text is set.
void ResultsPageTest::reportFormats()
{
    QFETCH(int, system);
    m_state->setSystemIndex(system);
    AnalysisResult result;
    result.leafArea = 12.5;
    result.symptomArea = system == 0 ? 0.0 : 13.0;
    result.perimeter = 150.25;
    AnalysisResult expectedFigures = result;
    const ReportLayout expected = buildReport(expectedFigures, system, QStringLiteral("mm"));
    m_page->showReport(result);
    QCOMPARE(result.symptomArea, expectedFigures.symptomArea);
    QCOMPARE(shares(*m_page),
             (QList<double>{expected.chart.nonSymptomArea, expected.chart.symptomArea}));

    const QTextDocument &document = *m_page->reportText->document();
    const QString text = document.toPlainText();
    QCOMPARE(text, expected.text);
    QVERIFY(m_page->reportText->isReadOnly());

    QCOMPARE(document.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    for (QTextBlock block = document.firstBlock().next(); block.isValid(); block = block.next())
        QVERIFY(!(block.blockFormat().alignment() & Qt::AlignHCenter));

    // The "2" closing each line that ends in " 2" is the exponent; nothing else is.
    QList<int> exponents;
    int lineStart = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QStringLiteral(" 2")))
            exponents << lineStart + int(line.size()) - 1;
        lineStart += int(line.size()) + 1;
    }
    // Leaf area; symptom area and mean spot area.
    QCOMPARE(exponents.size(), system == 0 ? 1 : 3);

    for (int position = 0; position < text.size(); ++position) {
        if (text.at(position) == QLatin1Char('\n'))
            continue;
        const QTextCharFormat format = formatAt(document, position);
        const QByteArray where = QByteArray::number(position);
        if (exponents.contains(position)) {
            QVERIFY2(format.fontPointSize() == 7.0, where);
            QVERIFY2(format.baselineOffset() > 0.0, where);
            QVERIFY2(format.fontWeight() != QFont::Bold, where);
        } else {
            QVERIFY2(format.fontPointSize() == 12.0, where);
            QVERIFY2(format.baselineOffset() == 0.0, where);
            QCOMPARE(format.fontWeight() == QFont::Bold, position < expected.titleLength);
        }
    }
}

void ResultsPageTest::showModeSwapsTableAndReport()
{
    m_page->show();
    m_page->setShowMode(ResultsPage::ShowMode::Batch);
    const QImage copyIcon = m_page->copyTableButton->icon().pixmap(32, 32).toImage();
    QVERIFY(!copyIcon.isNull() && copyIcon.pixelColor(16, 4).alpha() == 255); // the clip
    QVERIFY(m_page->resultsTableView->isVisible() && m_page->copyTableButton->isVisible());
    QVERIFY(!m_page->reportText->isVisible() && !m_page->symptomRatioChart->isVisible());
    m_page->setShowMode(ResultsPage::ShowMode::Single);
    QVERIFY(!m_page->resultsTableView->isVisible() && !m_page->copyTableButton->isVisible());
    QVERIFY(m_page->reportText->isVisible() && m_page->symptomRatioChart->isVisible());
    m_page->setChartVisible(false);
    QVERIFY(m_page->reportText->isVisible() && !m_page->symptomRatioChart->isVisible());
}

// Cell texts and the copied text are the results table's (checked with the
// table); here, that the view shows its rows and the button copies them with
// the header of the system and unit chosen at copy time.
void ResultsPageTest::tableShowsAndCopiesTheResults()
{
    m_state->setSystemIndex(1);
    m_page->prepareResultsTable(4);
    const double values[3][2] = {{1234.5, 56.78}, {10.0, 12.0}, {3.0, 0.0}};
    for (int picture = 0; picture < 3; ++picture) {
        AnalysisResult result;
        result.pictureName = QStringLiteral("leaf%1").arg(picture + 1);
        result.leafArea = values[picture][0];
        result.symptomArea = values[picture][1];
        m_page->recordBatchRow(result);
    }

    QTableWidget &grid = *m_page->resultsTableView;
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.columnCount(), 4);
    QCOMPARE(grid.horizontalHeaderItem(1)->text(), QStringLiteral("Leaf area\nmm2"));
    QCOMPARE(grid.item(1, 0)->text(), QStringLiteral("leaf2"));
    QCOMPARE(grid.item(1, 2)->text(), QStringLiteral("10.000"));
    QCOMPARE(grid.currentRow(), 2);

    m_page->setShowMode(ResultsPage::ShowMode::Batch);
    QTest::mouseClick(m_page->copyTableButton, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("File name\tLeaf area mm2\tSymptom area mm2\tSymptom %\n"
                            "leaf1\t1234.500\t56.780\t4.599\n"
                            "leaf2\t10.000\t10.000\t100.000\n"
                            "leaf3\t3.000\t0.000\t0.000\n"));
    // A system or calibration chosen after the batch changes neither the table
    // nor the copied header: the figures keep their columns and their unit.
    const QString copied = QGuiApplication::clipboard()->text();
    m_state->setSystemIndex(0);
    m_state->setUnitName(QStringLiteral("cm"));
    m_page->copyResultsTable();
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Symptom area\nmm2"));
}

void ResultsPageTest::reportAndChartShareTheTabWidth()
{
    // Side by side, the same width, and inside the tab at any width.
    for (const int tabTwips : {11790, 17790}) {
        m_page->layoutForTabWidth(tabTwips);
        const QRect report = m_page->reportText->geometry();
        const QRect chart = m_page->symptomRatioChart->geometry();
        QCOMPARE(chart.width(), report.width());
        QCOMPARE(chart.left(), report.right() + 1);
        QVERIFY(chart.right() < tabTwips / 15);
    }
}

// The page fills the tab whatever the window's height: the report and the chart
// take it all but a margin above and the overlay strip (30 pixels) below.
void ResultsPageTest::reportAndChartFillThePage_data()
{
    QTest::addColumn<QSize>("page");
    QTest::newRow("smallest window") << QSize(786, 520);
    QTest::newRow("1280 x 1024") << QSize(1266, 944);
}

void ResultsPageTest::reportAndChartFillThePage()
{
    QFETCH(QSize, page);
    m_page->resize(page);
    m_page->layoutForTabWidth(page.width() * 15);
    for (QWidget *control : {static_cast<QWidget *>(m_page->reportText),
                             static_cast<QWidget *>(m_page->symptomRatioChart)}) {
        QCOMPARE(control->y(), 8);
        QCOMPARE(control->height(), page.height() - 16 - 30);
    }
    QCOMPARE(m_page->resultsTableView->height(), page.height() - 16 - 30);
}

// Opened before any analysis, the report box was laid out empty; the title of
// a later report is still centred in it.
void ResultsPageTest::titleStaysCentred_data()
{
    QTest::addColumn<bool>("shownEmpty");
    QTest::newRow("page opened before the analysis") << true;
    QTest::newRow("page opened after it") << false;
}

void ResultsPageTest::titleStaysCentred()
{
    QFETCH(bool, shownEmpty);
    m_page->resize(1000, 600);
    m_page->layoutForTabWidth(15000);
    if (shownEmpty) {
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    AnalysisResult result;
    result.leafArea = 1234.5;
    m_page->showReport(result);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));

    const QTextDocument &document = *m_page->reportText->document();
    const QTextLine title = document.firstBlock().layout()->lineAt(0);
    const double centre = document.documentMargin() + title.naturalTextRect().center().x();
    QVERIFY2(qAbs(centre - m_page->reportText->viewport()->width() / 2.0) <= 1.0,
             qPrintable(QString::number(centre)));
}

// Each slice is labelled with its share in percent; the legend keeps the names.
void ResultsPageTest::chartLabelsTheShares()
{
    m_state->setSystemIndex(1);
    AnalysisResult result;
    result.leafArea = 1234.5;
    result.symptomArea = 56.78;
    m_page->showReport(result);
    auto *series = qobject_cast<QPieSeries *>(m_page->symptomRatioChart->chart()->series().first());
    QVERIFY(series->isVisible());
    QStringList labels;
    for (const QPieSlice *slice : series->slices()) {
        QVERIFY(slice->isLabelVisible());
        labels << slice->label();
    }
    QCOMPARE(labels, (QStringList{"95.401 %", "4.599 %"}));
    QStringList legend;
    for (const QLegendMarker *marker :
         m_page->symptomRatioChart->chart()->legend()->markers(series))
        legend << marker->label();
    QCOMPARE(legend, (QStringList{"Non symptom area", "Symptom area"}));
    QVERIFY(m_page->chartNote->isHidden());

    // A share of nothing has no label to stand on it.
    result.symptomArea = 0.0;
    m_page->showReport(result);
    QVERIFY(series->slices().at(0)->isLabelVisible());
    QVERIFY(!series->slices().at(1)->isLabelVisible());
}

// A picture without leaf has no shares: the chart shows no disc of either
// colour, whatever it showed before, and says why.
void ResultsPageTest::chartWithoutLeafShowsNoSlices_data()
{
    QTest::addColumn<double>("symptomBefore");
    QTest::newRow("after a symptom run") << 10.0;
    QTest::newRow("after a run without symptoms") << 0.0;
}

void ResultsPageTest::chartWithoutLeafShowsNoSlices()
{
    QFETCH(double, symptomBefore);
    m_state->setSystemIndex(1);
    m_page->resize(800, 500);
    m_page->layoutForTabWidth(12000);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    const auto sliceColourPixels = [this] {
        const QImage shown = m_page->symptomRatioChart->grab().toImage();
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor colour = shown.pixelColor(x, y);
                count += colour == QColor(60, 160, 60) || colour == QColor(200, 40, 40);
            }
        return count;
    };
    AnalysisResult before;
    before.leafArea = 10.0;
    before.symptomArea = symptomBefore;
    m_page->showReport(before);
    QVERIFY(sliceColourPixels() > 1000);

    AnalysisResult noLeaf;
    m_page->showReport(noLeaf);
    QCOMPARE(m_page->reportText->toPlainText().split(u'\n').value(4),
             QStringLiteral("Symptom area ratio\t0.000 %"));
    QCOMPARE(sliceColourPixels(), 0);
    QVERIFY(m_page->chartNote->isVisible());
    QCOMPARE(m_page->chartNote->text(),
             QStringLiteral("No leaf was found in the picture, so there is no symptom ratio to "
                            "show."));

    m_page->showReport(before);
    QVERIFY(m_page->chartNote->isHidden());
    QVERIFY(sliceColourPixels() > 1000);
}

QTEST_MAIN(ResultsPageTest)
#include "tst_results_page.moc"
