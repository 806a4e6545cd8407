// The "Results" page: formats of the text report and what the chart shows. The
// table's view and copy are driven through the main window (tst_window_batch).
#include "results_page.h"
#include "results_report.h"
#include "workspace_state.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
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

QList<QPieSlice *> slices(const ResultsPage &page)
{
    return qobject_cast<QPieSeries *>(page.symptomRatioChart->chart()->series().first())->slices();
}
} // namespace

class ResultsPageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void reportFormats();
    void titleStaysCentred();
    void chartWithoutLeafShowsNoSlices_data();
    void chartWithoutLeafShowsNoSlices();
    void tableHeadersAreNotCut();

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

// The text and the chart's shares are the report's (checked with the report);
// here, that the page shows them and how the text is set.
void ResultsPageTest::reportFormats()
{
    m_state->setSystemIndex(1);
    AnalysisResult result{12.5, 13.0, 0.0, QString()};
    AnalysisResult expectedFigures = result;
    const ReportLayout expected = buildReport(expectedFigures, 1, QStringLiteral("mm"));
    m_page->showReport(result);
    QCOMPARE(result.symptomArea, expectedFigures.symptomArea);
    QCOMPARE(slices(*m_page).at(0)->value(), expected.chart.nonSymptomArea);
    QCOMPARE(slices(*m_page).at(1)->value(), expected.chart.symptomArea);

    const QTextDocument &document = *m_page->reportText->document();
    const QString text = document.toPlainText();
    QCOMPARE(text, expected.text);
    QCOMPARE(document.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    for (QTextBlock block = document.firstBlock().next(); block.isValid(); block = block.next())
        QVERIFY(!(block.blockFormat().alignment() & Qt::AlignHCenter));

    // The "2" closing each line that ends in " 2" is the exponent (leaf area,
    // symptom area and mean spot area); nothing else is raised or smaller, and
    // only the title is bold.
    int exponents = 0;
    int lineStart = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        for (int i = 0; i < line.size(); ++i) {
            const QTextCharFormat format = formatAt(document, lineStart + i);
            const bool exponent = i == line.size() - 1 && line.endsWith(QStringLiteral(" 2"));
            exponents += exponent;
            QVERIFY2(format.fontPointSize() == (exponent ? 7.0 : 12.0), qPrintable(line));
            QCOMPARE(format.baselineOffset() > 0.0, exponent);
            QCOMPARE(format.fontWeight() == QFont::Bold, lineStart + i < expected.titleLength);
        }
        lineStart += int(line.size()) + 1;
    }
    QCOMPARE(exponents, 3);
}

// Opened before any analysis, the report box was laid out empty; the title of
// a later report is still centred in it.
void ResultsPageTest::titleStaysCentred()
{
    m_page->resize(1000, 600);
    m_page->layoutForTabWidth(15000);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    AnalysisResult result{1234.5, 0.0, 0.0, QString()};
    m_page->showReport(result);

    const QTextDocument &document = *m_page->reportText->document();
    const QTextLine title = document.firstBlock().layout()->lineAt(0);
    const double centre = document.documentMargin() + title.naturalTextRect().center().x();
    QVERIFY2(qAbs(centre - m_page->reportText->viewport()->width() / 2.0) <= 1.0,
             qPrintable(QString::number(centre)));
}

// A picture without leaf has no shares: the chart shows no disc of either
// colour, whatever it showed before, and says why. The labels are the
// report's; a share of nothing has no label to stand on it.
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
    AnalysisResult before{20.0, symptomBefore, 0.0, QString()};
    m_page->showReport(before);
    QVERIFY(sliceColourPixels() > 1000);
    const QList<QPieSlice *> shown = slices(*m_page);
    QCOMPARE(shown.at(1)->label(), symptomBefore > 0.0 ? "50.000 %" : "0.000 %");
    QVERIFY(shown.at(0)->isLabelVisible());
    QCOMPARE(shown.at(1)->isLabelVisible(), symptomBefore > 0.0);

    AnalysisResult noLeaf;
    m_page->showReport(noLeaf);
    QCOMPARE(sliceColourPixels(), 0);
    QVERIFY(m_page->chartNote->isVisible());

    m_page->showReport(before);
    QVERIFY(m_page->chartNote->isHidden());
    QVERIFY(sliceColourPixels() > 1000);
}

// Every header line fits its column in the small type of the table, and the
// buttons beside the table stay clear of it.
void ResultsPageTest::tableHeadersAreNotCut()
{
    m_state->setSystemIndex(2);
    m_page->resize(800, 500);
    m_page->layoutForTabWidth(12000);
    m_page->prepareResultsTable(3, {true, true});
    m_page->setShowMode(ResultsPage::ShowMode::Batch);
    const QTableWidget &view = *m_page->resultsTableView;
    const QFontMetrics metrics = view.horizontalHeader()->fontMetrics();
    for (int column = 0; column < view.columnCount(); ++column)
        for (const QString &line : view.horizontalHeaderItem(column)->text().split(u'\n'))
            QVERIFY2(metrics.horizontalAdvance(line) < view.columnWidth(column), qPrintable(line));
    QVERIFY(m_page->copyTableButton->x() >= view.geometry().right());
}

QTEST_MAIN(ResultsPageTest)
#include "tst_results_page.moc"
