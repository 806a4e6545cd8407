#include "measurements_panel.h"

#include "calibration_dialog.h"
#include "calibration_frame.h"
#include "grid_frame.h"
#include "ui_controls.h"
#include "measure_icons.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace verdalis {

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kDistanceColumnTwips = 1000;

QLineEdit *statisticsBox(const char *name)
{
    auto *box = named(new QLineEdit, name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(48);
    return box;
}

QPushButton *textButton(const QString &caption, const QString &toolTip, const char *name)
{
    auto *button = named(new QPushButton(caption), name);
    button->setToolTip(toolTip);
    return button;
}
} // namespace

MeasurementsPanel::MeasurementsPanel(WorkspaceState &state, PictureCanvas &canvas, Dialogs &dialogs,
                                     QWidget *parent)
    : QGroupBox(QStringLiteral("Measurements"), parent), m_dialogs(dialogs),
      m_tool(m_list, canvas, state), m_calibration(state, m_list, dialogs)
{
    setObjectName(QStringLiteral("Frame3"));

    Grid3 = named(new QTableView, "Grid3");
    Grid3->setModel(&m_list);
    Grid3->horizontalHeader()->hide();
    Grid3->verticalHeader()->hide();
    for (int column = 0; column < DistanceColumn; ++column)
        Grid3->setColumnHidden(column, true);
    const int columnPixels = (kDistanceColumnTwips + kTwipsPerPixel / 2) / kTwipsPerPixel;
    Grid3->setColumnWidth(DistanceColumn, columnPixels);
    Grid3->verticalHeader()->setDefaultSectionSize(Grid3->fontMetrics().height() + 4);
    Grid3->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid3->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grid3->setFixedWidth(columnPixels + 2 * Grid3->frameWidth() +
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    Label11 = named(new QLabel(QStringLiteral("Distance:")), "Label11");
    Text3 = statisticsBox("Text3");
    Label12 = named(new QLabel(QStringLiteral("SD:")), "Label12");
    Text4 = statisticsBox("Text4");
    Label13 = named(new QLabel(QStringLiteral("SE:")), "Label13");
    Text5 = statisticsBox("Text5");
    Label14 =
        named(new QLabel(state.unitName().isEmpty() ? QStringLiteral("Unit") : state.unitName()),
              "Label14");

    Command4 =
        textButton(QStringLiteral("Reset"), QStringLiteral("Clear all measurements"), "Command4");
    Command5 = textButton(QStringLiteral("Del"), QStringLiteral("Delete selected measurement"),
                          "Command5");
    Command21 =
        textButton(QStringLiteral("Copy"), QStringLiteral("Copy all measurements"), "Command21");
    Check3 = named(new QCheckBox(QStringLiteral("Auto reset")), "Check3");
    Check3->setToolTip(QStringLiteral("Reset with new picture"));
    Check3->setChecked(true);
    Command6 = pictureButton(MeasureIcons::calibrate(),
                             QStringLiteral("Calibrate, Set a new calibration"), "Command6");
    Command6->setEnabled(false);

    Frame5 = new CalibrationFrame(m_calibration, state);
    Frame6 = new GridFrame(state);

    // The list with its buttons beside it, the statistics across the frame
    // below, then the Calibration and Grid frames: narrow enough for the strip
    // right of the picture in the smallest window.
    auto *listButtons = new QVBoxLayout;
    listButtons->setSpacing(3);
    listButtons->addWidget(Command4);
    listButtons->addWidget(Command5);
    listButtons->addWidget(Command21);
    listButtons->addWidget(Check3);
    listButtons->addWidget(Command6, 0, Qt::AlignLeft);
    listButtons->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(Grid3);
    top->addLayout(listButtons, 1);

    auto *statistics = new QGridLayout;
    statistics->setHorizontalSpacing(4);
    statistics->setVerticalSpacing(3);
    statistics->addWidget(Label11, 0, 0);
    statistics->addWidget(Text3, 0, 1);
    statistics->addWidget(Label14, 0, 2, 1, 2);
    statistics->addWidget(Label12, 1, 0);
    statistics->addWidget(Text4, 1, 1);
    statistics->addWidget(Label13, 1, 2);
    statistics->addWidget(Text5, 1, 3);
    statistics->setColumnStretch(1, 1);
    statistics->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(top, 1);
    layout->addLayout(statistics);
    layout->addWidget(Frame5);
    layout->addWidget(Frame6);

    connect(Command4, &QPushButton::clicked, this, &MeasurementsPanel::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MeasurementsPanel::Command5_Click);
    connect(Command21, &QPushButton::clicked, this, &MeasurementsPanel::Command21_Click);
    connect(Command6, &QPushButton::clicked, this, &MeasurementsPanel::Command6_Click);
    connect(Text3, &QLineEdit::textChanged, this, &MeasurementsPanel::Text3_Change);
    connect(&m_list, &MeasurementList::statisticsChanged, this, &MeasurementsPanel::showStatistics);
    connect(&state, &WorkspaceState::unitNameChanged, Label14, &QLabel::setText);

    // The current row is the list's; the view shows it and reports the user's picks.
    connect(&m_list, &MeasurementList::currentRowChanged, this,
            &MeasurementsPanel::selectCurrentRow);
    connect(Grid3->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_listChanging && current.isValid())
                    m_list.setCurrentRow(current.row());
            });
    const auto changing = [this] { m_listChanging = true; };
    const auto changed = [this] {
        m_listChanging = false;
        selectCurrentRow();
    };
    connect(&m_list, &QAbstractItemModel::rowsAboutToBeInserted, this, changing);
    connect(&m_list, &QAbstractItemModel::rowsAboutToBeRemoved, this, changing);
    connect(&m_list, &QAbstractItemModel::modelAboutToBeReset, this, changing);
    connect(&m_list, &QAbstractItemModel::rowsInserted, this, changed);
    connect(&m_list, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(&m_list, &QAbstractItemModel::modelReset, this, changed);
}

QString MeasurementsPanel::unitCaption() const
{
    return Label14->text();
}

void MeasurementsPanel::onPictureOpened()
{
    if (Check3->isChecked())
        m_tool.reset();
    Frame6->onPictureOpened();
}

void MeasurementsPanel::recomputeMeasurementStatistics()
{
    m_list.recomputeMeasurementStatistics();
}

void MeasurementsPanel::Command4_Click()
{
    m_tool.reset();
}

void MeasurementsPanel::Command5_Click()
{
    m_tool.deleteCurrent();
}

void MeasurementsPanel::Command21_Click()
{
    m_tool.copyAll();
}

void MeasurementsPanel::Command6_Click()
{
    auto *form = new CalibratForm(m_calibration, m_dialogs, window());
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->showOverMainWindow();
}

void MeasurementsPanel::Text3_Change()
{
    Command6->setEnabled(!Text3->text().isEmpty());
}

void MeasurementsPanel::showStatistics()
{
    const MeasurementStatistics &statistics = m_list.statistics();
    Text3->setText(statistics.mean);
    Text4->setText(statistics.sd);
    Text5->setText(statistics.se);
}

void MeasurementsPanel::selectCurrentRow()
{
    if (m_listChanging)
        return;
    const int row = m_list.currentRow();
    QItemSelectionModel *selection = Grid3->selectionModel();
    if (row < 0) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_list.index(row, DistanceColumn);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid3->scrollTo(index);
}

} // namespace verdalis
