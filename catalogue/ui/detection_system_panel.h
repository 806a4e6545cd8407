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
// the list of systems) with the tolerance slider beside it: its caption above,
// its position to its right. It
// shows the selector's state and forwards the user's actions to it.
class DetectionSystemPanel : public QWidget {
    Q_OBJECT
public:
    explicit DetectionSystemPanel(DetectionSelector &selector, QWidget *parent = nullptr);

    bool isSamplingChecked() const;

    QGroupBox *const detectionSystemFrame;
    QToolButton *const deleteSystemButton;
    QToolButton *const colourSamplingSwitch;
    QComboBox *const systemList;
    QLabel *const thresholdCaption;
    QSlider *const thresholdSlider;
    QLabel *const thresholdLabel;

public slots:
    // Ticks or unticks the colour-sampling switch (the brush unticks it, and so
    // does saving a new system); samplingToggled follows when the state changes.
    void setSamplingChecked(bool checked);
    void deleteSelectedSystem();

signals:
    // The colour-sampling switch changed: the custom detection frame takes the
    // measurements frame's place while it is ticked.
    void samplingToggled(bool checked);

private slots:
    void selectSystem(int index);
    void applyThresholdPosition(int position);

private:
    void fillList();
    // The open list shows the longest name whole.
    void fitListWidth();
    void showSelection(int index);
    void showSlider();

    DetectionSelector &m_selector;
};

} // namespace verdalis
