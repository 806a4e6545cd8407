#include "number_text.h"

#include <cmath>

namespace verdalis {

namespace {
std::optional<double> finite(double value, bool ok)
{
    // "inf" and "nan" read as numbers but measure nothing.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

QLocale numberLocale(const QLocale &base)
{
    QLocale locale = base;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

QString fixedText(double value, int decimals)
{
    return numberLocale().toString(value, 'f', decimals);
}

QString fullText(double value)
{
    return numberLocale().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString significantText(double value, int digits)
{
    return numberLocale().toString(value, 'g', digits);
}

std::optional<double> readNumber(const QString &text)
{
    bool ok = false;
    const double value = numberLocale().toDouble(text.trimmed(), &ok);
    return finite(value, ok);
}

std::optional<double> readNumberOrPointForm(const QString &text)
{
    if (const auto value = readNumber(text))
        return value;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    return finite(value, ok);
}

std::optional<double> readNumberEitherSeparator(const QString &text)
{
    if (const auto value = readNumberOrPointForm(text))
        return value;
    QString pointForm = text.trimmed();
    if (pointForm.count(QLatin1Char(',')) != 1 || pointForm.contains(QLatin1Char('.')))
        return std::nullopt;
    pointForm.replace(QLatin1Char(','), QLatin1Char('.'));
    return readNumberOrPointForm(pointForm);
}

} // namespace verdalis
