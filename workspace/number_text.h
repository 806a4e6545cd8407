#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace verdalis {

// Numbers shown to the user and kept as text (measurement list, statistics,
// calibration files) are written and read with the user's locale, without group
// separators: "1234.50", never "1,234.50", and a group separator is not accepted
// on reading, so "0.254" is never taken for 254 under a decimal-comma locale.
QLocale numberLocale(const QLocale &base = QLocale());

// Fixed decimals, e.g. "0.00" for decimals = 2. Rounds the binary value.
QString fixedText(double value, int decimals);
// The shortest text that reads back as the same double ("5", "0.30000000000000004").
QString fullText(double value);
// At most `digits` significant digits ("0.254", "1E-05").
QString significantText(double value, int digits);
// The text as a number; surrounding blanks are ignored. Empty when it is not a finite
// number.
std::optional<double> readNumber(const QString &text);
// As readNumber, and failing that the point way ("0.254"): numbers in files may
// come from a machine with another decimal separator.
std::optional<double> readNumberOrPointForm(const QString &text);
// As readNumberOrPointForm, and failing that with a comma for the decimal
// separator: a number in a file this program wrote has no group separator, so
// "0,254" from a decimal-comma machine is unambiguous wherever it is read.
std::optional<double> readNumberEitherSeparator(const QString &text);

} // namespace verdalis
