// Calibration files: the bytes written, plain files of earlier versions, the
// escaped fields and the failures.
#include "calibration_file.h"

#include <QTest>

#include <cmath>

using namespace verdalis;

namespace {
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

// What a reader that knows nothing of escaping needs: six lines, each one
// quoted field with no quote inside.
bool isPlainSixLineFile(const QByteArray &bytes)
{
    if (!bytes.endsWith("\r\n"))
        return false;
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    if (lines.size() != 6)
        return false;
    for (const QByteArray &line : lines) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (text.size() < 2 || !text.startsWith('"') || !text.endsWith('"') ||
            text.count('"') != 2 || text.contains('\r'))
            return false;
    }
    return true;
}
} // namespace

Q_DECLARE_METATYPE(Calibration)

class CalibrationFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void writesSixQuotedCrLfLines_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::newRow("point") << QLocale::c() << 0.254 << QByteArray("\"0.254\"");
        QTest::newRow("comma") << QLocale(QLocale::German) << 0.254 << QByteArray("\"0,254\"");
        QTest::newRow("two-decimal mean")
            << QLocale::c() << 10 / 33.33 << QByteArray("\"0.3000300030003\"");
    }
    void writesSixQuotedCrLfLines()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, sizeRatio);
        QFETCH(QByteArray, firstLine);
        QLocale::setDefault(locale);
        Calibration c = sample();
        c.sizeRatio = sizeRatio;
        const QByteArray bytes = CalibrationFile::encode(c);
        QCOMPARE(bytes, firstLine + kSampleBytes.mid(kSampleBytes.indexOf("\r\n")));
    }

    void readsPlainFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Calibration>("expected");
        QTest::newRow("as written") << kSampleBytes << sample();
        QTest::newRow("line feeds only")
            << QByteArray("\"0.254\"\n\"mm\"\n\"1:1\"\n\"A\"\n\"300\"\n\"\"\n") << sample();
        QTest::newRow("blanks and unquoted")
            << QByteArray("  \"0.254\"\r\nmm\r\n1:1,rest\r\n \"A\"  \r\n300\r\n\r\n") << sample();
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
            << QByteArray("\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n"
                          "\"first\r\nsecond\"\r\n")
            << multiLine;
        Calibration latin1 = sample();
        latin1.unitName = QString::fromUtf8("µm");
        QTest::newRow("Latin-1 byte") << QByteArray("\"0.254\"\r\n\"\xb5m\"\r\n\"1:1\"\r\n\"A\"\r\n"
                                                    "\"300\"\r\n\"\"\r\n")
                                      << latin1;
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
        QTest::newRow("five lines")
            << QByteArray("\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n")
            << "scanner.clb holds 5 of the 6 lines of a calibration file";
        QTest::newRow("unclosed quote")
            << QByteArray("\"0.254\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n\"notes\r\n")
            << "line 6 of scanner.clb opens a double quote that is never closed";
        QTest::newRow("first line not a number")
            << QByteArray("\"abc\"\r\n\"mm\"\r\n\"1:1\"\r\n\"A\"\r\n\"300\"\r\n\"\"\r\n")
            << "line 1 of scanner.clb is not a number: \"abc\"";
        ;
        // Values that would report every area as 0.000 or as inf and nan.
        const auto withRatio = [](const char *ratio) {
            return QByteArray(kSampleBytes).replace("0.254", ratio);
        };
        QTest::newRow("size ratio 0")
            << withRatio("0")
            << "The size ratio 0 in scanner.clb cannot be used: a size ratio must be above 0";
        QTest::newRow("largest double") << withRatio("1.7976931348623157e308")
                                        << "The size ratio 1.7976931348623157e+308 in scanner.clb "
                                           "cannot be used: a size ratio must lie "
                                           "between 1e-100 and 1e100";
        QTest::newRow("size ratio whose square vanishes")
            << withRatio("1e-200")
            << "The size ratio 1e-200 in scanner.clb cannot be used: a size ratio must lie between "
               "1e-100 and 1e100";
        QTest::newRow("infinite size ratio")
            << withRatio("inf") << "line 1 of scanner.clb is not a number: \"inf\"";
        QTest::newRow("empty unit") << QByteArray(kSampleBytes).replace("\"mm\"", "\"\"")
                                    << "The unit cannot be used: the unit name is empty";
        QTest::newRow("unit with a tab")
            << QByteArray(kSampleBytes).replace("\"mm\"", "\"m\tm\"")
            << "The unit cannot be used: a unit name cannot hold a tab, a line break or another "
               "control character";
        QTest::newRow("unit with an escaped line break")
            << QByteArray(kSampleBytes).replace("\"mm\"", "\"%CLB1%m%0Am\"")
            << "The unit cannot be used: a unit name cannot hold a tab, a line break or another "
               "control character";
        // A picture chosen by mistake: no raw bytes in the message.
        QTest::newRow("binary file")
            << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0\"1\"\r\n", 17)
            << "scanner.clb is not a calibration file: it holds binary data";
        QTest::newRow("long garbage line")
            << QByteArray(200, 'x') + "\r\n\"mm\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
            << "line 1 of scanner.clb is not a number";
        QTest::newRow("empty file") << QByteArray() << "scanner.clb is empty";
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
        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German);
        QTest::newRow("plain") << c << "Flatbed, 600 dpi" << false;
        QTest::newRow("quote, percent and break") << german << "50% \"x\"\n%22" << true;
        QTest::newRow("outside Latin-1") << german << QString::fromUtf8("€ 5 – 漢字") << true;
        QTest::newRow("starts with the marker") << c << "%CLB1%plain" << true;
        QTest::newRow("empty") << c << "" << false;
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

    // A size ratio that loads saves and loads back to the same double, under
    // either separator; ordinary ones keep their 15-digit text.
    void sizeRatioRoundTrips_data()
    {
        QTest::addColumn<double>("sizeRatio");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("0.254") << 0.254 << QByteArray("\"0.254\"");
        QTest::newRow("0.32") << 0.32 << QByteArray("\"0.32\"");
        QTest::newRow("from a measured bar") << 10 / 31.22 << QByteArray("\"0.3203074951953876\"");
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
            Calibration c;
            c.sizeRatio = sizeRatio;
            c.unitName = QStringLiteral("mm");
            const QByteArray bytes = CalibrationFile::encode(c);
            QString written = QString::fromLatin1(line);
            if (locale.decimalPoint() == QStringLiteral(","))
                written.replace(u'.', u',');
            // The exponent's letter is the locale's.
            QCOMPARE(bytes.left(bytes.indexOf('\r')).toLower(), written.toLatin1().toLower());
            QString error;
            const auto read = CalibrationFile::decode(bytes, &error);
            QVERIFY2(read, qPrintable(error));
            QCOMPARE(read->sizeRatio, sizeRatio);
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

    // A file written where the decimal separator is a point loads under a
    // decimal-comma locale, and the other way round: these files hold no group
    // separator, so either separator is unambiguous.
    void readsEitherDecimalSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArray>("ratio");
        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("point under a comma locale") << german << QByteArray("0.254");
        QTest::newRow("comma under C") << c << QByteArray("0,254");
        QTest::newRow("comma where the comma groups") << english << QByteArray("0,254");
    }
    void readsEitherDecimalSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, ratio);
        QLocale::setDefault(locale);
        QString error;
        const auto read =
            CalibrationFile::decode(QByteArray(kSampleBytes).replace("0.254", ratio), &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->sizeRatio, 0.254);
    }
};

QTEST_GUILESS_MAIN(CalibrationFileTest)
#include "calibration_file_test.moc"
