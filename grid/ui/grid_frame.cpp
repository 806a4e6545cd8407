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
    : QGroupBox(QStringLiteral("Grid"), parent)
{
    setObjectName(QStringLiteral("Frame6"));

    Check2 = named(new QCheckBox(QStringLiteral("Show")), "Check2");
    Check2->setEnabled(false);
    ComboLine = named(new QComboBox, "ComboLine");
    ComboLine->setEditable(true);
    ComboLine->addItems({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0.9", "0.8", "0.7",
                         "0.6", "0.5", "0.4", "0.3", "0.2", "0.1"});
    ComboLine->setCurrentIndex(-1);
    ComboLine->setEditText(QString());
    ComboLine->setEnabled(false);
    ComboLine->setMinimumContentsLength(4);
    Label22 = named(new QLabel(state.unitName()), "Label22");
    HScrollGrid = offsetBar(Qt::Horizontal, "HScrollGrid");
    VScrollGrid = offsetBar(Qt::Vertical, "VScrollGrid");
    Command18 = named(new QPushButton, "Command18");
    const int corner = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    Command18->setFixedSize(corner, corner);

    // The two offset bars meet at the centre button, as the bars of a scrolled
    // view meet at its corner.
    auto *layout = new QGridLayout(this);
    layout->addWidget(Check2, 0, 0);
    layout->addWidget(ComboLine, 0, 1);
    layout->addWidget(Label22, 0, 2);
    layout->addWidget(VScrollGrid, 0, 3);
    layout->addWidget(HScrollGrid, 1, 0, 1, 3);
    layout->addWidget(Command18, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(0);

    connect(&state, &WorkspaceState::unitNameChanged, Label22, &QLabel::setText);
}

void GridFrame::onPictureOpened()
{
    Check2->setChecked(false);
    ComboLine->setEnabled(true);
}

} // namespace verdalis
