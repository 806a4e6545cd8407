#include "unit_tuner_panel.h"

#include "number_text.h"
#include "picture_canvas.h"
#include "ui_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>

namespace verdalis {

namespace {
constexpr int kTenthsPlusValue = 11; // scroll value v gives k = 11 - v tenths
constexpr int ScrollBarHeight = 24;  // pixels: two arrows, no room for more
} // namespace

UnitTunerPanel::UnitTunerPanel(PictureCanvas &canvas, QWidget *parent)
    : QGroupBox(QStringLiteral("Unit tuner"), parent), m_canvas(canvas),
      m_unitStepBar(named(new QScrollBar(Qt::Vertical), "unitStepBar")),
      m_unitStepLabel(named(new QLabel, "unitStepLabel"))
{
    setObjectName(QStringLiteral("unitTunerPanel"));
    setToolTip(QStringLiteral("Measurement unit tuner"));

    m_unitStepBar->setRange(1, 10);
    m_unitStepBar->setSingleStep(1);
    m_unitStepBar->setPageStep(1);
    m_unitStepBar->setValue(kTenthsPlusValue - canvas.unitStepTenths());
    m_unitStepLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    showUnitStep(canvas.unitStepTenths());

    // One row below the caption: the short scroll bar, then "1.0 mm".
    m_unitStepBar->setFixedSize(m_unitStepBar->sizeHint().width(), ScrollBarHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 1);
    layout->setSpacing(4);
    layout->addWidget(m_unitStepBar);
    layout->addWidget(m_unitStepLabel);
    layout->addWidget(new QLabel(QStringLiteral("mm")));
    layout->addStretch();

    connect(m_unitStepBar, &QScrollBar::valueChanged, this, &UnitTunerPanel::applyUnitStep);
    // Whoever changes the coordinate system, the tuner shows it.
    connect(&canvas, &PictureCanvas::unitStepChanged, this, [this](int tenths) {
        m_unitStepBar->setValue(kTenthsPlusValue - tenths);
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
    m_unitStepLabel->setText(fixedText(tenths / 10.0, 1));
}

} // namespace verdalis
