// The Measurements panel, the unit tuner and the calibration and notes dialogs,
// driven offscreen through their controls, with scripted message and file
// dialogs. A plain widget stands for the main window and one for the picture.
#include "calibrat_form.h"
#include "calibration_rules.h"
#include "grid_frame.h"
#include "measurements_panel.h"
#include "notes_form.h"
#include "picture_canvas.h"
#include "picture_mouse_dispatcher.h"
#include "scripted_dialogs.h"
#include "unit_tuner_panel.h"
#include "workspace_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace verdalis;

namespace {
const QByteArray kSampleFile = "\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n\"\"\r\n";

// Stands for the picture view: hands mouse presses, in picture units, to the
// dispatcher.
class PicturePad : public QWidget {
public:
    PicturePad(PictureCanvas &canvas, PictureMouseDispatcher &dispatcher)
        : m_canvas(canvas), m_dispatcher(dispatcher)
    {
        setFixedSize(canvas.pixelSize());
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_dispatcher.mouseDown({m_canvas.unitsFromPixels(event->position().x()),
                                m_canvas.unitsFromPixels(event->position().y())});
    }

private:
    PictureCanvas &m_canvas;
    PictureMouseDispatcher &m_dispatcher;
};

template <typename Form> Form *openForm()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<Form *>(widget); form && form->isVisible())
            return form;
    return nullptr;
}

void deleteClosedForms()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window with the panels of this subsystem and a 400 x 400 picture.
struct Workspace {
    WorkspaceState state;
    PictureCanvas canvas;
    ScriptedDialogs dialogs;
    QWidget window;
    MeasurementsPanel *panel;
    UnitTunerPanel *tuner;
    PictureMouseDispatcher *dispatcher;
    PicturePad *picture;

    Workspace()
    {
        QImage white(400, 400, QImage::Format_RGB32);
        white.fill(Qt::white);
        canvas.setPicture(white);
        panel = new MeasurementsPanel(state, canvas, dialogs);
        tuner = new UnitTunerPanel(canvas);
        dispatcher = new PictureMouseDispatcher(panel->measureTool(), panel);
        picture = new PicturePad(canvas, *dispatcher);
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(picture);
        layout->addWidget(panel);
        layout->addWidget(tuner);
        window.show();
    }
    ~Workspace() { deleteClosedForms(); }

    template <typename W = QWidget> W *control(const char *name) const
    {
        W *widget = window.findChild<W *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char *name) const { return control<QLineEdit>(name)->text(); }
    void click(const char *name) const { control<QPushButton>(name)->click(); }

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

    CalibratForm *openCalibration()
    {
        click("Command6");
        return openForm<CalibratForm>();
    }
    // Types into the calibration dialog and presses OK; returns whether it closed.
    bool calibrate(const QString &length, const QString &unit,
                   const QStringList &notes = {"", "", "", ""})
    {
        QPointer<CalibratForm> form = openCalibration();
        if (!form)
            return false;
        QTest::keyClicks(form->findChild<QLineEdit *>("Text1"), length);
        form->findChild<QComboBox *>("Combo1")->setEditText(unit);
        form->findChild<QLineEdit *>("TextN1")->setText(notes[0]);
        form->findChild<QLineEdit *>("TextN2")->setText(notes[1]);
        form->findChild<QLineEdit *>("TextN3")->setText(notes[2]);
        form->findChild<QPlainTextEdit *>("TextN4")->setPlainText(notes[3]);
        form->findChild<QPushButton *>("Command1")->click();
        return !form->isVisible();
    }
};
} // namespace

class MeasurementsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { deleteClosedForms(); }

    void startState_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Command4") << "Command4"
                                  << "Reset"
                                  << "Clear all measurements" << true;
        QTest::newRow("Command5") << "Command5"
                                  << "Del"
                                  << "Delete selected measurement" << true;
        QTest::newRow("Command21") << "Command21"
                                   << "Copy"
                                   << "Copy all measurements" << true;
        QTest::newRow("Check3") << "Check3"
                                << "Auto reset"
                                << "Reset with new picture" << true;
        QTest::newRow("Command6") << "Command6"
                                  << ""
                                  << "Calibrate, Set a new calibration" << false;
        QTest::newRow("Picture6") << "Picture6"
                                  << ""
                                  << "Not calibrated" << true;
        QTest::newRow("Picture7") << "Picture7"
                                  << ""
                                  << "Calibrated" << true;
        QTest::newRow("Command7") << "Command7"
                                  << ""
                                  << "Save current calibration" << false;
        QTest::newRow("Command10") << "Command10"
                                   << ""
                                   << "Load saved calibration" << true;
        QTest::newRow("Command11") << "Command11"
                                   << ""
                                   << "Calibration notes" << false;
        QTest::newRow("Check2") << "Check2"
                                << "Show"
                                << "" << false;
        QTest::newRow("Frame2") << "Frame2"
                                << "Unit tuner"
                                << "Measurement unit tuner" << true;
        QTest::newRow("Label8") << "Label8"
                                << "1.0"
                                << "" << true;
    }
    void startState()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        QFETCH(bool, enabled);
        Workspace w;
        QWidget *widget = w.control(name.toLatin1());
        QString shown;
        if (auto *box = qobject_cast<QGroupBox *>(widget))
            shown = box->title();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shown = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            shown = label->text();
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            shown = combo->currentText();
        QCOMPARE(shown, text);
        QCOMPARE(widget->toolTip(), toolTip);
        QCOMPARE(widget->isEnabled(), enabled);
    }

    void measuresByClickingThePicture()
    {
        Workspace w;
        // At unitStep 1.0 one pixel is 127/480 picture units: pixel (1, 1) is the
        // point (0, 0), pixel (12, 16) is (3.18, 4.23), the point (3, 4).
        QTest::mouseClick(w.picture, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(w.panel->measureTool().measurePhase(), MeasurePhase::AwaitEnd);
        QCOMPARE(w.panel->measureTool().startPoint(), QPoint(0, 0));
        QTest::mouseClick(w.picture, Qt::LeftButton, {}, QPoint(12, 16));
        QCOMPARE(w.panel->measurements().cell(0, BaseDistanceColumn), "5");
        QCOMPARE(w.shownDistances(), QStringList{"5.00"});
        QCOMPARE(w.text("Text3"), "5.00");
        QCOMPARE(w.text("Text4"), "");
        QVERIFY(w.control("Command6")->isEnabled());
        auto *grid = w.control<QTableView>("Grid3");
        QCOMPARE(grid->currentIndex().row(), 0);
        for (int column = 0; column < DistanceColumn; ++column)
            QVERIFY(grid->isColumnHidden(column));
        QCOMPARE(grid->columnWidth(DistanceColumn), 67); // 1000 twips
    }

    void listButtons()
    {
        Workspace w;
        w.measure(2);
        w.measure(4);
        QCOMPARE(w.text("Text3"), "3.00");
        QCOMPARE(w.text("Text4"), "1.414");
        QCOMPARE(w.text("Text5"), "1.000");

        QGuiApplication::clipboard()->setText("old");
        w.panel->measurements().setCurrentRow(0);
        w.click("Command21");
        QCOMPARE(QGuiApplication::clipboard()->text(), "2.00\n4.00\n");
        QCOMPARE(w.panel->measurements().currentRow(), 0);
        w.panel->measurements().setCurrentRow(1);

        // The user picks the first row in the list, then Del removes it.
        auto *grid = w.control<QTableView>("Grid3");
        const QRect firstRow = grid->visualRect(grid->model()->index(0, DistanceColumn));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(w.panel->measurements().currentRow(), 0);
        w.click("Command5");
        QCOMPARE(w.shownDistances(), QStringList{"4.00"});
        QCOMPARE(w.text("Text3"), "4.00");
        QCOMPARE(w.text("Text4"), "");
        QCOMPARE(w.text("Text5"), "");
        QVERIFY(w.control("Command6")->isEnabled());

        // Del with one row empties the list and the statistics.
        w.click("Command5");
        QCOMPARE(w.shownDistances(), QStringList{});
        QCOMPARE(w.text("Text3"), "");
        QVERIFY(!w.control("Command6")->isEnabled());

        w.measure(3);
        w.click("Command4");
        QCOMPARE(w.shownDistances(), QStringList{});
        QVERIFY(!w.control("Command6")->isEnabled());
        w.click("Command21"); // nothing to copy: the clipboard keeps its text
        QCOMPARE(QGuiApplication::clipboard()->text(), "2.00\n4.00\n");
    }

    void autoResetOnANewPicture_data()
    {
        QTest::addColumn<bool>("autoReset");
        QTest::newRow("ticked") << true;
        QTest::newRow("unticked") << false;
    }
    void autoResetOnANewPicture()
    {
        QFETCH(bool, autoReset);
        Workspace w;
        w.measure(2);
        QVERIFY(w.control<QCheckBox>("Check3")->isChecked());
        w.control<QCheckBox>("Check3")->setChecked(autoReset);
        w.panel->gridFrame()->showBox()->setEnabled(true);
        w.panel->gridFrame()->showBox()->setChecked(true);
        w.panel->onPictureOpened();
        QCOMPARE(w.shownDistances(), autoReset ? QStringList{} : QStringList{"2.00"});
        QCOMPARE(w.text("Text3"), autoReset ? "" : "2.00");
        QVERIFY(!w.panel->gridFrame()->showBox()->isChecked());
        QVERIFY(w.control("ComboLine")->isEnabled());
    }

    // The divisor is the two-decimal mean of the whole list; calibrating again
    // gives the same ratio, since the uncalibrated lengths are restored first.
    void calibratesAgainstTheMean_data()
    {
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<QString>("length");
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QStringList>("distances");
        QTest::addColumn<QString>("mean");
        QTest::newRow("100 and 300, length 50")
            << QList<int>{100, 300} << "50" << 0.25 << QStringList{"25.00", "75.00"} << "50.00";
        QTest::newRow("mean 33.333, length 10") << QList<int>{30, 30, 40} << "10" << 10 / 33.33
                                                << QStringList{"9.00", "9.00", "12.00"} << "10.00";
    }
    void calibratesAgainstTheMean()
    {
        QFETCH(QList<int>, lengths);
        QFETCH(QString, length);
        QFETCH(double, sizeRatio);
        QFETCH(QStringList, distances);
        QFETCH(QString, mean);
        Workspace w;
        for (int l : lengths)
            w.measure(l);

        for (int round = 0; round < 2; ++round) {
            QVERIFY(w.calibrate(length, "cm", {"Scan", "600 dpi", "ruler", "line 1\nline 2"}));
            QCOMPARE(w.state.sizeRatio(), sizeRatio);
            QCOMPARE(w.shownDistances(), distances);
            QCOMPARE(w.text("Text3"), mean);
        }
        QVERIFY(w.window.isEnabled());
        QCOMPARE(w.control<QLabel>("Label14")->text(), "cm");
        QCOMPARE(w.control<QLabel>("Label22")->text(), "cm");
        QCOMPARE(w.state.unitName(), "cm");
        QVERIFY(w.state.isCalibrated());
        QVERIFY(w.control("Picture6")->isHidden());
        QVERIFY(w.control("Picture7")->isVisible());
        QVERIFY(w.control("Command7")->isEnabled());
        QVERIFY(w.control("Command11")->isEnabled());
        const CalibrationNotes notes{"Scan", "600 dpi", "ruler", "line 1\nline 2"};
        QVERIFY(w.state.notes() == notes);
    }

    // However the dialog ends without OK, nothing changes and the main window,
    // disabled while it was open, is enabled again.
    void closingWithoutOkChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("close box") << "close";
        QTest::newRow("Escape") << "Escape";
    }
    void closingWithoutOkChangesNothing()
    {
        QFETCH(QString, how);
        Workspace w;
        w.measure(100);
        QVERIFY(w.calibrate("50", "mm", {"A", "300", "1:1", "notes"}));
        const CalibrationNotes notes = w.state.notes();

        QPointer<CalibratForm> form = w.openCalibration();
        QVERIFY(form);
        QVERIFY(!w.window.isEnabled());
        QTest::keyClicks(form->findChild<QLineEdit *>("Text1"), "7");
        form->findChild<QComboBox *>("Combo1")->setEditText("Inch");
        form->findChild<QLineEdit *>("TextN1")->setText("B");
        if (how == "Cancel")
            form->findChild<QPushButton *>("Command2")->click();
        else if (how == "close")
            form->close();
        else
            QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!form || !form->isVisible());
        QVERIFY(w.window.isEnabled());
        QCOMPARE(w.state.sizeRatio(), 0.5);
        QCOMPARE(w.control<QLabel>("Label14")->text(), "mm");
        QVERIFY(w.state.notes() == notes);
        QCOMPARE(w.shownDistances(), QStringList{"50.00"});
        deleteClosedForms();
        QVERIFY(!form);
    }

    void lengthBox_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("okEnabled");
        const QLocale c = QLocale::c();
        QTest::newRow("number") << c << "12.5"
                                << "12.5" << true;
        QTest::newRow("letters") << c << "abc"
                                 << "" << false;
        QTest::newRow("letter after digits") << c << "12x"
                                             << "" << false;
        QTest::newRow("zero") << c << "0"
                              << "0" << false;
        QTest::newRow("decimal comma") << QLocale(QLocale::German) << "2,5"
                                       << "2,5" << true;
        QTest::newRow("point under comma locale") << QLocale(QLocale::German) << "2.5"
                                                  << "5" << true;
    }
    void lengthBox()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, okEnabled);
        QLocale::setDefault(locale);
        Workspace w;
        w.measure(10);
        CalibratForm *form = w.openCalibration();
        QVERIFY(form);
        auto *length = form->findChild<QLineEdit *>("Text1");
        QVERIFY(!form->findChild<QPushButton *>("Command1")->isEnabled());
        QTest::keyClicks(length, typed);
        QCOMPARE(length->text(), shown);
        QCOMPARE(form->findChild<QPushButton *>("Command1")->isEnabled(), okEnabled);
        form->close();
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
        QCOMPARE(w.dialogs.lastCall().title, "Verdalis");
        CalibratForm *form = openForm<CalibratForm>();
        QVERIFY(form);
        QVERIFY(!w.window.isEnabled());
        QCOMPARE(w.state.sizeRatio(), 1.0);
        QVERIFY(!w.state.isCalibrated());
        QCOMPARE(w.shownDistances(), before);
        QCOMPARE(w.text("Text3"), before.first());
        QVERIFY(!w.control("Command7")->isEnabled());
        form->close();
        QVERIFY(w.window.isEnabled());
    }

    // A finer unit step halves the unit; a line over the same pixels measures
    // the same display millimetres, and the rows already there keep their values.
    void unitTuner_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("caption");
        QTest::newRow("point") << QLocale::c() << "0.5";
        QTest::newRow("comma") << QLocale(QLocale::German) << "0,5";
    }
    void unitTuner()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, caption);
        QLocale::setDefault(locale);
        Workspace w;
        const QPointF from(w.canvas.pixelsFromUnits(10), w.canvas.pixelsFromUnits(20));
        const QPointF to(w.canvas.pixelsFromUnits(40), w.canvas.pixelsFromUnits(60));
        const auto measurePixels = [&] {
            w.dispatcher->mouseDown(
                {w.canvas.unitsFromPixels(from.x()), w.canvas.unitsFromPixels(from.y())});
            w.dispatcher->mouseDown(
                {w.canvas.unitsFromPixels(to.x()), w.canvas.unitsFromPixels(to.y())});
        };
        measurePixels();
        const QString before = w.panel->measurements().cell(0, BaseDistanceColumn);
        QCOMPARE(before, "50");

        w.control<QScrollBar>("VScroll1")->setValue(6);
        QCOMPARE(w.control<QLabel>("Label8")->text(), caption);
        QCOMPARE(w.canvas.unitStep(), 0.5);
        QCOMPARE(w.panel->measurements().cell(0, BaseDistanceColumn), before);

        measurePixels();
        QCOMPARE(w.panel->measurements().cell(1, StartXColumn), "20");
        QCOMPARE(w.panel->measurements().cell(1, BaseDistanceColumn), before);
    }

    void savesTheCalibration_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("point") << QLocale::c() << "25.4" << kSampleFile;
        QTest::newRow("comma") << QLocale(QLocale::German) << "25,4"
                               << QByteArray(kSampleFile).replace("0.254", "0,254");
    }
    void savesTheCalibration()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, length);
        QFETCH(QByteArray, bytes);
        QLocale::setDefault(locale);
        QTemporaryDir dir;
        const QString path = dir.filePath("scanner.clb");
        Workspace w;
        w.measure(100);
        QVERIFY(w.calibrate(length, "mm", {"A", "300", "1:1", ""}));
        w.dialogs.answerSaveFile(path);
        w.click("Command7");
        QCOMPARE(w.dialogs.lastCall().title, "Save Calibration file");
        QCOMPARE(w.dialogs.lastCall().filter, "Calibration files (*.clb)|*.clb");
        QCOMPARE(readFile(path), bytes);

        // Loaded in a fresh run under the same locale, it rescales a row of 10
        // display millimetres to 2.54 and brings the notes back.
        Workspace fresh;
        fresh.measure(10);
        fresh.dialogs.answerOpenFile(path);
        fresh.click("Command10");
        QCOMPARE(fresh.dialogs.lastCall().title, "Open Calibration file");
        QCOMPARE(fresh.dialogs.lastCall().filter, "Calibration files (*.clb)|*.clb");
        QCOMPARE(fresh.state.sizeRatio(), w.state.sizeRatio());
        QCOMPARE(fresh.shownDistances(), QStringList{QLocale().toString(2.54, 'f', 2)});
        QCOMPARE(fresh.text("Text3"), QLocale().toString(2.54, 'f', 2));
        QCOMPARE(fresh.control<QLabel>("Label14")->text(), "mm");
        QCOMPARE(fresh.control<QLabel>("Label22")->text(), "mm");
        QVERIFY(fresh.control("Picture6")->isHidden());
        QCOMPARE(fresh.control("Picture7")->toolTip(),
                 "Calibrated, Calibration file is scanner.clb");
        QVERIFY(fresh.control("Command11")->isEnabled());
        QVERIFY(!fresh.control("Command7")->isEnabled()); // a load alone does not allow saving
        QVERIFY(fresh.state.notes() == (CalibrationNotes{"A", "300", "1:1", ""}));
    }

    void notesDialogStoresOnOkOnly()
    {
        Workspace w;
        w.measure(10);
        QVERIFY(w.calibrate("1", "mm", {"A", "300", "1:1", ""}));
        const auto editNotes = [&](bool ok) {
            w.click("Command11");
            NotesForm *form = openForm<NotesForm>();
            QVERIFY(form);
            form->findChild<QLineEdit *>("Text1")->setText(ok ? "B" : "C");
            form->findChild<QPlainTextEdit *>("Text3")->setPlainText("one\ntwo");
            form->findChild<QPushButton *>(ok ? "Command1" : "Command2")->click();
            QVERIFY(w.window.isEnabled());
        };
        editNotes(false);
        QVERIFY(w.state.notes() == (CalibrationNotes{"A", "300", "1:1", ""}));
        editNotes(true);
        QVERIFY(w.state.notes() == (CalibrationNotes{"B", "300", "1:1", "one\ntwo"}));
    }

    // A file that cannot be read leaves the calibration, the captions, the
    // indicator and the list as they were.
    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << "broken.clb: File not found";
        QTest::newRow("five lines")
            << kSampleFile.left(kSampleFile.lastIndexOf("\"\"")) << "Input past end of file";
        QTest::newRow("first line not a number")
            << QByteArray(kSampleFile).replace("0.254", "1:1") << "Type mismatch";
        QTest::newRow("size ratio 0") << QByteArray(kSampleFile).replace("0.254", "0")
                                      << "broken.clb: The size ratio 0 cannot be used: a size "
                                         "ratio must be above 0";
        QTest::newRow("unit with a tab") << QByteArray(kSampleFile).replace("\"mm\"", "\"m\tm\"")
                                         << "broken.clb: The unit cannot be used";
    }
    void failedLoadChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.clb");
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        Workspace w;
        w.measure(10);
        w.dialogs.answerOpenFile(path);
        w.dialogs.answerMessage(MessageAnswer::Ok);
        w.click("Command10");
        const QString message = w.dialogs.messages().value(0);
        QVERIFY2(message.startsWith("This file can't be opened.\n"), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(w.dialogs.lastCall().title, "Verdalis");
        QCOMPARE(w.state.sizeRatio(), 1.0);
        QVERIFY(!w.state.isCalibrated());
        QVERIFY(w.control("Picture6")->isVisible());
        QCOMPARE(w.control<QLabel>("Label14")->text(), "Unit");
        QCOMPARE(w.shownDistances(), QStringList{"10.00"});
        QVERIFY(w.state.notes() == CalibrationNotes{});
        QVERIFY(!w.control("Command11")->isEnabled());
    }

    void failedSaveIsReported()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.clb");
        writeFile(good, "earlier");
        Workspace w;
        w.measure(100);
        QVERIFY(w.calibrate("25.4", "mm"));
        // A path below a file cannot be created, not even by the superuser.
        const QString bad = good + "/inner.clb";
        w.dialogs.answerSaveFile(bad);
        w.dialogs.answerMessage(MessageAnswer::Ok);
        w.click("Command7");
        const QString message = w.dialogs.messages().value(0);
        QVERIFY2(message.startsWith("As error has occurred when saving this file.\n" +
                                    QDir::toNativeSeparators(bad)),
                 qPrintable(message));
        QCOMPARE(w.dialogs.lastCall().title, "Verdalis");
        QCOMPARE(readFile(good), QByteArray("earlier"));

        // Nothing is left open: the next save goes through.
        w.dialogs.answerSaveFile(good);
        w.click("Command7");
        QVERIFY(readFile(good).startsWith("\"0.254\"\r\n\"mm\"\r\n"));
    }

    void cancelledFileDialogsAreSilent()
    {
        Workspace w;
        w.measure(10);
        QVERIFY(w.calibrate("5", "mm"));
        w.dialogs.cancelFileDialog(ScriptedDialogs::Kind::SaveFile);
        w.click("Command7");
        w.dialogs.cancelFileDialog(ScriptedDialogs::Kind::OpenFile);
        w.click("Command10");
        QCOMPARE(w.dialogs.messages(), QStringList{});
        QCOMPARE(w.state.sizeRatio(), 0.5);
        QCOMPARE(w.control("Picture7")->toolTip(), "Calibrated");
    }
};

QTEST_MAIN(MeasurementsPanelTest)
#include "measurements_panel_test.moc"
