#pragma once

#include "picture_prefetch.h"

#include <QImage>
#include <QString>

#include <optional>

namespace verdalis {

class BackgroundCorrector;
class Dialogs;
class PictureCanvas;

// Opening, reloading and set-loading of the workspace picture: the open dialog
// with its remembered file type, the file last opened through it, and the message
// for a file that cannot be read. A failed load always keeps the picture shown.
class PictureOpener {
public:
    enum class Outcome { Cancelled, Failed, Loaded };

    PictureOpener(PictureCanvas &canvas, Dialogs &dialogs);

    static QString dialogTitle();
    static QString dialogFilter();
    // The message for a file that cannot be read: names the file and the reason.
    static QString cannotOpenText(const QString &path, const QString &reason);
    // Caption of the photo page for a picture called title.
    static QString pageCaption(const QString &title);

    // Asks for a file (the window reads it off its thread and hands it to
    // takeRead). Cancel gives nothing; the file type chosen is remembered for
    // the next dialog even when the file then fails to load.
    std::optional<QString> chooseFile();
    // The second half: the picture read from a file chosen (or, with
    // reloading, the file opened last) goes on the canvas and becomes the file
    // a reload reads; a file that could not be read gets the message and the
    // canvas keeps its picture.
    Outcome takeRead(const QString &path, const QImage &picture, const QString &error,
                     const QImage &overlay = QImage());
    // Loads a file named by a picture set. No message: a batch goes on past a
    // file it cannot read and names it at its end, so the reader's reason is
    // put in *reason instead.
    Outcome loadFile(const QString &path, QString *reason);
    // Starts reading the next file of a picture set ahead, which loadFile then
    // takes; drop lets go of what was read ahead.
    void prefetchFile(const QString &path) { m_prefetch.start(path); }
    void dropPrefetched() { m_prefetch.drop(); }
    // Every picture read passes through the corrector (may be null) before
    // the canvas gets it.
    void setBackgroundCorrector(BackgroundCorrector *corrector) { m_corrector = corrector; }

    // 1-based entry of the dialog's filter: 1 bitmap, 2 JPEG.
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    bool hasOpenedFile() const { return !m_openedPath.isEmpty(); }
    QString openedPath() const { return m_openedPath; }
    // The opened file's name without its folder.
    QString openedTitle() const;

private:
    bool read(const QString &path, QString *reason);
    // The one way into the canvas for a picture just read.
    void show(QImage picture, const QImage &overlay = QImage());

    PictureCanvas &m_canvas;
    Dialogs &m_dialogs;
    int m_filterIndex = 1;
    QString m_openedPath;
    PicturePrefetch m_prefetch;
    BackgroundCorrector *m_corrector = nullptr;
};

} // namespace verdalis
