#include "picture_opener.h"

#include "dialogs.h"
#include "picture_background.h"
#include "picture_canvas.h"
#include "picture_reader.h"

#include <QDir>
#include <QFileInfo>

namespace verdalis {

PictureOpener::PictureOpener(PictureCanvas &canvas, Dialogs &dialogs)
    : m_canvas(canvas), m_dialogs(dialogs)
{
}

QString PictureOpener::dialogTitle()
{
    return QStringLiteral("Open picture file");
}

QString PictureOpener::dialogFilter()
{
    return QStringLiteral("bmp  Files (*.bmp)|*.bmp;|jpg  Files (*.jpg)|*.jpg");
}

QString PictureOpener::cannotOpenText(const QString &path, const QString &reason)
{
    return QStringLiteral("This file can't be opened.") + QLatin1Char('\n') +
           QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

QString PictureOpener::pageCaption(const QString &title)
{
    return QStringLiteral("Photo ") + title;
}

QString PictureOpener::openedTitle() const
{
    return QFileInfo(m_openedPath).fileName();
}

void PictureOpener::show(QImage picture, const QImage &overlay)
{
    if (m_corrector)
        m_corrector->prepare(picture);
    m_canvas.setPicture(picture, overlay);
}

bool PictureOpener::read(const QString &path, QString *reason)
{
    const QImage picture = readPicture(path, reason);
    if (picture.isNull())
        return false;
    show(picture);
    return true;
}

std::optional<QString> PictureOpener::chooseFile()
{
    const auto choice = m_dialogs.openFile(dialogTitle(), dialogFilter(), m_filterIndex);
    if (!choice)
        return std::nullopt;
    m_filterIndex = choice->filterIndex;
    return choice->path;
}

PictureOpener::Outcome PictureOpener::takeRead(const QString &path, const QImage &picture,
                                               const QString &error, const QImage &overlay)
{
    if (picture.isNull()) {
        m_dialogs.message(cannotOpenText(path, error), programTitle(), MessageButtons::Ok,
                          MessageKind::Error);
        return Outcome::Failed;
    }
    show(picture, overlay);
    // Only a file that loaded becomes the one a reload reads again, so a reload
    // never swaps the picture shown for a file that could not be opened.
    m_openedPath = path;
    return Outcome::Loaded;
}

PictureOpener::Outcome PictureOpener::loadFile(const QString &path, QString *reason)
{
    if (const auto readAhead = m_prefetch.take(path, reason)) {
        if (readAhead->isNull())
            return Outcome::Failed;
        show(*readAhead);
        return Outcome::Loaded;
    }
    return read(path, reason) ? Outcome::Loaded : Outcome::Failed;
}

} // namespace verdalis
