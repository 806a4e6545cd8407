#include "main_window.h"

#include "analyze_command.h"
#include "brush_panel.h"
#include "custom_detection_panel.h"
#include "detection_system_panel.h"
#include "grid_frame.h"
#include "main_window_layout.h"
#include "measurements_panel.h"
#include "panel_slot.h"
#include "photo_page.h"
#include "picture_tools.h"
#include "results_page.h"
#include "twips.h"
#include "unit_tuner_panel.h"
#include "workspace_icons.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QScreen>
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

QToolButton *analyzeButton()
{
    auto *button = new QToolButton;
    button->setObjectName(QStringLiteral("Command2"));
    const QPixmap picture = WorkspaceIcons::analyze();
    button->setIcon(picture);
    button->setIconSize(picture.size());
    button->setText(QStringLiteral("Analyze"));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFixedHeight(pixelsFromTwips(AnalyzeButtonHeight));
    return button;
}

// A place in the top strip as wide as its panel wants to be.
PanelSlot *stripSlot(QWidget *panel)
{
    const int width = panel->sizeHint().expandedTo(panel->minimumSizeHint()).width();
    auto *slot = new PanelSlot(QSize(width, pixelsFromTwips(StripItemHeight)));
    slot->setPanel(panel);
    return slot;
}

} // namespace

MainWindow::MainWindow(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_opener(m_canvas, dialogs),
      m_selector(m_state, dialogs),
      Command19(pictureButton(QStringLiteral("Command19"), WorkspaceIcons::pictureSet(),
                              QStringLiteral("Analyze a picture set"))),
      Command8(pictureButton(QStringLiteral("Command8"), WorkspaceIcons::help(),
                             QStringLiteral("Help"))),
      Command3(pictureButton(QStringLiteral("Command3"), WorkspaceIcons::reloadPicture(),
                             QStringLiteral("Reload picture"))),
      Command1(pictureButton(QStringLiteral("Command1"), WorkspaceIcons::openPicture(),
                             QStringLiteral("Open picture"))),
      Command2(analyzeButton()), Frame4(new BrushPanel),
      detectionSystemPanel(new DetectionSystemPanel(m_selector)),
      unitTunerPanel(new UnitTunerPanel(m_canvas)),
      measurementsPanel(new MeasurementsPanel(m_state, m_canvas, dialogs)),
      customDetectionPanel(new CustomDetectionPanel(m_selector, m_state)),
      resultsPage(new ResultsPage(m_state)), detectionSystemSlot(stripSlot(detectionSystemPanel)),
      unitTunerSlot(stripSlot(unitTunerPanel)), Tab1(new QTabWidget),
      photoPage(new PhotoPage(m_canvas, m_state)), resultsSlot(new QWidget)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Verdalis, Leaf & Symptom Area"));
    setWindowIcon(WorkspaceIcons::program());

    auto *client = new QWidget;
    setCentralWidget(client);
    m_topStrip = buildTopStrip();
    m_topStrip->setParent(client);

    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setParent(client);
    Tab1->addTab(photoPage, QStringLiteral("Photo"));
    resultsSlot->setObjectName(QStringLiteral("resultsSlot"));
    auto *resultsLayout = new QVBoxLayout(resultsSlot);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    Tab1->addTab(resultsSlot, QStringLiteral("Results"));
    resultsLayout->addWidget(resultsPage);
    detectionSystemSlot->setObjectName(QStringLiteral("detectionSystemSlot"));
    unitTunerSlot->setObjectName(QStringLiteral("unitTunerSlot"));
    photoPage->measurementsSlot->setPanel(measurementsPanel);
    photoPage->customDetectionSlot->setPanel(customDetectionPanel);

    Command2->setEnabled(false);
    Command3->setEnabled(false);

    connect(Command1, &QToolButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command3, &QToolButton::clicked, this, &MainWindow::Command3_Click);
    connect(Command2, &QToolButton::clicked, this, &MainWindow::analyzeRequested);
    connect(Command19, &QToolButton::clicked, this, &MainWindow::pictureSetWindowRequested);
    connect(Command8, &QToolButton::clicked, this, &MainWindow::helpRequested);
    connectPanels();

    setMinimumSize(pixelsFromTwips(MainWindowLayout::MinimumWidth),
                   pixelsFromTwips(MainWindowLayout::MinimumHeight));
    QSize start = PreferredStartSize;
    if (const QScreen *screen = this->screen())
        start = start.boundedTo(screen->availableSize());
    resize(start.expandedTo(minimumSize()));

    Form_Load();
}

MainWindow::~MainWindow()
{
    // The tools and the run hold pointers to the controls: they go first.
    m_analyze.reset();
    m_tools.reset();
    delete takeCentralWidget();
}

void MainWindow::connectPanels()
{
    GridFrame *grid = measurementsPanel->gridFrame();
    PictureTools::Controls tools;
    tools.detectionSystem = detectionSystemPanel;
    tools.brush = Frame4;
    tools.gridShow = grid->showBox();
    tools.picture = photoPage->Picture1;
    tools.measurementsFrame = photoPage->measurementsSlot;
    tools.customDetectionFrame = photoPage->customDetectionSlot;
    tools.customDetection = customDetectionPanel;
    m_tools = std::make_unique<PictureTools>(m_canvas, measurementsPanel->measureTool(), tools);

    AnalyzeCommand::Controls analyze;
    analyze.window = this;
    analyze.tab1 = Tab1;
    analyze.brush = Frame4;
    analyze.gridShow = grid->showBox();
    analyze.measurements = measurementsPanel;
    analyze.photoPage = photoPage;
    analyze.results = resultsPage;
    m_analyze = std::make_unique<AnalyzeCommand>(m_state, m_canvas, m_dialogs, analyze);

    connect(this, &MainWindow::analyzeRequested, m_analyze.get(), &AnalyzeCommand::Command2_Click);
    connect(this, &MainWindow::pictureOpened, measurementsPanel,
            &MeasurementsPanel::onPictureOpened);
    connect(this, &MainWindow::setPictureLoaded, grid, &GridFrame::onPictureOpened);
    connect(this, &MainWindow::statisticsRecomputeRequested, measurementsPanel,
            &MeasurementsPanel::recomputeMeasurementStatistics);
    connect(&m_state, &WorkspaceState::systemChanged, Frame4, &BrushPanel::followDetectionSystem);
}

QWidget *MainWindow::buildTopStrip()
{
    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("topStrip"));
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(pixelsFromTwips(MainWindowLayout::Tab1Left), 0,
                            pixelsFromTwips(MainWindowLayout::Tab1Left), 0);
    row->setSpacing(3);
    // Picture work on the left, the analysis settings in the middle, then the
    // button that starts the analysis, and help at the far right. At the
    // smallest window width the row just fits.
    row->addWidget(Command1);
    row->addWidget(Command3);
    row->addWidget(Command19);
    row->addWidget(detectionSystemSlot);
    Frame4->setFixedHeight(pixelsFromTwips(StripItemHeight));
    row->addWidget(Frame4);
    row->addWidget(unitTunerSlot);
    row->addStretch(1);
    row->addWidget(Command2);
    row->addWidget(Command8);
    return strip;
}

void MainWindow::Form_Load()
{
    m_selector.select(LeafAreaOnlyIndex);
    // The measurement list (Grid3) and the sampled-colour list (Grid1) set their
    // column widths up in their panels.
    m_state.setSizeRatio(1.0);
    m_state.setProgramFolder(QCoreApplication::applicationDirPath());
    m_selector.loadCustomSystems();
    m_opener.setFilterIndex(1);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void MainWindow::Form_Resize()
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
    const QRect &tab = geometry->tab1;
    Tab1->setGeometry(pixelsFromTwips(tab.left()), pixelsFromTwips(tab.top()),
                      pixelsFromTwips(tab.width()), pixelsFromTwips(tab.height()));
    photoPage->applyLayout(*geometry);
    resultsPage->layoutForTabWidth(tab.width());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The main window is the program: closing it ends the run, an analysis in
    // progress included, and takes every other window with it.
    m_analyze->cancel();
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::showLoadedPicture(const QString &caption)
{
    Tab1->setCurrentIndex(0);
    Tab1->setTabText(0, caption);
    photoPage->showPicture();
    Command3->setEnabled(true);
}

void MainWindow::Command1_Click()
{
    if (m_opener.open() != PictureOpener::Outcome::Loaded)
        return;
    showLoadedPicture(PictureOpener::pageCaption(m_opener.openedTitle()));
    photoPage->fitPicture();
    Command2->setEnabled(true);
    emit pictureOpened();
}

void MainWindow::Command3_Click()
{
    // The picture keeps its place in the viewport: no fitting after a reload.
    if (m_opener.reload() != PictureOpener::Outcome::Loaded)
        return;
    Tab1->setCurrentIndex(0);
    Tab1->setTabText(0, PictureOpener::pageCaption(m_opener.openedTitle()));
}

bool MainWindow::loadSetPicture(const QString &pictureName, const QString &path)
{
    m_state.setCurrentPictureName(pictureName);
    if (m_opener.loadFile(path) != PictureOpener::Outcome::Loaded)
        return false;
    showLoadedPicture(PictureOpener::pageCaption(pictureName));
    Command2->setEnabled(true);
    photoPage->fitPicture();
    emit setPictureLoaded();
    emit analyzeRequested();
    return true;
}

void MainWindow::runCommand(const QString &command)
{
    m_text6 = command;
    if (command == QLatin1String("1")) {
        m_text6.clear();
        emit statisticsRecomputeRequested();
    } else if (command == QLatin1String("2")) {
        m_text6.clear();
        emit setPictureRequested();
    }
}

} // namespace verdalis
