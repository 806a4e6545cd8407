#include "number_entry.h"

#include "number_text.h"

#include <cmath>

namespace verdalis {

NumberEntry::NumberEntry(Options options, const QLocale &locale)
    : m_options(options), m_locale(numberLocale(locale)), m_decimalSeparator(locale.decimalPoint()),
      m_minusSign(locale.negativeSign())
{
}

bool NumberEntry::inRange(double value) const
{
    switch (m_options.range) {
    case Range::Any:
        return true;
    case Range::NotNegative:
        return value >= 0;
    case Range::AboveZero:
        return value > 0;
    }
    return false;
}

bool NumberEntry::isDigit(QChar c) const
{
    if (c >= u'0' && c <= u'9')
        return true;
    // Locales with digits of their own write and read them.
    const QString zero = m_locale.zeroDigit();
    return zero.size() == 1 && zero != QLatin1String("0") && c.unicode() >= zero.at(0).unicode() &&
           c.unicode() <= zero.at(0).unicode() + 9;
}

bool NumberEntry::looksLikeAPartialNumber(const QString &text) const
{
    QString rest = text;
    if (m_options.range == Range::Any) {
        if (rest.startsWith(m_minusSign))
            rest.remove(0, m_minusSign.size());
        else if (rest.startsWith(u'-'))
            rest.remove(0, 1);
    }
    const qsizetype separator = rest.indexOf(m_decimalSeparator);
    if (separator >= 0)
        rest.remove(separator, m_decimalSeparator.size());
    for (QChar c : rest)
        if (!isDigit(c))
            return false;
    return true;
}

NumberEntry::Verdict NumberEntry::check(const QString &text) const
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double number = m_locale.toDouble(trimmed, &ok);
    if (ok && std::isfinite(number))
        return inRange(number)                    ? Verdict::Number
               : looksLikeAPartialNumber(trimmed) ? Verdict::Incomplete
                                                  : Verdict::Refused;
    return looksLikeAPartialNumber(trimmed) ? Verdict::Incomplete : Verdict::Refused;
}

std::optional<double> NumberEntry::value(const QString &text) const
{
    if (check(text) != Verdict::Number)
        return std::nullopt;
    return m_locale.toDouble(text.trimmed());
}

QString NumberEntry::example() const
{
    return QStringLiteral("e.g. ") + m_locale.toString(2.5);
}

QString NumberEntry::expectation() const
{
    QString kind = QStringLiteral("A number");
    if (m_options.range == Range::AboveZero)
        kind = QStringLiteral("A number above 0");
    else if (m_options.range == Range::NotNegative)
        kind = QStringLiteral("A number of 0 or more");
    return kind + QStringLiteral(", for example ") + m_locale.toString(2.5);
}

QString NumberEntry::refusal(const QString &text) const
{
    if (check(text) != Verdict::Refused)
        return {};
    // The separator of the other convention is the likeliest slip.
    const QChar otherSeparator =
        m_decimalSeparator == QLatin1String(",") ? QLatin1Char('.') : QLatin1Char(',');
    QString why;
    if (text.contains(otherSeparator))
        why = QStringLiteral("\"%1\" is not the decimal separator here: use \"%2\".")
                  .arg(otherSeparator)
                  .arg(m_decimalSeparator);
    else if (m_options.range != Range::Any &&
             (text.trimmed().startsWith(m_minusSign) || text.trimmed().startsWith(u'-')))
        why = QStringLiteral("It cannot be negative.");
    else
        why = QStringLiteral("\"%1\" is not a number.").arg(text.trimmed());
    return why + QLatin1Char(' ') + expectation() + QLatin1Char('.');
}

} // namespace verdalis
