#include "detection_system_panel.h"

#include "detection_selector.h"
#include "workspace_icons.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdalis {

namespace {

constexpr int IconSize = 16;    // pixels on the buttons
constexpr int SliderWidth = 54; // pixels

// The delete icon is drawn on a 20 x 20 grid and shown smaller.
QPixmap blankIcon()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A waste bin with a red cross: deletes the selected custom system.
QIcon deleteIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(70, 70, 70), 1.5));
    painter.setBrush(QColor(200, 200, 200));
    QPainterPath bin;
    bin.moveTo(5, 6);
    bin.lineTo(15, 6);
    bin.lineTo(14, 18);
    bin.lineTo(6, 18);
    bin.closeSubpath();
    painter.drawPath(bin);
    painter.drawLine(QPointF(3.5, 4.5), QPointF(16.5, 4.5));
    painter.drawLine(QPointF(8, 2.5), QPointF(12, 2.5));
    painter.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.5, 9), QPointF(12.5, 15));
    painter.drawLine(QPointF(12.5, 9), QPointF(7.5, 15));
    return QIcon(pixmap);
}

} // namespace

DetectionSystemPanel::DetectionSystemPanel(DetectionSelector &selector, QWidget *parent)
    : QWidget(parent), Frame1(new QGroupBox(QStringLiteral("Detection system"), this)),
      Command17(new QToolButton(Frame1)), Check1(new QToolButton(Frame1)),
      Combo1(new QComboBox(Frame1)), Slider1(new QSlider(Qt::Horizontal, this)),
      Label2(new QLabel(this)), m_selector(selector)
{
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Command17->setObjectName(QStringLiteral("Command17"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Label2->setObjectName(QStringLiteral("Label2"));

    for (QToolButton *button : {Command17, Check1}) {
        button->setIconSize(QSize(IconSize, IconSize));
        button->setFixedSize(IconSize + 6, IconSize + 6);
    }
    Command17->setIcon(deleteIcon());
    Check1->setIcon(WorkspaceIcons::eyedropper());
    Check1->setCheckable(true);
    Check1->setToolTip(QStringLiteral("Custom detection system"));
    // The list is as wide as its longest built-in name; longer custom names are
    // shown whole in the open list.
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setFixedWidth(SliderWidth);
    Label2->setAlignment(Qt::AlignCenter);

    // One row in the frame, below its caption. The slider stands level with that
    // row and its position reads above it, level with the frame's caption.
    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->setContentsMargins(4, 0, 4, 1);
    frameLayout->setSpacing(2);
    frameLayout->addWidget(Command17);
    frameLayout->addWidget(Check1);
    frameLayout->addWidget(Combo1, 1);
    auto *tolerance = new QVBoxLayout;
    tolerance->setContentsMargins(0, 0, 0, 2);
    tolerance->setSpacing(0);
    tolerance->addWidget(Label2);
    tolerance->addWidget(Slider1, 0, Qt::AlignBottom);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(Frame1);
    layout->addLayout(tolerance);

    fillList();
    showSelection(m_selector.selectedIndex());

    connect(Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &DetectionSystemPanel::Combo1_Click);
    connect(Slider1, &QSlider::valueChanged, this, &DetectionSystemPanel::Slider1_Change);
    connect(Command17, &QToolButton::clicked, this, &DetectionSystemPanel::Command17_Click);
    connect(Check1, &QToolButton::toggled, this, &DetectionSystemPanel::samplingToggled);

    // List edits happen while the selector suppresses selection handling, so the
    // index changes the list control reports in between are ignored there.
    connect(&m_selector, &DetectionSelector::customSystemsReset, this,
            &DetectionSystemPanel::fillList);
    connect(&m_selector, &DetectionSelector::customSystemAppended, this, [this](int index) {
        Combo1->addItem(m_selector.catalogue().at(index).name);
        fitListWidth();
    });
    connect(&m_selector, &DetectionSelector::customSystemRemoved, this,
            [this](int index) { Combo1->removeItem(index); });
    connect(&m_selector, &DetectionSelector::selectionChanged, this,
            &DetectionSystemPanel::showSelection);
    connect(&m_selector, &DetectionSelector::sliderChanged, this,
            &DetectionSystemPanel::showSlider);
    connect(&m_selector, &DetectionSelector::newSystemSaved, this,
            [this] { setSamplingChecked(false); });
}

bool DetectionSystemPanel::isSamplingChecked() const
{
    return Check1->isChecked();
}

void DetectionSystemPanel::setSamplingChecked(bool checked)
{
    Check1->setChecked(checked);
}

void DetectionSystemPanel::Command17_Click()
{
    m_selector.deleteSelectedSystem();
}

void DetectionSystemPanel::Combo1_Click(int index)
{
    m_selector.select(index);
}

void DetectionSystemPanel::Slider1_Change(int position)
{
    m_selector.setSliderPosition(position);
}

void DetectionSystemPanel::fillList()
{
    const QSignalBlocker blocker(Combo1);
    Combo1->clear();
    Combo1->addItems(m_selector.catalogue().names().mid(0, FirstCustomIndex));
    Combo1->setFixedWidth(Combo1->sizeHint().width());
    Combo1->addItems(m_selector.catalogue().names().mid(FirstCustomIndex));
    Combo1->setCurrentIndex(m_selector.selectedIndex());
    fitListWidth();
}

void DetectionSystemPanel::fitListWidth()
{
    QAbstractItemView *list = Combo1->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void DetectionSystemPanel::showSelection(int index)
{
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->setCurrentIndex(index);
    }
    const DeleteButtonState deleteButton = m_selector.deleteButton();
    Command17->setEnabled(deleteButton.enabled);
    Command17->setToolTip(deleteButton.toolTip);
    showSlider();
}

void DetectionSystemPanel::showSlider()
{
    const SliderState &slider = m_selector.slider();
    {
        const QSignalBlocker blocker(Slider1);
        Slider1->setRange(slider.minimum, slider.maximum);
        Slider1->setValue(slider.position);
    }
    Slider1->setEnabled(slider.enabled);
    const QString display = QString::number(slider.display());
    Label2->setText(display);
    Slider1->setToolTip(display);
}

} // namespace verdalis
