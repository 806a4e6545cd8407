#include "panel_slot.h"

#include <QVBoxLayout>

namespace verdalis {

PanelSlot::PanelSlot(const QSize &sizePixels, QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizePixels);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void PanelSlot::setPanel(QWidget *panel)
{
    if (m_panel) {
        layout()->removeWidget(m_panel);
        m_panel->deleteLater();
    }
    m_panel = panel;
    layout()->addWidget(panel);
    panel->show();
}

} // namespace verdalis
