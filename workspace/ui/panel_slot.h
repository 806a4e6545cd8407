#pragma once

#include <QWidget>

namespace verdalis {

// A place of fixed size in the main window where a panel is put. While empty it
// shows its caption in a dashed outline, so the layout reads well before the
// panel is there.
class PanelSlot : public QWidget {
    Q_OBJECT
public:
    PanelSlot(const QString &caption, const QSize &sizePixels, QWidget *parent = nullptr);

    // The panel fills the slot; the slot owns it from now on.
    void setPanel(QWidget *panel);
    QWidget *panel() const { return m_panel; }
    QString caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QWidget *m_panel = nullptr;
};

} // namespace verdalis
