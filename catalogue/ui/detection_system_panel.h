#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QSlider;
class QToolButton;

namespace verdalis {

class DetectionSelector;

// The "Detection system" frame (delete button, custom-colour sampling switch and
// the list of systems) with the tolerance slider and its label beside it. It
// shows the selector's state and forwards the user's actions to it.
class DetectionSystemPanel : public QWidget {
    Q_OBJECT
public:
    explicit DetectionSystemPanel(DetectionSelector &selector, QWidget *parent = nullptr);

    bool isSamplingChecked() const;

    QGroupBox *const Frame1;
    QToolButton *const Command17;
    QToolButton *const Check1;
    QComboBox *const Combo1;
    QSlider *const Slider1;
    QLabel *const Label2;

public slots:
    // Ticks or unticks the colour-sampling switch (the brush unticks it, and so
    // does saving a new system); samplingToggled follows when the state changes.
    void setSamplingChecked(bool checked);
    void Command17_Click();

signals:
    // The colour-sampling switch changed: the custom detection frame takes the
    // measurements frame's place while it is ticked.
    void samplingToggled(bool checked);

private slots:
    void Combo1_Click(int index);
    void Slider1_Change(int position);

private:
    void fillList();
    // The open list shows the longest name whole.
    void fitListWidth();
    void showSelection(int index);
    void showSlider();

    DetectionSelector &m_selector;
};

} // namespace verdalis
