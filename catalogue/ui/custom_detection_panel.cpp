#include "custom_detection_panel.h"

#include "detection_selector.h"
#include "twips.h"
#include "ui_controls.h"
#include "workspace_icons.h"
#include "workspace_state.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

namespace verdalis {

namespace {

// The visible swatch column of the sampled-colour table.
constexpr int SwatchColumnTwips = 500;
constexpr int IconSize = 20;            // pixels
constexpr int ChannelColumnPixels = 32; // a red, green or blue value of the custom table

QColor toColor(const Rgb &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

void paintSwatch(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

QTableWidget *headerlessTable(int columns, QWidget *parent)
{
    auto *table = new QTableWidget(0, columns, parent);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

} // namespace

CustomDetectionPanel::CustomDetectionPanel(DetectionSelector &selector, WorkspaceState &state,
                                           QWidget *parent)
    : QGroupBox(QStringLiteral("Custom detection system"), parent),
      sampledColourTable(named(headerlessTable(4, this), "sampledColourTable")),
      averageColourSwatch(
          named(new QLabel(QStringLiteral("Color average"), this), "averageColourSwatch")),
      colourUnderMouseSwatch(named(new QLabel(this), "colourUnderMouseSwatch")),
      deleteColourButton(named(new QPushButton(QStringLiteral("Del"), this), "deleteColourButton")),
      resetColoursButton(
          named(new QPushButton(QStringLiteral("Reset"), this), "resetColoursButton")),
      saveSystemButton(named(new QToolButton(this), "saveSystemButton")),
      customSystemTable(named(headerlessTable(4, this), "customSystemTable")), m_selector(selector),
      m_state(state)
{
    setObjectName(QStringLiteral("customDetectionPanel"));

    // Columns 0..2 keep the channels as text for the rules; only the swatch shows.
    for (int column = 0; column < 3; ++column)
        sampledColourTable->setColumnHidden(column, true);
    const int swatchColumnWidth = pixelsFromTwips(SwatchColumnTwips);
    sampledColourTable->setColumnWidth(3, swatchColumnWidth);
    // A highlighted current row would hide its swatch; the focus frame marks it.
    sampledColourTable->setSelectionMode(QAbstractItemView::NoSelection);
    sampledColourTable->setMaximumWidth(swatchColumnWidth + 2 * sampledColourTable->frameWidth() +
                                        20);

    for (QLabel *swatch : {averageColourSwatch, colourUnderMouseSwatch}) {
        swatch->setAutoFillBackground(true);
        swatch->setFrameShape(QFrame::Panel);
        swatch->setFrameShadow(QFrame::Sunken);
        swatch->setAlignment(Qt::AlignCenter);
        swatch->setMinimumHeight(30);
    }
    // Narrow buttons, so the frame fits the strip right of the picture.
    for (QPushButton *button : {deleteColourButton, resetColoursButton})
        button->setMinimumWidth(40);
    saveSystemButton->setIcon(WorkspaceIcons::saveSystem());
    saveSystemButton->setIconSize(QSize(IconSize, IconSize));
    saveSystemButton->setToolTip(QStringLiteral("Save current color as a new detection system."));
    saveSystemButton->setEnabled(false);
    // The name takes what the three channels leave.
    customSystemTable->horizontalHeader()->setStretchLastSection(false);
    customSystemTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        customSystemTable->setColumnWidth(column, ChannelColumnPixels);
    customSystemTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    auto *listButtons = new QHBoxLayout;
    listButtons->setSpacing(4);
    listButtons->addWidget(deleteColourButton, 1);
    listButtons->addWidget(resetColoursButton, 1);
    layout->addWidget(sampledColourTable, 0, 0, 4, 1);
    layout->addWidget(averageColourSwatch, 0, 1);
    layout->addWidget(colourUnderMouseSwatch, 1, 1);
    layout->addLayout(listButtons, 2, 1);
    layout->addWidget(saveSystemButton, 3, 1, Qt::AlignLeft);
    layout->addWidget(customSystemTable, 4, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);

    fillCustomTable();
    showSelectedRow(m_selector.selectedIndex());
    setVisible(false);

    connect(deleteColourButton, &QPushButton::clicked, this,
            &CustomDetectionPanel::deleteCurrentColour);
    connect(resetColoursButton, &QPushButton::clicked, this,
            &CustomDetectionPanel::resetSampledColours);
    connect(saveSystemButton, &QToolButton::clicked, this, &CustomDetectionPanel::saveNewSystem);
    connect(&m_selector, &DetectionSelector::customSystemsReset, this,
            &CustomDetectionPanel::fillCustomTable);
    connect(&m_selector, &DetectionSelector::customSystemAppended, this,
            [this](int index) { insertCustomRow(index - FirstCustomSystem); });
    connect(&m_selector, &DetectionSelector::customSystemRemoved, this,
            [this](int index) { customSystemTable->removeRow(index - FirstCustomSystem); });
    connect(&m_selector, &DetectionSelector::selectionChanged, this,
            &CustomDetectionPanel::showSelectedRow);
    connect(&m_selector, &DetectionSelector::newSystemSaved, this,
            &CustomDetectionPanel::resetSampledColours);
}

void CustomDetectionPanel::addSampledColour(const Rgb &colour)
{
    m_samples.add(colour);
    const int row = sampledColourTable->rowCount();
    sampledColourTable->insertRow(row);
    const int channels[3] = {colour.red, colour.green, colour.blue};
    for (int column = 0; column < 3; ++column)
        sampledColourTable->setItem(row, column,
                                    new QTableWidgetItem(QString::number(channels[column])));
    auto *swatch = new QTableWidgetItem;
    swatch->setBackground(toColor(colour));
    sampledColourTable->setItem(row, 3, swatch);
    sampledColourTable->setCurrentCell(row, 3);
    showAverage();
}

void CustomDetectionPanel::deleteCurrentColour()
{
    const int row = sampledColourTable->currentRow();
    m_samples.removeAt(row);
    if (m_samples.count() == 0)
        sampledColourTable->setRowCount(0);
    else if (m_samples.count() < sampledColourTable->rowCount())
        sampledColourTable->removeRow(row);
    showAverage();
}

void CustomDetectionPanel::showColourUnderMouse(const Rgb &colour)
{
    paintSwatch(colourUnderMouseSwatch, toColor(colour));
}

void CustomDetectionPanel::resetSampledColours()
{
    m_samples.reset();
    sampledColourTable->setRowCount(0);
    showAverage();
}

// An empty list shows no average: the swatch takes the window's colour.
void CustomDetectionPanel::showAverage()
{
    m_state.setCustomColour(m_samples.average());
    paintSwatch(averageColourSwatch, m_samples.canSave() ? toColor(m_samples.average())
                                                         : palette().color(QPalette::Window));
    saveSystemButton->setEnabled(m_samples.canSave());
}

void CustomDetectionPanel::saveNewSystem()
{
    m_selector.saveNewSystem();
}

void CustomDetectionPanel::fillCustomTable()
{
    const int rows = m_selector.catalogue().customSystems().size();
    customSystemTable->setRowCount(0);
    for (int row = 0; row < rows; ++row)
        insertCustomRow(row);
}

void CustomDetectionPanel::insertCustomRow(int row)
{
    const DetectionSystem &system = m_selector.catalogue().customSystems().at(row);
    const Rgb colour = system.referenceColour.value_or(Rgb{});
    customSystemTable->insertRow(row);
    const QString cells[4] = {system.name, QString::number(colour.red),
                              QString::number(colour.green), QString::number(colour.blue)};
    for (int column = 0; column < 4; ++column)
        customSystemTable->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void CustomDetectionPanel::showSelectedRow(int index)
{
    if (index >= FirstCustomSystem)
        customSystemTable->setCurrentCell(index - FirstCustomSystem, 0);
}

} // namespace verdalis
