#pragma once

#include "calibration_rules.h"
#include "measure_tool.h"
#include "measurement_list.h"

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace verdalis {

class Dialogs;
class GridFrame;
class PictureCanvas;
class WorkspaceState;

// The "Measurements" frame: the list of measured distances with mean, SD and SE,
// the list buttons, the button that opens the calibration dialog, and inside it
// the "Calibration" and "Grid" frames. It owns the measuring rules; the main
// window hands picture mouse events to measureTool() through a
// PictureMouseDispatcher.
class MeasurementsPanel : public QGroupBox {
    Q_OBJECT
public:
    MeasurementsPanel(WorkspaceState &state, PictureCanvas &canvas, Dialogs &dialogs,
                      QWidget *parent = nullptr);

    MeasureTool &measureTool() { return m_tool; }
    MeasurementList &measurements() { return m_list; }
    CalibrationRules &calibration() { return m_calibration; }
    GridFrame *gridFrame() const { return m_gridFrame; }
    // The unit beside the statistics: "Unit" until calibrated.
    QString unitCaption() const;

public slots:
    // A picture was opened: "Auto reset" clears the measurements, the grid is
    // switched off and its spacing box enabled.
    void onPictureOpened();

private slots:
    void openCalibrationDialog();

private:
    void showStatistics();
    void selectCurrentRow();

    Dialogs &m_dialogs;
    MeasurementList m_list;
    MeasureTool m_tool;
    CalibrationRules m_calibration;
    // Set while the list adds or removes rows: the view's own moves of its
    // current index then do not count as the user's choice.
    bool m_listChanging = false;

    QTableView *const m_distanceTable;
    QLineEdit *const m_meanBox;
    QLineEdit *const m_sdBox;
    QLineEdit *const m_seBox;
    QLabel *const m_unitCaption;
    QCheckBox *const m_autoResetBox;
    QPushButton *const m_calibrateButton;
    GridFrame *const m_gridFrame;
};

} // namespace verdalis
