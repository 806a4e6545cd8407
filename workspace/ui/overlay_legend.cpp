#include "overlay_legend.h"

#include "overlay_painter.h"
#include "ui_controls.h"

#include <QColor>
#include <QHBoxLayout>
#include <QLabel>

namespace verdalis {

namespace {

QLabel *swatch(RgbColour colour, const char *name)
{
    auto *label = named(new QLabel, name);
    // A yellow square on a light window needs its outline to be seen. Painted
    // as a background, the colour stays while the window is disabled.
    label->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #606060;")
                             .arg(QColor(colour.red, colour.green, colour.blue).name()));
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
