#include "number_box.h"

#include <QLineEdit>
#include <QToolTip>

namespace verdalis {

NumberBox *NumberBox::attach(QLineEdit *box, NumberEntry::Options options)
{
    return new NumberBox(box, options);
}

NumberBox::NumberBox(QLineEdit *box, NumberEntry::Options options)
    : QValidator(box), m_box(box), m_entry(options), m_palette(box->palette())
{
    setObjectName(QStringLiteral("numberBox"));
    m_box->setValidator(this);
    m_box->setPlaceholderText(m_entry.example());
    connect(m_box, &QLineEdit::textChanged, this, &NumberBox::showVerdict);
    showVerdict();
}

std::optional<double> NumberBox::value() const
{
    return m_entry.value(m_box->text());
}

// Nothing is ever Invalid: the line edit would drop the keystroke without a word.
// A text on its way to a number, or refused, stays in the box as typed.
QValidator::State NumberBox::validate(QString &input, int &) const
{
    return m_entry.check(input) == NumberEntry::Verdict::Number ? Acceptable : Intermediate;
}

void NumberBox::showVerdict()
{
    const QString refusal = m_entry.refusal(m_box->text());
    const bool refused = !refusal.isEmpty();
    QPalette palette = m_palette;
    if (refused)
        palette.setColor(QPalette::Text, QColor(200, 0, 0));
    m_box->setPalette(palette);
    m_box->setToolTip(refused ? refusal : m_entry.expectation());
    // The tip shows at once below the box, without waiting for the mouse.
    if (refused && m_box->isVisible())
        QToolTip::showText(m_box->mapToGlobal(QPoint(0, m_box->height())), refusal, m_box);
    else if (m_refused && !refused)
        QToolTip::hideText();
    m_refused = refused;
}

} // namespace verdalis
