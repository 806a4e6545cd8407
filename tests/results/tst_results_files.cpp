// Spot statistics in the report, the results table as a CSV file read back by
// independent parsers, and the overlay and CSV files' names and failed writes.
#include "analysis_driver.h"
#include "detection_system.h"
#include "file_access.h"
#include "overlay_picture.h"
#include "results_csv.h"
#include "results_table.h"
#include "sample_geometry.h"
#include "synthetic_leaves.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace verdalis;

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

// A leaf with `count` separate lesions the system detects (in a row, far
// enough apart that no two touch on the sample grid) and, between them,
// lesions of a kind it does not detect when there is such a kind.
struct SpotScene {
    QImage picture;
    std::int64_t detectedSamples = 0;
};

SpotScene spotScene(int system, int count, int tenths)
{
    SyntheticScene scene;
    scene.width = 720;
    scene.height = 300;
    scene.leaves = {{{20, 20, 680, 260}, Shape::Rectangle}};
    const LesionKind detected = lesionKindFor(system);
    const LesionKind other =
        detected == LesionKind::Necrotic ? LesionKind::Chlorotic : LesionKind::Necrotic;
    const SampleGeometry geometry(scene.width, scene.height, tenths);
    SpotScene result;
    for (int i = 0; i < count; ++i) {
        const PixelRect spot{40 + 80 * i, 40 + 10 * i, 24 + 6 * i, 30 + 4 * i};
        scene.lesions.push_back({{spot, Shape::Rectangle}, detected});
        result.detectedSamples += samplesInRect(spot, geometry);
        if (!detectsLesion(system, other))
            scene.lesions.push_back({{{40 + 80 * i, 200, 30, 30}, Shape::Rectangle}, other});
    }
    const std::vector<std::uint32_t> pixels = renderScene(scene);
    result.picture = QImage(reinterpret_cast<const uchar *>(pixels.data()), scene.width,
                            scene.height, scene.width * 4, QImage::Format_RGB32)
                         .copy();
    return result;
}

AnalysisResult analysed(const QImage &picture, int system, int tenths, double sizeRatio)
{
    const DetectionSystem &chosen = builtInDetectionSystems().at(system);
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = chosen.baseThreshold;
    settings.detection.thresholdStep = chosen.thresholdStep;
    settings.unitStepTenths = tenths;
    settings.sizeRatio = sizeRatio;
    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(),
                             std::ptrdiff_t(picture.bytesPerLine() / 4)};
    if (!driver.start(buffer, settings))
        qFatal("the analysis did not start");
    driver.runToEnd();
    if (finished.size() != 1)
        qFatal("the analysis did not finish");
    return finished.at(0).at(0).value<AnalysisResult>();
}

// An RFC 4180 reader written from the RFC, independent of the writer: records
// end in CR LF, fields are separated by commas, a quoted field may hold commas,
// line breaks and doubled quotes. Anything else fails the test.
QVector<QStringList> readCsv(const QString &text)
{
    QVector<QStringList> records;
    QStringList record;
    QString field;
    int i = 0;
    const auto fail = [&](const char *why) {
        QTest::qFail(why, __FILE__, __LINE__);
        return QVector<QStringList>();
    };
    while (i < text.size()) {
        if (text.at(i) == u'"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return fail("a quoted field is not closed");
                if (text.at(i) == u'"') {
                    if (i + 1 < text.size() && text.at(i + 1) == u'"')
                        field += text.at(++i);
                    else
                        break;
                } else {
                    field += text.at(i);
                }
            }
            ++i;
        } else {
            while (i < text.size() && text.at(i) != u',' && text.at(i) != u'\r') {
                if (text.at(i) == u'"' || text.at(i) == u'\n')
                    return fail("a quote or a line feed in an unquoted field");
                field += text.at(i++);
            }
        }
        if (i < text.size() && text.at(i) == u',') {
            record << field;
            field.clear();
            ++i;
        } else if (text.mid(i, 2) == QLatin1String("\r\n")) {
            record << field;
            field.clear();
            records << record;
            record.clear();
            i += 2;
        } else {
            return fail("a field is followed by neither a comma nor CR LF");
        }
    }
    if (!record.isEmpty() || !field.isEmpty())
        return fail("the last record does not end in CR LF");
    return records;
}

// Python's csv module reading the file, when python3 is there.
std::optional<QVector<QStringList>> readCsvWithPython(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(python, {"-c",
                           "import csv, json, sys\n"
                           "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                           "    sys.stdout.write(json.dumps(list(csv.reader(f))))\n",
                           path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return std::nullopt;
    QVector<QStringList> records;
    for (const QJsonValue &row : QJsonDocument::fromJson(process.readAllStandardOutput()).array())
        records << row.toVariant().toStringList();
    return records;
}

} // namespace

class ResultsFilesTest : public QObject {
    Q_OBJECT
private slots:
    void reportCountsSeparateLesions_data();
    void reportCountsSeparateLesions();
    void csvReadsBackAsTheTable_data();
    void csvReadsBackAsTheTable();
    void overlayNamesAndFormats_data();
    void overlayNamesAndFormats();
    void failedWritesLeaveNothing_data();
    void failedWritesLeaveNothing();
};

void ResultsFilesTest::reportCountsSeparateLesions_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("lesions");
    QTest::addColumn<int>("tenths");
    QTest::newRow("System 1, no lesion") << 1 << 0 << 10;
    QTest::newRow("System 1, one lesion") << 1 << 1 << 10;
    QTest::newRow("System 2, four lesions") << 2 << 4 << 10;
    QTest::newRow("System 3, seven lesions, unit step 0.5") << 3 << 7 << 5;
    QTest::newRow("System 4, five lesions") << 4 << 5 << 10;
}

void ResultsFilesTest::reportCountsSeparateLesions()
{
    QFETCH(int, system);
    QFETCH(int, lesions);
    QFETCH(int, tenths);
    // Powers of two: the areas are exact in binary, whatever order they are summed in.
    const double sizeRatio = 0.5;
    const double unitStep = tenths / 10.0;
    const SpotScene scene = spotScene(system, lesions, tenths);
    AnalysisResult result = analysed(scene.picture, system, tenths, sizeRatio);
    const double spotArea =
        double(scene.detectedSamples) * unitStep * unitStep * sizeRatio * sizeRatio;
    QCOMPARE(result.symptomArea, spotArea);

    const QStringList lines =
        buildReport(result, system, QStringLiteral("mm"), English).text.split(u'\n');
    // Title, empty line, the three lines of a symptom system, then the spots.
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(5), QStringLiteral("Number of spots\t%1").arg(lesions));
    QCOMPARE(lines.at(6), QStringLiteral("Mean spot area\t%1 mm 2")
                              .arg(English.toString(lesions ? spotArea / lesions : 0.0, 'f', 3)));
    QCOMPARE(lines.at(7), QString());
}

void ResultsFilesTest::csvReadsBackAsTheTable_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<bool>("spots");
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("symptom system, spots, decimal comma locale") << 2 << true << German;
    QTest::newRow("symptom system, no spots") << 1 << false << English;
    QTest::newRow("leaf area only, decimal comma locale") << 0 << true << German;
}

void ResultsFilesTest::csvReadsBackAsTheTable()
{
    QFETCH(int, system);
    QFETCH(bool, spots);
    QFETCH(QLocale, locale);
    const QLocale before;
    QLocale::setDefault(locale);
    const QStringList names{QStringLiteral("plain"),
                            QStringLiteral("Line 4, block B"),
                            QStringLiteral("the \"best\" one"),
                            QStringLiteral("Žlutý list 黄叶 лист"),
                            QStringLiteral(" blank at both ends "),
                            QStringLiteral("two\r\nlines"),
                            QStringLiteral("\"quoted\",then,commas")};
    ResultsTable table;
    // A unit with a comma: the header field must be quoted as well.
    const QString unit = QStringLiteral("mm,x");
    table.prepare(system, unit, int(names.size()) + 2, spots);
    QVector<QStringList> expected{resultsHeaderFields(system, unit, spots && system != 0)};
    for (int i = 0; i < names.size(); ++i) {
        AnalysisResult result;
        result.pictureName = names.at(i);
        result.leafArea = 1234.5 + i;
        result.symptomArea = 12.25 * i;
        result.perimeter = 150.125 + i;
        result.spotCount = 1000 + i;
        result.meanSpotArea = 0.0625 * i;
        table.recordRow(result);
        QStringList cells{names.at(i), QStringLiteral("%1.500").arg(1234 + i)};
        if (system == 0) {
            cells << QStringLiteral("%1.125").arg(150 + i);
        } else {
            cells << QString::number(12.25 * i, 'f', 3)
                  << QString::number(12.25 * i / (1234.5 + i) * 100.0, 'f', 3);
            if (spots)
                cells << QString::number(1000 + i) << QString::number(0.0625 * i, 'f', 3);
        }
        expected << cells;
    }
    // A picture without figures keeps its name and empty fields.
    table.recordEmptyRow(QStringLiteral("unread, sadly"));
    QStringList unread(expected.constFirst().size());
    unread[0] = QStringLiteral("unread, sadly");
    expected << unread;
    // Under a decimal-comma locale the table shows commas; the file never does.
    QCOMPARE(table.cell(1, 1), locale.decimalPoint() == u',' ? QStringLiteral("1234,500")
                                                             : QStringLiteral("1234.500"));

    const QString text = resultsCsvText(table);
    QLocale::setDefault(before);
    QCOMPARE(readCsv(text), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    QString error;
    QVERIFY2(writeFileSafely(path, text.toUtf8(), &error), qPrintable(error));
    if (const auto python = readCsvWithPython(path))
        QCOMPARE(*python, expected);
    else
        qInfo("python3 not found: the file was read by the test's own reader only");
}

void ResultsFilesTest::overlayNamesAndFormats_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chosen"); // 0 PNG, 1 JPEG
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format"); // -1: refused
    QTest::newRow("no extension, PNG chosen") << "/a/leaf" << 0 << "/a/leaf.png" << 0;
    QTest::newRow("no extension, JPEG chosen") << "/a/leaf" << 1 << "/a/leaf.jpg" << 1;
    QTest::newRow("the typed extension wins") << "/a/leaf.PNG" << 1 << "/a/leaf.PNG" << 0;
    QTest::newRow("jpeg") << "/a/leaf.jpeg" << 0 << "/a/leaf.jpeg" << 1;
    QTest::newRow("another type is refused") << "/a/leaf.bmp" << 0 << "/a/leaf.bmp" << -1;
    QTest::newRow("a dotted name") << "/a/leaf.v2.jpg" << 0 << "/a/leaf.v2.jpg" << 1;
}

void ResultsFilesTest::overlayNamesAndFormats()
{
    QFETCH(QString, typed);
    QFETCH(int, chosen);
    QFETCH(int, format);
    const QString path =
        withOverlaySuffix(typed, chosen == 1 ? OverlayFormat::Jpeg : OverlayFormat::Png);
    QTEST(path, "path");
    const std::optional<OverlayFormat> asked = overlayFormatOf(path);
    QCOMPARE(asked ? int(*asked) : -1, format);
}

void ResultsFilesTest::failedWritesLeaveNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("target"); // relative to a fresh folder
    QTest::newRow("overlay into a missing folder") << "overlay"
                                                   << "missing/leaf.png";
    QTest::newRow("overlay below a file") << "overlay"
                                          << "plain-file/leaf.png";
    QTest::newRow("overlay over a folder") << "overlay"
                                           << "folder";
    QTest::newRow("JPEG overlay below a file") << "overlay"
                                               << "plain-file/leaf.jpg";
    QTest::newRow("CSV below a file") << "csv"
                                      << "plain-file/results.csv";
    QTest::newRow("CSV over a folder") << "csv"
                                       << "folder";
}

void ResultsFilesTest::failedWritesLeaveNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, target);
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("kept");
    plain.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const auto contents = [&] {
        QStringList entries;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << it.next();
        entries.sort();
        return entries;
    };
    const QStringList before = contents();

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ResultsTable table;
    table.prepare(1, QStringLiteral("mm"), 2);
    QString error;
    const QString path = dir.filePath(target);
    const bool written = kind == QLatin1String("overlay")
                             ? writeOverlayPicture(picture, path, &error)
                             : writeFileSafely(path, resultsCsvText(table).toUtf8(), &error);
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(), before);
    QVERIFY(plain.open(QIODevice::ReadOnly));
    QCOMPARE(plain.readAll(), QByteArray("kept"));
}

QTEST_GUILESS_MAIN(ResultsFilesTest)
#include "tst_results_files.moc"
