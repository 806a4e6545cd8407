// The "Results" page: formats of the text report, the chart, the results
// table's layout and the clipboard text.
#include "results_page.h"
#include "workspace_state.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
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
    void chartShowsCappedShares();
    void showModeSwapsTableAndReport();
    void tableForThreePictures();
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
    QTest::addColumn<QString>("text");
    QTest::newRow("symptom system")
        << 1
        << "Results of leaf image analysis\n\nTotal scanned leaf area \t1234.500 mm 2\n"
           "Total detected symptom area \t56.780 mm 2\nSymptom area ratio\t4.599 %\n";
    QTest::newRow("leaf area only")
        << 0
        << "Results of leaf image analysis\n\nTotal scanned leaf area \t1234.500 mm 2\n"
           "Leaf perimeter \t150.250 mm";
}

void ResultsPageTest::reportFormats()
{
    QFETCH(int, system);
    QFETCH(QString, text);
    m_state->setSystemIndex(system);
    AnalysisResult result;
    result.leafArea = 1234.5;
    result.symptomArea = system == 0 ? 0.0 : 56.78;
    result.perimeter = 150.25;
    m_page->showReport(result);

    const QTextDocument &document = *m_page->reportText->document();
    QCOMPARE(document.toPlainText(), text);
    QVERIFY(m_page->reportText->isReadOnly());

    const int titleLength = 30;
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
            QCOMPARE(format.fontWeight() == QFont::Bold, position < titleLength);
        }
    }
}

void ResultsPageTest::chartShowsCappedShares()
{
    m_state->setSystemIndex(2);
    AnalysisResult capped;
    capped.leafArea = 10.0;
    capped.symptomArea = 12.0;
    m_page->showReport(capped);
    QCOMPARE(capped.symptomArea, 10.0);
    QCOMPARE(shares(*m_page), (QList<double>{0.0, 10.0}));
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

void ResultsPageTest::tableForThreePictures()
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
    QStringList header;
    QList<int> widths;
    for (int column = 0; column < 4; ++column) {
        header << grid.horizontalHeaderItem(column)->text();
        widths << grid.columnWidth(column);
        QCOMPARE(grid.horizontalHeaderItem(column)->textAlignment(),
                 int(Qt::AlignHCenter | Qt::AlignTop));
    }
    QCOMPARE(header,
             (QStringList{"File name", "Leaf area\nmm2", "Symptom area\nmm2", "Symptom %"}));
    // Twips to pixels: 15 twips a pixel.
    QCOMPARE(widths, (QList<int>{133, 80, 80, 67}));
    QCOMPARE(grid.horizontalHeader()->height(), 33);
    QCOMPARE(grid.item(1, 0)->text(), QStringLiteral("leaf2"));
    QCOMPARE(grid.item(1, 2)->text(), QStringLiteral("10.000"));
    QCOMPARE(grid.item(2, 3)->text(), QStringLiteral("0.000"));
    QCOMPARE(grid.item(2, 1)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignTop));
    QVERIFY(!(grid.item(0, 0)->flags() & Qt::ItemIsSelectable));
    QCOMPARE(grid.currentRow(), 2);

    m_page->setShowMode(ResultsPage::ShowMode::Batch);
    QTest::mouseClick(m_page->copyTableButton, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("File name\tLeaf area mm2\tSymptom area mm2\tSymptom %\n"
                            "leaf1\t1234.500\t56.780\t4.599\n"
                            "leaf2\t10.000\t10.000\t100.000\n"
                            "leaf3\t3.000\t0.000\t0.000\n"));
    // The copied header follows the system and unit chosen now; the table keeps its own.
    m_state->setSystemIndex(0);
    m_state->setUnitName(QStringLiteral("cm"));
    m_page->copyResultsTable();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(
        QStringLiteral("File name\tLeaf area cm2\tPerimeter cm\nleaf1\t")));
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Symptom area\nmm2"));
}

void ResultsPageTest::reportAndChartShareTheTabWidth()
{
    // Smallest window: tab 11790 twips wide, so each half is 5640 twips = 376 pixels.
    m_page->layoutForTabWidth(11790);
    QCOMPARE(m_page->reportText->width(), 376);
    QCOMPARE(m_page->symptomRatioChart->width(), 376);
    QCOMPARE(m_page->symptomRatioChart->x(), m_page->reportText->x() + 376);
}

QTEST_MAIN(ResultsPageTest)
#include "tst_results_page.moc"
