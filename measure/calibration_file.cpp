#include "calibration_file.h"

#include "calibration_check.h"
#include "file_access.h"
#include "number_text.h"
#include "quoted_field_reader.h"

#include <QDir>
#include <QFileInfo>

namespace verdalis {

const QString CalibrationFile::kEscapeMarker = QStringLiteral("%CLB1%");

namespace {
constexpr int kFieldCount = 6;
constexpr int kSignificantDigits = 15;
// Six short lines and four notes: nothing near this size is a calibration file.
constexpr qint64 kMaxFileBytes = 1 << 20;
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

// Up to 15 significant digits; more (the shortest text that reads back the
// same) when 15 would load as another number, so a calibration saved and loaded
// again gives the same figures. Locales whose digits are not ASCII write the
// number the point way, which reading accepts too.
QByteArray sizeRatioText(double sizeRatio)
{
    QString text = significantText(sizeRatio, kSignificantDigits);
    if (readNumber(text) != sizeRatio)
        text = fullText(sizeRatio);
    for (const QChar ch : text)
        if (ch.unicode() > 0x7f)
            return QLocale::c().toString(sizeRatio, 'g', QLocale::FloatingPointShortest).toLatin1();
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
    const auto refuse = [error](const QString &reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (bytes.isEmpty())
        return refuse(QStringLiteral("%1 is empty").arg(fileName));
    if (bytes.contains('\0'))
        return refuse(
            QStringLiteral("%1 is not a calibration file: it holds binary data").arg(fileName));
    // One field a line: a quoted field runs to its closing quote (across line ends:
    // earlier versions wrote multi-line notes that way), a bare one to the next comma
    // or line end, and the rest of the line is ignored.
    const QString text = QString::fromLatin1(bytes);
    QuotedFieldReader reader(text);
    QString fields[kFieldCount];
    for (int line = 0; line < kFieldCount; ++line) {
        const auto outcome = reader.readField(&fields[line], true, false);
        if (outcome != QuotedFieldReader::Outcome::Field)
            return refuse(outcome == QuotedFieldReader::Outcome::NoClosingQuote
                              ? QStringLiteral("line %1 of %2 opens a double quote that is never "
                                               "closed")
                                    .arg(line + 1)
                                    .arg(fileName)
                              : QStringLiteral("%1 holds %2 of the %3 lines of a calibration file")
                                    .arg(fileName)
                                    .arg(line)
                                    .arg(kFieldCount));
        fields[line].replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        reader.skipRestOfLine();
    }
    const auto sizeRatio = readNumberEitherSeparator(fields[0]);
    if (!sizeRatio) {
        const QString shown = quotedExcerpt(fields[0]);
        return refuse(
            shown.isEmpty()
                ? QStringLiteral("line 1 of %1 is not a number").arg(fileName)
                : QStringLiteral("line 1 of %1 is not a number: %2").arg(fileName, shown));
    }
    if (const QString problem = sizeRatioProblem(*sizeRatio); !problem.isEmpty())
        return refuse(QStringLiteral("The size ratio %1 in %2 cannot be used: %3")
                          .arg(fullText(*sizeRatio), fileName, problem));
    Calibration calibration;
    calibration.sizeRatio = *sizeRatio;
    calibration.unitName = decodeField(fields[1]);
    if (const QString problem = unitNameProblem(calibration.unitName); !problem.isEmpty())
        return refuse(QStringLiteral("The unit cannot be used: ") + problem);
    calibration.notes.sizeRatioNote = decodeField(fields[2]);
    calibration.notes.scannerName = decodeField(fields[3]);
    calibration.notes.resolution = decodeField(fields[4]);
    calibration.notes.otherNotes = decodeField(fields[5]);
    return calibration;
}

bool CalibrationFile::write(const QString &path, const Calibration &calibration, QString *error)
{
    QString reason;
    if (writeFileSafely(path, encode(calibration), &reason))
        return true;
    if (error)
        *error = fileError(path, reason);
    return false;
}

std::optional<Calibration> CalibrationFile::read(const QString &path, QString *error)
{
    const InputFileRead read = readInputFile(path, kMaxFileBytes);
    QString reason = read.error;
    std::optional<Calibration> calibration;
    if (reason.isEmpty())
        calibration = decode(read.bytes, &reason, QFileInfo(path).fileName());
    if (!calibration && error)
        *error = fileError(path, reason);
    return calibration;
}

} // namespace verdalis
