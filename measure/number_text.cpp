#include "number_text.h"

#include <cmath>

namespace verdalis {

QLocale numberLocale()
{
    QLocale locale;
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
    // "inf" and "nan" read as numbers but measure nothing.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace verdalis
