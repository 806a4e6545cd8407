#pragma once

#include <QString>

namespace verdalis {

// Walks the text of the program's small data files (calibration files, the custom
// detection file): fields in double quotes, which may span line ends, or bare text
// up to the next comma or line end. Blanks around fields are ignored.
class QuotedFieldReader {
public:
    enum class Outcome { Field, EndOfText, NoOpeningQuote, NoClosingQuote, TextAfterField };

    explicit QuotedFieldReader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Skips blanks, and line ends too when asked, then reads one field. A bare field
    // is accepted only when allowBare is set; its blanks are kept.
    Outcome readField(QString *field, bool allowBare, bool skipLineEnds);
    // After a field: blanks, then a comma (taken), a line end (left) or the end.
    // Anything else is TextAfterField.
    Outcome endField();
    // Moves past the next line feed (or to the end).
    void skipRestOfLine();

private:
    void skipBlanks(bool lineEndsToo);

    const QString &m_text;
    int m_pos = 0;
};

} // namespace verdalis
