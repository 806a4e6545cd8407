#include "custom_detection_panel.h"

#include "detection_selector.h"
#include "workspace_state.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

namespace verdalis {

namespace {

constexpr int TwipsPerPixel = 15;
// The visible swatch column of the sampled-colour list.
constexpr int SwatchColumnTwips = 500;
constexpr int IconSize = 20;            // pixels
constexpr int ChannelColumnPixels = 32; // a red, green or blue value of the custom table

QColor toColor(const Rgb &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// A floppy disk: keeps the sampled average as a detection system.
QIcon saveIcon()
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 50, 90), 1.2));
    painter.setBrush(QColor(60, 100, 170));
    painter.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(QRectF(5.5, 10.5, 9, 6));
    painter.setBrush(QColor(190, 190, 200));
    painter.drawRect(QRectF(6.5, 2.5, 7, 5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 100, 170));
    painter.drawRect(QRectF(11, 3.5, 1.5, 3));
    return QIcon(pixmap);
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
    : QGroupBox(QStringLiteral("Custom detection system"), parent), Grid1(headerlessTable(4, this)),
      Label1(new QLabel(QStringLiteral("Color average"), this)), Label3(new QLabel(this)),
      Command9(new QPushButton(QStringLiteral("Del"), this)),
      Command13(new QPushButton(QStringLiteral("Reset"), this)), Command16(new QToolButton(this)),
      GridCust(headerlessTable(4, this)), m_selector(selector), m_state(state)
{
    setObjectName(QStringLiteral("Frame7"));
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Command9->setObjectName(QStringLiteral("Command9"));
    Command13->setObjectName(QStringLiteral("Command13"));
    Command16->setObjectName(QStringLiteral("Command16"));
    GridCust->setObjectName(QStringLiteral("GridCust"));

    // Columns 0..2 keep the channels as text for the rules; only the swatch shows.
    for (int column = 0; column < 3; ++column)
        Grid1->setColumnHidden(column, true);
    Grid1->setColumnWidth(3, SwatchColumnTwips / TwipsPerPixel);
    // A highlighted current row would hide its swatch; the focus frame marks it.
    Grid1->setSelectionMode(QAbstractItemView::NoSelection);
    Grid1->setMaximumWidth(SwatchColumnTwips / TwipsPerPixel + 2 * Grid1->frameWidth() + 20);

    for (QLabel *swatch : {Label1, Label3}) {
        swatch->setAutoFillBackground(true);
        swatch->setFrameShape(QFrame::Panel);
        swatch->setFrameShadow(QFrame::Sunken);
        swatch->setAlignment(Qt::AlignCenter);
        swatch->setMinimumHeight(30);
    }
    // Narrow buttons, so the frame fits the strip right of the picture.
    for (QPushButton *button : {Command9, Command13})
        button->setMinimumWidth(40);
    Command16->setIcon(saveIcon());
    Command16->setIconSize(QSize(IconSize, IconSize));
    Command16->setToolTip(QStringLiteral("Save current color as a new detection system."));
    Command16->setEnabled(false);
    // The name takes what the three channels leave.
    GridCust->horizontalHeader()->setStretchLastSection(false);
    GridCust->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        GridCust->setColumnWidth(column, ChannelColumnPixels);
    GridCust->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    auto *listButtons = new QHBoxLayout;
    listButtons->setSpacing(4);
    listButtons->addWidget(Command9, 1);
    listButtons->addWidget(Command13, 1);
    layout->addWidget(Grid1, 0, 0, 4, 1);
    layout->addWidget(Label1, 0, 1);
    layout->addWidget(Label3, 1, 1);
    layout->addLayout(listButtons, 2, 1);
    layout->addWidget(Command16, 3, 1, Qt::AlignLeft);
    layout->addWidget(GridCust, 4, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);

    fillCustomTable();
    showSelectedRow(m_selector.selectedIndex());
    setVisible(false);

    connect(Command13, &QPushButton::clicked, this, &CustomDetectionPanel::Command13_Click);
    connect(Command16, &QToolButton::clicked, this, &CustomDetectionPanel::Command16_Click);
    connect(&m_selector, &DetectionSelector::customSystemsReset, this,
            &CustomDetectionPanel::fillCustomTable);
    connect(&m_selector, &DetectionSelector::customSystemAppended, this,
            [this](int index) { insertCustomRow(index - FirstCustomIndex); });
    connect(&m_selector, &DetectionSelector::customSystemRemoved, this,
            [this](int index) { GridCust->removeRow(index - FirstCustomIndex); });
    connect(&m_selector, &DetectionSelector::selectionChanged, this,
            &CustomDetectionPanel::showSelectedRow);
    connect(&m_selector, &DetectionSelector::newSystemSaved, this,
            &CustomDetectionPanel::Command13_Click);
}

void CustomDetectionPanel::addSampledColour(const Rgb &colour)
{
    m_samples.add(colour);
    const int row = Grid1->rowCount();
    Grid1->insertRow(row);
    const int channels[3] = {colour.red, colour.green, colour.blue};
    for (int column = 0; column < 3; ++column)
        Grid1->setItem(row, column, new QTableWidgetItem(QString::number(channels[column])));
    auto *swatch = new QTableWidgetItem;
    swatch->setBackground(toColor(colour));
    Grid1->setItem(row, 3, swatch);
    Grid1->setCurrentCell(row, 3);
    m_state.setCustomColour(m_samples.average());
    paintSwatch(Label1, toColor(m_samples.average()));
    Command16->setEnabled(true);
}

void CustomDetectionPanel::showColourUnderMouse(const Rgb &colour)
{
    paintSwatch(Label3, toColor(colour));
}

void CustomDetectionPanel::Command13_Click()
{
    m_samples.reset();
    Grid1->setRowCount(0);
    paintSwatch(Label1, palette().color(QPalette::Window));
    m_state.setCustomColour(m_samples.average());
    Command16->setEnabled(false);
}

void CustomDetectionPanel::Command16_Click()
{
    m_selector.saveNewSystem();
}

void CustomDetectionPanel::fillCustomTable()
{
    const int rows = m_selector.catalogue().customSystems().size();
    GridCust->setRowCount(0);
    for (int row = 0; row < rows; ++row)
        insertCustomRow(row);
}

void CustomDetectionPanel::insertCustomRow(int row)
{
    const DetectionSystem &system = m_selector.catalogue().customSystems().at(row);
    const Rgb colour = system.referenceColour.value_or(Rgb{});
    GridCust->insertRow(row);
    const QString cells[4] = {system.name, QString::number(colour.red),
                              QString::number(colour.green), QString::number(colour.blue)};
    for (int column = 0; column < 4; ++column)
        GridCust->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void CustomDetectionPanel::showSelectedRow(int index)
{
    if (index >= FirstCustomIndex)
        GridCust->setCurrentCell(index - FirstCustomIndex, 0);
}

} // namespace verdalis
