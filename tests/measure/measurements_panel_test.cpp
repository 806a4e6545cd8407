// The Measurements panel, the unit tuner and the calibration and notes dialogs,
// driven offscreen through their controls, with scripted message and file
// dialogs. A plain widget stands for the main window; clicks on the picture go
// to the mouse dispatcher in picture units, as the picture view sends them.
// The calibration file's bytes and reasons are the file test's; the typed
// number rules are the number entry's: here, that the panel uses them.
#include "calibration_dialog.h"
#include "calibration_rules.h"
#include "grid_frame.h"
#include "measurements_panel.h"
#include "picture_canvas.h"
#include "scripted_dialogs.h"
#include "unit_tuner_panel.h"
#include "workspace_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

using namespace verdalis;

namespace {
const QByteArray kSampleFile = "\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n\"\"\r\n";

void deleteClosedDialogs()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The main window with the panels of this subsystem and a 400 x 400 picture.
struct Workspace {
    WorkspaceState state;
    PictureCanvas canvas;
    ScriptedDialogs dialogs;
    QWidget window;
    MeasurementsPanel *panel;
    // Stands for any other control of the main window.
    QPushButton *probe;

    Workspace()
    {
        QImage white(400, 400, QImage::Format_RGB32);
        white.fill(Qt::white);
        canvas.setPicture(white);
        panel = new MeasurementsPanel(state, canvas, dialogs);
        probe = new QPushButton(QStringLiteral("Probe"));
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(new UnitTunerPanel(canvas));
        layout->addWidget(probe);
        window.show();
    }
    ~Workspace() { deleteClosedDialogs(); }

    template <typename W = QWidget> W *control(const char *name) const
    {
        W *widget = window.findChild<W *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char *name) const { return control<QLineEdit>(name)->text(); }
    QString caption(const char *name) const { return control<QLabel>(name)->text(); }
    void click(const char *name) const { control<QPushButton>(name)->click(); }

    // Whether a click on the main window, delivered as the window system
    // delivers it, reaches its control.
    bool takesInput() const
    {
        QSignalSpy clicked(probe, &QPushButton::clicked);
        const QPoint centre = probe->mapTo(&window, probe->rect().center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centre);
        return clicked.count() == 1;
    }

    // A vertical line of `length` picture units.
    void measure(int length)
    {
        panel->measureTool().mouseDown({5, 5});
        panel->measureTool().mouseDown({5, 5.0 + length});
    }
    QStringList shownDistances() const
    {
        QStringList texts;
        const MeasurementList &list = panel->measurements();
        for (int row = 0; row < list.rowCount(); ++row)
            texts << list.cell(row, DistanceColumn);
        return texts;
    }

    // The dialog a button opened; window-modal, so the active modal widget.
    template <typename Dialog = CalibrationDialog> Dialog *open(const char *button)
    {
        click(button);
        return qobject_cast<Dialog *>(QApplication::activeModalWidget());
    }
    // Types into the calibration dialog and presses OK; returns whether it closed.
    bool calibrate(const QString &length, const QString &unit,
                   const QStringList &notes = {"", "", "", ""})
    {
        QPointer<CalibrationDialog> dialog = open("calibrateButton");
        if (!dialog)
            return false;
        QTest::keyClicks(dialog->findChild<QLineEdit *>("lengthBox"), length);
        dialog->findChild<QComboBox *>("unitBox")->setEditText(unit);
        dialog->findChild<QLineEdit *>("scannerNameBox")->setText(notes[0]);
        dialog->findChild<QLineEdit *>("resolutionBox")->setText(notes[1]);
        dialog->findChild<QLineEdit *>("sizeRatioBox")->setText(notes[2]);
        dialog->findChild<QPlainTextEdit *>("otherNotesBox")->setPlainText(notes[3]);
        dialog->findChild<QPushButton *>("okButton")->click();
        return !dialog->isVisible();
    }
};
} // namespace

class MeasurementsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { deleteClosedDialogs(); }

    void listButtons()
    {
        Workspace w;
        w.measure(2);
        w.measure(4);
        QCOMPARE(w.text("sdBox"), "1.414");
        w.click("copyMeasurementsButton");
        QCOMPARE(QGuiApplication::clipboard()->text(), "2.00\n4.00\n");

        // The user picks the first row in the list, then Del removes it.
        w.panel->measurements().setCurrentRow(1);
        auto *grid = w.control<QTableView>("distanceTable");
        const QRect firstRow = grid->visualRect(grid->model()->index(0, DistanceColumn));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, firstRow.center());
        w.click("deleteMeasurementButton");
        QCOMPARE(w.shownDistances(), QStringList{"4.00"});
        QCOMPARE(w.text("meanBox"), "4.00");
        QCOMPARE(w.text("sdBox"), "");

        w.measure(3);
        w.click("resetMeasurementsButton");
        QCOMPARE(w.shownDistances(), QStringList{});
        QCOMPARE(w.text("meanBox"), "");
        w.click("copyMeasurementsButton"); // nothing to copy: the clipboard keeps its text
        QCOMPARE(QGuiApplication::clipboard()->text(), "2.00\n4.00\n");

        // A new picture clears the list when "Auto reset" is ticked, and the grid.
        QCheckBox *showGrid = w.panel->gridFrame()->showBox();
        for (bool autoReset : {false, true}) {
            w.measure(2);
            w.control<QCheckBox>("autoResetBox")->setChecked(autoReset);
            showGrid->setEnabled(true);
            showGrid->setChecked(true);
            w.panel->onPictureOpened();
            QCOMPARE(w.text("meanBox"), autoReset ? "" : "2.00");
            QVERIFY(!showGrid->isChecked());
        }
    }

    // Closing the main window ends the program even with a dialog open, and
    // takes the dialog with it.
    void openDialogEndsWithTheMainWindow()
    {
        for (const char *button : {"calibrateButton", "calibrationNotesButton"}) {
            auto w = std::make_unique<Workspace>();
            w->measure(10);
            QVERIFY(w->calibrate("5", "mm"));
            w->click(button);
            QPointer<QWidget> dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->isVisible());
            QTimer::singleShot(0, &w->window, &QWidget::close);
            // Fails the test rather than hang it if the dialog kept the program running.
            QTimer::singleShot(10000, &w->window, [] { QCoreApplication::exit(1); });
            QCOMPARE(QApplication::exec(), 0);
            w.reset();
            QVERIFY(!dialog);
        }
    }

    // The divisor is the two-decimal mean of the whole list (33,33); calibrating
    // again gives the same ratio, since the uncalibrated lengths are restored
    // first. The length box keeps every character typed. A text that is no
    // number in the user's locale is refused with a tip, shown at once, that
    // says what the box expects, and OK waits: "2.5" under a decimal-comma locale
    // never becomes 5 or 25. Cancel changes nothing, and the main window, which
    // took no input while a dialog was open, takes it again. The notes dialog
    // stores on OK. The unit tuner, last, changes the unit step and keeps the
    // rows' lengths.
    void dialogsAndUnitTuner()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        Workspace w;
        for (int length : {30, 30, 40})
            w.measure(length);
        const CalibrationNotes notes{"A", "300", "1:1", "line 1\nline 2"};
        for (int round = 0; round < 2; ++round) {
            QVERIFY(w.calibrate("10", "cm", {"A", "300", "1:1", "line 1\nline 2"}));
            QCOMPARE(w.state.sizeRatio(), 10 / 33.33);
            QCOMPARE(w.shownDistances(), (QStringList{"9,00", "9,00", "12,00"}));
            QCOMPARE(w.text("meanBox"), "10,00");
        }
        QVERIFY(w.state.notes() == notes);

        QPointer<CalibrationDialog> dialog = w.open("calibrateButton");
        QVERIFY(dialog);
        QVERIFY(!w.takesInput());
        auto *length = dialog->findChild<QLineEdit *>("lengthBox");
        auto *ok = dialog->findChild<QPushButton *>("okButton");
        QTest::keyClicks(length, "2.5");
        QCOMPARE(length->text(), "2.5");
        QVERIFY(!ok->isEnabled());
        QVERIFY2(length->toolTip().startsWith("\".\" is not the decimal separator here"),
                 qPrintable(length->toolTip()));
        QVERIFY(QToolTip::isVisible());
        // Enter calibrates nothing either.
        QTest::keyClick(length, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(w.state.sizeRatio(), 10 / 33.33);
        // A length must be above 0.
        for (const auto &[typed, okEnabled] : {std::pair{"0", false}, std::pair{"7", true}}) {
            length->clear();
            QTest::keyClicks(length, typed);
            QCOMPARE(ok->isEnabled(), okEnabled);
        }
        dialog->findChild<QComboBox *>("unitBox")->setEditText("Inch");
        dialog->findChild<QLineEdit *>("scannerNameBox")->setText("B");
        dialog->findChild<QPushButton *>("cancelButton")->click();
        QVERIFY(!dialog || !dialog->isVisible());
        QVERIFY(w.takesInput());
        QCOMPARE(w.state.sizeRatio(), 10 / 33.33);
        QCOMPARE(w.caption("unitCaption"), "cm");
        QVERIFY(w.state.notes() == notes);
        QCOMPARE(w.shownDistances(), (QStringList{"9,00", "9,00", "12,00"}));

        for (const char *button : {"cancelButton", "okButton"}) {
            QDialog *notesDialog = w.open<QDialog>("calibrationNotesButton");
            QVERIFY(notesDialog);
            QVERIFY(!w.takesInput());
            notesDialog->findChild<QLineEdit *>("scannerNameBox")->setText("B");
            notesDialog->findChild<QPlainTextEdit *>("otherNotesBox")->setPlainText("one\ntwo");
            notesDialog->findChild<QPushButton *>(button)->click();
            QVERIFY(w.takesInput());
        }
        QVERIFY(w.state.notes() == (CalibrationNotes{"B", "300", "1:1", "one\ntwo"}));

        // The unit tuner's bar sets the unit step; the rows keep their lengths.
        w.control<QScrollBar>("unitStepBar")->setValue(6);
        QCOMPARE(w.caption("unitStepLabel"), "0,5");
        QCOMPARE(w.canvas.unitStep(), 0.5);
        QCOMPARE(w.shownDistances(), (QStringList{"9,00", "9,00", "12,00"}));
    }

    void refusedCalibrationKeepsTheDialogOpen_data()
    {
        QTest::addColumn<int>("distance");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("message");
        QTest::newRow("no unit") << 10 << "5"
                                 << ""
                                 << "Please set the unit";
        QTest::newRow("zero mean") << 0 << "5"
                                   << "mm" << CalibrationRules::kNoDistanceMessage;
        // A tab or a line break would split the results table's header.
        QTest::newRow("unit with a tab")
            << 10 << "5"
            << "m\tm"
            << "This unit cannot be used: a unit name cannot hold a tab, a line break or another "
               "control character.";
        // 1e200 / 10: the squared areas would overflow.
        QTest::newRow("size ratio too large")
            << 10 << "1" + QString(200, u'0') << "mm"
            << "This length gives the size ratio 1e+199, which cannot be used: a size ratio must "
               "lie between 1e-100 and 1e100.";
    }
    void refusedCalibrationKeepsTheDialogOpen()
    {
        QFETCH(int, distance);
        QFETCH(QString, length);
        QFETCH(QString, unit);
        QFETCH(QString, message);
        Workspace w;
        w.measure(distance);
        const QStringList before = w.shownDistances();
        w.dialogs.answerMessage(MessageAnswer::Ok);
        QVERIFY(!w.calibrate(length, unit));
        QCOMPARE(w.dialogs.messages(), QStringList{message});
        QCOMPARE(w.dialogs.lastCall().messageKind, MessageKind::Warning);
        auto *dialog = qobject_cast<CalibrationDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(w.state.sizeRatio(), 1.0);
        QVERIFY(!w.state.isCalibrated());
        QCOMPARE(w.shownDistances(), before);
        dialog->close();
    }

    // A file that cannot be used is named in the message and changes nothing; a
    // failed save is reported; cancelled file dialogs say nothing and change
    // nothing. Then the buttons write what was calibrated and a load in a fresh
    // run brings all of it back: a row of 10 display millimetres becomes 2.54.
    // The load dialog lists *.clb files only: a name typed without an extension
    // is saved with ".clb", so it can be loaded again; a typed extension stays.
    void savesAndLoadsTheCalibration()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("v1.2"));
        QFile broken(dir.filePath("broken.clb"));
        const QByteArray bytes = QByteArray(kSampleFile).replace("0.254", "0").replace("mm", "cm");
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(bytes) == bytes.size());
        broken.close();
        // A path below a file cannot be created, not even by the superuser.
        const QString bad = broken.fileName() + "/inner.clb";
        Workspace w;
        w.measure(100);
        QVERIFY(w.calibrate("25.4", "mm", {"A", "300", "1:1", ""}));
        w.dialogs.answerOpenFile(broken.fileName());
        w.dialogs.answerMessage(MessageAnswer::Ok);
        w.click("loadCalibrationButton");
        w.dialogs.answerSaveFile(bad);
        w.dialogs.answerMessage(MessageAnswer::Ok);
        w.click("saveCalibrationButton");
        w.dialogs.cancelFileDialog(ScriptedDialogs::Kind::SaveFile);
        w.click("saveCalibrationButton");
        w.dialogs.cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
        w.click("loadCalibrationButton");
        const QStringList messages = w.dialogs.messages();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].startsWith("This file can't be opened.\n") &&
                     messages[0].contains("The size ratio 0 in broken.clb cannot be used"),
                 qPrintable(messages[0]));
        QVERIFY2(messages[1].startsWith("As error has occurred when saving this file.\n" +
                                        QDir::toNativeSeparators(bad)),
                 qPrintable(messages[1]));
        for (const auto &call : w.dialogs.calls())
            QVERIFY(call.kind != ScriptedDialogs::Kind::Message ||
                    call.messageKind == MessageKind::Error);
        QCOMPARE(w.state.sizeRatio(), 0.254);
        QCOMPARE(w.caption("unitCaption"), "mm");
        QCOMPARE(w.shownDistances(), QStringList{"25.40"});

        // Nothing was left open: the next saves go through.
        for (const char *typed : {"scanner.", "v1.2/scanner", "v1.2/scanner.cal"}) {
            w.dialogs.answerSaveFile(dir.filePath(typed));
            w.click("saveCalibrationButton");
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"broken.clb", "scanner.clb"}));
        QCOMPARE(QDir(dir.filePath("v1.2")).entryList(QDir::Files),
                 (QStringList{"scanner.cal", "scanner.clb"}));
        QFile written(dir.filePath("scanner.clb"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), kSampleFile);

        Workspace fresh;
        fresh.measure(10);
        fresh.dialogs.answerOpenFile(dir.filePath("scanner.clb"));
        fresh.click("loadCalibrationButton");
        QCOMPARE(fresh.state.sizeRatio(), w.state.sizeRatio());
        QCOMPARE(fresh.shownDistances(), QStringList{"2.54"});
        QCOMPARE(fresh.text("meanBox"), "2.54");
        QCOMPARE(fresh.caption("unitCaption"), "mm");
        QVERIFY(fresh.state.isCalibrated());
        // A load alone does not allow saving.
        QVERIFY(!fresh.control("saveCalibrationButton")->isEnabled());
        QVERIFY(fresh.state.notes() == (CalibrationNotes{"A", "300", "1:1", ""}));
    }
};

QTEST_MAIN(MeasurementsPanelTest)
#include "measurements_panel_test.moc"
