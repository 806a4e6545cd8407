// The picture-set window on its own, driven offscreen over a temporary folder
// of pictures: browsing, the line names, adding, renaming, removing, the
// enable rules and the ways it closes. Path labels, line names, filters and
// the set's limit are the rules' (tst_batch_rules); here, their wiring.
#include "picture_folder_browser.h"
#include "picture_set_rules.h"
#include "picture_set_window.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace verdalis;

namespace {
const QStringList Bitmaps{"a-leaf.bmp", "b-leaf.bmp", "e-leaf.bmp", "f-leaf.bmp"};
const QStringList Jpegs{"c-leaf.jpg", "D-LEAF.JPG"};

QStringList sorted(QStringList names)
{
    names.sort(Qt::CaseInsensitive);
    return names;
}
} // namespace

class PictureSetWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensOnTheCurrentFolder();
    void addingToTheEmptySetFillsItsRow();
    void appendingAndAddingTheSameFileAgain();
    void lineNameIsRequired();
    void addAllInListOrder_data();
    void addAllInListOrder();
    void rename();
    void removeSelected();
    void removeAllAsksFirst();
    void fullSetRefusesMore();
    void unreadableFolderKeepsTheLists();
    void closesTheSameWayEverywhere_data();
    void closesTheSameWayEverywhere();

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    void chooseFile(const QString &name);
    QStringList setLineNames() const;
    void addFile(const QString &name);

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<PictureSetWindow> m_window;
};

void PictureSetWindowTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (const QString &name : Bitmaps + Jpegs)
        QVERIFY(picture.save(path(name), name.endsWith(QStringLiteral(".bmp")) ? "BMP" : "JPG"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(picture.save(path(QStringLiteral("sub/inside.bmp")), "BMP"));
    // A file that no filter lists.
    QFile notes(path(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
}

void PictureSetWindowTest::init()
{
    // The window starts in the process's current folder.
    QDir::setCurrent(m_dir.path());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<PictureSetWindow>(*m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Loaded, and in the order the list keeps.
    QTRY_COMPARE(m_window->browser->listedFiles(), Bitmaps);
}

void PictureSetWindowTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
}

void PictureSetWindowTest::chooseFile(const QString &name)
{
    QListView *list = m_window->browser->fileList;
    const int row = m_window->browser->listedFiles().indexOf(name);
    QVERIFY2(row >= 0, qPrintable(name));
    const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void PictureSetWindowTest::addFile(const QString &name)
{
    chooseFile(name);
    m_window->addSelectedButton->click();
}

QStringList PictureSetWindowTest::setLineNames() const
{
    QStringList names;
    for (const SetPicture &picture : m_window->pictureSet().pictures())
        names << picture.lineName;
    return names;
}

void PictureSetWindowTest::opensOnTheCurrentFolder()
{
    PictureSetWindow &w = *m_window;
    QCOMPARE(w.browser->pathLabel->text(), QDir::toNativeSeparators(m_dir.path() + "/"));
    // Bitmaps only: not the pictures of other types, not the other files.
    QCOMPARE(w.browser->listedFiles(), Bitmaps);
    // The folder list shows the open folder, the folders above it unfolded.
    QTreeView *folders = w.browser->folderList;
    auto *model = qobject_cast<QFileSystemModel *>(folders->model());
    QTRY_COMPARE(folders->currentIndex(), model->index(m_dir.path()));
    QTRY_VERIFY(folders->isExpanded(model->index(QFileInfo(m_dir.path()).absolutePath())));
    QVERIFY(folders->visualRect(folders->currentIndex()).intersects(folders->viewport()->rect()));
    // Nothing to add, rename, remove or analyse yet.
    QVERIFY(!w.addSelectedButton->isEnabled());
    for (QPushButton *button :
         {w.renameButton, w.removeSelectedButton, w.removeAllButton, w.analyzeButton})
        QVERIFY(!button->isEnabled());
}

void PictureSetWindowTest::addingToTheEmptySetFillsItsRow()
{
    PictureSetWindow &w = *m_window;
    chooseFile(QStringLiteral("b-leaf.bmp"));
    QCOMPARE(w.browser->pathLabel->text(), QDir::toNativeSeparators(path("b-leaf.bmp")));
    QCOMPARE(w.lineNameBox->text(), QStringLiteral("b-leaf"));

    // The offered name can be changed before adding.
    w.lineNameBox->setText(QStringLiteral("Plot 4, rep 2"));
    w.addSelectedButton->click();
    QCOMPARE(w.setTable->model()->rowCount(), 1);
    QCOMPARE(
        w.pictureSet().pictures(),
        (QVector<SetPicture>{{"Plot 4, rep 2", QDir::toNativeSeparators(path("b-leaf.bmp"))}}));

    // The file list lets go of the file; the buttons of a set come on.
    QVERIFY(!w.addSelectedButton->isEnabled());
    QCOMPARE(w.lineNameBox->text(), QString());
    for (QPushButton *button :
         {w.renameButton, w.removeSelectedButton, w.removeAllButton, w.analyzeButton})
        QVERIFY(button->isEnabled());
}

void PictureSetWindowTest::appendingAndAddingTheSameFileAgain()
{
    addFile(QStringLiteral("a-leaf.bmp"));
    addFile(QStringLiteral("e-leaf.bmp"));
    addFile(QStringLiteral("a-leaf.bmp"));
    QCOMPARE(setLineNames(), (QStringList{"a-leaf", "e-leaf", "a-leaf"}));
    QCOMPARE(m_window->currentRow(), 2);
    // A double click adds as well.
    QListView *list = m_window->browser->fileList;
    const QModelIndex b = list->model()->index(1, 0, list->rootIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(b).center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(b).center());
    QCOMPARE(setLineNames(), (QStringList{"a-leaf", "e-leaf", "a-leaf", "b-leaf"}));
}

void PictureSetWindowTest::lineNameIsRequired()
{
    PictureSetWindow &w = *m_window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    chooseFile(QStringLiteral("a-leaf.bmp"));
    w.lineNameBox->clear();
    w.addAllButton->setFocus();
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.addSelectedButton->click();
    QCOMPARE(m_dialogs->lastCall().text, QStringLiteral("please set the line name"));
    QVERIFY(w.pictureSet().isEmpty());
    QVERIFY(w.lineNameBox->hasFocus());
}

void PictureSetWindowTest::addAllInListOrder_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("jpg files") << 1 << Jpegs;
    QTest::newRow("bmp & jpg files") << 2 << Bitmaps + Jpegs;
}

void PictureSetWindowTest::addAllInListOrder()
{
    QFETCH(int, filter);
    QFETCH(QStringList, files);
    PictureSetWindow &w = *m_window;
    addFile(QStringLiteral("f-leaf.bmp"));
    w.browser->typeFilter->setCurrentIndex(filter);
    emit w.browser->typeFilter->activated(filter);
    QTRY_COMPARE(sorted(w.browser->listedFiles()), sorted(files));
    const QStringList listed = w.browser->listedFiles();

    w.addAllButton->click();
    QCOMPARE(w.pictureSet().count(), listed.size() + 1);
    for (int i = 0; i < listed.size(); ++i) {
        const SetPicture &added = w.pictureSet().pictures().at(i + 1);
        QCOMPARE(added.lineName, PictureSetRules::offeredLineName(listed[i]));
        QCOMPARE(added.path, QDir::toNativeSeparators(path(listed[i])));
        QCOMPARE(w.setTable->model()->index(i + 1, 0).data().toString(), QString::number(i + 2));
    }
    QCOMPARE(w.currentRow(), listed.size());
    QVERIFY(!w.addSelectedButton->isEnabled());
}

void PictureSetWindowTest::rename()
{
    PictureSetWindow &w = *m_window;
    w.addAllButton->click();
    QTableView *table = w.setTable;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(1, 0)).center());
    m_dialogs->answerInput(QStringLiteral("Plot 7"));
    w.renameButton->click();
    QCOMPARE(m_dialogs->lastCall().defaultText, QStringLiteral("b-leaf"));
    QCOMPARE(setLineNames(), (QStringList{"a-leaf", "Plot 7", "e-leaf", "f-leaf"}));
    QCOMPARE(w.renameButton->toolTip(), QStringLiteral("Rename Plot 7"));

    // An empty answer, or Cancel, keeps the name.
    m_dialogs->answerInput(QString());
    w.renameButton->click();
    m_dialogs->cancelInput();
    w.renameButton->click();
    QCOMPARE(setLineNames(), (QStringList{"a-leaf", "Plot 7", "e-leaf", "f-leaf"}));
}

void PictureSetWindowTest::removeSelected()
{
    PictureSetWindow &w = *m_window;
    w.addAllButton->click();
    QTableView *table = w.setTable;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(1, 1)).center());
    w.removeSelectedButton->click();
    QCOMPARE(setLineNames(), (QStringList{"a-leaf", "e-leaf", "f-leaf"}));
    // The current row ends on the last row.
    QCOMPARE(w.currentRow(), 2);
    QCOMPARE(w.removeSelectedButton->toolTip(), QStringLiteral("Remove f-leaf"));

    for (int i = 0; i < 3; ++i)
        w.removeSelectedButton->click();
    QVERIFY(w.pictureSet().isEmpty());
    for (QPushButton *button :
         {w.renameButton, w.removeSelectedButton, w.removeAllButton, w.analyzeButton})
        QVERIFY(!button->isEnabled());
}

void PictureSetWindowTest::removeAllAsksFirst()
{
    PictureSetWindow &w = *m_window;
    w.addAllButton->click();
    m_dialogs->answerMessage(MessageAnswer::Cancel);
    w.removeAllButton->click();
    QCOMPARE(m_dialogs->lastCall().text,
             QStringLiteral("That will delete all Pictures in the table"));
    QCOMPARE(m_dialogs->lastCall().buttons, MessageButtons::OkCancel);
    QCOMPARE(w.pictureSet().count(), 4);
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.removeAllButton->click();
    QVERIFY(w.pictureSet().isEmpty());
    QVERIFY(!w.analyzeButton->isEnabled());
}

// The limit is the set's; here, that the window says so and adds nothing.
void PictureSetWindowTest::fullSetRefusesMore()
{
    PictureSetWindow &w = *m_window;
    QVERIFY(w.pictureSet().add(QVector<SetPicture>(PictureSet::MaxPictures - 3, {"p", "/p.bmp"})));
    // Four listed files do not fit in the three places left.
    m_dialogs->answerMessage(MessageAnswer::Ok);
    w.addAllButton->click();
    QCOMPARE(m_dialogs->lastCall().text, PictureSetRules::setFullText(32763, 4));
    QCOMPARE(w.pictureSet().count(), 32763);
}

void PictureSetWindowTest::unreadableFolderKeepsTheLists()
{
    PictureSetWindow &w = *m_window;
    PictureFolderBrowser &browser = *w.browser;
    const QString sub = path(QStringLiteral("sub"));
    auto *model = qobject_cast<QFileSystemModel *>(browser.folderList->model());
    QVERIFY(model);

    // A folder opened from the folder list.
    emit browser.folderList->activated(model->index(sub));
    QCOMPARE(browser.currentFolder(), sub);
    QTRY_COMPARE(browser.listedFiles(), QStringList{"inside.bmp"});
    QVERIFY(browser.openFolder(m_dir.path()));
    QTRY_COMPARE(browser.listedFiles(), Bitmaps);
    chooseFile(QStringLiteral("a-leaf.bmp"));

    // The same folder gone by the time it is opened.
    const QString gone = path(QStringLiteral("gone"));
    QVERIFY(QDir().mkdir(gone));
    const QModelIndex goneIndex = model->index(gone);
    QVERIFY(QDir().rmdir(gone));
    m_dialogs->answerMessage(MessageAnswer::Ok);
    emit browser.folderList->activated(goneIndex);
    QCOMPARE(m_dialogs->lastCall().text,
             PictureSetRules::unreadableFolderText(gone, QStringLiteral("It does not exist.")));
    QCOMPARE(browser.currentFolder(), m_dir.path());
    QCOMPARE(browser.listedFiles(), Bitmaps);
    QVERIFY(w.addSelectedButton->isEnabled());
}

void PictureSetWindowTest::closesTheSameWayEverywhere_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void PictureSetWindowTest::closesTheSameWayEverywhere()
{
    QFETCH(QString, how);
    QSignalSpy closed(m_window.get(), &PictureSetWindow::closed);
    m_window->addAllButton->click();
    if (how == QLatin1String("cancel"))
        m_window->cancelButton->click();
    else if (how == QLatin1String("escape"))
        QTest::keyClick(m_window->setTable, Qt::Key_Escape);
    else
        m_window->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(PictureSetWindowTest)
#include "tst_picture_set_window.moc"
