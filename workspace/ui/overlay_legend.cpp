#include "overlay_legend.h"

#include "overlay_painter.h"
#include "ui_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace verdalis {

namespace {

QLabel *swatch(RgbColour colour, const char *name)
{
    QPixmap square(12, 12);
    square.fill(QColor(colour.red, colour.green, colour.blue));
    auto *label = named(new QLabel, name);
    label->setPixmap(square);
    // A yellow square on a light window needs its outline to be seen.
    label->setStyleSheet(QStringLiteral("border: 1px solid #606060;"));
    label->setFixedSize(14, 14);
    return label;
}

} // namespace

OverlayLegend::OverlayLegend(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("overlayLegend"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(new QLabel(QStringLiteral("Overlay:")));
    row->addWidget(swatch(SymptomDotColour, "symptomSwatch"));
    row->addWidget(new QLabel(QStringLiteral("symptom")));
    row->addSpacing(8);
    row->addWidget(swatch(LeafEdgeDotColour, "leafEdgeSwatch"));
    row->addWidget(new QLabel(QStringLiteral("leaf edge")));
    row->addStretch(1);
}

} // namespace verdalis
