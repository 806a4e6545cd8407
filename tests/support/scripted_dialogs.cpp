#include "scripted_dialogs.h"

#include <QTest>

namespace verdalis {

namespace {
const char *kindName(ScriptedDialogs::Kind kind)
{
    static const char *const names[] = {"message", "input box", "open dialog", "save dialog",
                                        "folder dialog"};
    return names[int(kind)];
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

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Call &call : m_calls)
        if (call.kind == Kind::Message)
            texts << call.text;
    return texts;
}

const ScriptedDialogs::Call &ScriptedDialogs::lastCall() const
{
    static const Call none{};
    if (m_calls.isEmpty()) {
        QTest::qFail("no dialog was shown", __FILE__, __LINE__);
        return none;
    }
    return m_calls.constLast();
}

std::optional<ScriptedDialogs::Reply> ScriptedDialogs::take(const Call &call)
{
    m_calls.append(call);
    if (m_replies.isEmpty() || m_replies.first().kind != call.kind) {
        const QString what = call.text.isEmpty() ? call.title : call.text;
        const QByteArray why =
            QByteArray("unexpected ") + kindName(call.kind) + ": " + what.toUtf8();
        QTest::qFail(why.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_replies.takeFirst();
}

MessageAnswer ScriptedDialogs::message(const QString &text, const QString &title,
                                       MessageButtons buttons, MessageKind kind)
{
    const auto reply = take({Kind::Message, text, title, buttons, {}, 0, {}, kind});
    if (!reply)
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    return reply->answer;
}

std::optional<QString> ScriptedDialogs::inputText(const QString &prompt, const QString &title,
                                                  const QString &defaultText)
{
    const auto reply = take({Kind::Input, prompt, title, MessageButtons::Ok, {}, 0, defaultText});
    if (!reply || reply->cancelled)
        return std::nullopt;
    return reply->text;
}

std::optional<FileChoice> ScriptedDialogs::fileChoice(const Call &call)
{
    const auto reply = take(call);
    if (!reply || reply->cancelled)
        return std::nullopt;
    return FileChoice{reply->text, reply->filterIndex};
}

std::optional<FileChoice> ScriptedDialogs::openFile(const QString &title, const QString &filter,
                                                    int filterIndex)
{
    return fileChoice({Kind::OpenFile, {}, title, MessageButtons::Ok, filter, filterIndex, {}});
}

std::optional<FileChoice> ScriptedDialogs::saveFile(const QString &title, const QString &filter,
                                                    int filterIndex)
{
    return fileChoice({Kind::SaveFile, {}, title, MessageButtons::Ok, filter, filterIndex, {}});
}

std::optional<QString> ScriptedDialogs::chooseFolder(const QString &title)
{
    const auto reply = take({Kind::Folder, {}, title, MessageButtons::Ok, {}, 0, {}});
    if (!reply || reply->cancelled)
        return std::nullopt;
    return reply->text;
}

} // namespace verdalis
