#include "unit_tuner_panel.h"

#include "ui_controls.h"
#include "number_text.h"
#include "picture_canvas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>

namespace verdalis {

namespace {
constexpr int kTenthsPlusValue = 11; // scroll value v gives k = 11 - v tenths
constexpr int ScrollBarHeight = 24;  // pixels: two arrows, no room for more
} // namespace

UnitTunerPanel::UnitTunerPanel(PictureCanvas &canvas, QWidget *parent)
    : QGroupBox(QStringLiteral("Unit tuner"), parent), m_canvas(canvas)
{
    setObjectName(QStringLiteral("Frame2"));
    setToolTip(QStringLiteral("Measurement unit tuner"));

    VScroll1 = named(new QScrollBar(Qt::Vertical), "VScroll1");
    VScroll1->setRange(1, 10);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setValue(kTenthsPlusValue - canvas.unitStepTenths());
    Label19 = named(new QLabel(QStringLiteral("mm")), "Label19");
    Label8 = named(new QLabel, "Label8");
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    showUnitStep(canvas.unitStepTenths());

    // One row below the caption: the short scroll bar, then "1.0 mm".
    VScroll1->setFixedSize(VScroll1->sizeHint().width(), ScrollBarHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 1);
    layout->setSpacing(4);
    layout->addWidget(VScroll1);
    layout->addWidget(Label8);
    layout->addWidget(Label19);
    layout->addStretch();

    connect(VScroll1, &QScrollBar::valueChanged, this, &UnitTunerPanel::applyUnitStep);
    // Whoever changes the coordinate system, the tuner shows it.
    connect(&canvas, &PictureCanvas::unitStepChanged, this, [this](int tenths) {
        VScroll1->setValue(kTenthsPlusValue - tenths);
        showUnitStep(tenths);
    });
}

void UnitTunerPanel::applyUnitStep(int value)
{
    const int tenths = kTenthsPlusValue - value;
    showUnitStep(tenths);
    m_canvas.setUnitStepTenths(tenths);
}

void UnitTunerPanel::showUnitStep(int tenths)
{
    Label8->setText(fixedText(tenths / 10.0, 1));
}

} // namespace verdalis
