#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QItemSelection;
class QLabel;
class QListView;
class QModelIndex;
class QTreeView;

namespace verdalis {

class Dialogs;

// The browsing part of the picture-set window: the path label across the top,
// the drive list (the mounted volumes and the root) above the folder list, the
// type filter above the file list. It keeps the folder open now and the file
// chosen in it, and says so in the path label. A folder that cannot be read is
// named in a message and the lists stay on the last folder that could.
class PictureFolderBrowser : public QWidget {
    Q_OBJECT
public:
    // Starts in the process's current folder, listing bitmaps.
    explicit PictureFolderBrowser(Dialogs &dialogs, QWidget *parent = nullptr);

    QString currentFolder() const { return m_folder; }
    // The file names of the file list, in list order.
    QStringList listedFiles() const;
    // Opens the folder: the file list moves there and has no file chosen. False,
    // after the message, when the folder cannot be read.
    bool openFolder(const QString &folder);
    // The file list loses its choice.
    void clearFileChoice();
    // The mounted volumes offered, the root first.
    static QStringList driveRoots();

    QLabel *const pathLabel;
    QComboBox *const driveList;
    QTreeView *const folderList;
    QComboBox *const typeFilter;
    QListView *const fileList;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // A file of the list was chosen (click or keys): the path label names it.
    void fileChosen(const QString &fileName);
    // The file list has no file chosen.
    void fileChoiceCleared();
    // A file was double-clicked.
    void fileActivated();
    void pathLabelChanged(const QString &text);

private:
    class FilesOnly;

    void driveChosen(int index);
    void folderActivated(const QModelIndex &index);
    void typeFilterChosen(int index);
    void fileSelectionChanged();
    QString chosenFileName() const;
    void showPathLabel();
    void selectDriveOf(const QString &folder);
    void showFolderInTree(const QString &folder);
    void keepOpenFolderInView();

    Dialogs &m_dialogs;
    QFileSystemModel *m_folders;
    FilesOnly *m_files;
    QString m_folder;
    QString m_driveRoot;
    bool m_followingFolder = false;
};

} // namespace verdalis
