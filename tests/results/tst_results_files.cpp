// Spot statistics in the report on pictures with a known number of lesions, and
// the results table's CSV text read back by Python's csv module.
#include "analysis_driver.h"
#include "detection_system.h"
#include "file_access.h"
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

class ResultsFilesTest : public QObject {
    Q_OBJECT
private slots:
    void reportCountsSeparateLesions_data();
    void reportCountsSeparateLesions();
    void csvReadsBackAsTheTable();
};

void ResultsFilesTest::reportCountsSeparateLesions_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("lesions");
    QTest::addColumn<int>("tenths");
    for (auto [system, lesions, tenths] : {std::array{1, 0, 10}, {2, 1, 10}, {3, 7, 5}, {4, 5, 10}})
        QTest::addRow("System %d, %d lesions, unit step %d/10", system, lesions, tenths)
            << system << lesions << tenths;
}

// A leaf with separate lesions the system detects, in a row far enough apart
// that none touch on the sample grid, and lesions of a kind it does not detect
// between them when there is such a kind.
void ResultsFilesTest::reportCountsSeparateLesions()
{
    QFETCH(int, system);
    QFETCH(int, lesions);
    QFETCH(int, tenths);
    SyntheticScene scene;
    scene.width = 720;
    scene.height = 300;
    scene.leaves = {{{20, 20, 680, 260}, Shape::Rectangle}};
    const LesionKind detected = lesionKindFor(system);
    const LesionKind other =
        detected == LesionKind::Necrotic ? LesionKind::Chlorotic : LesionKind::Necrotic;
    const SampleGeometry geometry(scene.width, scene.height, tenths);
    std::int64_t samples = 0;
    for (int i = 0; i < lesions; ++i) {
        const PixelRect spot{40 + 80 * i, 40 + 10 * i, 24 + 6 * i, 30 + 4 * i};
        scene.lesions.push_back({{spot, Shape::Rectangle}, detected});
        samples += samplesInRect(spot, geometry);
        if (!detectsLesion(system, other))
            scene.lesions.push_back({{{40 + 80 * i, 200, 30, 30}, Shape::Rectangle}, other});
    }
    const std::vector<std::uint32_t> pixels = renderScene(scene);

    AnalysisSettings settings;
    const DetectionSystem &chosen = builtInDetectionSystems().at(system);
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = chosen.baseThreshold;
    settings.detection.thresholdStep = chosen.thresholdStep;
    settings.unitStepTenths = tenths;
    settings.sizeRatio = 0.5; // a power of two: the areas are exact in any order
    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(
        driver.start(PixelBuffer{pixels.data(), scene.width, scene.height, scene.width}, settings));
    driver.runToEnd();
    QCOMPARE(finished.size(), 1);
    AnalysisResult result = finished.at(0).at(0).value<AnalysisResult>();
    const double unitStep = tenths / 10.0;
    const double spotArea = double(samples) * unitStep * unitStep * 0.25;
    const QLocale english(QLocale::English);
    const QStringList lines = buildReport(result, system, "mm", english).text.split(u'\n');
    // Title, empty line, the three lines of a symptom system, then the spots.
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(5), QStringLiteral("Number of spots\t%1").arg(lesions));
    QCOMPARE(lines.at(6), QStringLiteral("Mean spot area\t%1 mm 2")
                              .arg(english.toString(lesions ? spotArea / lesions : 0.0, 'f', 3)));
}

// Awkward line names, a unit with a comma and a decimal-comma locale: Python's
// csv module gives back the table, with decimal points.
void ResultsFilesTest::csvReadsBackAsTheTable()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is needed to read the file back");
    const QStringList names{"plain",           "Line 4, block B",      "the \"best\" one",
                            "Žlutý 黄叶 лист", " blank at both ends ", "two\r\nlines"};
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    ResultsTable table;
    table.prepare(2, "mm,x", int(names.size()) + 2, {/*spotColumns*/ true});
    QVector<QStringList> expected{{"File name", "Leaf area mm,x2", "Symptom area mm,x2",
                                   "Symptom %", "Spots", "Mean spot area mm,x2"}};
    for (int i = 0; i < names.size(); ++i) {
        AnalysisResult result{1234.5 + i, 12.25 * i, 0.0, names.at(i), 1000 + i, 0.0625 * i};
        table.recordRow(result);
        expected << QStringList{names.at(i),
                                QString::number(1234.5 + i, 'f', 3),
                                QString::number(12.25 * i, 'f', 3),
                                QString::number(12.25 * i / (1234.5 + i) * 100.0, 'f', 3),
                                QString::number(1000 + i),
                                QString::number(0.0625 * i, 'f', 3)};
    }
    table.recordEmptyRow("unread, sadly");
    expected << QStringList{"unread, sadly", "", "", "", "", ""};
    QCOMPARE(table.cell(1, 1), QStringLiteral("1234,500"));
    const QString text = resultsCsvText(table);
    QLocale::setDefault(before);
    QVERIFY(text.endsWith(QLatin1String("\r\n")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    QString error;
    QVERIFY2(writeFileSafely(path, text.toUtf8(), &error), qPrintable(error));
    QProcess reader;
    reader.start(python, {"-c",
                          "import csv, json, sys\n"
                          "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                          "    sys.stdout.write(json.dumps(list(csv.reader(f, strict=True))))\n",
                          path});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitCode(), 0);
    QVector<QStringList> read;
    for (const QJsonValue &row : QJsonDocument::fromJson(reader.readAllStandardOutput()).array())
        read << row.toVariant().toStringList();
    QCOMPARE(read, expected);
}

QTEST_GUILESS_MAIN(ResultsFilesTest)
#include "tst_results_files.moc"
