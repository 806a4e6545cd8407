#include "main_window.h"

#include "analyze_command.h"
#include "brush_panel.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "help_command.h"
#include "main_window_layout.h"
#include "measurements_panel.h"
#include "photo_page.h"
#include "picture_set_command.h"
#include "picture_tools.h"
#include "results_files_command.h"
#include "results_page.h"
#include "twips.h"
#include "unit_tuner_panel.h"
#include "workspace_icons.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

namespace verdalis {

namespace {

// Sizes in the top strip, twips.
constexpr int StripItemHeight = 720;
constexpr int PictureButtonSize = 450;
constexpr int PictureButtonIcon = 330;
constexpr int AnalyzeButtonHeight = 600;

// Size the window opens at when the screen has room for it, pixels.
const QSize PreferredStartSize(1024, 720);

QToolButton *pictureButton(const QString &name, const QIcon &icon, const QString &tip)
{
    auto *button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(icon);
    button->setIconSize(
        QSize(pixelsFromTwips(PictureButtonIcon), pixelsFromTwips(PictureButtonIcon)));
    button->setFixedSize(pixelsFromTwips(PictureButtonSize), pixelsFromTwips(PictureButtonSize));
    button->setToolTip(tip);
    return button;
}

QToolButton *makeAnalyzeButton()
{
    auto *button = new QToolButton;
    button->setObjectName(QStringLiteral("analyzeButton"));
    const QPixmap picture = WorkspaceIcons::analyze();
    button->setIcon(picture);
    button->setIconSize(picture.size());
    button->setText(QStringLiteral("Analyze"));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFixedHeight(pixelsFromTwips(AnalyzeButtonHeight));
    return button;
}

QCheckBox *makeCorrectBackgroundBox()
{
    auto *box = new QCheckBox(QStringLiteral("Correct background"));
    box->setObjectName(QStringLiteral("correctBackgroundBox"));
    box->setToolTip(QStringLiteral(
        "Even out grey or unevenly lit paper before analysing: for photos whose background "
        "counts as leaf. Applies to pictures opened or reloaded from now on."));
    return box;
}

// A panel of the top strip keeps the width it wants at the strip's height.
void fixStripPanelSize(QWidget *panel)
{
    const int width = panel->sizeHint().expandedTo(panel->minimumSizeHint()).width();
    panel->setFixedSize(width, pixelsFromTwips(StripItemHeight));
}

} // namespace

MainWindow::MainWindow(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_opener(m_canvas, dialogs),
      m_selector(m_state, dialogs),
      pictureSetButton(pictureButton(QStringLiteral("pictureSetButton"),
                                     WorkspaceIcons::pictureSet(),
                                     QStringLiteral("Analyze a picture set"))),
      helpButton(pictureButton(QStringLiteral("helpButton"), WorkspaceIcons::help(),
                               QStringLiteral("Help"))),
      reloadPictureButton(pictureButton(QStringLiteral("reloadPictureButton"),
                                        WorkspaceIcons::reloadPicture(),
                                        QStringLiteral("Reload picture"))),
      openPictureButton(pictureButton(QStringLiteral("openPictureButton"),
                                      WorkspaceIcons::openPicture(),
                                      QStringLiteral("Open picture"))),
      analyzeButton(makeAnalyzeButton()), brushPanel(new BrushPanel),
      detectionSystemPanel(new DetectionSystemPanel(m_selector)),
      correctBackgroundBox(makeCorrectBackgroundBox()),
      unitTunerPanel(new UnitTunerPanel(m_canvas)),
      measurementsPanel(new MeasurementsPanel(m_state, m_canvas, dialogs)),
      customDetectionPanel(new CustomDetectionPanel(m_selector, m_state)),
      resultsPage(new ResultsPage(m_state)), pageTabs(new QTabWidget),
      photoPage(new PhotoPage(m_canvas, m_state))
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Verdalis, Leaf & Symptom Area"));
    setWindowIcon(WorkspaceIcons::program());

    auto *client = new QWidget;
    setCentralWidget(client);
    m_topStrip = buildTopStrip();
    m_topStrip->setParent(client);

    pageTabs->setObjectName(QStringLiteral("pageTabs"));
    pageTabs->setParent(client);
    pageTabs->addTab(photoPage, QStringLiteral("Photo"));
    pageTabs->addTab(resultsPage, QStringLiteral("Results"));
    // The top strip has no room left at the smallest window width: the option
    // stands at the right end of the tab row, under the analysis settings.
    pageTabs->setCornerWidget(correctBackgroundBox, Qt::TopRightCorner);
    photoPage->toolPanels->addWidget(measurementsPanel);
    photoPage->toolPanels->addWidget(customDetectionPanel);

    analyzeButton->setEnabled(false);
    reloadPictureButton->setEnabled(false);

    connect(openPictureButton, &QToolButton::clicked, this, &MainWindow::openPicture);
    connect(&m_loader, &PictureLoader::loaded, this, &MainWindow::pictureRead);
    connect(reloadPictureButton, &QToolButton::clicked, this, &MainWindow::reloadPicture);
    connect(analyzeButton, &QToolButton::clicked, this, &MainWindow::analyzeRequested);
    connect(pictureSetButton, &QToolButton::clicked, this, &MainWindow::pictureSetWindowRequested);
    connect(helpButton, &QToolButton::clicked, this, &MainWindow::helpRequested);
    m_opener.setBackgroundCorrector(&m_backgroundCorrector);
    connect(correctBackgroundBox, &QCheckBox::toggled, this, [this](bool on) {
        m_backgroundCorrector.setEnabled(on);
        writeCorrectBackgroundSetting(on);
    });
    connectPanels();

    setMinimumSize(pixelsFromTwips(MainWindowLayout::MinimumWidth),
                   pixelsFromTwips(MainWindowLayout::MinimumHeight));
    QSize start = PreferredStartSize;
    if (const QScreen *screen = this->screen())
        start = start.boundedTo(screen->availableSize());
    resize(start.expandedTo(minimumSize()));

    applyStartState();
}

MainWindow::~MainWindow()
{
    // The tools and the runs hold pointers to the controls: they go first.
    m_resultsFiles.reset();
    m_pictureSet.reset();
    m_help.reset();
    m_analyze.reset();
    m_tools.reset();
    delete takeCentralWidget();
}

void MainWindow::connectPanels()
{
    GridFrame *grid = measurementsPanel->gridFrame();
    PictureTools::Controls tools;
    tools.detectionSystem = detectionSystemPanel;
    tools.brush = brushPanel;
    tools.gridShow = grid->showBox();
    tools.grid = &grid->overlay();
    tools.picture = photoPage->pictureView;
    tools.toolPanels = photoPage->toolPanels;
    tools.measurements = measurementsPanel;
    tools.customDetection = customDetectionPanel;
    m_tools =
        std::make_unique<PictureTools>(m_canvas, measurementsPanel->measureTool(), m_state, tools);

    AnalyzeCommand::Controls analyze;
    analyze.window = this;
    analyze.pages = pageTabs;
    analyze.brush = brushPanel;
    analyze.gridShow = grid->showBox();
    analyze.measurements = measurementsPanel;
    analyze.photoPage = photoPage;
    analyze.results = resultsPage;
    analyze.background = &m_backgroundCorrector;
    m_analyze = std::make_unique<AnalyzeCommand>(m_state, m_canvas, m_dialogs, analyze);

    connect(this, &MainWindow::analyzeRequested, m_analyze.get(), &AnalyzeCommand::analyze);
    m_resultsFiles = std::make_unique<ResultsFilesCommand>(*resultsPage, m_canvas,
                                                           m_analyze->driver(), m_dialogs, this);
    m_pictureSet = std::make_unique<PictureSetCommand>(*this, *m_analyze);
    connect(this, &MainWindow::pictureSetWindowRequested, m_pictureSet.get(),
            &PictureSetCommand::openPictureSetWindow);
    connect(this, &MainWindow::pictureOpened, measurementsPanel,
            &MeasurementsPanel::onPictureOpened);
    connect(this, &MainWindow::setPictureLoaded, grid, &GridFrame::onPictureOpened);
    connect(&m_state, &WorkspaceState::systemChanged, brushPanel,
            &BrushPanel::followDetectionSystem);

    m_help = std::make_unique<HelpCommand>(m_state, m_dialogs,
                                           detectionSystemPanel->colourSamplingSwitch);
    connect(this, &MainWindow::helpRequested, m_help.get(), &HelpCommand::openHelp);
}

QWidget *MainWindow::buildTopStrip()
{
    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("topStrip"));
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(pixelsFromTwips(MainWindowLayout::PagesLeft), 0,
                            pixelsFromTwips(MainWindowLayout::PagesLeft), 0);
    row->setSpacing(3);
    // Picture work on the left, the analysis settings in the middle, then the
    // button that starts the analysis, and help at the far right. At the
    // smallest window width the row just fits.
    row->addWidget(openPictureButton);
    row->addWidget(reloadPictureButton);
    row->addWidget(pictureSetButton);
    fixStripPanelSize(detectionSystemPanel);
    row->addWidget(detectionSystemPanel);
    brushPanel->setFixedHeight(pixelsFromTwips(StripItemHeight));
    row->addWidget(brushPanel);
    fixStripPanelSize(unitTunerPanel);
    row->addWidget(unitTunerPanel);
    row->addStretch(1);
    row->addWidget(analyzeButton);
    row->addWidget(helpButton);
    return strip;
}

void MainWindow::applyStartState()
{
    m_selector.select(LeafAreaOnlySystem);
    m_state.setSizeRatio(1.0);
    m_state.setProgramFolder(QCoreApplication::applicationDirPath());
    m_selector.loadCustomSystems();
    m_opener.setFilterIndex(1);
    const bool correct = readCorrectBackgroundSetting();
    const QSignalBlocker quiet(correctBackgroundBox);
    correctBackgroundBox->setChecked(correct);
    m_backgroundCorrector.setEnabled(correct);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void MainWindow::applyLayout()
{
    const QSize twips(int(twipsFromPixels(width())), int(twipsFromPixels(height())));
    const auto geometry =
        MainWindowLayout::compute(twips, windowState().testFlag(Qt::WindowMinimized));
    if (!geometry)
        return;
    const QSize window(pixelsFromTwips(geometry->window.width()),
                       pixelsFromTwips(geometry->window.height()));
    if (window != size())
        resize(window);
    m_topStrip->setGeometry(0, 0, window.width(),
                            pixelsFromTwips(MainWindowLayout::TopStripHeight));
    const QRect &tab = geometry->pages;
    pageTabs->setGeometry(pixelsFromTwips(tab.left()), pixelsFromTwips(tab.top()),
                          pixelsFromTwips(tab.width()), pixelsFromTwips(tab.height()));
    photoPage->applyLayout(*geometry);
    resultsPage->layoutForTabWidth(tab.width());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The main window is the program: closing it ends the run, an analysis in
    // progress included, and takes every other window with it.
    m_analyze->cancel();
    stopLoading();
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::showLoadedPicture(const QString &caption)
{
    pageTabs->setCurrentIndex(0);
    pageTabs->setTabText(0, caption);
    photoPage->showPicture();
    reloadPictureButton->setEnabled(true);
}

void MainWindow::openPicture()
{
    if (const auto path = m_opener.chooseFile())
        startLoading(*path, false);
}

void MainWindow::reloadPicture()
{
    if (m_opener.hasOpenedFile())
        startLoading(m_opener.openedPath(), true);
}

void MainWindow::startLoading(const QString &path, bool reloading)
{
    m_reloading = reloading;
    m_loader.load(path);
    showLoading(true);
}

void MainWindow::pictureRead(const QString &path, const QImage &picture, const QImage &overlay,
                             const QString &error)
{
    showLoading(false);
    if (m_opener.takeRead(path, picture, error, overlay) != PictureOpener::Outcome::Loaded)
        return;
    if (m_reloading) {
        // The picture keeps its place in the viewport: no fitting after a reload.
        pageTabs->setCurrentIndex(0);
        pageTabs->setTabText(0, PictureOpener::pageCaption(m_opener.openedTitle()));
        return;
    }
    showLoadedPicture(PictureOpener::pageCaption(m_opener.openedTitle()));
    photoPage->fitPicture();
    analyzeButton->setEnabled(true);
    emit pictureOpened();
}

void MainWindow::stopLoading()
{
    if (!m_loader.isLoading())
        return;
    m_loader.cancel();
    showLoading(false);
}

void MainWindow::showLoading(bool loading)
{
    photoPage->showLoading(loading);
    // No analysis of the picture about to be replaced, and no reload of it
    // under way; opening another file stays possible and takes over.
    analyzeButton->setEnabled(!loading && m_canvas.hasPicture());
    reloadPictureButton->setEnabled(!loading && m_opener.hasOpenedFile());
}

bool MainWindow::loadSetPicture(const QString &pictureName, const QString &path, QString *reason)
{
    stopLoading();
    m_state.setCurrentPictureName(pictureName);
    if (m_opener.loadFile(path, reason) != PictureOpener::Outcome::Loaded)
        return false;
    showLoadedPicture(PictureOpener::pageCaption(pictureName));
    analyzeButton->setEnabled(true);
    photoPage->fitPicture();
    emit setPictureLoaded();
    emit analyzeRequested();
    return true;
}

void MainWindow::prefetchSetPicture(const QString &path)
{
    if (path.isEmpty())
        m_opener.dropPrefetched();
    else
        m_opener.prefetchFile(path);
}

} // namespace verdalis
