#pragma once

#include <QString>

namespace verdalis {

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

    // Asks for a file and loads it. Cancel is silent; the file type chosen is
    // remembered for the next dialog even when the file then fails to load.
    Outcome open();
    // Loads the file last opened through the dialog again. Nothing happens when
    // no file was opened through it yet.
    Outcome reload();
    // Loads a file named by a picture set.
    Outcome loadFile(const QString &path);

    // 1-based entry of the dialog's filter: 1 bitmap, 2 JPEG.
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    bool hasOpenedFile() const { return !m_openedPath.isEmpty(); }
    QString openedPath() const { return m_openedPath; }
    // The opened file's name without its folder.
    QString openedTitle() const;

private:
    bool load(const QString &path);

    PictureCanvas &m_canvas;
    Dialogs &m_dialogs;
    int m_filterIndex = 1;
    QString m_openedPath;
};

} // namespace verdalis
