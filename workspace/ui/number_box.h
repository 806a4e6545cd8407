#pragma once

#include "number_entry.h"

#include <QPalette>
#include <QValidator>

#include <optional>

class QLineEdit;

namespace verdalis {

// Makes a line edit a number box of the user's locale. It keeps every character
// typed: a text that is no number is refused as a whole, shown in red with a
// tip that says what the box expects, and has no value, so whatever acts on the
// number (an OK button) waits until it is one. The empty box shows an example.
class NumberBox : public QValidator {
    Q_OBJECT
public:
    // The box owns the number box; the locale is the default one at this moment.
    static NumberBox *attach(QLineEdit *box, NumberEntry::Options options = {});

    // The box's number; empty while its text is not a number in range.
    std::optional<double> value() const;

    State validate(QString &input, int &position) const override;

private:
    NumberBox(QLineEdit *box, NumberEntry::Options options);
    void showVerdict();

    QLineEdit *const m_box;
    const NumberEntry m_entry;
    const QPalette m_palette;
    bool m_refused = false;
};

} // namespace verdalis
