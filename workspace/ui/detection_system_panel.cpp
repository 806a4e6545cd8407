#include "detection_system_panel.h"

#include "detection_selector.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

namespace verdalis {

namespace {

constexpr int IconSize = 20; // pixels

QPixmap blankIcon()
{
    QPixmap pixmap(IconSize, IconSize);
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

// An eyedropper: rubber bulb top right, glass tube down to the tip bottom left.
QIcon eyedropperIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 8), QPointF(4, 16));
    painter.setPen(QPen(QColor(150, 210, 240), 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(11, 9), QPointF(5, 15));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(QPointF(15, 5), 3.5, 3.5);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.drawLine(QPointF(10, 6), QPointF(14, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 140, 60));
    painter.drawEllipse(QPointF(3, 18), 1.6, 1.6);
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

    Command17->setIcon(deleteIcon());
    Command17->setIconSize(QSize(IconSize, IconSize));
    Check1->setIcon(eyedropperIcon());
    Check1->setIconSize(QSize(IconSize, IconSize));
    Check1->setCheckable(true);
    Check1->setToolTip(QStringLiteral("Custom detection system"));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo1->setMinimumContentsLength(14);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setMinimumWidth(140);
    Label2->setMinimumWidth(24);
    Label2->setAlignment(Qt::AlignCenter);

    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(Command17);
    frameLayout->addWidget(Check1);
    frameLayout->addWidget(Combo1, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Frame1);
    layout->addWidget(Slider1);
    layout->addWidget(Label2);

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
    connect(&m_selector, &DetectionSelector::customSystemAppended, this,
            [this](int index) { Combo1->addItem(m_selector.catalogue().at(index).name); });
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
    Combo1->addItems(m_selector.catalogue().names());
    Combo1->setCurrentIndex(m_selector.selectedIndex());
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
