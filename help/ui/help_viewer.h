#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace verdalis {

class Dialogs;

// The help window: Back, Home and About along the top and a browser of the help
// pages below. It stays open beside the main window (modeless) until closed;
// closing only hides it, so Home keeps the start page chosen last.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(Dialogs &dialogs, QWidget *parent = nullptr);

    // Shows the page at path and makes it the page Home returns to. When the page
    // cannot be read, says so and keeps what is shown; returns false.
    bool openStartPage(const QString &path);
    QString homePage() const { return m_homePage; }

    QToolButton *const backButton;
    QToolButton *const homeButton;
    QToolButton *const aboutButton;
    QTextBrowser *const browser;

public slots:
    // One page back; nothing when there is no earlier page.
    void back();
    void home();
    void showAbout();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool showPage(const QString &path);

    Dialogs &m_dialogs;
    QString m_homePage;
};

} // namespace verdalis
