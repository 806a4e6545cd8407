#pragma once

#include <QObject>

#include <memory>

class QAbstractButton;

namespace verdalis {

class Dialogs;
class HelpViewer;
class WorkspaceState;

// The help button: opens the help window on the general page, or on the page
// about custom detection systems while colour sampling is switched on, and
// brings a window already open to the front.
class HelpCommand : public QObject {
    Q_OBJECT
public:
    // samplingSwitch: the colour sampling switch of the detection-system frame.
    HelpCommand(const WorkspaceState &state, Dialogs &dialogs,
                const QAbstractButton *samplingSwitch, QObject *parent = nullptr);
    ~HelpCommand() override;

    // Null until the help is first opened.
    HelpViewer *viewer() const { return m_viewer.get(); }

public slots:
    void openHelp();

private:
    const WorkspaceState &m_state;
    Dialogs &m_dialogs;
    const QAbstractButton *const m_samplingSwitch;
    // A window of its own, not the main window's child: it stays usable while
    // an analysis disables the main window, and can go behind it.
    std::unique_ptr<HelpViewer> m_viewer;
};

} // namespace verdalis
