// The rules of this subsystem without widgets: the two-click measuring tool
// and the statistics of the list on a canvas (positions in picture units;
// which tool a mouse event reaches is the end-to-end tests'), and calibration
// files: the bytes written, plain files of earlier versions, the escaped
// fields and the failures.
#include "calibration_file.h"
#include "measure_tool.h"
#include "measurement_list.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace verdalis;

namespace {
constexpr qint32 kRed = 255; // packed blue*65536 + green*256 + red
constexpr qint32 kWhite = 0xffffff;
Calibration sample()
{
    Calibration c;
    c.sizeRatio = 0.254;
    c.unitName = "mm";
    c.notes.sizeRatioNote = "1:1";
    c.notes.scannerName = "A";
    c.notes.resolution = "300";
    return c;
}

const QByteArray kSampleBytes = "\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n\"\"\r\n";

// What a reader that knows nothing of escaping needs: six CR LF lines, each one
// quoted field with no quote inside.
bool isPlainSixLineFile(const QByteArray &bytes)
{
    static const QRegularExpression lines(
        QRegularExpression::anchoredPattern("(\"[^\"\r\n]*\"\r\n){6}"));
    return lines.match(QString::fromLatin1(bytes)).hasMatch();
}
} // namespace

Q_DECLARE_METATYPE(Calibration)

class MeasureRulesTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        WorkspaceState state;
        PictureCanvas canvas;
        MeasurementList list;
        MeasureTool tool{list, canvas, state};
        Rig()
        {
            QImage white(400, 400, QImage::Format_RGB32);
            white.fill(Qt::white);
            canvas.setPicture(white);
        }
        void measure(QPointF from, QPointF to)
        {
            tool.mouseDown(from);
            tool.mouseMove(to);
            tool.mouseDown(to);
        }
    };

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void measuresOneDistance_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QStringList>("row"); // columns 0..5

        QTest::newRow("halves to even") << QPointF(0.5, 2.5) << QPointF(3.5, 2.5) << 10 << 1.0
                                        << QStringList{"0", "2", "4", "2", "4", "4.00"};
        QTest::newRow("calibrated") << QPointF(0, 0) << QPointF(0, 7) << 10 << 0.25
                                    << QStringList{"0", "0", "0", "7", "7", "1.75"};
        QTest::newRow("unit step 0.5") << QPointF(0, 0) << QPointF(6, 8) << 5 << 1.0
                                       << QStringList{"0", "0", "6", "8", "5", "5.00"};
        // 16-bit points would wrap here: a wide picture at the finest unit step.
        QTest::newRow("beyond 16 bits")
            << QPointF(1000, 0) << QPointF(41000.4, 0) << 1 << 1.0
            << QStringList{"1000", "0", "41000", "0", "4000", "4000.00"};
    }
    void measuresOneDistance()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, tenths);
        QFETCH(double, sizeRatio);
        QFETCH(QStringList, row);
        Rig rig;
        rig.canvas.setUnitStepTenths(tenths);
        rig.state.setSizeRatio(sizeRatio);

        rig.tool.mouseDown(from);
        rig.tool.mouseDown(to);
        QStringList cells;
        for (int column = 0; column < MeasurementList::kColumnCount; ++column)
            cells << rig.list.cell(0, column);
        QCOMPARE(cells, row);
        QCOMPARE(rig.list.currentRow(), 0);
        QCOMPARE(rig.list.statistics().mean, row.last());
    }

    void rubberBandFollowsTheMouse()
    {
        Rig rig;
        rig.measure({0, 0}, {0, 2}); // an earlier measurement, drawn
        rig.tool.mouseDown({10, 10});
        QVERIFY(rig.list.cell(1, DistanceColumn).isEmpty());
        QCOMPARE(rig.canvas.colourAt(10, 10), kWhite); // nothing drawn at the first click

        rig.tool.mouseMove({13.0, 14.5});
        // Column 4 keeps every bit of the length.
        QCOMPARE(rig.list.cell(1, BaseDistanceColumn).toDouble(), std::sqrt(29.25));
        QCOMPARE(rig.list.cell(1, DistanceColumn), "5.41");
        // The pending row is no measurement: the statistics and the copy leave it out.
        rig.list.recomputeMeasurementStatistics();
        QCOMPARE(rig.list.statistics().mean, "2.00");
        QCOMPARE(rig.tool.copyAll(), "2.00\n");
        QCOMPARE(rig.canvas.colourAt(10, 10), kRed);
        QCOMPARE(rig.canvas.colourAt(0, 2), kWhite); // the earlier drawing is gone

        rig.tool.mouseDown({13, 14});
        QCOMPARE(rig.list.cell(1, DistanceColumn), "5.00");
        QCOMPARE(rig.canvas.colourAt(10, 10), kRed);
        QCOMPARE(rig.canvas.colourAt(13, 14), kRed);
    }

    // Del while a measurement is pending cancels it, whatever row is selected,
    // and so does a new unit step, since the start point belongs to the old
    // coordinate system. The finished rows and the statistics stay, and the
    // tool waits for a start.
    void pendingMeasurementIsCancelled_data()
    {
        QTest::addColumn<int>("finishedRows");
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<bool>("byUnitStep"); // else by Del
        QTest::newRow("Del, only the pending row") << 0 << -1 << false;
        QTest::newRow("Del, older row selected") << 2 << 0 << false;
        QTest::newRow("unit step") << 2 << 1 << true;
    }
    void pendingMeasurementIsCancelled()
    {
        QFETCH(int, finishedRows);
        QFETCH(int, selectedRow);
        QFETCH(bool, byUnitStep);
        Rig rig;
        for (int i = 0; i < finishedRows; ++i)
            rig.measure({0, 0}, {0, double(2 + 2 * i)});
        const QString mean = rig.list.statistics().mean;
        rig.list.setCurrentRow(selectedRow);
        rig.tool.mouseDown({50, 50});
        rig.tool.mouseMove({60, 50});

        if (byUnitStep)
            rig.canvas.setUnitStepTenths(5);
        else
            rig.tool.deleteCurrent();
        QCOMPARE(rig.tool.measurePhase(), MeasurePhase::AwaitStart);
        QCOMPARE(rig.list.rowCount(), finishedRows);
        QCOMPARE(rig.list.pendingRow(), -1);
        QCOMPARE(rig.list.statistics().mean, mean);
        QCOMPARE(rig.canvas.colourAt(50, 50), kWhite);

        // The next click starts a new measurement.
        rig.measure({0, 0}, {0, 9});
        QCOMPARE(rig.list.rowCount(), finishedRows + 1);
        QCOMPARE(rig.list.cell(finishedRows, DistanceColumn), byUnitStep ? "4.50" : "9.00");
    }

    void readsPlainFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Calibration>("expected");
        QTest::newRow("line feeds, blanks and unquoted")
            << QByteArray("  \"0.254\"\nmm\r\n1:1,rest\n \"A\"  \r\n300\n\n") << sample();
        // The marker counts only at the start of a field; after the closing quote
        // the rest of the line is ignored.
        Calibration backslash = sample();
        backslash.notes.otherNotes = R"(C:\scans\%CLB1%, 50% )";
        QTest::newRow("backslash and percent")
            << QByteArray("\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n"
                          R"("C:\scans\%CLB1%, 50% ")"
                          "ignored\"\r\n")
            << backslash;
        // Earlier versions wrote multi-line notes as they were.
        Calibration multiLine = sample();
        multiLine.notes.otherNotes = "first\nsecond";
        QTest::newRow("raw multi-line notes")
            << QByteArray(kSampleBytes).replace("\"\"\r\n", "\"first\r\nsecond\"\r\n") << multiLine;
        Calibration latin1 = sample();
        latin1.unitName = QString::fromUtf8("µm");
        QTest::newRow("Latin-1 byte")
            << QByteArray(kSampleBytes).replace("\"mm\"", "\"\xb5m\"") << latin1;
    }
    void readsPlainFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Calibration, expected);
        QString error;
        const auto read = CalibrationFile::decode(bytes, &error);
        QVERIFY2(read, qPrintable(error));
        QVERIFY(*read == expected);
    }

    void refusesBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QString badRatio = "The size ratio %1 in scanner.clb cannot be used: a size ratio ";
        const QString badUnit = "The unit cannot be used: ";
        const QByteArray &file = kSampleBytes;
        QTest::newRow("empty file") << QByteArray() << "scanner.clb is empty";
        QTest::newRow("five lines")
            << file.chopped(4) << "scanner.clb holds 5 of the 6 lines of a calibration file";
        QTest::newRow("unclosed quote")
            << QByteArray(file).replace("\"\"\r\n", "\"notes\r\n")
            << "line 6 of scanner.clb opens a double quote that is never closed";
        QTest::newRow("first line not a number")
            << QByteArray(file).replace("0.254", "abc")
            << "line 1 of scanner.clb is not a number: \"abc\"";
        QTest::newRow("long garbage line")
            << QByteArray(200, 'x') + file.mid(7) << "line 1 of scanner.clb is not a number";
        // Values that would report every area as 0.000 or as inf and nan.
        QTest::newRow("size ratio 0")
            << QByteArray(file).replace("0.254", "0") << badRatio.arg("0") + "must be above 0";
        QTest::newRow("size ratio whose square vanishes")
            << QByteArray(file).replace("0.254", "1e-200")
            << badRatio.arg("1e-200") + "must lie between 1e-100 and 1e100";
        QTest::newRow("infinite size ratio") << QByteArray(file).replace("0.254", "inf")
                                             << "line 1 of scanner.clb is not a number: \"inf\"";
        QTest::newRow("empty unit")
            << QByteArray(file).replace("\"mm\"", "\"\"") << badUnit + "the unit name is empty";
        // Checked after unescaping: a line break would split the results header.
        QTest::newRow("unit with an escaped line break")
            << QByteArray(file).replace("\"mm\"", "\"%CLB1%m%0Am\"")
            << badUnit + "a unit name cannot hold a tab, a line break or another control character";
        // A picture chosen by mistake: no raw bytes in the message.
        QTest::newRow("binary file")
            << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0\"1\"\r\n", 17)
            << "scanner.clb is not a calibration file: it holds binary data";
    }
    void refusesBrokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!CalibrationFile::decode(bytes, &error, QStringLiteral("scanner.clb")));
        QCOMPARE(error, reason);
    }

    // Any text typed into a field reads back whole from a file this program wrote,
    // and the file stays six plain quoted lines for readers that know nothing of
    // escaping.
    void roundTripsEveryField_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("escaped");
        const QLocale german(QLocale::German);
        QTest::newRow("plain") << QLocale::c() << "Flatbed, 600 dpi" << false;
        QTest::newRow("quote, percent and break") << german << "50% \"x\"\n%22" << true;
        QTest::newRow("outside Latin-1") << german << QString::fromUtf8("€ 5 – 漢字") << true;
        QTest::newRow("starts with the marker") << QLocale::c() << "%CLB1%plain" << true;
    }
    void roundTripsEveryField()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(bool, escaped);
        QLocale::setDefault(locale);
        Calibration c;
        // 15 significant digits would read back as 0.3.
        c.sizeRatio = 0.1 + 0.2;
        // A unit is one non-empty line.
        c.unitName = QStringLiteral("unit ") + QString(text).replace(u'\n', u' ');
        c.notes.scannerName = text + "1";
        c.notes.resolution = text + "2";
        c.notes.sizeRatioNote = text + "3";
        c.notes.otherNotes = text;
        const QByteArray bytes = CalibrationFile::encode(c);
        QVERIFY(isPlainSixLineFile(bytes));
        QCOMPARE(bytes.contains("%CLB1%"), escaped);

        QString error;
        const auto read = CalibrationFile::decode(bytes, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->notes.otherNotes, text);
        QVERIFY(*read == c);
    }

    // A size ratio that loads saves and loads back to the same double; ordinary
    // ones keep their 15-digit text. These files hold no group separator, so a
    // file written under either decimal separator loads under the other, even
    // where the comma groups digits.
    void sizeRatioRoundTrips_data()
    {
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("0.254") << 0.254 << QByteArray("\"0.254\"");
        QTest::newRow("largest") << 1e100 << QByteArray("\"1e+100\"");
        QTest::newRow("smallest") << 1e-100 << QByteArray("\"1e-100\"");
        QTest::newRow("just below the largest")
            << std::nextafter(1e100, 0.0) << QByteArray("\"9.999999999999998e+99\"");
    }
    void sizeRatioRoundTrips()
    {
        QFETCH(double, sizeRatio);
        QFETCH(QByteArray, line);
        for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German)}) {
            QLocale::setDefault(locale);
            Calibration c = sample();
            c.sizeRatio = sizeRatio;
            const QByteArray bytes = CalibrationFile::encode(c);
            QString written = QString::fromLatin1(line);
            if (locale.decimalPoint() == QStringLiteral(","))
                written.replace(u'.', u',');
            // The exponent's letter is the locale's; the other lines are the sample's.
            QCOMPARE(bytes.toLower(), (written.toLatin1() + kSampleBytes.mid(7)).toLower());
            const QLocale readers[] = {QLocale::c(), QLocale(QLocale::German),
                                       QLocale(QLocale::English, QLocale::UnitedStates)};
            for (const QLocale &reader : readers) {
                QLocale::setDefault(reader);
                QString error;
                const auto read = CalibrationFile::decode(bytes, &error);
                QVERIFY2(read, qPrintable(error));
                QCOMPARE(read->sizeRatio, sizeRatio);
            }
        }
    }

    // The escaped form other readers of the format rely on (CLB_FORMAT.md).
    void escapesAsDocumented()
    {
        QCOMPARE(CalibrationFile::encodeField("first\nsecond \"B\""),
                 QByteArray("%CLB1%first%0Asecond %22B%22"));
        QCOMPARE(CalibrationFile::encodeField(QString::fromUtf8("5 € 100%")),
                 QByteArray("%CLB1%5 %E2%82%AC 100%25"));
        QCOMPARE(CalibrationFile::decodeField("%CLB1%first%0Asecond %22B%22"),
                 "first\nsecond \"B\"");
    }
};

QTEST_MAIN(MeasureRulesTest)
#include "measure_rules_test.moc"
