#include "panel_slot.h"

#include <QPainter>
#include <QVBoxLayout>

namespace verdalis {

PanelSlot::PanelSlot(const QString &caption, const QSize &sizePixels, QWidget *parent)
    : QWidget(parent), m_caption(caption)
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
    update();
}

void PanelSlot::paintEvent(QPaintEvent *)
{
    if (m_panel)
        return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Mid), 1.0, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_caption);
}

} // namespace verdalis
