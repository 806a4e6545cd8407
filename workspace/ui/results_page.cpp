#include "results_page.h"

#include "results_layout.h"
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

#include <cmath>

namespace verdalis {

namespace {
constexpr double TwipsPerPixel = 15.0;

int pixels(double twips)
{
    return int(std::nearbyint(twips / TwipsPerPixel));
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

// Design geometry of the page's controls, in twips. The report and the chart
// share the top of the page; the table takes the same place in batch mode.
constexpr double ControlTopTwips = 120.0;
constexpr double ControlHeightTwips = 6600.0;
constexpr double GridWidthTwips = 5700.0;
constexpr double CopyButtonTwips = 540.0;

// A clipboard with a sheet of ruled lines: "copy the table".
QIcon copyTableIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 60, 30), 1.5));
    painter.setBrush(QColor(196, 150, 96));
    painter.drawRoundedRect(QRectF(5.5, 4.5, 21, 26), 2, 2);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8.5, 8.5, 15, 19));
    painter.setBrush(QColor(150, 150, 150));
    painter.drawRoundedRect(QRectF(11.5, 2.5, 9, 5), 1.5, 1.5);
    painter.setPen(QPen(QColor(40, 110, 40), 1.5));
    for (int line = 0; line < 4; ++line) {
        const double y = 12.5 + line * 4;
        painter.drawLine(QPointF(10.5, y), QPointF(21.5, y));
    }
    painter.setPen(QPen(QColor(40, 110, 40), 1));
    painter.drawLine(QPointF(14.5, 10), QPointF(14.5, 26));
    return QIcon(pixmap);
}
} // namespace

ResultsPage::ResultsPage(WorkspaceState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    text7 = new QTextEdit(this);
    text7->setObjectName(QStringLiteral("text7"));
    text7->setReadOnly(true);
    text7->setAcceptRichText(true);
    // Report lines stay whole; a narrow window scrolls them instead. A narrow
    // sans serif keeps the longest line inside the report's half of the page
    // even in the smallest window.
    text7->setLineWrapMode(QTextEdit::NoWrap);
    text7->document()->setDefaultFont(QFont(QStringLiteral("Liberation Sans")));

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
    Chart1 = new QChartView(chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);

    Grid2 = new QTableWidget(this);
    Grid2->setObjectName(QStringLiteral("Grid2"));
    Grid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid2->verticalHeader()->hide();
    // Small type, so the headers fit the narrow columns.
    QFont gridFont = Grid2->font();
    gridFont.setPointSize(8);
    Grid2->setFont(gridFont);
    Grid2->horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Grid2->horizontalHeader()->setFixedHeight(pixels(ResultsTable::HeaderRowHeightTwips));
    Grid2->setGeometry(
        twipsRect(ResultsTextLeftTwips, ControlTopTwips, GridWidthTwips, ControlHeightTwips));

    Command20 = new QToolButton(this);
    Command20->setObjectName(QStringLiteral("Command20"));
    Command20->setIcon(copyTableIcon());
    Command20->setIconSize(QSize(32, 32));
    Command20->setToolTip(QStringLiteral("Copy results table"));
    Command20->setGeometry(twipsRect(ResultsTextLeftTwips + GridWidthTwips + 120.0, ControlTopTwips,
                                     CopyButtonTwips, CopyButtonTwips));
    connect(Command20, &QToolButton::clicked, this, &ResultsPage::Command20_Click);

    // A width that suits the smallest window (12000 twips wide) until the main
    // window applies its own.
    layoutForTabWidth(12000 - 210);
    refreshGrid();
    setShowMode(ShowMode::Single);
}

void ResultsPage::showReport(AnalysisResult &result)
{
    const ReportLayout layout = buildReport(result, m_state.systemIndex(), m_state.unitName());
    writeReportDocument(layout, *text7->document());
    m_shares->slices().at(0)->setValue(layout.chart.nonSymptomArea);
    m_shares->slices().at(1)->setValue(layout.chart.symptomArea);
}

void ResultsPage::setShowMode(ShowMode mode)
{
    const bool batch = mode == ShowMode::Batch;
    Grid2->setVisible(batch);
    Command20->setVisible(batch);
    text7->setVisible(!batch);
    Chart1->setVisible(!batch);
}

void ResultsPage::setChartVisible(bool visible)
{
    Chart1->setVisible(visible);
}

void ResultsPage::prepareResultsTable(int pictureSetRows)
{
    m_table.prepare(m_state.systemIndex(), m_state.unitName(), pictureSetRows);
    refreshGrid();
}

void ResultsPage::recordBatchRow(AnalysisResult &result)
{
    m_table.recordRow(result);
    refreshGrid();
}

void ResultsPage::layoutForTabWidth(int tabWidthTwips)
{
    const ResultsPageLayout layout = resultsPageLayout(tabWidthTwips);
    text7->setGeometry(
        twipsRect(layout.text7Left, ControlTopTwips, layout.text7Width, ControlHeightTwips));
    Chart1->setGeometry(
        twipsRect(layout.chart1Left, ControlTopTwips, layout.chart1Width, ControlHeightTwips));
}

void ResultsPage::Command20_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_table.copyText(m_state.systemIndex(), m_state.unitName()));
}

// Row 0 of the table is Grid2's header; data row r is Grid2's row r - 1. The
// first column holds the picture names and looks like the header.
void ResultsPage::refreshGrid()
{
    const int columns = m_table.columnCount();
    Grid2->clear();
    Grid2->setColumnCount(columns);
    Grid2->setRowCount(m_table.rowCount() - 1);
    const Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop;
    for (int column = 0; column < columns; ++column) {
        auto *header = new QTableWidgetItem(m_table.cell(0, column));
        header->setTextAlignment(alignment);
        Grid2->setHorizontalHeaderItem(column, header);
        Grid2->setColumnWidth(column, pixels(ResultsTable::columnWidthTwips(column)));
    }
    for (int row = 1; row < m_table.rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            auto *item = new QTableWidgetItem(m_table.cell(row, column));
            item->setTextAlignment(alignment);
            if (column == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().button());
            }
            Grid2->setItem(row - 1, column, item);
        }
    }
    if (m_table.currentRow() > 0)
        Grid2->setCurrentCell(m_table.currentRow() - 1, 0, QItemSelectionModel::NoUpdate);
}

} // namespace verdalis
