#include "brush_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace verdalis {

namespace {

// A paint brush in a 20 x 20 coordinate system: handle at the top right,
// bristles loaded with paint at the bottom left.
void drawBrush(QPainter &p, const QColor &paint)
{
    p.setRenderHint(QPainter::Antialiasing);
    // Handle.
    p.setPen(QPen(QColor(110, 70, 30), 1.0));
    p.setBrush(QColor(190, 130, 70));
    QPainterPath handle;
    handle.moveTo(10.5, 7.5);
    handle.lineTo(17.5, 0.8);
    handle.quadTo(19.6, 1.4, 19.2, 2.6);
    handle.lineTo(12.5, 9.5);
    handle.closeSubpath();
    p.drawPath(handle);
    // Ferrule.
    p.setPen(QPen(QColor(90, 90, 95), 1.0));
    p.setBrush(QColor(185, 190, 198));
    QPolygonF ferrule;
    ferrule << QPointF(8.0, 8.0) << QPointF(10.5, 5.6) << QPointF(14.4, 9.5) << QPointF(12.0, 12.0);
    p.drawPolygon(ferrule);
    // Bristles loaded with paint.
    p.setPen(QPen(paint.value() < 60 ? QColor(130, 130, 130) : paint.darker(160), 1.0));
    p.setBrush(paint);
    QPainterPath tip;
    tip.moveTo(8.0, 8.6);
    tip.quadTo(3.0, 11.0, 0.8, 19.2);
    tip.quadTo(9.0, 17.0, 11.4, 12.0);
    tip.closeSubpath();
    p.drawPath(tip);
}

QPixmap brushPixmap(const QColor &paint, int logicalSize, qreal deviceRatio)
{
    QPixmap pixmap(int(logicalSize * deviceRatio), int(logicalSize * deviceRatio));
    pixmap.setDevicePixelRatio(deviceRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(logicalSize / 20.0, logicalSize / 20.0);
    drawBrush(painter, paint);
    return pixmap;
}

QIcon brushIcon(const QColor &paint)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(brushPixmap(paint, 20, ratio));
    return icon;
}

QRadioButton *kindButton(const QIcon &icon, const QString &tip, QWidget *parent)
{
    auto *button = new QRadioButton(parent);
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
    : QGroupBox(QStringLiteral("Brush"), parent), Picture8(brushIcon(QColor(40, 150, 40))),
      Picture9(brushIcon(QColor(235, 205, 40))), Picture10(brushIcon(QColor(20, 20, 20))),
      Option1(kindButton(Picture8, QStringLiteral("Paint leaf"), this)),
      Option2(kindButton(Picture9, QStringLiteral("Paint symptoms"), this)),
      Option3(kindButton(Picture10, QStringLiteral("Paint background"), this)),
      Check4(new QToolButton(this)), VScroll3(new QScrollBar(Qt::Vertical, this)),
      Label18(new QLabel(this))
{
    setObjectName(QStringLiteral("Frame4"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3->setObjectName(QStringLiteral("Option3"));
    Check4->setObjectName(QStringLiteral("Check4"));
    VScroll3->setObjectName(QStringLiteral("VScroll3"));
    Label18->setObjectName(QStringLiteral("Label18"));

    Check4->setCheckable(true);
    Check4->setToolTip(QStringLiteral("Brush on or off"));
    Check4->setIconSize(QSize(20, 20));
    Check4->setFixedSize(24, 24);

    VScroll3->setRange(1, 10);
    VScroll3->setPageStep(1);
    VScroll3->setValue(6);
    VScroll3->setFixedSize(13, 24);
    VScroll3->setToolTip(QStringLiteral("Brush size"));
    Label18->setFixedWidth(14);
    Label18->setAlignment(Qt::AlignCenter);

    Option1->setChecked(true);
    Option2->setEnabled(false);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(5, 0, 3, 1);
    row->setSpacing(2);
    row->addWidget(Check4);
    row->addSpacing(3);
    row->addWidget(Option1);
    row->addWidget(Option2);
    row->addWidget(Option3);
    row->addSpacing(2);
    row->addWidget(VScroll3);
    row->addWidget(Label18);

    for (QRadioButton *option : {Option1, Option2, Option3})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showChosenKind();
        });
    connect(Check4, &QToolButton::toggled, this, &BrushPanel::brushToggled);
    connect(VScroll3, &QScrollBar::valueChanged, this, &BrushPanel::VScroll3_Change);
    showChosenKind();
    VScroll3_Change(VScroll3->value());
}

bool BrushPanel::isBrushOn() const
{
    return Check4->isChecked();
}

BrushKind BrushPanel::kind() const
{
    if (Option2->isChecked())
        return BrushKind::Symptom;
    if (Option3->isChecked())
        return BrushKind::Background;
    return BrushKind::Leaf;
}

int BrushPanel::brushSize() const
{
    return 11 - VScroll3->value();
}

QCursor BrushPanel::brushCursor()
{
    // The bristles' tip is at (1, 19) of the 20 x 20 drawing; at 24 pixels that
    // is about (1, 23).
    return QCursor(brushPixmap(QColor(40, 150, 40), 24, 1.0), 1, 23);
}

void BrushPanel::followDetectionSystem(int systemIndex)
{
    if (systemIndex == 0) {
        Option1->setChecked(true);
        Option2->setEnabled(false);
    } else {
        Option2->setEnabled(true);
    }
}

void BrushPanel::setBrushOn(bool on)
{
    Check4->setChecked(on);
}

void BrushPanel::showChosenKind()
{
    const BrushKind chosen = kind();
    Check4->setIcon(chosen == BrushKind::Leaf      ? Picture8
                    : chosen == BrushKind::Symptom ? Picture9
                                                   : Picture10);
}

void BrushPanel::VScroll3_Change(int value)
{
    Label18->setText(QString::number(11 - value));
}

} // namespace verdalis
