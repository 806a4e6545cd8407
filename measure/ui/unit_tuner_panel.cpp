#include "unit_tuner_panel.h"

#include "measure_controls.h"
#include "number_text.h"
#include "picture_canvas.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>

namespace verdalis {

namespace {
constexpr int kTenthsPlusValue = 11; // scroll value v gives k = 11 - v tenths
}

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

    auto *layout = new QGridLayout(this);
    layout->addWidget(VScroll1, 0, 0, 2, 1);
    layout->addWidget(Label8, 0, 1);
    layout->addWidget(Label19, 1, 1);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);

    connect(VScroll1, &QScrollBar::valueChanged, this, &UnitTunerPanel::ApplyUnitStep);
    // Whoever changes the coordinate system, the tuner shows it.
    connect(&canvas, &PictureCanvas::unitStepChanged, this, [this](int tenths) {
        VScroll1->setValue(kTenthsPlusValue - tenths);
        showUnitStep(tenths);
    });
}

void UnitTunerPanel::ApplyUnitStep(int value)
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
