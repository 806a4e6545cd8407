#pragma once

#include "detection_selector.h"
#include "picture_canvas.h"
#include "picture_opener.h"
#include "workspace_state.h"

#include <QMainWindow>

#include <memory>

class QTabWidget;
class QToolButton;

namespace verdalis {

class AnalyzeCommand;
class BrushPanel;
class CustomDetectionPanel;
class DetectionSystemPanel;
class Dialogs;
class MeasurementsPanel;
class PanelSlot;
class PhotoPage;
class PictureTools;
class ResultsPage;
class UnitTunerPanel;

// The program's main window: the top strip of buttons and frames, and the tab
// control with the "Photo" and "Results" pages. It owns the workspace state, the
// picture and the detection-system list; panels are handed references to them
// and talk through the state's signals. The picture tools and the "Analyze"
// sequence live in classes of their own. Other windows ask it to act through
// runCommand().
class MainWindow : public QMainWindow {
    Q_OBJECT
    // Declared ahead of the controls: the panels are built with references to them.
    Dialogs &m_dialogs;
    WorkspaceState m_state;
    PictureCanvas m_canvas;
    PictureOpener m_opener;
    DetectionSelector m_selector;

public:
    explicit MainWindow(Dialogs &dialogs, QWidget *parent = nullptr);
    // The panels go before the state and the picture they hold references to.
    ~MainWindow() override;

    Dialogs &dialogs() { return m_dialogs; }
    WorkspaceState &state() { return m_state; }
    PictureCanvas &canvas() { return m_canvas; }
    const PictureOpener &opener() const { return m_opener; }
    DetectionSelector &selector() { return m_selector; }
    const PictureTools &pictureTools() const { return *m_tools; }
    const AnalyzeCommand &analyzeCommand() const { return *m_analyze; }
    // The command box (Text6) is a plain text member, never shown: empty after a
    // command ran, the text itself when it named no command.
    QString commandText() const { return m_text6; }

    QToolButton *const Command19; // picture sets
    QToolButton *const Command8;  // help
    QToolButton *const Command3;  // reload
    QToolButton *const Command1;  // open
    QToolButton *const Command2;  // "Analyze"
    BrushPanel *const Frame4;
    DetectionSystemPanel *const detectionSystemPanel; // Frame1, Slider1, Label2
    UnitTunerPanel *const unitTunerPanel;             // Frame2
    MeasurementsPanel *const measurementsPanel;       // Frame3
    CustomDetectionPanel *const customDetectionPanel; // Frame7
    ResultsPage *const resultsPage;
    // The places of the panels in the top strip, as wide as their panels.
    PanelSlot *const detectionSystemSlot;
    PanelSlot *const unitTunerSlot;
    QTabWidget *const Tab1;
    PhotoPage *const photoPage;
    QWidget *const resultsSlot; // the "Results" page

public slots:
    void Command1_Click();
    void Command3_Click();
    // Loads a picture of a picture set under its name and asks for its analysis.
    // False (after a message) when the file cannot be read.
    bool loadSetPicture(const QString &pictureName, const QString &path);
    // The command box: "1" recomputes the measurement statistics, "2" loads and
    // analyses the set's current picture; the command runs before this returns.
    // Any other text runs nothing and stays in the box.
    void runCommand(const QString &command);

signals:
    // A picture was opened through the dialog (not a set picture).
    void pictureOpened();
    // A set picture was loaded; its analysis is asked for right after.
    void setPictureLoaded();
    void analyzeRequested();
    void statisticsRecomputeRequested();
    void setPictureRequested();
    void pictureSetWindowRequested();
    void helpRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    QWidget *buildTopStrip();
    void connectPanels();
    // The picture just loaded is shown under caption on the photo page.
    void showLoadedPicture(const QString &caption);

    QWidget *m_topStrip = nullptr;
    QString m_text6;
    std::unique_ptr<PictureTools> m_tools;
    std::unique_ptr<AnalyzeCommand> m_analyze;
};

} // namespace verdalis
