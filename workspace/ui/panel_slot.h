#pragma once

#include <QWidget>

namespace verdalis {

// A place of fixed size in the main window, sized by the window's layout rules,
// that holds one panel. Hiding the place hides its panel (the measurements and
// custom detection frames take turns this way).
class PanelSlot : public QWidget {
    Q_OBJECT
public:
    explicit PanelSlot(const QSize &sizePixels, QWidget *parent = nullptr);

    // The panel fills the slot; the slot owns it from now on.
    void setPanel(QWidget *panel);
    QWidget *panel() const { return m_panel; }

private:
    QWidget *m_panel = nullptr;
};

} // namespace verdalis
