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

class CalibrationFrame;
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
    GridFrame *gridFrame() const { return Frame6; }
    // The unit caption beside the statistics (Label14): "Unit" until calibrated.
    QString unitCaption() const;

public slots:
    // A picture was opened: "Auto reset" clears the measurements, the grid is
    // switched off and its spacing box enabled.
    void onPictureOpened();
    // Command "1" of the command box.
    void recomputeMeasurementStatistics();

private slots:
    void Command4_Click();
    void Command5_Click();
    void Command21_Click();
    void Command6_Click();
    void Text3_Change();

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

    QTableView *Grid3;
    QLabel *Label11;
    QLineEdit *Text3;
    QLabel *Label12;
    QLineEdit *Text4;
    QLabel *Label13;
    QLineEdit *Text5;
    QLabel *Label14;
    QPushButton *Command4;
    QPushButton *Command5;
    QPushButton *Command21;
    QCheckBox *Check3;
    QPushButton *Command6;
    CalibrationFrame *Frame5;
    GridFrame *Frame6;
};

} // namespace verdalis
