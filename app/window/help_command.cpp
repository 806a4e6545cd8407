#include "help_command.h"

#include "help_pages.h"
#include "help_viewer.h"
#include "workspace_state.h"

#include <QAbstractButton>

namespace verdalis {

HelpCommand::HelpCommand(const WorkspaceState &state, Dialogs &dialogs,
                         const QAbstractButton *samplingSwitch, QObject *parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_samplingSwitch(samplingSwitch)
{
}

HelpCommand::~HelpCommand() = default;

void HelpCommand::openHelp()
{
    const QString page = helpStartPage(m_state.programFolder(), m_samplingSwitch->isChecked());
    if (!m_viewer)
        m_viewer = std::make_unique<HelpViewer>(m_dialogs);
    if (!m_viewer->openStartPage(page))
        return;
    if (m_viewer->isMinimized())
        m_viewer->showNormal();
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

} // namespace verdalis
