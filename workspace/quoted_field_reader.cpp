#include "quoted_field_reader.h"

namespace verdalis {

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

void QuotedFieldReader::skipBlanks(bool lineEndsToo)
{
    while (!atEnd() && (isBlank(m_text[m_pos]) || (lineEndsToo && isLineEnd(m_text[m_pos]))))
        ++m_pos;
}

QuotedFieldReader::Outcome QuotedFieldReader::readField(QString *field, bool allowBare,
                                                        bool skipLineEnds)
{
    skipBlanks(skipLineEnds);
    if (atEnd())
        return Outcome::EndOfText;
    if (m_text[m_pos] == u'"') {
        const int close = m_text.indexOf(u'"', m_pos + 1);
        if (close < 0)
            return Outcome::NoClosingQuote;
        *field = m_text.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        return Outcome::Field;
    }
    if (!allowBare)
        return Outcome::NoOpeningQuote;
    const int start = m_pos;
    while (!atEnd() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
        ++m_pos;
    *field = m_text.mid(start, m_pos - start);
    return Outcome::Field;
}

QuotedFieldReader::Outcome QuotedFieldReader::endField()
{
    skipBlanks(false);
    if (atEnd() || isLineEnd(m_text[m_pos]))
        return Outcome::Field;
    if (m_text[m_pos] != u',')
        return Outcome::TextAfterField;
    ++m_pos;
    return Outcome::Field;
}

void QuotedFieldReader::skipRestOfLine()
{
    const int lineEnd = m_text.indexOf(u'\n', m_pos);
    m_pos = lineEnd < 0 ? int(m_text.size()) : lineEnd + 1;
}

} // namespace verdalis
