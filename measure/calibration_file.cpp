#include "calibration_file.h"

#include "number_text.h"
#include "quoted_field_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace verdalis {

const QString CalibrationFile::kEscapeMarker = QStringLiteral("%CLB1%");

namespace {
constexpr int kFieldCount = 6;
constexpr int kSignificantDigits = 15;
// Printable ASCII stays readable in an escaped field; only '%' and '"' are
// percent-encoded among them (besides everything outside printable ASCII).
const QByteArray kKeptPunctuation = QByteArrayLiteral(" !#$&'()*+,/:;<=>?@[\\]^`{|}");

bool needsEscape(const QString &text)
{
    if (text.startsWith(CalibrationFile::kEscapeMarker))
        return true;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == '"' || (code < 0x20 && code != '\t') || (code >= 0x7f && code < 0xa0) ||
            code > 0xff)
            return true;
    }
    return false;
}

QString fileError(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

// Locales whose digits are not ASCII write the number the point way, which
// reading accepts too.
QByteArray sizeRatioText(double sizeRatio)
{
    const QString text = significantText(sizeRatio, kSignificantDigits);
    for (const QChar ch : text)
        if (ch.unicode() > 0x7f)
            return QLocale::c().toString(sizeRatio, 'g', kSignificantDigits).toLatin1();
    return text.toLatin1();
}

} // namespace

QByteArray CalibrationFile::encodeField(const QString &text)
{
    if (!needsEscape(text))
        return text.toLatin1();
    return kEscapeMarker.toLatin1() + text.toUtf8().toPercentEncoding(kKeptPunctuation);
}

QString CalibrationFile::decodeField(const QString &text)
{
    if (!text.startsWith(kEscapeMarker))
        return text;
    return QString::fromUtf8(
        QByteArray::fromPercentEncoding(text.mid(kEscapeMarker.size()).toLatin1()));
}

QByteArray CalibrationFile::encode(const Calibration &calibration)
{
    const QByteArray lines[kFieldCount] = {
        sizeRatioText(calibration.sizeRatio),         encodeField(calibration.unitName),
        encodeField(calibration.notes.sizeRatioNote), encodeField(calibration.notes.scannerName),
        encodeField(calibration.notes.resolution),    encodeField(calibration.notes.otherNotes),
    };
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += '"' + line + "\"\r\n";
    return bytes;
}

std::optional<Calibration> CalibrationFile::decode(const QByteArray &bytes, QString *error,
                                                   const QString &fileName)
{
    // One field a line: a quoted field runs to its closing quote (across line ends:
    // earlier versions wrote multi-line notes that way), a bare one to the next comma
    // or line end, and the rest of the line is ignored.
    const QString text = QString::fromLatin1(bytes);
    QuotedFieldReader reader(text);
    QString fields[kFieldCount];
    for (int line = 0; line < kFieldCount; ++line) {
        const auto outcome = reader.readField(&fields[line], true, false);
        if (outcome != QuotedFieldReader::Outcome::Field) {
            if (error)
                *error = outcome == QuotedFieldReader::Outcome::NoClosingQuote
                             ? QStringLiteral("line %1 of %2 opens a double quote that is never "
                                              "closed")
                                   .arg(line + 1)
                                   .arg(fileName)
                             : QStringLiteral("%1 holds %2 of the %3 lines of a calibration file")
                                   .arg(fileName)
                                   .arg(line)
                                   .arg(kFieldCount);
            return std::nullopt;
        }
        fields[line].replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        reader.skipRestOfLine();
    }
    const auto sizeRatio = readNumberOrPointForm(fields[0]);
    if (!sizeRatio) {
        if (error)
            *error =
                QStringLiteral("line 1 of %1 is not a number: \"%2\"").arg(fileName, fields[0]);
        return std::nullopt;
    }
    Calibration calibration;
    calibration.sizeRatio = *sizeRatio;
    calibration.unitName = decodeField(fields[1]);
    calibration.notes.sizeRatioNote = decodeField(fields[2]);
    calibration.notes.scannerName = decodeField(fields[3]);
    calibration.notes.resolution = decodeField(fields[4]);
    calibration.notes.otherNotes = decodeField(fields[5]);
    return calibration;
}

bool CalibrationFile::write(const QString &path, const Calibration &calibration, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(calibration)) < 0 || !file.commit()) {
        if (error)
            *error = fileError(path, file.errorString());
        return false;
    }
    return true;
}

std::optional<Calibration> CalibrationFile::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileError(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    return decode(bytes, error, QFileInfo(path).fileName());
}

} // namespace verdalis
