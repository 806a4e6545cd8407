#include "grid_frame.h"

#include "grid_geometry.h"
#include "grid_overlay.h"
#include "ui_controls.h"
#include "workspace_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

namespace verdalis {

namespace {
const char *const SpacingToolTip = "Grid spacing in the calibrated unit";

QScrollBar *offsetBar(Qt::Orientation orientation, const char *name)
{
    auto *bar = named(new QScrollBar(orientation), name);
    bar->setRange(-GridOffsetLimit, GridOffsetLimit);
    bar->setValue(0);
    bar->setEnabled(false);
    return bar;
}
} // namespace

GridFrame::GridFrame(const WorkspaceState &state, PictureCanvas &canvas, QWidget *parent)
    : QGroupBox(QStringLiteral("Grid"), parent), m_overlay(new GridOverlay(canvas, state, this)),
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
    // A spacing typed and confirmed with Enter draws the grid; it is not added to the list.
    m_spacingBox->setInsertPolicy(QComboBox::NoInsert);
    // No completion from the list: typing "1" must not become "10", nor "0" "0.9".
    m_spacingBox->setCompleter(nullptr);
    m_spacingBox->setToolTip(QLatin1String(SpacingToolTip));
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

    // Choosing an entry counts as a change even when the text stays the same.
    connect(m_spacingBox, &QComboBox::editTextChanged, m_overlay, &GridOverlay::setSpacingText);
    connect(m_spacingBox, &QComboBox::textActivated, m_overlay, &GridOverlay::setSpacingText);
    connect(m_spacingBox->lineEdit(), &QLineEdit::returnPressed, m_overlay,
            &GridOverlay::confirmSpacing);
    m_spacingBox->installEventFilter(this);
    connect(m_overlay, &GridOverlay::spacingTextRejected, m_spacingBox, &QComboBox::clearEditText);
    connect(m_showBox, &QCheckBox::toggled, m_overlay, &GridOverlay::setShown);
    connect(m_horizontalOffset, &QScrollBar::valueChanged, m_overlay,
            &GridOverlay::setHorizontalOffset);
    connect(m_verticalOffset, &QScrollBar::valueChanged, m_overlay,
            &GridOverlay::setVerticalOffset);
    connect(m_centreButton, &QPushButton::clicked, m_overlay, &GridOverlay::centre);
    connect(m_overlay, &GridOverlay::changed, this, &GridFrame::showState);
}

bool GridFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_spacingBox && event->type() == QEvent::FocusOut)
        m_overlay->leaveSpacing();
    return QGroupBox::eventFilter(watched, event);
}

void GridFrame::showState()
{
    // Each setter below is a no-op for the rules when the value is theirs already.
    m_showBox->setEnabled(m_overlay->canShow());
    m_showBox->setChecked(m_overlay->isShown());
    m_horizontalOffset->setValue(m_overlay->horizontalOffset());
    m_verticalOffset->setValue(m_overlay->verticalOffset());
    m_horizontalOffset->setEnabled(m_overlay->offsetsEnabled());
    m_verticalOffset->setEnabled(m_overlay->offsetsEnabled());

    const QString refusal = m_overlay->refusal();
    const QString tip = refusal.isEmpty() ? QLatin1String(SpacingToolTip) : refusal;
    if (tip == m_spacingBox->toolTip())
        return;
    m_spacingBox->setToolTip(tip);
    // A refusal is said at once, where the user is typing.
    if (!refusal.isEmpty() && m_spacingBox->isVisible())
        QToolTip::showText(m_spacingBox->mapToGlobal(QPoint(0, m_spacingBox->height())), refusal,
                           m_spacingBox);
}

void GridFrame::onPictureOpened()
{
    m_showBox->setChecked(false);
    m_spacingBox->setEnabled(true);
}

} // namespace verdalis
