#pragma once

#include <QString>
#include <optional>

namespace verdalis {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };
// What a message is about; the real dialogs show the matching icon. Most messages
// of the program refuse something or report a failure, hence the default.
enum class MessageKind { Information, Question, Warning, Error };

// A file chosen in an open or save dialog. filterIndex is 1-based, counting the
// entries of the filter text in the order written.
struct FileChoice {
    QString path;
    int filterIndex = 1;
};

// Every message box, input box and file dialog of the program goes through this
// interface, so windows never block on a real dialog in tests and every text the
// user reads can be checked. Filters use the "description|pattern|description|pattern"
// form; the implementation turns it into what the toolkit wants.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer message(const QString &text, const QString &title,
                                  MessageButtons buttons = MessageButtons::Ok,
                                  MessageKind kind = MessageKind::Warning) = 0;
    // Empty optional on Cancel.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title,
                                             const QString &defaultText = QString()) = 0;
    // Empty optional when the user cancels.
    virtual std::optional<FileChoice> openFile(const QString &title, const QString &filter,
                                               int filterIndex = 1) = 0;
    virtual std::optional<FileChoice> saveFile(const QString &title, const QString &filter,
                                               int filterIndex = 1) = 0;
    // An existing folder; empty optional when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString &title) = 0;
};

// The program's own title, used on every message box that names no other.
inline QString programTitle()
{
    return QStringLiteral("Verdalis");
}

} // namespace verdalis
