#pragma once

#include "dialogs.h"

#include <QList>
#include <QString>

namespace verdalis {

// A stand-in for the real dialogs: every call is recorded, and each answers the
// next queued reply of its kind. A call with no reply queued fails the running
// test, and so does a reply still queued when the fake is destroyed.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder };

    struct Call {
        Kind kind;
        QString text; // message text or input prompt
        QString title;
        MessageButtons buttons = MessageButtons::Ok;
        QString filter; // file dialogs
        int filterIndex = 0;
        QString defaultText;
        MessageKind messageKind = MessageKind::Information; // messages: the icon shown
    };

    ~ScriptedDialogs() override;

    void answerMessage(MessageAnswer answer) { queue(Kind::Message, false, {}, answer); }
    void answerInput(const QString &text) { queue(Kind::Input, false, text); }
    void cancelInput() { queue(Kind::Input, true); }
    void answerOpenFile(const QString &path, int filterIndex = 1)
    {
        queue(Kind::OpenFile, false, path, MessageAnswer::Ok, filterIndex);
    }
    void answerSaveFile(const QString &path, int filterIndex = 1)
    {
        queue(Kind::SaveFile, false, path, MessageAnswer::Ok, filterIndex);
    }
    void answerFolder(const QString &path) { queue(Kind::Folder, false, path); }
    void cancelFileDialog(Kind kind) { queue(kind, true); }

    const QList<Call> &calls() const { return m_calls; }
    // Texts of all messages shown so far, in order.
    QStringList messages() const;
    // The last dialog shown; with none shown, the running test fails and an empty
    // call is returned, so the test ends on its checks instead of crashing.
    const Call &lastCall() const;

    MessageAnswer message(const QString &text, const QString &title, MessageButtons buttons,
                          MessageKind kind) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &defaultText) override;
    std::optional<FileChoice> openFile(const QString &title, const QString &filter,
                                       int filterIndex) override;
    std::optional<FileChoice> saveFile(const QString &title, const QString &filter,
                                       int filterIndex) override;
    std::optional<QString> chooseFolder(const QString &title) override;

private:
    struct Reply {
        Kind kind;
        bool cancelled;
        QString text; // input text or chosen path
        MessageAnswer answer;
        int filterIndex;
    };
    void queue(Kind kind, bool cancelled, const QString &text = {},
               MessageAnswer answer = MessageAnswer::Ok, int filterIndex = 1)
    {
        m_replies.append({kind, cancelled, text, answer, filterIndex});
    }
    // Records the call and takes the next reply, which must be of the call's kind.
    std::optional<Reply> take(const Call &call);
    std::optional<FileChoice> fileChoice(const Call &call);

    QList<Call> m_calls;
    QList<Reply> m_replies;
};

} // namespace verdalis
