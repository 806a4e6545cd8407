// The real dialogs, as the program shows them: Qt's own file dialog (not the
// desktop's) and message boxes, driven offscreen through their controls. The
// other tests script the Dialogs interface and cannot see what the toolkit does
// with a filter text or which icon a message shows.
#include "calibration_rules.h"
#include "measurement_list.h"
#include "picture_canvas.h"
#include "picture_opener.h"
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
    // Not allowed in time: the dialog ends as cancelled and the test fails on
    // that.
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

    int preselected = -1;
    WhenShown<QFileDialog> first([&](QFileDialog *dialog) {
        preselected = fileTypes(dialog)->currentIndex();
        // The user picks the JPEG entry from the list, then the file.
        QTest::keyClick(fileTypes(dialog), Qt::Key_Down);
        chooseFile(dialog, jpeg);
    });
    const std::optional<QString> chosen = opener.chooseFile();
    QVERIFY(first.shown());
    QCOMPARE(chosen, std::optional<QString>(jpeg));
    QCOMPARE(preselected, 0);

    // The next dialog opens on the JPEG entry.
    WhenShown<QFileDialog> second([&](QFileDialog *dialog) {
        preselected = fileTypes(dialog)->currentIndex();
        dialog->reject();
    });
    QCOMPARE(opener.chooseFile(), std::nullopt);
    QVERIFY(second.shown());
    QCOMPARE(preselected, 1);
    QCOMPARE(opener.filterIndex(), 2);
}

// A calibration saved under a name typed without ".clb" gets it, and the
// dialog asks before that replaces a file of the full name: answered No, the
// file stays as it was.
void QtDialogsTest::savedNameGetsTheChosenTypesExtension()
{
    QTemporaryDir folder;
    QFile earlier(folder.filePath(QStringLiteral("scanner.clb")));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("\"0.254\"\r\n\"mm\"\r\n");
    earlier.close();
    QtDialogs dialogs;
    WorkspaceState state;
    state.setSizeRatio(0.5);
    state.setUnitName(QStringLiteral("mm"));
    MeasurementList list;
    CalibrationRules rules(state, list, dialogs);

    QString question;
    WhenShown<QFileDialog> save([&](QFileDialog *dialog) {
        WhenShown<QMessageBox> replace([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::No)->click();
        });
        chooseFile(dialog, folder.filePath(QStringLiteral("scanner")));
        if (dialog->isVisible())
            dialog->reject();
    });
    rules.saveCalibrationFile();
    QVERIFY(save.shown());
    QVERIFY2(question.contains(QStringLiteral("scanner.clb")), qPrintable(question));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("\"0.254\"\r\n\"mm\"\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"scanner.clb"});
}

// Every message box showed the information icon once, errors included.
void QtDialogsTest::messageShowsTheIconOfItsMeaning()
{
    const struct {
        MessageKind kind;
        MessageButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;
        MessageAnswer answer;
    } rows[] = {
        {MessageKind::Error, MessageButtons::Ok, QMessageBox::Critical, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageKind::Warning, MessageButtons::OkCancel, QMessageBox::Warning, QMessageBox::Cancel,
         MessageAnswer::Cancel},
        {MessageKind::Information, MessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageKind::Question, MessageButtons::YesNo, QMessageBox::Question, QMessageBox::No,
         MessageAnswer::No},
    };
    QtDialogs dialogs;
    for (const auto &row : rows) {
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        WhenShown<QMessageBox> box([&](QMessageBox *shown) {
            shownIcon = shown->icon();
            shown->button(row.press)->click();
        });
        QCOMPARE(dialogs.message(QStringLiteral("Something happened."), QStringLiteral("Verdalis"),
                                 row.buttons, row.kind),
                 row.answer);
        QVERIFY(box.shown());
        QCOMPARE(shownIcon, row.icon);
    }
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
