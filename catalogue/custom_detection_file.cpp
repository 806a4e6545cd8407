#include "custom_detection_file.h"

#include "file_access.h"
#include "quoted_field_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace verdalis {

namespace {

const QChar Quote = u'"';
// 32767 systems of a long name each stay far below this.
constexpr qint64 MaxFileBytes = 16 << 20;

// The file is written as UTF-8; a file saved by another editor in a legacy
// 8-bit encoding still reads, as Latin-1, rather than failing.
QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool parseChannel(const QString &field, int *value)
{
    bool ok = false;
    *value = field.trimmed().toInt(&ok);
    return ok && *value >= 0 && *value <= 255;
}

} // namespace

QString customDetectionFilePath(const QString &programFolder)
{
    return QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("CustFile")));
}

QByteArray encodeCustomSystems(const QList<DetectionSystem> &customSystems)
{
    QString text = QString::number(customSystems.size()) + QStringLiteral("\r\n");
    for (const DetectionSystem &system : customSystems) {
        const Rgb colour = system.referenceColour.value_or(Rgb{});
        const QStringList fields = {system.name, QString::number(colour.red),
                                    QString::number(colour.green), QString::number(colour.blue)};
        QStringList quoted;
        for (const QString &field : fields)
            quoted << Quote + field + Quote;
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

bool decodeCustomSystems(const QByteArray &bytes, QList<DetectionSystem> *customSystems,
                         QString *error)
{
    customSystems->clear();
    if (bytes.contains('\0')) {
        *error = QStringLiteral("It is not a custom detection file: it holds binary data.");
        return false;
    }
    const QString text = decodeText(bytes);
    QuotedFieldReader reader(text);

    QString countText;
    if (reader.readField(&countText, true, true) == QuotedFieldReader::Outcome::Field)
        reader.endField();
    countText = countText.trimmed();
    if (countText.isEmpty()) {
        *error = QStringLiteral("The file holds no record count.");
        return false;
    }
    bool ok = false;
    const qint16 count = countText.toShort(&ok);
    if (!ok || count < 0) {
        const QString shown = quotedExcerpt(countText);
        *error = QStringLiteral("The record count%1 is not a whole number from 0 to 32767.")
                     .arg(shown.isEmpty() ? QString() : QLatin1Char(' ') + shown);
        return false;
    }

    QList<DetectionSystem> systems;
    systems.reserve(count);
    for (int record = 1; record <= count; ++record) {
        QString fields[4];
        for (QString &field : fields) {
            using Outcome = QuotedFieldReader::Outcome;
            Outcome outcome = reader.readField(&field, false, true);
            if (outcome == Outcome::Field)
                outcome = reader.endField();
            if (outcome == Outcome::Field)
                continue;
            if (outcome == Outcome::EndOfText) {
                *error = QStringLiteral("The file ends after %1 of %2 records.")
                             .arg(record - 1)
                             .arg(count);
                return false;
            }
            const QString what = outcome == Outcome::NoOpeningQuote
                                     ? QStringLiteral("a field does not start with a double quote.")
                                 : outcome == Outcome::NoClosingQuote
                                     ? QStringLiteral("a field has no closing double quote.")
                                     : QStringLiteral("unexpected text after a field.");
            *error = QStringLiteral("Record %1 of %2: ").arg(record).arg(count) + what;
            return false;
        }
        Rgb colour;
        int *channels[3] = {&colour.red, &colour.green, &colour.blue};
        for (int i = 0; i < 3; ++i) {
            if (!parseChannel(fields[i + 1], channels[i])) {
                const QString shown = quotedExcerpt(fields[i + 1]);
                *error = QStringLiteral("Record %1 of %2: %3 is not a colour value from 0 to 255.")
                             .arg(record)
                             .arg(count)
                             .arg(shown.isEmpty() ? QStringLiteral("a field") : shown);
                return false;
            }
        }
        systems.append(customDetectionSystem(fields[0], colour));
    }
    *customSystems = systems;
    return true;
}

CustomFileReadResult readCustomDetectionFile(const QString &path)
{
    CustomFileReadResult result;
    if (!QFileInfo::exists(path)) {
        result.missing = true;
        return result;
    }
    const InputFileRead read = readInputFile(path, MaxFileBytes);
    result.error = read.error;
    if (result.error.isEmpty())
        decodeCustomSystems(read.bytes, &result.systems, &result.error);
    return result;
}

bool writeCustomDetectionFile(const QString &path, const QList<DetectionSystem> &customSystems,
                              QString *error)
{
    // Never in place: a failure part-way (a full disk) would leave a truncated
    // catalogue, and every custom system would be lost at the next start.
    return writeFileSafely(path, encodeCustomSystems(customSystems), error);
}

} // namespace verdalis
