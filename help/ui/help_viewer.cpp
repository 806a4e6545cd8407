#include "help_viewer.h"

#include "dialogs.h"
#include "help_pages.h"
#include "help_viewer_layout.h"
#include "twips.h"

#include <QFileInfo>
#include <QResizeEvent>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

namespace verdalis {

namespace {

// Size the window first opens at, twips: room for a page of text.
const QSize StartSize(10500, 10500);

QToolButton *viewerButton(const QString &caption, const char *name, int left, int width,
                          QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setGeometry(pixelsFromTwips(left), pixelsFromTwips(HelpViewerLayout::ButtonTop),
                        pixelsFromTwips(width), pixelsFromTwips(HelpViewerLayout::ButtonHeight));
    return button;
}

QToolButton *pictureAndCaption(QToolButton *button, const QIcon &icon)
{
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

} // namespace

HelpViewer::HelpViewer(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window),
      backButton(pictureAndCaption(viewerButton(QStringLiteral("Back"), "backButton",
                                                HelpViewerLayout::BackLeft,
                                                HelpViewerLayout::BackWidth, this),
                                   style()->standardIcon(QStyle::SP_ArrowBack))),
      homeButton(pictureAndCaption(viewerButton(QStringLiteral("Home"), "homeButton",
                                                HelpViewerLayout::HomeLeft,
                                                HelpViewerLayout::HomeWidth, this),
                                   style()->standardIcon(QStyle::SP_DirHomeIcon))),
      aboutButton(viewerButton(QStringLiteral("About"), "aboutButton", HelpViewerLayout::AboutLeft,
                               HelpViewerLayout::AboutWidth, this)),
      browser(new QTextBrowser(this)), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("Help"));
    browser->setObjectName(QStringLiteral("helpBrowser"));
    // The pages are local; a link out of them opens in the user's own browser.
    browser->setOpenExternalLinks(true);
    connect(backButton, &QToolButton::clicked, this, &HelpViewer::back);
    connect(homeButton, &QToolButton::clicked, this, &HelpViewer::home);
    connect(aboutButton, &QToolButton::clicked, this, &HelpViewer::showAbout);
    resize(pixelsFromTwips(StartSize.width()), pixelsFromTwips(StartSize.height()));
}

bool HelpViewer::openStartPage(const QString &path)
{
    if (!showPage(path))
        return false;
    m_homePage = path;
    return true;
}

bool HelpViewer::showPage(const QString &path)
{
    const QFileInfo page(path);
    if (!page.isFile() || !page.isReadable()) {
        m_dialogs.message(helpLoadErrorText(), programTitle());
        return false;
    }
    browser->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
    return true;
}

void HelpViewer::back()
{
    browser->backward();
}

void HelpViewer::home()
{
    if (!m_homePage.isEmpty())
        showPage(m_homePage);
}

void HelpViewer::showAbout()
{
    m_dialogs.message(
        QStringLiteral("Verdalis, Leaf & Symptom Area. Copyright (C) the Verdalis developers."
                       "\n\nContact: the Verdalis developers, through the issue tracker of the "
                       "Verdalis source repository."),
        QStringLiteral("About"));
}

void HelpViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The rules take the outer size; the frame's share is what the window
    // system adds around the client area (nothing on an offscreen screen).
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize outer = event->size() + frame;
    const auto layout = HelpViewerLayout::compute(
        QSize(int(twipsFromPixels(outer.width())), int(twipsFromPixels(outer.height()))),
        windowState().testFlag(Qt::WindowMinimized));
    if (!layout)
        return;
    const QSize wanted(outer.width(), pixelsFromTwips(layout->window.height()));
    if (wanted != outer) {
        resize(wanted - frame);
        return;
    }
    const QRect &area = layout->browser;
    browser->setGeometry(pixelsFromTwips(area.left()), pixelsFromTwips(area.top()),
                         pixelsFromTwips(area.width()), pixelsFromTwips(area.height()));
}

} // namespace verdalis
