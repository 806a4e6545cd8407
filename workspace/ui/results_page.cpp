#include "results_page.h"

#include "overlay_legend.h"
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
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

namespace verdalis {

namespace {
const QColor NonSymptomColour(60, 160, 60);
const QColor SymptomColour(200, 40, 40);

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                 pixelsFromTwips(height));
}

// Design geometry of the page's controls, in twips. The report and the chart
// share the page; the table takes the same place in batch mode. Below them a
// strip holds the overlay's button and legend.
constexpr double TableMarginTwips = 300.0;
constexpr double CopyButtonTwips = 540.0;
constexpr double OverlayStripTwips = 450.0;
constexpr double OverlayButtonWidthTwips = 2700.0;

double tableWidthTwips(const QTableWidget &view)
{
    double width = TableMarginTwips;
    for (int column = 0; column < view.columnCount(); ++column)
        width += twipsFromPixels(view.columnWidth(column));
    return width;
}

// A column keeps its width unless its header would be cut: "Symptom area" needs a
// little more than its 1200 twips in the fonts of most desktops.
int columnWidthPixels(const QTableWidget &view, int column, const QString &header)
{
    const QHeaderView &headerView = *view.horizontalHeader();
    int textWidth = 0;
    for (const QString &line : header.split(u'\n'))
        textWidth = std::max(textWidth, headerView.fontMetrics().horizontalAdvance(line));
    const int margin =
        headerView.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &headerView);
    return std::max(pixelsFromTwips(ResultsTable::columnWidthTwips(column)),
                    textWidth + 2 * margin + 4);
}
// The background warning's height under the report: three lines of small type.
constexpr double WarningTwips = 900.0;
const QColor WarningRowColour(255, 224, 178);

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
    m_shares->slices().at(0)->setBrush(NonSymptomColour);
    m_shares->slices().at(1)->setBrush(SymptomColour);
    auto *chart = new QChart;
    chart->addSeries(m_shares);
    // The slices' labels show their percentages; the legend keeps their names.
    const QList<QLegendMarker *> markers = chart->legend()->markers(m_shares);
    for (int i = 0; i < markers.size(); ++i)
        markers[i]->setLabel(m_shares->slices().at(i)->label());
    chart->setTitle(QStringLiteral("Symptom ratio"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSize(14);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    symptomRatioChart = named(new QChartView(chart, this), "symptomRatioChart");
    symptomRatioChart->setRenderHint(QPainter::Antialiasing);
    chartNote = named(new QLabel(symptomRatioChart), "chartNote");
    chartNote->setAlignment(Qt::AlignCenter);
    chartNote->setWordWrap(true);
    chartNote->hide();

    backgroundWarning = named(new QLabel(this), "backgroundWarning");
    backgroundWarning->setWordWrap(true);
    backgroundWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    backgroundWarning->setStyleSheet(QStringLiteral("color: #a04000;"));
    backgroundWarning->hide();

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

    copyTableButton = named(new QToolButton(this), "copyTableButton");
    copyTableButton->setIcon(WorkspaceIcons::copyTable());
    copyTableButton->setIconSize(QSize(32, 32));
    copyTableButton->setToolTip(QStringLiteral("Copy results table"));
    connect(copyTableButton, &QToolButton::clicked, this, &ResultsPage::copyResultsTable);

    saveTableButton = named(new QToolButton(this), "saveTableButton");
    saveTableButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveTableButton->setIconSize(QSize(24, 24));
    saveTableButton->setToolTip(QStringLiteral("Save results table as CSV file"));

    saveOverlayButton = named(new QPushButton(QStringLiteral("Save overlay picture..."), this),
                              "saveOverlayButton");
    saveOverlayButton->setToolTip(
        QStringLiteral("Save the analysed picture with its overlay as PNG or JPEG (Ctrl+S)"));
    saveOverlayButton->setEnabled(false);
    overlayLegend = new OverlayLegend(this);

    // A width that suits the smallest window (12000 twips wide) until the main
    // window applies its own.
    layoutForTabWidth(12000 - 210);
    refreshTableView();
    setShowMode(ShowMode::Single);
}

void ResultsPage::setPictureBackground(const QString &reportLine, const QString &warning)
{
    m_backgroundLine = reportLine;
    m_backgroundWarning = warning;
}

void ResultsPage::showReport(AnalysisResult &result)
{
    ReportLayout layout = buildReport(result, m_state.systemIndex(), m_state.unitName());
    if (!m_backgroundLine.isEmpty()) {
        if (!layout.text.endsWith(QLatin1Char('\n')))
            layout.text += QLatin1Char('\n');
        layout.text += m_backgroundLine + QLatin1Char('\n');
    }
    backgroundWarning->setText(m_backgroundWarning);
    backgroundWarning->setVisible(!m_backgroundWarning.isEmpty() && !reportText->isHidden());
    placeControls();
    writeReportDocument(layout, *reportText->document());
    // A report box shown while still empty keeps the width it was laid out at
    // then, and its title would no longer be centred: lay it out anew.
    reportText->setLineWrapMode(QTextEdit::WidgetWidth);
    reportText->setLineWrapMode(QTextEdit::NoWrap);

    const ChartShares &chart = layout.chart;
    const bool nothingToShow = !chart.emptyNote.isEmpty();
    m_shares->setVisible(!nothingToShow);
    chartNote->setText(chart.emptyNote);
    chartNote->setVisible(nothingToShow);
    const auto showShare = [](QPieSlice *slice, double value, const QString &label) {
        slice->setValue(value);
        slice->setLabel(label);
        slice->setLabelVisible(value > 0.0);
    };
    showShare(m_shares->slices().at(0), chart.nonSymptomArea, chart.nonSymptomLabel);
    showShare(m_shares->slices().at(1), chart.symptomArea, chart.symptomLabel);
}

void ResultsPage::setShowMode(ShowMode mode)
{
    const bool batch = mode == ShowMode::Batch;
    resultsTableView->setVisible(batch);
    copyTableButton->setVisible(batch);
    saveTableButton->setVisible(batch);
    reportText->setVisible(!batch);
    backgroundWarning->setVisible(!batch && !backgroundWarning->text().isEmpty());
    symptomRatioChart->setVisible(!batch);
}

void ResultsPage::setChartVisible(bool visible)
{
    symptomRatioChart->setVisible(visible);
}

void ResultsPage::prepareResultsTable(int pictureSetRows, ResultsTableOptions options)
{
    m_table.prepare(m_state.systemIndex(), m_state.unitName(), pictureSetRows, options);
    refreshTableView();
    placeControls();
}

void ResultsPage::recordBatchRow(AnalysisResult &result)
{
    m_table.recordRow(result);
    m_table.setCurrentRowWarning(m_backgroundWarning);
    showRecordedRow();
}

void ResultsPage::recordEmptyBatchRow(const QString &pictureName)
{
    m_table.recordEmptyRow(pictureName);
    showRecordedRow();
}

void ResultsPage::layoutForTabWidth(int tabWidthTwips)
{
    m_tabWidthTwips = tabWidthTwips;
    placeControls();
}

void ResultsPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void ResultsPage::placeControls()
{
    const ResultsPageLayout layout = resultsPageLayout(m_tabWidthTwips, twipsFromPixels(height()));
    const double controlsHeight = layout.height - OverlayStripTwips;
    const double warning = backgroundWarning->isHidden() ? 0.0 : WarningTwips;
    reportText->setGeometry(
        twipsRect(layout.reportLeft, layout.top, layout.reportWidth, controlsHeight - warning));
    backgroundWarning->setGeometry(twipsRect(
        layout.reportLeft, layout.top + controlsHeight - warning, layout.reportWidth, warning));
    symptomRatioChart->setGeometry(
        twipsRect(layout.chartLeft, layout.top, layout.chartWidth, controlsHeight));
    chartNote->setGeometry(symptomRatioChart->rect().adjusted(12, 12, -12, -12));
    const double tableWidth = tableWidthTwips(*resultsTableView);
    resultsTableView->setGeometry(
        twipsRect(ResultsTextLeftTwips, layout.top, tableWidth, controlsHeight));
    const double buttonsLeft = ResultsTextLeftTwips + tableWidth + 120.0;
    copyTableButton->setGeometry(
        twipsRect(buttonsLeft, layout.top, CopyButtonTwips, CopyButtonTwips));
    saveTableButton->setGeometry(twipsRect(buttonsLeft, layout.top + CopyButtonTwips + 90.0,
                                           CopyButtonTwips, CopyButtonTwips));
    const double stripTop = layout.top + controlsHeight + 60.0;
    const double stripHeight = OverlayStripTwips - 60.0;
    saveOverlayButton->setGeometry(
        twipsRect(ResultsTextLeftTwips, stripTop, OverlayButtonWidthTwips, stripHeight));
    overlayLegend->setGeometry(twipsRect(ResultsTextLeftTwips + OverlayButtonWidthTwips + 240.0,
                                         stripTop, 4000.0, stripHeight));
}

void ResultsPage::copyResultsTable()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // The header names the columns and the unit the figures were measured in, not
    // the system or calibration chosen since.
    clipboard->setText(m_table.copyText(m_table.preparedSystemIndex(), m_table.preparedUnitName()));
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
        resultsTableView->setColumnWidth(
            column, columnWidthPixels(*resultsTableView, column, m_table.cell(0, column)));
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
            const QString warning = m_table.rowWarning(row);
            if (!warning.isEmpty()) {
                item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
                item->setBackground(WarningRowColour);
                item->setToolTip(warning);
            }
        }
        resultsTableView->setItem(row - 1, column, item);
    }
}

} // namespace verdalis
