#include "results_page.h"

#include "results_layout.h"
#include "twips.h"
#include "ui_controls.h"
#include "workspace_icons.h"
#include "workspace_state.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

namespace verdalis {

namespace {
QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                 pixelsFromTwips(height));
}

// Design geometry of the page's controls, in twips. The report and the chart
// share the top of the page; the table takes the same place in batch mode.
constexpr double ControlTopTwips = 120.0;
constexpr double ControlHeightTwips = 6600.0;
constexpr double TableWidthTwips = 5700.0;
constexpr double CopyButtonTwips = 540.0;

} // namespace

ResultsPage::ResultsPage(WorkspaceState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    reportText = named(new QTextEdit(this), "reportText");
    reportText->setReadOnly(true);
    reportText->setAcceptRichText(true);
    // Report lines stay whole; a narrow window scrolls them instead. A narrow
    // sans serif keeps the longest line inside the report's half of the page
    // even in the smallest window.
    reportText->setLineWrapMode(QTextEdit::NoWrap);
    reportText->document()->setDefaultFont(QFont(QStringLiteral("Liberation Sans")));

    m_shares = new QPieSeries;
    m_shares->append(QStringLiteral("Non symptom area"), 0.0);
    m_shares->append(QStringLiteral("Symptom area"), 0.0);
    m_shares->slices().at(0)->setBrush(QColor(60, 160, 60));
    m_shares->slices().at(1)->setBrush(QColor(200, 40, 40));
    auto *chart = new QChart;
    chart->addSeries(m_shares);
    chart->setTitle(QStringLiteral("Symptom ratio"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSize(14);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    symptomRatioChart = named(new QChartView(chart, this), "symptomRatioChart");
    symptomRatioChart->setRenderHint(QPainter::Antialiasing);

    resultsTableView = named(new QTableWidget(this), "resultsTableView");
    resultsTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultsTableView->verticalHeader()->hide();
    // Small type, so the headers fit the narrow columns.
    QFont tableFont = resultsTableView->font();
    tableFont.setPointSize(8);
    resultsTableView->setFont(tableFont);
    resultsTableView->horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    resultsTableView->horizontalHeader()->setFixedHeight(
        pixelsFromTwips(ResultsTable::HeaderRowHeightTwips));
    resultsTableView->setGeometry(
        twipsRect(ResultsTextLeftTwips, ControlTopTwips, TableWidthTwips, ControlHeightTwips));

    copyTableButton = named(new QToolButton(this), "copyTableButton");
    copyTableButton->setIcon(WorkspaceIcons::copyTable());
    copyTableButton->setIconSize(QSize(32, 32));
    copyTableButton->setToolTip(QStringLiteral("Copy results table"));
    copyTableButton->setGeometry(twipsRect(ResultsTextLeftTwips + TableWidthTwips + 120.0,
                                           ControlTopTwips, CopyButtonTwips, CopyButtonTwips));
    connect(copyTableButton, &QToolButton::clicked, this, &ResultsPage::copyResultsTable);

    // A width that suits the smallest window (12000 twips wide) until the main
    // window applies its own.
    layoutForTabWidth(12000 - 210);
    refreshTableView();
    setShowMode(ShowMode::Single);
}

void ResultsPage::showReport(AnalysisResult &result)
{
    const ReportLayout layout = buildReport(result, m_state.systemIndex(), m_state.unitName());
    writeReportDocument(layout, *reportText->document());
    m_shares->slices().at(0)->setValue(layout.chart.nonSymptomArea);
    m_shares->slices().at(1)->setValue(layout.chart.symptomArea);
}

void ResultsPage::setShowMode(ShowMode mode)
{
    const bool batch = mode == ShowMode::Batch;
    resultsTableView->setVisible(batch);
    copyTableButton->setVisible(batch);
    reportText->setVisible(!batch);
    symptomRatioChart->setVisible(!batch);
}

void ResultsPage::setChartVisible(bool visible)
{
    symptomRatioChart->setVisible(visible);
}

void ResultsPage::prepareResultsTable(int pictureSetRows)
{
    m_table.prepare(m_state.systemIndex(), m_state.unitName(), pictureSetRows);
    refreshTableView();
}

void ResultsPage::recordBatchRow(AnalysisResult &result)
{
    m_table.recordRow(result);
    showRecordedRow();
}

void ResultsPage::recordEmptyBatchRow(const QString &pictureName)
{
    m_table.recordEmptyRow(pictureName);
    showRecordedRow();
}

void ResultsPage::layoutForTabWidth(int tabWidthTwips)
{
    const ResultsPageLayout layout = resultsPageLayout(tabWidthTwips);
    reportText->setGeometry(
        twipsRect(layout.reportLeft, ControlTopTwips, layout.reportWidth, ControlHeightTwips));
    symptomRatioChart->setGeometry(
        twipsRect(layout.chartLeft, ControlTopTwips, layout.chartWidth, ControlHeightTwips));
}

void ResultsPage::copyResultsTable()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_table.copyText(m_state.systemIndex(), m_state.unitName()));
}

// Row 0 of the results table is the view's header; data row r is the view's row r - 1. The
// first column holds the picture names and looks like the header.
void ResultsPage::refreshTableView()
{
    const int columns = m_table.columnCount();
    resultsTableView->clear();
    resultsTableView->setColumnCount(columns);
    resultsTableView->setRowCount(m_table.rowCount() - 1);
    const Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop;
    for (int column = 0; column < columns; ++column) {
        auto *header = new QTableWidgetItem(m_table.cell(0, column));
        header->setTextAlignment(alignment);
        resultsTableView->setHorizontalHeaderItem(column, header);
        resultsTableView->setColumnWidth(column,
                                         pixelsFromTwips(ResultsTable::columnWidthTwips(column)));
    }
    for (int row = 1; row < m_table.rowCount(); ++row)
        showTableRow(row);
}

void ResultsPage::showRecordedRow()
{
    const int row = m_table.currentRow();
    if (resultsTableView->rowCount() < m_table.rowCount() - 1)
        resultsTableView->setRowCount(m_table.rowCount() - 1);
    showTableRow(row);
    resultsTableView->setCurrentCell(row - 1, 0, QItemSelectionModel::NoUpdate);
}

void ResultsPage::showTableRow(int row)
{
    const Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop;
    for (int column = 0; column < m_table.columnCount(); ++column) {
        auto *item = new QTableWidgetItem(m_table.cell(row, column));
        item->setTextAlignment(alignment);
        if (column == 0) {
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(palette().button());
        }
        resultsTableView->setItem(row - 1, column, item);
    }
}

} // namespace verdalis
