#pragma once

#include "detection_selector.h"
#include "picture_background.h"
#include "picture_canvas.h"
#include "picture_loader.h"
#include "picture_opener.h"
#include "workspace_state.h"

#include <QMainWindow>

#include <memory>

class QCheckBox;
class QTabWidget;
class QToolButton;

namespace verdalis {

class AnalyzeCommand;
class BrushPanel;
class CustomDetectionPanel;
class DetectionSystemPanel;
class Dialogs;
class HelpCommand;
class MeasurementsPanel;
class PhotoPage;
class PictureSetCommand;
class PictureTools;
class ResultsFilesCommand;
class ResultsPage;
class UnitTunerPanel;

// The program's main window: the top strip of buttons and frames, and the tab
// control with the "Photo" and "Results" pages. It owns the workspace state, the
// picture and the detection-system list; panels are handed references to them
// and talk through the state's signals. The picture tools, the "Analyze"
// sequence and the picture sets with their batch run live in classes of their own.
class MainWindow : public QMainWindow {
    Q_OBJECT
    // Declared ahead of the controls: the panels are built with references to them.
    Dialogs &m_dialogs;
    WorkspaceState m_state;
    PictureCanvas m_canvas;
    PictureOpener m_opener;
    DetectionSelector m_selector;
    BackgroundCorrector m_backgroundCorrector;

public:
    explicit MainWindow(Dialogs &dialogs, QWidget *parent = nullptr);
    // The panels go before the state and the picture they hold references to.
    ~MainWindow() override;

    Dialogs &dialogs() { return m_dialogs; }
    WorkspaceState &state() { return m_state; }
    PictureCanvas &canvas() { return m_canvas; }
    const PictureOpener &opener() const { return m_opener; }
    // A picture chosen to open (or reload) is being read off the GUI thread.
    bool isLoadingPicture() const { return m_loader.isLoading(); }
    DetectionSelector &selector() { return m_selector; }
    const BackgroundCorrector &backgroundCorrector() const { return m_backgroundCorrector; }
    const PictureTools &pictureTools() const { return *m_tools; }
    const AnalyzeCommand &analyzeCommand() const { return *m_analyze; }
    const PictureSetCommand &pictureSetCommand() const { return *m_pictureSet; }
    const HelpCommand &helpCommand() const { return *m_help; }
    const ResultsFilesCommand &resultsFilesCommand() const { return *m_resultsFiles; }

    QToolButton *const pictureSetButton;
    QToolButton *const helpButton;
    QToolButton *const reloadPictureButton;
    QToolButton *const openPictureButton;
    QToolButton *const analyzeButton;
    BrushPanel *const brushPanel;
    DetectionSystemPanel *const detectionSystemPanel;
    // "Correct background": pictures read from now on have their paper evened out.
    QCheckBox *const correctBackgroundBox;
    UnitTunerPanel *const unitTunerPanel;
    MeasurementsPanel *const measurementsPanel;
    CustomDetectionPanel *const customDetectionPanel;
    ResultsPage *const resultsPage;
    QTabWidget *const pageTabs;
    PhotoPage *const photoPage;

public slots:
    void openPicture();
    void reloadPicture();
    // Loads a picture of a picture set under its name and asks for its analysis.
    // False, with the reader's reason in *reason and no message, when the file
    // cannot be read: the batch lists such pictures once, at its end.
    bool loadSetPicture(const QString &pictureName, const QString &path, QString *reason = nullptr);
    // A batch reads its next picture ahead while the current one is analysed;
    // an empty path lets go of what was read ahead.
    void prefetchSetPicture(const QString &path);

signals:
    // A picture was opened through the dialog (not a set picture).
    void pictureOpened();
    // A set picture was loaded; its analysis is asked for right after.
    void setPictureLoaded();
    void analyzeRequested();
    void pictureSetWindowRequested();
    void helpRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What every run of the program starts with: "Leaf area only", size ratio 1,
    // the custom systems from their file, the first picture filter.
    void applyStartState();
    void applyLayout();
    QWidget *buildTopStrip();
    void connectPanels();
    // The picture just loaded is shown under caption on the photo page.
    void showLoadedPicture(const QString &caption);
    // Reads the file off the GUI thread; the window shows it is loading and
    // keeps the picture it has until the new one is there.
    void startLoading(const QString &path, bool reloading);
    void pictureRead(const QString &path, const QImage &picture, const QImage &overlay,
                     const QString &error);
    // Lets go of a read in progress (a set picture or a closing window takes over).
    void stopLoading();
    void showLoading(bool loading);

    QWidget *m_topStrip = nullptr;
    PictureLoader m_loader;
    // The read in progress is a reload: the picture keeps its place.
    bool m_reloading = false;
    std::unique_ptr<PictureTools> m_tools;
    std::unique_ptr<AnalyzeCommand> m_analyze;
    std::unique_ptr<PictureSetCommand> m_pictureSet;
    std::unique_ptr<HelpCommand> m_help;
    std::unique_ptr<ResultsFilesCommand> m_resultsFiles;
};

} // namespace verdalis
