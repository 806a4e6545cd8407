#include "scripted_dialogs.h"

#include <QTest>

namespace verdalis {

namespace {
const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return "message";
    case ScriptedDialogs::Kind::Input:
        return "input box";
    case ScriptedDialogs::Kind::OpenFile:
        return "open dialog";
    case ScriptedDialogs::Kind::SaveFile:
        return "save dialog";
    }
    return "dialog";
}
} // namespace

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_replies.isEmpty()) {
        const QByteArray why = QByteArray("scripted ") + kindName(m_replies.first().kind) +
                               " answer was never asked for";
        QTest::qFail(why.constData(), __FILE__, __LINE__);
    }
}

void ScriptedDialogs::answerMessage(MessageAnswer answer)
{
    m_replies.append({Kind::Message, false, QVariant::fromValue(static_cast<int>(answer))});
}

void ScriptedDialogs::answerInput(const QString &text)
{
    m_replies.append({Kind::Input, false, text});
}

void ScriptedDialogs::cancelInput()
{
    m_replies.append({Kind::Input, true, {}});
}

void ScriptedDialogs::answerOpenFile(const QString &path, int filterIndex)
{
    m_replies.append({Kind::OpenFile, false, path, filterIndex});
}

void ScriptedDialogs::answerSaveFile(const QString &path, int filterIndex)
{
    m_replies.append({Kind::SaveFile, false, path, filterIndex});
}

void ScriptedDialogs::cancelFileDialog(Kind kind)
{
    m_replies.append({kind, true, {}});
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Call &call : m_calls)
        if (call.kind == Kind::Message)
            texts << call.text;
    return texts;
}

void ScriptedDialogs::clear()
{
    m_calls.clear();
    m_replies.clear();
}

std::optional<ScriptedDialogs::Reply> ScriptedDialogs::takeReply(Kind kind, const QString &what)
{
    if (m_replies.isEmpty() || m_replies.first().kind != kind) {
        const QByteArray why = QByteArray("unexpected ") + kindName(kind) + ": " + what.toUtf8();
        QTest::qFail(why.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_replies.takeFirst();
}

MessageAnswer ScriptedDialogs::message(const QString &text, const QString &title,
                                       MessageButtons buttons, MessageKind kind)
{
    m_calls.append({Kind::Message, text, title, buttons, {}, 0, {}, kind});
    const auto reply = takeReply(Kind::Message, text);
    if (!reply)
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    return static_cast<MessageAnswer>(reply->value.toInt());
}

std::optional<QString> ScriptedDialogs::inputText(const QString &prompt, const QString &title,
                                                  const QString &defaultText)
{
    m_calls.append({Kind::Input, prompt, title, MessageButtons::Ok, {}, 0, defaultText});
    const auto reply = takeReply(Kind::Input, prompt);
    if (!reply || reply->cancelled)
        return std::nullopt;
    return reply->value.toString();
}

std::optional<FileChoice> ScriptedDialogs::openFile(const QString &title, const QString &filter,
                                                    int filterIndex)
{
    m_calls.append({Kind::OpenFile, {}, title, MessageButtons::Ok, filter, filterIndex, {}});
    const auto reply = takeReply(Kind::OpenFile, title);
    if (!reply || reply->cancelled)
        return std::nullopt;
    return FileChoice{reply->value.toString(), reply->filterIndex};
}

std::optional<FileChoice> ScriptedDialogs::saveFile(const QString &title, const QString &filter,
                                                    int filterIndex)
{
    m_calls.append({Kind::SaveFile, {}, title, MessageButtons::Ok, filter, filterIndex, {}});
    const auto reply = takeReply(Kind::SaveFile, title);
    if (!reply || reply->cancelled)
        return std::nullopt;
    return FileChoice{reply->value.toString(), reply->filterIndex};
}

} // namespace verdalis
