// The "Results" page: formats of the text report, what the chart and the table
// show, the clipboard, and which of them is visible.
#include "results_page.h"
#include "results_report.h"
#include "workspace_state.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QPieSeries>
#include <QPieSlice>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
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
    QCOMPARE(exponents.size(), system == 0 ? 1 : 2);

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
    m_state->setSystemIndex(0);
    m_state->setUnitName(QStringLiteral("cm"));
    QTest::mouseClick(m_page->copyTableButton, Qt::LeftButton);
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(
        QStringLiteral("File name\tLeaf area cm2\tPerimeter cm\nleaf1\t")));
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

QTEST_MAIN(ResultsPageTest)
#include "tst_results_page.moc"
