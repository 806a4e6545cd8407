#include "picture_folder_browser.h"

#include "dialogs.h"
#include "picture_set_rules.h"
#include "twips.h"
#include "ui_controls.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

namespace verdalis {

namespace {
QString rootOf(const QString &folder)
{
    const QStorageInfo volume(folder);
    return volume.isValid() ? volume.rootPath() : QDir::rootPath();
}
} // namespace

// The file list's view of the file-system model: files only. The model keeps
// showing a folder among its parent's files once that folder was its root, so
// every folder is left out but the open one and those above it, through which
// the list reaches its root.
class PictureFolderBrowser::FilesOnly : public QSortFilterProxyModel {
public:
    explicit FilesOnly(QFileSystemModel *files, QObject *parent) : QSortFilterProxyModel(parent)
    {
        setSourceModel(files);
    }

    QFileSystemModel *files() const { return static_cast<QFileSystemModel *>(sourceModel()); }

    void setFolder(const QString &folder)
    {
        m_folder = folder;
        invalidateFilter();
    }

    QString fileName(const QModelIndex &index) const
    {
        return files()->fileName(mapToSource(index));
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QModelIndex index = files()->index(row, 0, parent);
        if (!files()->isDir(index))
            return true;
        const QString path = files()->filePath(index);
        const QString folder = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        return m_folder == path || m_folder.startsWith(folder);
    }

private:
    QString m_folder;
};

PictureFolderBrowser::PictureFolderBrowser(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), pathLabel(named(new QLabel(this), "pathLabel")),
      driveList(named(new QComboBox(this), "driveList")),
      folderList(named(new QTreeView(this), "folderList")),
      typeFilter(named(new QComboBox(this), "typeFilter")),
      fileList(named(new QListView(this), "fileList")), m_dialogs(dialogs),
      m_folders(new QFileSystemModel(this)),
      m_files(new FilesOnly(new QFileSystemModel(this), this))
{
    // Design places, twips, in the window's client area.
    pathLabel->setGeometry(pixelsFromTwips(QRect(75, 60, 7470, 300)));
    pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    driveList->setGeometry(pixelsFromTwips(QRect(75, 435, 3600, 330)));
    folderList->setGeometry(pixelsFromTwips(QRect(75, 840, 3600, 2280)));
    typeFilter->setGeometry(pixelsFromTwips(QRect(3870, 435, 3675, 330)));
    fileList->setGeometry(pixelsFromTwips(QRect(3870, 840, 3675, 2280)));

    driveList->addItems(driveRoots());

    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    m_folders->sort(0);
    folderList->setModel(m_folders);
    folderList->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        folderList->hideColumn(column);
    folderList->setEditTriggers(QAbstractItemView::NoEditTriggers);

    QFileSystemModel *files = m_files->files();
    files->setFilter(QDir::Files);
    files->setNameFilterDisables(false);
    files->setReadOnly(true);
    files->sort(0);
    fileList->setModel(m_files);
    fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);

    typeFilter->addItems(PictureSetRules::typeFilterEntries());
    typeFilterChosen(0);

    connect(driveList, &QComboBox::activated, this, &PictureFolderBrowser::driveChosen);
    connect(folderList, &QTreeView::activated, this, &PictureFolderBrowser::folderActivated);
    // A single click only highlights a folder; the label is composed again from
    // the folder still open.
    connect(folderList, &QTreeView::clicked, this, &PictureFolderBrowser::showPathLabel);
    connect(typeFilter, &QComboBox::activated, this, &PictureFolderBrowser::typeFilterChosen);
    connect(fileList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PictureFolderBrowser::fileSelectionChanged);
    connect(fileList, &QListView::doubleClicked, this, &PictureFolderBrowser::fileActivated);
    // The model lists and sorts folders on a thread of its own: the open folder
    // is brought into view again as the folders above it arrive, until the
    // user takes the folder list in hand.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this,
            &PictureFolderBrowser::keepOpenFolderInView);
    connect(m_folders, &QFileSystemModel::layoutChanged, this,
            &PictureFolderBrowser::keepOpenFolderInView);
    folderList->installEventFilter(this);
    folderList->viewport()->installEventFilter(this);
    connect(folderList->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_followingFolder = false; });

    // A current folder that cannot be read (deleted under the process) starts
    // the lists at its volume's root.
    const QString start = QDir::currentPath();
    if (!openFolder(start))
        openFolder(rootOf(start));
}

QStringList PictureFolderBrowser::driveRoots()
{
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    return roots;
}

QStringList PictureFolderBrowser::listedFiles() const
{
    QStringList names;
    const QModelIndex folder = fileList->rootIndex();
    for (int row = 0; row < m_files->rowCount(folder); ++row)
        names << m_files->fileName(m_files->index(row, 0, folder));
    return names;
}

bool PictureFolderBrowser::openFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (const auto problem = PictureSetRules::folderProblem(path)) {
        m_dialogs.message(PictureSetRules::unreadableFolderText(path, *problem), programTitle());
        return false;
    }
    m_folder = path;
    const QString root = rootOf(path);
    if (root != m_driveRoot) {
        m_driveRoot = root;
        m_folders->setRootPath(root);
        folderList->setRootIndex(m_folders->index(root));
        selectDriveOf(path);
    }
    m_followingFolder = true;
    showFolderInTree(path);
    fileList->clearSelection();
    m_files->setFolder(path);
    fileList->setRootIndex(m_files->mapFromSource(m_files->files()->setRootPath(path)));
    showPathLabel();
    return true;
}

void PictureFolderBrowser::clearFileChoice()
{
    fileList->clearSelection();
    fileList->setCurrentIndex(QModelIndex());
}

void PictureFolderBrowser::driveChosen(int index)
{
    // On a drive that cannot be read the lists stay where they were.
    if (!openFolder(driveList->itemText(index)))
        selectDriveOf(m_folder);
}

void PictureFolderBrowser::folderActivated(const QModelIndex &index)
{
    if (!openFolder(m_folders->filePath(index)))
        showFolderInTree(m_folder);
}

void PictureFolderBrowser::typeFilterChosen(int index)
{
    const auto patterns = PictureSetRules::typeFilterPatterns(index);
    if (!patterns)
        return;
    clearFileChoice();
    m_files->files()->setNameFilters(*patterns);
    showPathLabel();
}

void PictureFolderBrowser::fileSelectionChanged()
{
    const QString name = chosenFileName();
    if (name.isEmpty()) {
        emit fileChoiceCleared();
        return;
    }
    showPathLabel();
    emit fileChosen(name);
}

QString PictureFolderBrowser::chosenFileName() const
{
    const QModelIndexList chosen = fileList->selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? QString() : m_files->fileName(chosen.constFirst());
}

void PictureFolderBrowser::showPathLabel()
{
    const QString text = PictureSetRules::pathLabel(m_folder, chosenFileName());
    if (text == pathLabel->text())
        return;
    pathLabel->setText(text);
    emit pathLabelChanged(text);
}

void PictureFolderBrowser::selectDriveOf(const QString &folder)
{
    const QString root = rootOf(folder);
    // A volume the list left out (a memory file system, say) joins it once open.
    if (driveList->findText(root) < 0)
        driveList->addItem(root);
    driveList->setCurrentIndex(driveList->findText(root));
}

bool PictureFolderBrowser::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        m_followingFolder = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void PictureFolderBrowser::keepOpenFolderInView()
{
    // After the view has laid out what just arrived.
    QTimer::singleShot(0, this, [this] {
        if (m_followingFolder)
            showFolderInTree(m_folder);
    });
}

void PictureFolderBrowser::showFolderInTree(const QString &folder)
{
    const QModelIndex index = m_folders->index(folder);
    for (QModelIndex above = index.parent(); above.isValid() && above != folderList->rootIndex();
         above = above.parent())
        folderList->expand(above);
    folderList->setCurrentIndex(index);
    folderList->scrollTo(index);
}

} // namespace verdalis
