#include "detection_system_panel.h"

#include "detection_selector.h"
#include "ui_controls.h"
#include "workspace_icons.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace verdalis {

namespace {

constexpr int IconSize = 16;    // pixels on the buttons
constexpr int SliderWidth = 48; // pixels

} // namespace

DetectionSystemPanel::DetectionSystemPanel(DetectionSelector &selector, QWidget *parent)
    : QWidget(parent),
      detectionSystemFrame(
          named(new QGroupBox(QStringLiteral("Detection system"), this), "detectionSystemFrame")),
      deleteSystemButton(named(new QToolButton(detectionSystemFrame), "deleteSystemButton")),
      colourSamplingSwitch(named(new QToolButton(detectionSystemFrame), "colourSamplingSwitch")),
      systemList(named(new QComboBox(detectionSystemFrame), "systemList")),
      thresholdCaption(named(new QLabel(QStringLiteral("Tolerance"), this), "thresholdCaption")),
      thresholdSlider(named(new QSlider(Qt::Horizontal, this), "thresholdSlider")),
      thresholdLabel(named(new QLabel(this), "thresholdLabel")), m_selector(selector)
{
    for (QToolButton *button : {deleteSystemButton, colourSamplingSwitch}) {
        button->setIconSize(QSize(IconSize, IconSize));
        button->setFixedSize(IconSize + 6, IconSize + 6);
    }
    deleteSystemButton->setIcon(WorkspaceIcons::deleteSystem());
    colourSamplingSwitch->setIcon(WorkspaceIcons::eyedropper());
    colourSamplingSwitch->setCheckable(true);
    colourSamplingSwitch->setToolTip(QStringLiteral("Custom detection system"));
    // The list is as wide as its longest built-in name; longer custom names are
    // shown whole in the open list.
    systemList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    thresholdSlider->setSingleStep(1);
    thresholdSlider->setPageStep(5);
    thresholdSlider->setFixedWidth(SliderWidth);
    thresholdLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest position, so the slider does not move as it changes.
    thresholdLabel->setMinimumWidth(
        thresholdLabel->fontMetrics().horizontalAdvance(QStringLiteral("-10")));

    // One row in the frame, below its caption. The slider stands level with that
    // row, its caption above it, level with the frame's caption, and its position
    // to its right.
    auto *frameLayout = new QHBoxLayout(detectionSystemFrame);
    frameLayout->setContentsMargins(4, 0, 4, 1);
    frameLayout->setSpacing(2);
    frameLayout->addWidget(deleteSystemButton);
    frameLayout->addWidget(colourSamplingSwitch);
    frameLayout->addWidget(systemList, 1);
    auto *threshold = new QGridLayout;
    threshold->setContentsMargins(0, 0, 0, 2);
    threshold->setSpacing(0);
    threshold->setHorizontalSpacing(2);
    threshold->addWidget(thresholdCaption, 0, 0, 1, 2);
    threshold->addWidget(thresholdSlider, 1, 0, Qt::AlignBottom);
    threshold->addWidget(thresholdLabel, 1, 1, Qt::AlignBottom);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(detectionSystemFrame);
    layout->addLayout(threshold);

    fillList();
    showSelection(m_selector.selectedIndex());

    connect(systemList, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &DetectionSystemPanel::selectSystem);
    connect(thresholdSlider, &QSlider::valueChanged, this,
            &DetectionSystemPanel::applyThresholdPosition);
    connect(deleteSystemButton, &QToolButton::clicked, this,
            &DetectionSystemPanel::deleteSelectedSystem);
    connect(colourSamplingSwitch, &QToolButton::toggled, this,
            &DetectionSystemPanel::samplingToggled);

    // List edits happen while the selector suppresses selection handling, so the
    // index changes the list control reports in between are ignored there.
    connect(&m_selector, &DetectionSelector::customSystemsReset, this,
            &DetectionSystemPanel::fillList);
    connect(&m_selector, &DetectionSelector::customSystemAppended, this, [this](int index) {
        systemList->addItem(m_selector.catalogue().at(index).name);
        fitListWidth();
    });
    connect(&m_selector, &DetectionSelector::customSystemRemoved, this,
            [this](int index) { systemList->removeItem(index); });
    connect(&m_selector, &DetectionSelector::selectionChanged, this,
            &DetectionSystemPanel::showSelection);
    connect(&m_selector, &DetectionSelector::sliderChanged, this,
            &DetectionSystemPanel::showSlider);
    connect(&m_selector, &DetectionSelector::newSystemSaved, this,
            [this] { setSamplingChecked(false); });
}

bool DetectionSystemPanel::isSamplingChecked() const
{
    return colourSamplingSwitch->isChecked();
}

void DetectionSystemPanel::setSamplingChecked(bool checked)
{
    colourSamplingSwitch->setChecked(checked);
}

void DetectionSystemPanel::deleteSelectedSystem()
{
    m_selector.deleteSelectedSystem();
}

void DetectionSystemPanel::selectSystem(int index)
{
    m_selector.select(index);
}

void DetectionSystemPanel::applyThresholdPosition(int position)
{
    m_selector.setSliderPosition(position);
}

void DetectionSystemPanel::fillList()
{
    const QSignalBlocker blocker(systemList);
    systemList->clear();
    systemList->addItems(m_selector.catalogue().names().mid(0, FirstCustomSystem));
    systemList->setFixedWidth(systemList->sizeHint().width());
    systemList->addItems(m_selector.catalogue().names().mid(FirstCustomSystem));
    systemList->setCurrentIndex(m_selector.selectedIndex());
    fitListWidth();
}

void DetectionSystemPanel::fitListWidth()
{
    QAbstractItemView *list = systemList->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void DetectionSystemPanel::showSelection(int index)
{
    {
        const QSignalBlocker blocker(systemList);
        systemList->setCurrentIndex(index);
    }
    const DeleteButtonState deleteButton = m_selector.deleteButton();
    deleteSystemButton->setEnabled(deleteButton.enabled);
    deleteSystemButton->setToolTip(deleteButton.toolTip);
    showSlider();
}

void DetectionSystemPanel::showSlider()
{
    const SliderState &slider = m_selector.slider();
    {
        const QSignalBlocker blocker(thresholdSlider);
        thresholdSlider->setRange(slider.minimum, slider.maximum);
        thresholdSlider->setValue(slider.position);
    }
    thresholdSlider->setEnabled(slider.enabled);
    const QString display = QString::number(slider.display());
    thresholdLabel->setText(display);
    thresholdSlider->setToolTip(display);
}

} // namespace verdalis
