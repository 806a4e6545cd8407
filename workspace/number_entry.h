#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace verdalis {

// What a number box makes of the text typed into it. A number is read with the
// user's locale: its decimal separator, no group separators. Nothing typed is
// ever dropped or changed: a text that is not a number keeps every character
// and is refused as a whole, with a message that says what the box expects, so
// "2.5" under a decimal-comma locale can never pass for 25 or 5.
class NumberEntry {
public:
    enum class Range { Any, NotNegative, AboveZero };
    struct Options {
        Range range = Range::NotNegative;
    };

    enum class Verdict {
        Number,     // a number in range: value() has it
        Incomplete, // on the way to a number ("", "-", "0" where it must be above 0)
        Refused,    // characters or a form that cannot become a number
    };

    explicit NumberEntry(Options options, const QLocale &locale = QLocale());

    Verdict check(const QString &text) const;
    // The number, when the verdict is Number.
    std::optional<double> value(const QString &text) const;

    // The box's standing hint: "A number, for example 2,5".
    QString expectation() const;
    // A short example in the locale's form, for the empty box: "e.g. 2,5".
    QString example() const;
    // Why a refused text is refused, and what to type instead. Empty unless refused.
    QString refusal(const QString &text) const;

private:
    bool inRange(double value) const;
    bool isDigit(QChar c) const;
    // Only digits, at most one decimal separator and, where allowed, a leading
    // minus sign: what a number looks like while it is being typed.
    bool looksLikeAPartialNumber(const QString &text) const;

    Options m_options;
    QLocale m_locale;
    QString m_decimalSeparator;
    QString m_minusSign;
};

} // namespace verdalis
