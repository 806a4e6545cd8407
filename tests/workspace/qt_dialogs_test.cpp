// The real dialogs, as the program shows them: Qt's own file dialog (not the
// desktop's) and message boxes, driven offscreen through their controls. The
// other tests script the Dialogs interface and cannot see what the toolkit does
// with a filter text or which icon a message shows.
#include "calibration_rules.h"
#include "measurement_list.h"
#include "picture_canvas.h"
#include "picture_opener.h"
#include "picture_reader.h"
#include "qt_dialogs.h"
#include "test_pictures.h"
#include "workspace_state.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace verdalis;
using verdalis::test::TestPictures;

namespace {

// Runs handle on the next modal window of type Dialog once it shows; the
// handler must close it. False when no such window showed.
template <typename Dialog> class WhenShown {
public:
    explicit WhenShown(std::function<void(Dialog *)> handle)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, handle] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_timer.stop();
            m_shown = true;
            handle(dialog);
        });
        m_timer.start();
    }
    bool shown() const { return m_shown; }

private:
    QTimer m_timer;
    bool m_shown = false;
};

QComboBox *fileTypes(QFileDialog *dialog)
{
    return dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
}

QStringList entries(QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Goes to the file's folder, types its name and presses Open or Save once the
// dialog has read the folder and allows it.
void chooseFile(QFileDialog *dialog, const QString &path)
{
    const QFileInfo file(path);
    dialog->setDirectory(file.absolutePath());
    auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    nameBox->clear();
    QTest::keyClicks(nameBox, file.fileName());
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *accept =
        buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
    // Not allowed in time: the dialog ends as cancelled and the test fails on that.
    if (!QTest::qWaitFor([accept] { return accept->isEnabled(); }, 5000)) {
        dialog->reject();
        return;
    }
    accept->click();
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void openRemembersTheChosenFileType();
    void savedNameGetsTheChosenTypesExtension();
    void messageShowsTheIconOfItsMeaning_data();
    void messageShowsTheIconOfItsMeaning();
};

// The picture filter carries two blanks ("bmp  Files"), which the dialog shows
// and gives back with one: the file type chosen must still be remembered.
void QtDialogsTest::openRemembersTheChosenFileType()
{
    TestPictures files;
    const QString jpeg = files.writeGradient(QStringLiteral("leaf.jpg"), 40, 30);
    QtDialogs dialogs;
    PictureCanvas canvas;
    PictureOpener opener(canvas, dialogs);

    QStringList shownTypes;
    int preselected = -1;
    WhenShown<QFileDialog> first([&](QFileDialog *dialog) {
        shownTypes = entries(fileTypes(dialog));
        preselected = fileTypes(dialog)->currentIndex();
        // The user picks the JPEG entry from the list, then the file.
        QTest::keyClick(fileTypes(dialog), Qt::Key_Down);
        chooseFile(dialog, jpeg);
    });
    const std::optional<QString> chosen = opener.chooseFile();
    QVERIFY(first.shown());
    QCOMPARE(chosen, std::optional<QString>(jpeg));
    QString error;
    QCOMPARE(opener.takeRead(jpeg, readPicture(jpeg, &error), error),
             PictureOpener::Outcome::Loaded);
    QCOMPARE(shownTypes, (QStringList{"bmp Files (*.bmp)", "jpg Files (*.jpg)"}));
    QCOMPARE(preselected, 0);
    QCOMPARE(opener.filterIndex(), 2);
    QCOMPARE(opener.openedPath(), jpeg);

    // The next dialog opens on the JPEG entry.
    QString title;
    WhenShown<QFileDialog> second([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        preselected = fileTypes(dialog)->currentIndex();
        dialog->reject();
    });
    QCOMPARE(opener.chooseFile(), std::nullopt);
    QVERIFY(second.shown());
    QCOMPARE(title, QStringLiteral("Open picture file"));
    QCOMPARE(preselected, 1);
    QCOMPARE(opener.filterIndex(), 2);
}

// A calibration saved under a name typed without ".clb" gets it, and the
// dialog asks before that replaces a file of the full name.
void QtDialogsTest::savedNameGetsTheChosenTypesExtension()
{
    QTemporaryDir folder;
    QtDialogs dialogs;
    WorkspaceState state;
    state.setSizeRatio(0.254);
    state.setUnitName(QStringLiteral("mm"));
    MeasurementList list;
    CalibrationRules rules(state, list, dialogs);

    QStringList shownTypes;
    WhenShown<QFileDialog> first([&](QFileDialog *dialog) {
        shownTypes = entries(fileTypes(dialog));
        chooseFile(dialog, folder.filePath(QStringLiteral("scanner")));
    });
    rules.saveCalibrationFile();
    QVERIFY(first.shown());
    QCOMPARE(shownTypes, QStringList{"Calibration files (*.clb)"});
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"scanner.clb"});

    state.setSizeRatio(0.5);
    QString question;
    WhenShown<QFileDialog> second([&](QFileDialog *dialog) {
        WhenShown<QMessageBox> replace([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::No)->click();
        });
        chooseFile(dialog, folder.filePath(QStringLiteral("scanner")));
        if (dialog->isVisible())
            dialog->reject();
    });
    rules.saveCalibrationFile();
    QVERIFY(second.shown());
    QVERIFY2(question.contains(QStringLiteral("scanner.clb")), qPrintable(question));
    QFile file(folder.filePath(QStringLiteral("scanner.clb")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("\"0.254\"\r\n"));
}

void QtDialogsTest::messageShowsTheIconOfItsMeaning_data()
{
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("error") << MessageKind::Error << MessageButtons::Ok << QMessageBox::Critical
                           << MessageAnswer::Ok;
    QTest::newRow("warning") << MessageKind::Warning << MessageButtons::Ok << QMessageBox::Warning
                             << MessageAnswer::Ok;
    QTest::newRow("information") << MessageKind::Information << MessageButtons::Ok
                                 << QMessageBox::Information << MessageAnswer::Ok;
    QTest::newRow("question") << MessageKind::Question << MessageButtons::YesNo
                              << QMessageBox::Question << MessageAnswer::No;
    QTest::newRow("ok or cancel") << MessageKind::Warning << MessageButtons::OkCancel
                                  << QMessageBox::Warning << MessageAnswer::Cancel;
}

void QtDialogsTest::messageShowsTheIconOfItsMeaning()
{
    QFETCH(MessageKind, kind);
    QFETCH(MessageButtons, buttons);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(MessageAnswer, answer);
    QtDialogs dialogs;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QString text;
    QString title;
    WhenShown<QMessageBox> box([&](QMessageBox *shown) {
        shownIcon = shown->icon();
        text = shown->text();
        title = shown->windowTitle();
        const QMessageBox::StandardButton press = answer == MessageAnswer::No ? QMessageBox::No
                                                  : answer == MessageAnswer::Cancel
                                                      ? QMessageBox::Cancel
                                                      : QMessageBox::Ok;
        shown->button(press)->click();
    });
    QCOMPARE(dialogs.message(QStringLiteral("Something happened."), QStringLiteral("Verdalis"),
                             buttons, kind),
             answer);
    QVERIFY(box.shown());
    QCOMPARE(shownIcon, icon);
    QCOMPARE(text, QStringLiteral("Something happened."));
    QCOMPARE(title, QStringLiteral("Verdalis"));
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
