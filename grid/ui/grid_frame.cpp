#include "grid_frame.h"

#include "ui_controls.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace verdalis {

namespace {
// Offsets in twentieths of a grid cell.
constexpr int kOffsetLimit = 19;

QScrollBar *offsetBar(Qt::Orientation orientation, const char *name)
{
    auto *bar = named(new QScrollBar(orientation), name);
    bar->setRange(-kOffsetLimit, kOffsetLimit);
    bar->setValue(0);
    bar->setEnabled(false);
    return bar;
}
} // namespace

GridFrame::GridFrame(const WorkspaceState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Grid"), parent),
      m_showBox(named(new QCheckBox(QStringLiteral("Show")), "gridShowBox")),
      m_spacingBox(named(new QComboBox, "gridSpacingBox")),
      m_unitLabel(named(new QLabel(state.unitName()), "gridUnitLabel")),
      m_horizontalOffset(offsetBar(Qt::Horizontal, "gridHorizontalOffset")),
      m_verticalOffset(offsetBar(Qt::Vertical, "gridVerticalOffset")),
      m_centreButton(named(new QPushButton, "gridCentreButton"))
{
    setObjectName(QStringLiteral("gridFrame"));

    m_showBox->setEnabled(false);
    m_spacingBox->setEditable(true);
    m_spacingBox->addItems({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0.9", "0.8", "0.7",
                            "0.6", "0.5", "0.4", "0.3", "0.2", "0.1"});
    m_spacingBox->setCurrentIndex(-1);
    m_spacingBox->setEditText(QString());
    m_spacingBox->setEnabled(false);
    m_spacingBox->setMinimumContentsLength(4);
    const int corner = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_centreButton->setFixedSize(corner, corner);

    // The two offset bars meet at the centre button, as the bars of a scrolled
    // view meet at its corner.
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_showBox, 0, 0);
    layout->addWidget(m_spacingBox, 0, 1);
    layout->addWidget(m_unitLabel, 0, 2);
    layout->addWidget(m_verticalOffset, 0, 3);
    layout->addWidget(m_horizontalOffset, 1, 0, 1, 3);
    layout->addWidget(m_centreButton, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(0);

    connect(&state, &WorkspaceState::unitNameChanged, m_unitLabel, &QLabel::setText);
}

void GridFrame::onPictureOpened()
{
    m_showBox->setChecked(false);
    m_spacingBox->setEnabled(true);
}

} // namespace verdalis
