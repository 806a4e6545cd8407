#pragma once

#include "detection_catalogue.h"
#include "detection_selection.h"

#include <QObject>

namespace verdalis {

class Dialogs;
class WorkspaceState;

// The detection-system list as the main window uses it: which entry is selected,
// what selecting it changes (thresholds, custom colour, slider, delete button),
// and saving, deleting and loading custom systems with the custom detection file
// in the program folder. The panels show its state and forward clicks to it.
class DetectionSelector : public QObject {
    Q_OBJECT
public:
    // Selects "Leaf area only", as the window does first at start-up.
    DetectionSelector(WorkspaceState &state, Dialogs &dialogs, QObject *parent = nullptr);

    const DetectionCatalogue &catalogue() const { return m_catalogue; }
    int selectedIndex() const { return m_selected; }
    const SliderState &slider() const { return m_slider; }
    DeleteButtonState deleteButton() const;
    QString customFilePath() const;

    // While set, select() does nothing: the list is being edited and the
    // selection the list control reports in between means nothing.
    bool isSelectionSuppressed() const { return m_suppressed; }
    void setSelectionSuppressed(bool suppressed) { m_suppressed = suppressed; }

public slots:
    // The selection handling for entry `index` of the list.
    void select(int index);
    // The slider was moved; the position is clamped into its range.
    void setSliderPosition(int position);
    // Start-up: custom systems from the file; a missing file is an empty catalogue.
    void loadCustomSystems();
    // Asks for a name and saves the current custom colour under it. False when
    // the user cancelled.
    bool saveNewSystem();
    // Asks, then deletes the selected custom system. False when nothing changed.
    bool deleteSelectedSystem();

signals:
    // The custom systems were replaced as a whole (start-up load).
    void customSystemsReset();
    void customSystemAppended(int index);
    void customSystemRemoved(int index);
    // After every selection handling; also the time to refresh the slider display.
    void selectionChanged(int index);
    void sliderChanged();
    // A new system was saved from the sampled colours: colour sampling ends (its
    // box is unticked and its list reset) before the new system is selected again.
    void newSystemSaved();

private:
    void writeFile();

    WorkspaceState &m_state;
    Dialogs &m_dialogs;
    DetectionCatalogue m_catalogue;
    int m_selected = LeafAreaOnlySystem;
    SliderState m_slider;
    bool m_suppressed = false;
};

} // namespace verdalis
