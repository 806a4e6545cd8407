#include "locking_dialog.h"

namespace verdalis {

LockingDialog::LockingDialog(QWidget *mainWindow) : QDialog(nullptr), m_mainWindow(mainWindow)
{
    // An open dialog must not keep the program running once the main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(this, &QDialog::finished, this, &LockingDialog::unlock);
    if (mainWindow)
        connect(mainWindow, &QObject::destroyed, this, &QWidget::close);
}

LockingDialog::~LockingDialog()
{
    unlock();
}

void LockingDialog::showOverMainWindow()
{
    if (m_mainWindow) {
        m_mainWindow->setEnabled(false);
        m_locked = true;
        adjustSize();
        move(m_mainWindow->frameGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

void LockingDialog::unlock()
{
    if (m_locked && m_mainWindow)
        m_mainWindow->setEnabled(true);
    m_locked = false;
}

} // namespace verdalis
