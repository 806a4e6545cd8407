#pragma once

#include "detection_colour_samples.h"

#include <QGroupBox>

class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace verdalis {

class DetectionSelector;
class WorkspaceState;

// The "Custom detection system" frame: the colours sampled from the picture and
// their average, the button that saves the average as a new detection system,
// and the table of saved custom systems (name, red, green, blue), whose row i
// is entry 5 + i of the detection-system list. Hidden until sampling is switched
// on; it then takes the measurements frame's place.
class CustomDetectionPanel : public QGroupBox {
    Q_OBJECT
public:
    CustomDetectionPanel(DetectionSelector &selector, WorkspaceState &state,
                         QWidget *parent = nullptr);

    const DetectionColourSamples &samples() const { return m_samples; }

    QTableWidget *const sampledColourTable;
    QLabel *const averageColourSwatch;
    QLabel *const colourUnderMouseSwatch;
    QPushButton *const deleteColourButton;
    QPushButton *const resetColoursButton;
    QToolButton *const saveSystemButton;
    QTableWidget *const customSystemTable;

public slots:
    // A colour picked from the picture: listed, averaged into the custom colour.
    void addSampledColour(const verdalis::Rgb &colour);
    // The colour under the mouse while sampling, shown in the preview swatch.
    void showColourUnderMouse(const verdalis::Rgb &colour);
    // Removes the table's current colour from the list and the average; the last
    // colour goes as with a reset.
    void deleteCurrentColour();
    // Empties the sampled colours; the custom colour becomes black.
    void resetSampledColours();
    // Saves the custom colour as a new detection system.
    void saveNewSystem();

private:
    void showAverage();
    void fillCustomTable();
    void insertCustomRow(int row);
    void showSelectedRow(int index);

    DetectionSelector &m_selector;
    WorkspaceState &m_state;
    DetectionColourSamples m_samples;
};

} // namespace verdalis
