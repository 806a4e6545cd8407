#include "batch_options.h"

#include "calibration_check.h"
#include "number_text.h"

#include <QCommandLineParser>

#include <cmath>

namespace verdalis {

namespace {

std::optional<int> readWhole(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> readCount(const QString &text)
{
    const auto count = readWhole(text);
    return count && *count >= 1 ? count : std::nullopt;
}

// 0.1 .. 1.0 in steps of 0.1, as tenths; a typed 0.3 is not exactly 3/10 in binary.
std::optional<int> readTenths(const QString &text)
{
    const auto step = readNumberOrPointForm(text);
    if (!step)
        return std::nullopt;
    const double tenths = std::nearbyint(*step * 10.0);
    if (std::fabs(*step * 10.0 - tenths) > 1e-9 || tenths < 1 || tenths > 10)
        return std::nullopt;
    return int(tenths);
}

// Reads a numeric option into *target when it is given. False, with the
// message in *error, when its text is not acceptable.
template <typename Read, typename Target>
bool readOption(const QCommandLineParser &parser, const QCommandLineOption &option,
                const char *expected, Read read, Target *target, QString *error)
{
    if (!parser.isSet(option))
        return true;
    const QString text = parser.value(option);
    const auto value = read(text);
    if (!value) {
        *error = QStringLiteral("--%1: \"%2\" is not %3")
                     .arg(option.names().constLast(), text, QLatin1String(expected));
        return false;
    }
    *target = *value;
    return true;
}

} // namespace

BatchOptionsParse parseBatchOptions(const QStringList &arguments)
{
    const auto valued = [](const QString &name, const QString &valueName) {
        return QCommandLineOption(name, QString(), valueName);
    };
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption system = valued(QStringLiteral("system"), QStringLiteral("NAME"));
    const QCommandLineOption customFile =
        valued(QStringLiteral("custom-file"), QStringLiteral("PATH"));
    const QCommandLineOption slider = valued(QStringLiteral("slider"), QStringLiteral("N"));
    const QCommandLineOption unitStep = valued(QStringLiteral("unit-step"), QStringLiteral("X"));
    const QCommandLineOption calibration =
        valued(QStringLiteral("calibration"), QStringLiteral("FILE"));
    const QCommandLineOption sizeRatio = valued(QStringLiteral("size-ratio"), QStringLiteral("X"));
    const QCommandLineOption unit = valued(QStringLiteral("unit"), QStringLiteral("NAME"));
    const QCommandLineOption set = valued(QStringLiteral("set"), QStringLiteral("FILE"));
    const QCommandLineOption jobs = valued(QStringLiteral("jobs"), QStringLiteral("N"));
    const QCommandLineOption overlay = valued(QStringLiteral("overlay"), QStringLiteral("DIR"));
    const QCommandLineOption spots(QStringLiteral("spots"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption correctBackground(QStringLiteral("correct-background"));

    QCommandLineParser parser;
    parser.addOptions({help, version, system, customFile, slider, unitStep, calibration, sizeRatio,
                       unit, set, jobs, overlay, spots, csv, correctBackground});
    BatchOptionsParse result;
    BatchOptions &options = result.options;
    if (!parser.parse(QStringList{QStringLiteral("verdalis-batch")} + arguments)) {
        result.error = parser.errorText();
        return result;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    if (options.help || options.version)
        return result;

    if (parser.isSet(system))
        options.systemName = parser.value(system);
    options.customFile = parser.value(customFile);
    if (!readOption(parser, slider, "a whole number", readWhole, &options.sliderPosition,
                    &result.error) ||
        !readOption(parser, unitStep, "one of 0.1, 0.2, ... 1.0", readTenths,
                    &options.unitStepTenths, &result.error) ||
        !readOption(parser, sizeRatio, "a number", readNumberOrPointForm, &options.sizeRatio,
                    &result.error) ||
        !readOption(parser, jobs, "a whole number of at least 1", readCount, &options.jobs,
                    &result.error))
        return result;
    // The same limits as the window's calibration.
    if (options.sizeRatio) {
        if (const QString problem = sizeRatioProblem(*options.sizeRatio); !problem.isEmpty()) {
            result.error = QStringLiteral("--size-ratio: \"%1\" cannot be used: %2")
                               .arg(parser.value(sizeRatio), problem);
            return result;
        }
    }
    options.calibrationFile = parser.value(calibration);
    if (parser.isSet(unit)) {
        options.unitName = parser.value(unit);
        if (const QString problem = unitNameProblem(*options.unitName); !problem.isEmpty()) {
            result.error = QStringLiteral("--unit: ") + problem;
            return result;
        }
    }
    options.setFile = parser.value(set);
    options.overlayDir = parser.value(overlay);
    options.spots = parser.isSet(spots);
    options.csv = parser.isSet(csv);
    options.correctBackground = parser.isSet(correctBackground);
    options.pictures = parser.positionalArguments();

    if (!options.calibrationFile.isEmpty() && (options.sizeRatio || options.unitName)) {
        result.error =
            QStringLiteral("give either --calibration or --size-ratio with --unit, not both");
    } else if (options.calibrationFile.isEmpty() && !options.sizeRatio && !options.unitName) {
        result.error = QStringLiteral("the analysis needs a calibration: give --calibration "
                                      "FILE.clb, or --size-ratio X with --unit NAME");
    } else if (options.sizeRatio.has_value() != options.unitName.has_value()) {
        result.error = QStringLiteral("--size-ratio and --unit go together");
    } else if (!options.setFile.isEmpty() && !options.pictures.isEmpty()) {
        result.error = QStringLiteral("give either --set or pictures, not both");
    } else if (options.setFile.isEmpty() && options.pictures.isEmpty()) {
        result.error = QStringLiteral("no picture given: name pictures or give --set FILE");
    }
    return result;
}

QString batchUsageText()
{
    return QStringLiteral(
        "Usage: verdalis-batch [options] PICTURE...\n"
        "       verdalis-batch [options] --set FILE\n"
        "\n"
        "Analyses each picture as the Verdalis window does and writes the results table\n"
        "to standard output: a header line, then one tab-separated line per picture\n"
        "(line name = file name without its extension), in input order.\n"
        "\n"
        "Options:\n"
        "  --system NAME         detection system: \"Leaf area only\" (default), \"System 1\"\n"
        "                        to \"System 4\", or a custom system of the custom file\n"
        "  --custom-file PATH    custom detection file (default: CustFile beside the program)\n"
        "  --slider N            tolerance slider position (default 0); -3..10 for\n"
        "                        System 1, 2 and 4, -10..10 for System 3, -10..20 for custom\n"
        "  --unit-step X         picture unit in display millimetres, 0.1 to 1.0 in steps\n"
        "                        of 0.1 (default 1.0)\n"
        "  --calibration FILE    calibration file (.clb) saved by the window\n"
        "  --size-ratio X        real units per display millimetre (with --unit)\n"
        "  --unit NAME           name of the real unit, e.g. mm (with --size-ratio)\n"
        "  --set FILE            picture set: one line per picture, line name TAB path\n"
        "                        (relative paths are relative to the set file's folder)\n"
        "  --jobs N              pictures analysed at the same time (default: the cores\n"
        "                        this process may use)\n"
        "  --overlay DIR         write each picture with its detection overlay as PNG\n"
        "  --spots               add the columns Spots and Mean spot area (symptom systems)\n"
        "  --csv                 write comma-separated values (RFC 4180, CR LF, a\n"
        "                        decimal point in every locale) for spreadsheets, R\n"
        "                        and Python\n"
        "  --correct-background  even out grey or unevenly lit paper before analysing\n"
        "                        (in memory; the header's first column says so)\n"
        "  -h, --help            show this text\n"
        "  --version             show the version\n"
        "\n"
        "Numbers are written and read with the user's locale (LC_ALL, LC_NUMERIC, LANG);\n"
        "run with LC_ALL=C, or use --csv, for a decimal point. Exit status: 0 all\n"
        "analysed, 1 a picture could not be read or analysed (its row has empty\n"
        "figures), 2 bad input, 3 the results could not be written to standard output.\n"
        "\n"
        "A picture whose border largely passes the leaf test (a background that is not\n"
        "near black or near white, such as grey paper) gets a message on standard error\n"
        "naming its background; its figures are still written and the exit status stays.\n");
}

} // namespace verdalis
