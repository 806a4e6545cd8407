#pragma once

#include "results_report.h"
#include "results_table.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;
class QTableWidget;
class QToolButton;
class QChartView;
class QPieSeries;

namespace verdalis {

class OverlayLegend;
class WorkspaceState;

// The "Results" page: the text report and chart of a single analysis, or the
// results table of a batch with its copy and CSV buttons; below them the button
// that saves the analysed picture with its overlay, and the overlay's legend. The unit name and the
// chosen detection system come from the shared state at the moment each is needed.
class ResultsPage : public QWidget {
    Q_OBJECT
public:
    enum class ShowMode { Single, Batch };

    explicit ResultsPage(WorkspaceState &state, QWidget *parent = nullptr);

    // Writes the text report and the chart from the result of a single
    // analysis; the symptom-area cap is written back into the result.
    void showReport(AnalysisResult &result);
    // Batch: the table is shown, the report and chart hidden; single: the reverse.
    void setShowMode(ShowMode mode);
    // The chart is hidden for "Leaf area only", which has no symptom area.
    void setChartVisible(bool visible);

    // What to say about the background of the picture analysed last: the line
    // the report ends with (empty: none) and the warning shown under the report
    // and as a mark on its table row (empty: none). Set before showReport or
    // recordBatchRow.
    void setPictureBackground(const QString &reportLine, const QString &warning);

    // A new batch: the table laid out for the system selected now, one empty row
    // per picture; pictureSetRows counts the picture set's header row.
    void prepareResultsTable(int pictureSetRows, ResultsTableOptions options = {});
    // One finished picture of the batch (cap written back into the result).
    void recordBatchRow(AnalysisResult &result);
    // A picture of the batch without figures: its name and empty cells.
    void recordEmptyBatchRow(const QString &pictureName);
    const ResultsTable &resultsTable() const { return m_table; }

    // The resize rule: the report takes half the tab control's width less 255
    // twips, the chart as much beside it; both fill the page's height.
    void layoutForTabWidth(int tabWidthTwips);

    // The controls, under the names the rest of the program uses for them.
    QTextEdit *reportText = nullptr;
    QChartView *symptomRatioChart = nullptr;
    // Says why the chart shows no slices.
    QLabel *chartNote = nullptr;
    // The background warning under the report; hidden when there is none.
    QLabel *backgroundWarning = nullptr;
    QTableWidget *resultsTableView = nullptr;
    QToolButton *copyTableButton = nullptr;
    // Saving is the main window's (it holds the picture): these only ask for it.
    QToolButton *saveTableButton = nullptr;
    QPushButton *saveOverlayButton = nullptr;
    OverlayLegend *overlayLegend = nullptr;

public slots:
    // Puts the results table on the clipboard as tab-separated text.
    void copyResultsTable();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshTableView();
    // Copies the table's current row into the view; rows before it stay as shown.
    void showRecordedRow();
    void showTableRow(int row);
    void placeControls();

    WorkspaceState &m_state;
    ResultsTable m_table;
    QPieSeries *m_shares = nullptr;
    int m_tabWidthTwips = 0;
    QString m_backgroundLine;
    QString m_backgroundWarning;
};

} // namespace verdalis
