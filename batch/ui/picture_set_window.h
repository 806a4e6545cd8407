#pragma once

#include "picture_set.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace verdalis {

class Dialogs;
class PictureFolderBrowser;

// The picture-set window ("Add files"): the user browses folders, gives files
// line names and adds them to the picture set one by one or all at once,
// renames and removes them, then presses Analyze or Cancel. It is shown
// modeless while the main window is disabled. Cancel, Escape and the close box
// all close it the same way (closed); the set goes with it.
//
// During a run it shows only its list panel (compact view) with the set table
// and Analyze locked; the table's current row follows the picture analysed.
class PictureSetWindow : public QDialog {
    Q_OBJECT
public:
    explicit PictureSetWindow(Dialogs &dialogs, QWidget *parent = nullptr);

    const PictureSet &pictureSet() const { return m_set; }
    // The set as it stands, for a test or a caller filling it in one go.
    PictureSet &pictureSet() { return m_set; }
    // The current row of the set table (0-based), or -1.
    int currentRow() const;

    // Only the list panel stays, at the top right corner of the main window
    // whose frame is given (pixels, screen coordinates).
    void enterCompactView(const QRect &mainWindowFrame);
    // While a run is in progress the set table and Analyze take no input.
    void setRunLocked(bool locked);
    // The run is at this picture of the set.
    void showRunCursor(int index);

    PictureFolderBrowser *const browser;
    QLabel *const lineNameCaption;
    QLineEdit *const lineNameBox;
    QPushButton *const addSelectedButton;
    QPushButton *const addAllButton;
    QPushButton *const renameButton;
    QPushButton *const removeSelectedButton;
    QPushButton *const removeAllButton;
    QWidget *const listPanel;
    QTableView *const setTable;
    QPushButton *const analyzeButton;
    QPushButton *const cancelButton;
    // Options of the run, read when it starts: the spot columns of the results
    // table, and every picture's overlay written into a folder asked for then.
    QCheckBox *const spotStatisticsBox;
    QCheckBox *const saveOverlaysBox;

public slots:
    void addSelected();
    void addAll();
    void renameSelected();
    void removeSelected();
    void removeAll();
    // Cancel, Escape and the close box.
    void reject() override;

signals:
    void analyzeRequested();
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();
    // What every add ends with: the file list without a choice, an empty line
    // name box, the set's buttons enabled and the last row current.
    void afterAdding();
    void enableSetButtons();
    void makeRowCurrent(int row);
    // The tooltips of Remove selected and Rename name the current row.
    void applyRowSelectionRule();
    bool refuseWhenFull(int adding);

    Dialogs &m_dialogs;
    PictureSet m_set;
    bool m_runLocked = false;
};

} // namespace verdalis
