#include "picture_set_window.h"

#include "batch_icons.h"
#include "dialogs.h"
#include "picture_folder_browser.h"
#include "picture_set_rules.h"
#include "twips.h"
#include "ui_controls.h"
#include "workspace_icons.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace verdalis {

namespace {
QPushButton *setButton(const QIcon &icon, const QString &toolTip, const char *name)
{
    QPushButton *button = pictureButton(icon, toolTip, name);
    // Enter in the line name box must not press a button of the window.
    button->setAutoDefault(false);
    return button;
}
} // namespace

PictureSetWindow::PictureSetWindow(Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), browser(new PictureFolderBrowser(dialogs, this)),
      lineNameCaption(named(new QLabel(QStringLiteral("Picture name"), this), "lineNameCaption")),
      lineNameBox(named(new QLineEdit(this), "lineNameBox")),
      addSelectedButton(setButton(BatchIcons::addSelectedFile(),
                                  QStringLiteral("Add selected file "), "addSelectedButton")),
      addAllButton(
          setButton(BatchIcons::addAllFiles(), QStringLiteral("Add all file "), "addAllButton")),
      renameButton(setButton(BatchIcons::rename(), QStringLiteral("Rename selected picture name"),
                             "renameButton")),
      removeSelectedButton(setButton(BatchIcons::removeSelected(),
                                     QStringLiteral("Remove selected picture"),
                                     "removeSelectedButton")),
      removeAllButton(setButton(BatchIcons::removeAll(), QStringLiteral("Remove all pictures"),
                                "removeAllButton")),
      listPanel(named(new QWidget(this), "listPanel")),
      setTable(named(new QTableView(listPanel), "setTable")),
      analyzeButton(named(new QPushButton(listPanel), "analyzeButton")),
      cancelButton(named(new QPushButton(QStringLiteral("Cancel"), listPanel), "cancelButton")),
      spotStatisticsBox(
          named(new QCheckBox(QStringLiteral("Spot statistics"), listPanel), "spotStatisticsBox")),
      saveOverlaysBox(named(new QCheckBox(QStringLiteral("Save overlay pictures"), listPanel),
                            "saveOverlaysBox")),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("pictureSetWindow"));
    setWindowTitle(QStringLiteral("Add files"));
    for (QPushButton *button :
         {addSelectedButton, addAllButton, renameButton, removeSelectedButton, removeAllButton})
        button->setParent(this);

    lineNameBox->setToolTip(QStringLiteral("Set the line name"));
    lineNameBox->installEventFilter(this);

    setTable->setModel(&m_set);
    setTable->verticalHeader()->hide();
    setTable->verticalHeader()->setDefaultSectionSize(pixelsFromTwips(PictureSet::RowHeightTwips));
    setTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < PictureSet::ColumnCount; ++column)
        setTable->setColumnWidth(column, pixelsFromTwips(PictureSet::columnWidthTwips(column)));
    setTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    setTable->setSelectionMode(QAbstractItemView::SingleSelection);
    setTable->setEditTriggers(QAbstractItemView::NoEditTriggers);

    const QPixmap analyzePicture = WorkspaceIcons::analyze();
    analyzeButton->setIcon(analyzePicture);
    analyzeButton->setIconSize(analyzePicture.size());
    analyzeButton->setToolTip(QStringLiteral("Analyze"));
    analyzeButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    spotStatisticsBox->setToolTip(
        QStringLiteral("Add the number of spots and the mean spot area to the results table"));
    saveOverlaysBox->setToolTip(QStringLiteral(
        "Write every picture with its detection overlay as PNG into a folder chosen at Analyze"));
    placeControls();

    addSelectedButton->setEnabled(false);
    enableSetButtons();
    makeRowCurrent(0);

    connect(browser, &PictureFolderBrowser::fileChosen, this, [this](const QString &fileName) {
        lineNameBox->setText(PictureSetRules::offeredLineName(fileName));
        addSelectedButton->setEnabled(true);
    });
    connect(browser, &PictureFolderBrowser::fileChoiceCleared, this,
            [this] { addSelectedButton->setEnabled(false); });
    connect(browser, &PictureFolderBrowser::pathLabelChanged, this, [this](const QString &text) {
        addSelectedButton->setEnabled(PictureSetRules::labelNamesFile(text));
    });
    connect(browser, &PictureFolderBrowser::fileActivated, this, &PictureSetWindow::addSelected);
    connect(addSelectedButton, &QPushButton::clicked, this, &PictureSetWindow::addSelected);
    connect(addAllButton, &QPushButton::clicked, this, &PictureSetWindow::addAll);
    connect(renameButton, &QPushButton::clicked, this, &PictureSetWindow::renameSelected);
    connect(removeSelectedButton, &QPushButton::clicked, this, &PictureSetWindow::removeSelected);
    connect(removeAllButton, &QPushButton::clicked, this, &PictureSetWindow::removeAll);
    connect(analyzeButton, &QPushButton::clicked, this, &PictureSetWindow::analyzeRequested);
    connect(cancelButton, &QPushButton::clicked, this, &PictureSetWindow::reject);
    connect(setTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PictureSetWindow::applyRowSelectionRule);
    // However the set changes, the buttons follow whether it holds pictures.
    connect(&m_set, &PictureSet::rowsInserted, this, &PictureSetWindow::enableSetButtons);
    connect(&m_set, &PictureSet::rowsRemoved, this, &PictureSetWindow::enableSetButtons);
    connect(&m_set, &PictureSet::modelReset, this, &PictureSetWindow::enableSetButtons);
    connect(&m_set, &PictureSet::dataChanged, this, &PictureSetWindow::enableSetButtons);
}

void PictureSetWindow::placeControls()
{
    using namespace PictureSetRules;
    setFixedSize(pixelsFromTwips(ClientTwips));
    browser->setGeometry(pixelsFromTwips(QRect(QPoint(0, 0), QSize(ClientTwips.width(), 3180))));
    lineNameCaption->setGeometry(pixelsFromTwips(QRect(75, 3300, 1380, 300)));
    lineNameBox->setGeometry(pixelsFromTwips(QRect(1500, 3270, 3900, 330)));
    addSelectedButton->move(pixelsFromTwips(QPoint(5550, 3210)));
    addAllButton->move(pixelsFromTwips(QPoint(6150, 3210)));
    listPanel->setGeometry(pixelsFromTwips(ListPanelTwips));
    setTable->setGeometry(pixelsFromTwips(QRect(0, 0, ListPanelTwips.width(), 2340)));
    analyzeButton->setGeometry(pixelsFromTwips(QRect(0, 2400, 1200, 540)));
    cancelButton->setGeometry(pixelsFromTwips(QRect(1320, 2400, 1200, 540)));
    spotStatisticsBox->setGeometry(pixelsFromTwips(QRect(2700, 2520, 1800, 300)));
    saveOverlaysBox->setGeometry(pixelsFromTwips(QRect(4560, 2520, 2280, 300)));
    // Stacked right of the list panel, top to bottom.
    const int right = ListPanelTwips.right() + 90;
    renameButton->move(pixelsFromTwips(QPoint(right, ListPanelTwips.top())));
    removeSelectedButton->move(pixelsFromTwips(QPoint(right, ListPanelTwips.top() + 600)));
    removeAllButton->move(pixelsFromTwips(QPoint(right, ListPanelTwips.top() + 1200)));
}

int PictureSetWindow::currentRow() const
{
    return setTable->currentIndex().row();
}

bool PictureSetWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The line name box selects its whole text when it receives the focus, by
    // mouse as by keys; after the click has placed the cursor.
    if (watched == lineNameBox && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, lineNameBox, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

bool PictureSetWindow::refuseWhenFull(int adding)
{
    if (adding <= m_set.room())
        return false;
    m_dialogs.message(PictureSetRules::setFullText(m_set.count(), adding), programTitle());
    return true;
}

void PictureSetWindow::addSelected()
{
    if (lineNameBox->text().isEmpty()) {
        m_dialogs.message(PictureSetRules::lineNameMissingText(), programTitle());
        lineNameBox->setFocus();
        return;
    }
    if (refuseWhenFull(1))
        return;
    m_set.add(SetPicture{lineNameBox->text(), browser->pathLabel->text()});
    afterAdding();
}

void PictureSetWindow::addAll()
{
    const QStringList files = browser->listedFiles();
    if (files.isEmpty() || refuseWhenFull(int(files.size())))
        return;
    QVector<SetPicture> pictures;
    pictures.reserve(files.size());
    for (const QString &name : files)
        pictures.append({PictureSetRules::offeredLineName(name),
                         PictureSetRules::pathLabel(browser->currentFolder(), name)});
    m_set.add(pictures);
    afterAdding();
}

void PictureSetWindow::afterAdding()
{
    browser->clearFileChoice();
    lineNameBox->clear();
    makeRowCurrent(m_set.count() - 1);
}

void PictureSetWindow::renameSelected()
{
    const int row = currentRow();
    if (row < 0 || row >= m_set.count())
        return;
    makeRowCurrent(row);
    const auto answer =
        m_dialogs.inputText(PictureSetRules::renamePrompt(), PictureSetRules::renameTitle(),
                            m_set.pictures().at(row).lineName);
    if (!answer || answer->isEmpty())
        return;
    m_set.rename(row, *answer);
    applyRowSelectionRule();
}

void PictureSetWindow::removeSelected()
{
    if (m_set.count() >= 2) {
        m_set.removeAt(qMax(0, currentRow()));
        makeRowCurrent(m_set.count() - 1);
        return;
    }
    m_set.clear();
    makeRowCurrent(0);
}

void PictureSetWindow::removeAll()
{
    if (m_dialogs.message(PictureSetRules::removeAllText(), programTitle(),
                          MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    m_set.clear();
    makeRowCurrent(0);
}

void PictureSetWindow::reject()
{
    QDialog::reject();
    emit closed();
}

void PictureSetWindow::enableSetButtons()
{
    const bool hasPictures = !m_set.isEmpty();
    renameButton->setEnabled(hasPictures);
    removeSelectedButton->setEnabled(hasPictures);
    removeAllButton->setEnabled(hasPictures);
    analyzeButton->setEnabled(hasPictures && !m_runLocked);
}

void PictureSetWindow::makeRowCurrent(int row)
{
    const QModelIndex index = m_set.index(qMax(0, row), PictureSet::LineNameColumn);
    setTable->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    // The row comes into view from its number on.
    setTable->scrollTo(m_set.index(index.row(), PictureSet::NumberColumn));
    applyRowSelectionRule();
}

void PictureSetWindow::applyRowSelectionRule()
{
    const int row = currentRow();
    const QString name =
        row >= 0 && row < m_set.count() ? m_set.pictures().at(row).lineName : QString();
    removeSelectedButton->setToolTip(PictureSetRules::removeToolTip(name));
    renameButton->setToolTip(PictureSetRules::renameToolTip(name));
}

void PictureSetWindow::enterCompactView(const QRect &mainWindowFrame)
{
    const QList<QWidget *> buildingControls{
        browser,      lineNameCaption, lineNameBox,          addSelectedButton,
        addAllButton, renameButton,    removeSelectedButton, removeAllButton};
    for (QWidget *control : buildingControls)
        control->hide();
    listPanel->move(0, 0);
    setFixedSize(listPanel->size());
    const auto twips = [](int pixels) { return int(twipsFromPixels(pixels)); };
    const QRect compact = PictureSetRules::compactWindowTwips(
        QRect(twips(mainWindowFrame.left()), twips(mainWindowFrame.top()),
              twips(mainWindowFrame.width()), twips(mainWindowFrame.height())));
    move(pixelsFromTwips(compact.topLeft()));
}

void PictureSetWindow::setRunLocked(bool locked)
{
    m_runLocked = locked;
    setTable->setEnabled(!locked);
    spotStatisticsBox->setEnabled(!locked);
    saveOverlaysBox->setEnabled(!locked);
    enableSetButtons();
}

void PictureSetWindow::showRunCursor(int index)
{
    makeRowCurrent(index);
}

} // namespace verdalis
