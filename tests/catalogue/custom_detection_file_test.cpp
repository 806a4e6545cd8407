#include "catalogue_test_files.h"
#include "custom_detection_file.h"
#include "detection_catalogue.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace verdalis;

Q_DECLARE_METATYPE(QList<DetectionSystem>)

namespace {

QList<DetectionSystem> systems(std::initializer_list<std::pair<QString, Rgb>> list)
{
    QList<DetectionSystem> result;
    for (const auto &[name, colour] : list)
        result << customDetectionSystem(name, colour);
    return result;
}

// Name and colour are all the file keeps.
QStringList describe(const QList<DetectionSystem> &list)
{
    QStringList lines;
    for (const DetectionSystem &s : list) {
        const Rgb c = s.referenceColour.value_or(Rgb{-1, -1, -1});
        lines << s.name + u'|' + rgb(c);
    }
    return lines;
}

} // namespace

class CustomDetectionFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesCountLineAndQuotedRecords_data();
    void writesCountLineAndQuotedRecords();
    void readsEveryAcceptedLayout_data();
    void readsEveryAcceptedLayout();
    void refusesDamagedFileWhole_data();
    void refusesDamagedFileWhole();
    void folderInPlaceOfFileIsAnError();
    void findsSystemByName_data();
    void findsSystemByName();
};

void CustomDetectionFileTest::writesCountLineAndQuotedRecords_data()
{
    QTest::addColumn<QList<DetectionSystem>>("saved");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty catalogue") << QList<DetectionSystem>() << QByteArray("0\r\n");
    QTest::newRow("two systems") << systems(
                                        {{"Spot", {120, 45, 30}}, {"Rust brown", {200, 100, 0}}})
                                 << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n"
                                               "\"Rust brown\",\"200\",\"100\",\"0\"\r\n");
    QTest::newRow("comma and accents kept in the name")
        << systems({{QString::fromUtf8("Mildiou, feuille \xc3\xa9t\xc3\xa9"), {0, 255, 9}}})
        << QByteArray("1\r\n\"Mildiou, feuille \xc3\xa9t\xc3\xa9\",\"0\",\"255\",\"9\"\r\n");
}

void CustomDetectionFileTest::writesCountLineAndQuotedRecords()
{
    QFETCH(QList<DetectionSystem>, saved);
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    const QString path = customDetectionFilePath(folder.path());
    QString error;
    QVERIFY(writeCustomDetectionFile(path, saved, &error));
    QCOMPARE(readBytes(path), bytes);

    // And what was written reads back as it was.
    const CustomFileReadResult read = readCustomDetectionFile(path);
    QCOMPARE(read.error, QString());
    QCOMPARE(describe(read.systems), describe(saved));
}

void CustomDetectionFileTest::readsEveryAcceptedLayout_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    const QStringList two = {"Spot|120,45,30", "Rust brown|200,100,0"};
    QTest::newRow("LF only") << QByteArray("2\n\"Spot\",\"120\",\"45\",\"30\"\n"
                                           "\"Rust brown\",\"200\",\"100\",\"0\"\n")
                             << two;
    QTest::newRow("CR only") << QByteArray("2\r\"Spot\",\"120\",\"45\",\"30\"\r"
                                           "\"Rust brown\",\"200\",\"100\",\"0\"\r")
                             << two;
    QTest::newRow("line ends and commas mixed, blanks around them, no final line end")
        << QByteArray("  2 \r\n\"Spot\" , \"120\"\r\n\"45\",\"30\"\r\n\r\n"
                      "\"Rust brown\",\"200\",\r\n\"100\",\"0\"")
        << two;
    QTest::newRow("text after the counted records ignored")
        << QByteArray("1\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Extra\",\"1\",\"2\",\"3\"\r\n")
        << QStringList{"Spot|120,45,30"};
    QTest::newRow("blanks inside quotes kept")
        << QByteArray("1\r\n\" Spot \",\" 7\",\"8 \",\"9\"\r\n") << QStringList{" Spot |7,8,9"};
    QTest::newRow("8-bit legacy encoding")
        << QByteArray("1\r\n\"Rouille \xe9t\xe9\",\"1\",\"2\",\"3\"\r\n")
        << QStringList{QString::fromUtf8("Rouille \xc3\xa9t\xc3\xa9|1,2,3")};
}

void CustomDetectionFileTest::readsEveryAcceptedLayout()
{
    QFETCH(QByteArray, bytes);
    QList<DetectionSystem> read;
    QString error;
    QVERIFY2(decodeCustomSystems(bytes, &read, &error), qPrintable(error));
    QTEST(describe(read), "expected");
}

void CustomDetectionFileTest::refusesDamagedFileWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("count says 2, one record")
        << QByteArray("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n")
        << "The file ends after 1 of 2 records.";
    QTest::newRow("empty file") << QByteArray() << "The file holds no record count.";
    QTest::newRow("garbage") << QByteArray("hello world\r\n")
                             << "The record count \"hello world\" is not a whole number from 0 "
                                "to 32767.";
    QTest::newRow("count beyond 16 bits") << QByteArray("40000\r\n")
                                          << "The record count \"40000\" is not a whole number "
                                             "from 0 to 32767.";
    QTest::newRow("unquoted field") << QByteArray("1\r\nSpot,\"1\",\"2\",\"3\"\r\n")
                                    << "Record 1 of 1: a field does not start with a double "
                                       "quote.";
    QTest::newRow("missing closing quote") << QByteArray("1\r\n\"Spot,\"1\",\"2\",\"3\r\n")
                                           << "Record 1 of 1: unexpected text after a field.";
    QTest::newRow("no closing quote at the end") << QByteArray("1\r\n\"Spot\",\"1\",\"2\",\"3\r\n")
                                                 << "Record 1 of 1: a field has no closing "
                                                    "double quote.";
    QTest::newRow("colour above 255") << QByteArray("1\r\n\"Spot\",\"256\",\"2\",\"3\"\r\n")
                                      << "Record 1 of 1: \"256\" is not a colour value from 0 "
                                         "to 255.";
    QTest::newRow("colour not a number, second record")
        << QByteArray("2\r\n\"A\",\"1\",\"2\",\"3\"\r\n\"B\",\"1\",\"x\",\"3\"\r\n")
        << "Record 2 of 2: \"x\" is not a colour value from 0 to 255.";
}

void CustomDetectionFileTest::refusesDamagedFileWhole()
{
    QFETCH(QByteArray, bytes);
    QList<DetectionSystem> read{customDetectionSystem(QStringLiteral("Earlier"), {1, 2, 3})};
    QString error;
    QVERIFY(!decodeCustomSystems(bytes, &read, &error));
    QTEST(error, "reason");
    QVERIFY(read.isEmpty()); // never a partial catalogue
}

void CustomDetectionFileTest::folderInPlaceOfFileIsAnError()
{
    QTemporaryDir folder;
    const QString path = customDetectionFilePath(folder.path());
    QVERIFY(QDir().mkdir(path));
    const CustomFileReadResult read = readCustomDetectionFile(path);
    QVERIFY(!read.missing);
    QVERIFY(!read.error.isEmpty());
}

// The lookup the command-line analyser uses; the systems it returns are the
// catalogue's own (their thresholds are checked with the selector).
void CustomDetectionFileTest::findsSystemByName_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("colour"); // "r,g,b", empty for built-ins
    QTest::addColumn<QString>("error");

    const QByteArray two(
        "2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n\"Rust\",\"200\",\"100\",\"0\"\r\n");
    const QByteArray damaged("2\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n");
    QTest::newRow("leaf area only, no file") << QByteArray() << "Leaf area only" << 0 << ""
                                             << "";
    QTest::newRow("built-in despite a damaged file") << damaged << "System 1" << 1 << ""
                                                     << "";
    QTest::newRow("second custom") << two << "Rust" << 6 << "200,100,0"
                                   << "";
    QTest::newRow("case matters") << two << "system 2" << -1 << ""
                                  << "There is no detection system named \"system 2\".";
    QTest::newRow("custom name without a file") << QByteArray() << "Spot" << -1 << ""
                                                << "There is no detection system named \"Spot\".";
    QTest::newRow("custom name in a damaged file")
        << damaged << "Spot" << -1 << ""
        << "The custom detection file %1 cannot be read.\nThe file ends after 1 of 2 records.";
}

void CustomDetectionFileTest::findsSystemByName()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, colour);
    QFETCH(QString, error);
    QTemporaryDir folder;
    const QString path = customDetectionFilePath(folder.path());
    if (!file.isEmpty())
        writeBytes(path, file);

    const DetectionSystemLookup lookup = findDetectionSystem(name, path);
    QCOMPARE(lookup.index, index);
    QCOMPARE(lookup.found(), index >= 0);
    QCOMPARE(lookup.error, error.arg(path));
    if (!lookup.found())
        return;
    QCOMPARE(lookup.system.name, name);
    const QString actual =
        lookup.system.referenceColour ? rgb(*lookup.system.referenceColour) : QString();
    QCOMPARE(actual, colour);
}

QTEST_GUILESS_MAIN(CustomDetectionFileTest)
#include "custom_detection_file_test.moc"
