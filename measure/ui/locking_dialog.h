#pragma once

#include <QDialog>
#include <QPointer>

namespace verdalis {

// A dialog that keeps the main window disabled while it is open, so the state it
// works on cannot change under it; the main window is enabled again however the
// dialog ends (OK, Cancel, the window's close box, or being destroyed).
//
// The dialog has no parent widget: a child window would be disabled together with
// the main window. It closes when the main window goes.
class LockingDialog : public QDialog {
    Q_OBJECT
public:
    explicit LockingDialog(QWidget *mainWindow);
    ~LockingDialog() override;

    // Disables the main window and shows the dialog centred over it, without
    // waiting for it to close.
    void showOverMainWindow();

private:
    void unlock();

    QPointer<QWidget> m_mainWindow;
    bool m_locked = false;
};

} // namespace verdalis
