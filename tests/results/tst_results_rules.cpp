// The results without any widget: the report's text and figures, the results
// table and its CSV text (read back by Python's csv module), and the window-side
// analysis driver against the engine run alone.
#include "analysis_driver.h"
#include "detection_system.h"
#include "file_access.h"
#include "picture_canvas.h"
#include "results_csv.h"
#include "results_report.h"
#include "results_table.h"
#include "synthetic_leaves.h"
#include "workspace_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace verdalis;

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

// Counts the dots a run paints.
struct DotCounter : OverlayPainter {
    void paintDot(std::int32_t, std::int32_t, RgbColour, int) override { ++count; }
    int count = 0;
};

const DetectionSystem &builtIn(int system)
{
    return builtInDetectionSystems().at(system);
}

QImage leafPicture(int width, int height, std::uint32_t seed)
{
    const std::vector<std::uint32_t> pixels = renderScene(randomLeafScene(width, height, seed));
    return QImage(reinterpret_cast<const uchar *>(pixels.data()), width, height, width * 4,
                  QImage::Format_RGB32)
        .copy();
}

PixelBuffer bufferOf(const QImage &image)
{
    return {reinterpret_cast<const std::uint32_t *>(image.constBits()), image.width(),
            image.height(), std::ptrdiff_t(image.bytesPerLine() / 4)};
}

AnalysisSettings settingsFor(int system, int tenths = 10, double sizeRatio = 1.0)
{
    AnalysisSettings settings;
    settings.detection.systemIndex = system;
    settings.detection.baseThreshold = builtIn(system).baseThreshold;
    settings.detection.thresholdStep = builtIn(system).thresholdStep;
    settings.unitStepTenths = tenths;
    settings.sizeRatio = sizeRatio;
    return settings;
}

// The workspace a driver reads, over a picture, for a built-in system.
struct Workspace {
    WorkspaceState state;
    PictureCanvas canvas;

    Workspace(const QImage &picture, int system)
    {
        canvas.setPicture(picture);
        state.setSystemIndex(system);
        state.setThreshold(builtIn(system).baseThreshold, builtIn(system).thresholdStep);
    }
};
} // namespace

class ResultsRulesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(English); }

    void reportText_data();
    void reportText();
    void numbersArePlainDecimals();
    void tableKeepsItsRowsSystemAndUnit();
    void csvReadsBackAsTheTable();

    void driverGivesTheEnginesFigures_data();
    void driverGivesTheEnginesFigures();
    void oversizedRunFailsAndLeavesTheDriverUsable();
    void startClearsEarlierDrawings();
    void canvasGoneMidRunEndsCleanly();
};

void ResultsRulesTest::reportText_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("leaf");
    QTest::addColumn<double>("symptom");
    QTest::addColumn<double>("perimeter");
    QTest::addColumn<QString>("text");
    // Which characters are raised is checked on the page, where they are drawn.
    QTest::addColumn<double>("chartNonSymptom");
    QTest::addColumn<double>("chartSymptom");     // the symptom area, capped
    QTest::addColumn<QStringList>("chartLabels"); // empty: no shares, a note instead

    const QString title = QStringLiteral("Results of leaf image analysis\n\n");
    // Two spots where there are symptoms; their mean area is taken before the cap.
    const QString symptomLines = title + QStringLiteral("Total scanned leaf area \t%1 %5 2\n"
                                                        "Total detected symptom area \t%2 %5 2\n"
                                                        "Symptom area ratio\t%3 %\n"
                                                        "Number of spots\t%4\n"
                                                        "Mean spot area\t%6 %5 2\n");
    QTest::newRow("symptom larger than leaf is capped")
        << 2 << "cm" << English << 10.0 << 12.0 << 0.0
        << symptomLines.arg("10.000", "10.000", "100.000", "2", "cm", "6.000") << 0.0 << 10.0
        << QStringList{"0.000 %", "100.000 %"};
    QTest::newRow("no leaf") << 3 << "mm" << English << 0.0 << 0.0 << 0.0
                             << symptomLines.arg("0.000", "0.000", "0.000", "0", "mm", "0.000")
                             << 0.0 << 0.0 << QStringList();
    QTest::newRow("leaf area only: perimeter line ends the text")
        << 0 << "mm" << English << 1234.5 << 0.0 << 150.25
        << title + "Total scanned leaf area \t1234.500 mm 2\n"
                   "Leaf perimeter \t150.250 mm"
        << 1234.5 << 0.0 << QStringList{"100.000 %", "0.000 %"};
    QTest::newRow("decimal comma, no grouping")
        << 1 << "mm" << German << 1234567.5 << 56.78 << 0.0
        << symptomLines.arg("1234567,500", "56,780", "0,005", "2", "mm", "28,390")
        << 1234567.5 - 56.78 << 56.78 << QStringList{"99,995 %", "0,005 %"};
}

void ResultsRulesTest::reportText()
{
    QFETCH(int, system);
    QFETCH(QString, unit);
    QFETCH(QLocale, locale);
    QFETCH(double, leaf);
    QFETCH(double, symptom);
    QFETCH(double, perimeter);
    QFETCH(QStringList, chartLabels);

    AnalysisResult figures{leaf, symptom, perimeter, QString()};
    figures.spotCount = symptom > 0.0 ? 2 : 0;
    figures.meanSpotArea = symptom > 0.0 ? symptom / 2 : 0.0;
    const ReportLayout layout = buildReport(figures, system, unit, locale);
    QTEST(layout.text, "text");
    QCOMPARE(layout.text.left(layout.titleLength),
             QStringLiteral("Results of leaf image analysis"));
    QTEST(figures.symptomArea, "chartSymptom");
    QTEST(layout.chart.nonSymptomArea, "chartNonSymptom");
    QTEST(layout.chart.symptomArea, "chartSymptom");
    QCOMPARE(layout.chart.emptyNote.isEmpty(), !chartLabels.isEmpty());
    if (!chartLabels.isEmpty())
        QCOMPARE((QStringList{layout.chart.nonSymptomLabel, layout.chart.symptomLabel}),
                 chartLabels);
}

void ResultsRulesTest::numbersArePlainDecimals()
{
    // 1.0005 is stored just below the half, 0.0005 just above it.
    QCOMPARE(formatResult(1.0005, English), QStringLiteral("1.000"));
    QCOMPARE(formatResult(0.0005, English), QStringLiteral("0.001"));
    QCOMPARE(leafAreaText(1234.5, German), QStringLiteral("1234,5"));
    QCOMPARE(leafAreaText(25.0, English), QStringLiteral("25"));
    QCOMPARE(leafAreaText(0.1 + 0.2, English), QStringLiteral("0.3"));
}

void ResultsRulesTest::tableKeepsItsRowsSystemAndUnit()
{
    QLocale::setDefault(German);
    ResultsTable table;
    table.prepare(1, QStringLiteral("cm"), 3);
    AnalysisResult leaf{1234.5, 0.0, 150.25, "leaf1"};
    table.recordRow(leaf, English);
    // A second batch lays the table out afresh.
    table.prepare(0, QStringLiteral("mm"), 3);
    table.recordRow(leaf, English);
    // The copied header is the table's, whatever is chosen later. The second
    // row was never recorded and copies as empty cells.
    QCOMPARE(table.copyText(table.preparedSystemIndex(), table.preparedUnitName()),
             QStringLiteral("File name\tLeaf area mm2\tPerimeter mm\n"
                            "leaf1\t1234.500\t150.250\n"
                            "\t\t\n"));

    // Without an explicit locale the user's is used. A picture still running
    // when its picture set was closed is recorded too, capped.
    table.prepare(1, QStringLiteral("mm"), 2);
    table.recordRow(leaf);
    AnalysisResult late{5.0, 6.0, 0.0, "late"};
    table.recordRow(late);
    QCOMPARE(table.currentRow(), 2);
    QCOMPARE(table.dataRows(), (QVector<QStringList>{{"leaf1", "1234,500", "0,000", "0,000"},
                                                     {"late", "5,000", "5,000", "100,000"}}));
}

// Awkward line names, a unit with a comma and a decimal-comma locale: Python's
// csv module gives back the table, with decimal points.
void ResultsRulesTest::csvReadsBackAsTheTable()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is needed to read the file back");
    const QStringList names{"plain",           "Line 4, block B",      "the \"best\" one",
                            "Žlutý 黄叶 лист", " blank at both ends ", "two\r\nlines"};
    QLocale::setDefault(German);
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

void ResultsRulesTest::driverGivesTheEnginesFigures_data()
{
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("slider");
    QTest::newRow("leaf area only") << 0 << 0;
    QTest::newRow("System 4 at 5") << 4 << 5;
    QTest::newRow("custom system at -2") << int(FirstCustomSystem) << -2;
}

// Every setting the run reads comes from the workspace, and the run goes on
// from the event loop, as the window drives it. Whether its dots land where the
// engine puts them is checked against the command-line analyser's overlay.
void ResultsRulesTest::driverGivesTheEnginesFigures()
{
    QFETCH(int, system);
    QFETCH(int, slider);
    const DetectionSystem detection =
        system < FirstCustomSystem
            ? builtIn(system)
            : customDetectionSystem(QStringLiteral("Rust"), lesionColour(LesionKind::Necrotic));
    const QImage picture = leafPicture(260, 190, 11);
    Workspace workspace(picture, 0);
    workspace.canvas.setUnitStepTenths(3);
    workspace.state.setThreshold(detection.baseThreshold, detection.thresholdStep);
    workspace.state.setSliderPosition(slider);
    workspace.state.setCustomColour(detection.referenceColour.value_or(Rgb{}));
    workspace.state.setSystemIndex(system);
    workspace.state.setSizeRatio(2.5);
    workspace.state.setCurrentPictureName(QStringLiteral("leafA"));

    AnalysisSettings settings;
    settings.detection = {system, detection.baseThreshold, detection.thresholdStep, slider,
                          detection.referenceColour.value_or(Rgb{})};
    settings.unitStepTenths = 3;
    settings.sizeRatio = 2.5;
    DotCounter dots;
    AnalysisRun reference;
    reference.start(bufferOf(picture), settings, &dots);
    reference.runToEnd();
    const AnalysisFigures expected = reference.figures();
    QVERIFY(system == 0 ? expected.perimeter > 0 : expected.symptomArea > 0);

    AnalysisDriver driver;
    QSignalSpy sampled(&driver, &AnalysisDriver::samplingFinished);
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QSignalSpy drawings(&workspace.canvas, &PictureCanvas::drawingsChanged);
    QVERIFY(driver.start(workspace.canvas, workspace.state));
    QTRY_VERIFY_WITH_TIMEOUT(!driver.isRunning(), 60000);

    QCOMPARE(sampled.count(), 1);
    QVERIFY(sampled.first().first().toDouble() == expected.leafArea);
    QCOMPARE(finished.count(), 1);
    const auto result = finished.first().first().value<AnalysisResult>();
    QVERIFY(result.leafArea == expected.leafArea);
    QVERIFY(result.symptomArea == expected.symptomArea);
    QVERIFY(result.perimeter == expected.perimeter);
    QCOMPARE(result.pictureName, QStringLiteral("leafA"));
    // Dots are repainted per time slice, not one by one.
    QVERIFY(drawings.count() >= 1 && drawings.count() < dots.count);
}

void ResultsRulesTest::oversizedRunFailsAndLeavesTheDriverUsable()
{
    // 60000 x 60000 pixels at unit step 0.1: far more samples than memory allows.
    // The engine refuses before it reads a pixel.
    const std::uint32_t pixel = 0xFF808080u;
    const PixelBuffer huge{&pixel, 60000, 60000, 60000};
    AnalysisDriver driver;
    QSignalSpy failed(&driver, &AnalysisDriver::failed);
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(!driver.start(huge, settingsFor(1, 1)));
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.first().first().toString().contains(QStringLiteral("not enough memory")));
    QVERIFY(!driver.isRunning());

    Workspace workspace(leafPicture(80, 60, 3), 0);
    QVERIFY(driver.start(workspace.canvas, workspace.state));
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(failed.count(), 1);
}

void ResultsRulesTest::startClearsEarlierDrawings()
{
    // White picture: no leaf, so the run paints nothing of its own.
    QImage white(120, 90, QImage::Format_RGB32);
    white.fill(Qt::white);
    Workspace workspace(white, 2);
    workspace.canvas.setPen(Qt::green, 3);
    workspace.canvas.drawLine(QPointF(2, 2), QPointF(20, 20));

    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(driver.start(workspace.canvas, workspace.state));
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().value<AnalysisResult>().leafArea, 0.0);
    QVERIFY(workspace.canvas.composedImage() == workspace.canvas.picture());
}

void ResultsRulesTest::canvasGoneMidRunEndsCleanly()
{
    const QImage picture = leafPicture(400, 300, 11);
    auto workspace = std::make_unique<Workspace>(picture, 4);
    AnalysisDriver driver;
    QSignalSpy finished(&driver, &AnalysisDriver::finished);
    QVERIFY(driver.start(workspace->canvas, workspace->state));
    QCoreApplication::processEvents(); // one time slice
    workspace.reset();
    driver.runToEnd();
    QCOMPARE(finished.count(), 1);

    AnalysisRun reference;
    reference.start(bufferOf(picture), settingsFor(4));
    reference.runToEnd();
    QVERIFY(finished.first().first().value<AnalysisResult>().symptomArea ==
            reference.figures().symptomArea);
}

QTEST_MAIN(ResultsRulesTest)
#include "tst_results_rules.moc"
