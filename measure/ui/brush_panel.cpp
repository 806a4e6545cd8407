#include "brush_panel.h"

#include "measure_icons.h"
#include "ui_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace verdalis {

namespace {

QRadioButton *kindButton(const QIcon &icon, const QString &tip, const char *name)
{
    auto *button = named(new QRadioButton, name);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    // No caption: the button is just as wide as its indicator and icon, so the
    // frame fits the top strip of the smallest window.
    const QStyle *style = button->style();
    button->setFixedWidth(style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button) +
                          style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button) +
                          button->iconSize().width());
    return button;
}

} // namespace

BrushPanel::BrushPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Brush"), parent), leafBrushIcon(MeasureIcons::leafBrush()),
      symptomBrushIcon(MeasureIcons::symptomBrush()),
      backgroundBrushIcon(MeasureIcons::backgroundBrush()),
      leafBrushButton(kindButton(leafBrushIcon, QStringLiteral("Paint leaf"), "leafBrushButton")),
      symptomBrushButton(
          kindButton(symptomBrushIcon, QStringLiteral("Paint symptoms"), "symptomBrushButton")),
      backgroundBrushButton(kindButton(backgroundBrushIcon, QStringLiteral("Paint background"),
                                       "backgroundBrushButton")),
      brushSwitch(named(new QToolButton, "brushSwitch")),
      brushSizeBar(named(new QScrollBar(Qt::Vertical), "brushSizeBar")),
      brushSizeLabel(named(new QLabel, "brushSizeLabel"))
{
    setObjectName(QStringLiteral("brushPanel"));

    brushSwitch->setCheckable(true);
    // Strokes change the picture in memory only: the user must know that the file
    // keeps its colours and that Reload brings them back.
    brushSwitch->setToolTip(
        QStringLiteral("Brush on or off.\nPainting changes the picture in memory only, never "
                       "its file:\nReload restores the picture as it is on disk."));
    brushSwitch->setIconSize(QSize(20, 20));
    brushSwitch->setFixedSize(24, 24);

    brushSizeBar->setRange(1, 10);
    brushSizeBar->setPageStep(1);
    brushSizeBar->setValue(6);
    brushSizeBar->setFixedSize(13, 24);
    brushSizeBar->setToolTip(QStringLiteral("Brush size"));
    brushSizeLabel->setFixedWidth(14);
    brushSizeLabel->setAlignment(Qt::AlignCenter);

    leafBrushButton->setChecked(true);
    symptomBrushButton->setEnabled(false);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(5, 0, 3, 1);
    row->setSpacing(2);
    row->addWidget(brushSwitch);
    row->addSpacing(3);
    row->addWidget(leafBrushButton);
    row->addWidget(symptomBrushButton);
    row->addWidget(backgroundBrushButton);
    row->addSpacing(2);
    row->addWidget(brushSizeBar);
    row->addWidget(brushSizeLabel);

    for (QRadioButton *button : {leafBrushButton, symptomBrushButton, backgroundBrushButton})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showChosenKind();
        });
    connect(brushSwitch, &QToolButton::toggled, this, &BrushPanel::brushToggled);
    connect(brushSizeBar, &QScrollBar::valueChanged, this, &BrushPanel::showBrushSize);
    showChosenKind();
    showBrushSize();
}

bool BrushPanel::isBrushOn() const
{
    return brushSwitch->isChecked();
}

BrushKind BrushPanel::kind() const
{
    if (symptomBrushButton->isChecked())
        return BrushKind::Symptom;
    if (backgroundBrushButton->isChecked())
        return BrushKind::Background;
    return BrushKind::Leaf;
}

int BrushPanel::brushSize() const
{
    return 11 - brushSizeBar->value();
}

QCursor BrushPanel::brushCursor()
{
    // The bristles' tip is at (1, 19) of the 20 x 20 drawing; at 24 pixels that
    // is about (1, 23).
    return QCursor(MeasureIcons::leafBrush().pixmap(QSize(24, 24), 1.0), 1, 23);
}

void BrushPanel::followDetectionSystem(int systemIndex)
{
    if (systemIndex == 0) {
        leafBrushButton->setChecked(true);
        symptomBrushButton->setEnabled(false);
    } else {
        symptomBrushButton->setEnabled(true);
    }
}

void BrushPanel::setBrushOn(bool on)
{
    brushSwitch->setChecked(on);
}

void BrushPanel::showChosenKind()
{
    const BrushKind chosen = kind();
    brushSwitch->setIcon(chosen == BrushKind::Leaf      ? leafBrushIcon
                         : chosen == BrushKind::Symptom ? symptomBrushIcon
                                                        : backgroundBrushIcon);
}

void BrushPanel::showBrushSize()
{
    brushSizeLabel->setText(QString::number(brushSize()));
}

} // namespace verdalis
