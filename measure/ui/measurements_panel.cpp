#include "measurements_panel.h"

#include "calibration_dialog.h"
#include "calibration_frame.h"
#include "grid_frame.h"
#include "measure_icons.h"
#include "twips.h"
#include "ui_controls.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace verdalis {

namespace {
constexpr int DistanceColumnTwips = 1000;

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
      m_tool(m_list, canvas, state), m_calibration(state, m_list, dialogs),
      m_distanceTable(named(new QTableView, "distanceTable")), m_meanBox(statisticsBox("meanBox")),
      m_sdBox(statisticsBox("sdBox")), m_seBox(statisticsBox("seBox")),
      m_unitCaption(
          named(new QLabel(state.unitName().isEmpty() ? QStringLiteral("Unit") : state.unitName()),
                "unitCaption")),
      m_autoResetBox(named(new QCheckBox(QStringLiteral("Auto reset")), "autoResetBox")),
      m_calibrateButton(pictureButton(MeasureIcons::calibrate(),
                                      QStringLiteral("Calibrate, Set a new calibration"),
                                      "calibrateButton")),
      m_gridFrame(new GridFrame(state, canvas))
{
    setObjectName(QStringLiteral("measurementsPanel"));

    // Only the calibrated distance is shown; the other columns hold what it is
    // computed from.
    m_distanceTable->setModel(&m_list);
    m_distanceTable->horizontalHeader()->hide();
    m_distanceTable->verticalHeader()->hide();
    for (int column = 0; column < DistanceColumn; ++column)
        m_distanceTable->setColumnHidden(column, true);
    const int columnPixels = pixelsFromTwips(DistanceColumnTwips);
    m_distanceTable->setColumnWidth(DistanceColumn, columnPixels);
    m_distanceTable->verticalHeader()->setDefaultSectionSize(
        m_distanceTable->fontMetrics().height() + 4);
    m_distanceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_distanceTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_distanceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_distanceTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_distanceTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_distanceTable->setFixedWidth(columnPixels + 2 * m_distanceTable->frameWidth() +
                                   style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    QPushButton *resetButton =
        textButton(QStringLiteral("Reset"), QStringLiteral("Clear all measurements"),
                   "resetMeasurementsButton");
    QPushButton *deleteButton =
        textButton(QStringLiteral("Del"), QStringLiteral("Delete selected measurement"),
                   "deleteMeasurementButton");
    QPushButton *copyButton = textButton(
        QStringLiteral("Copy"), QStringLiteral("Copy all measurements"), "copyMeasurementsButton");
    m_autoResetBox->setToolTip(QStringLiteral("Reset with new picture"));
    m_autoResetBox->setChecked(true);
    m_calibrateButton->setEnabled(false);

    // The list with its buttons beside it, the statistics across the frame
    // below, then the Calibration and Grid frames: narrow enough for the strip
    // right of the picture in the smallest window.
    auto *listButtons = new QVBoxLayout;
    listButtons->setSpacing(3);
    listButtons->addWidget(resetButton);
    listButtons->addWidget(deleteButton);
    listButtons->addWidget(copyButton);
    listButtons->addWidget(m_autoResetBox);
    listButtons->addWidget(m_calibrateButton, 0, Qt::AlignLeft);
    listButtons->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(m_distanceTable);
    top->addLayout(listButtons, 1);

    auto *statistics = new QGridLayout;
    statistics->setHorizontalSpacing(4);
    statistics->setVerticalSpacing(3);
    statistics->addWidget(new QLabel(QStringLiteral("Distance:")), 0, 0);
    statistics->addWidget(m_meanBox, 0, 1);
    statistics->addWidget(m_unitCaption, 0, 2, 1, 2);
    statistics->addWidget(new QLabel(QStringLiteral("SD:")), 1, 0);
    statistics->addWidget(m_sdBox, 1, 1);
    statistics->addWidget(new QLabel(QStringLiteral("SE:")), 1, 2);
    statistics->addWidget(m_seBox, 1, 3);
    statistics->setColumnStretch(1, 1);
    statistics->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(top, 1);
    layout->addLayout(statistics);
    layout->addWidget(new CalibrationFrame(m_calibration, state));
    layout->addWidget(m_gridFrame);

    connect(resetButton, &QPushButton::clicked, this, [this] { m_tool.reset(); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { m_tool.deleteCurrent(); });
    connect(copyButton, &QPushButton::clicked, this, [this] { m_tool.copyAll(); });
    connect(m_calibrateButton, &QPushButton::clicked, this,
            &MeasurementsPanel::openCalibrationDialog);
    // Calibrating divides by the mean: without one there is nothing to calibrate.
    connect(m_meanBox, &QLineEdit::textChanged, m_calibrateButton,
            [this](const QString &mean) { m_calibrateButton->setEnabled(!mean.isEmpty()); });
    connect(&m_list, &MeasurementList::statisticsChanged, this, &MeasurementsPanel::showStatistics);
    connect(&state, &WorkspaceState::unitNameChanged, m_unitCaption, &QLabel::setText);

    // The current row is the list's; the view shows it and reports the user's picks.
    connect(&m_list, &MeasurementList::currentRowChanged, this,
            &MeasurementsPanel::selectCurrentRow);
    connect(m_distanceTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
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
    return m_unitCaption->text();
}

void MeasurementsPanel::onPictureOpened()
{
    if (m_autoResetBox->isChecked())
        m_tool.reset();
    m_gridFrame->onPictureOpened();
}

void MeasurementsPanel::openCalibrationDialog()
{
    // Window-modal: the measurement list cannot change under the dialog, and the
    // main window takes input again however the dialog closes.
    auto *dialog = new CalibrationDialog(m_calibration, m_dialogs, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MeasurementsPanel::showStatistics()
{
    const MeasurementStatistics &statistics = m_list.statistics();
    m_meanBox->setText(statistics.mean);
    m_sdBox->setText(statistics.sd);
    m_seBox->setText(statistics.se);
}

void MeasurementsPanel::selectCurrentRow()
{
    if (m_listChanging)
        return;
    const int row = m_list.currentRow();
    QItemSelectionModel *selection = m_distanceTable->selectionModel();
    if (row < 0) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_list.index(row, DistanceColumn);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_distanceTable->scrollTo(index);
}

} // namespace verdalis
