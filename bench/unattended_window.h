#pragma once

// What the benchmarks that drive the main window offscreen share.
#include "dialogs.h"

#include <sys/resource.h>

#include <cstdio>

namespace verdalis::bench {

// No one is there to answer: messages go to standard error, and the open
// dialog, when given a picture, chooses it.
class UnattendedDialogs : public Dialogs {
public:
    explicit UnattendedDialogs(QString picture = QString()) : m_picture(std::move(picture)) {}

    MessageAnswer message(const QString &text, const QString &, MessageButtons,
                          MessageKind) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return MessageAnswer::Ok;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<FileChoice> openFile(const QString &, const QString &, int) override
    {
        if (m_picture.isEmpty())
            return std::nullopt;
        return FileChoice{m_picture, 2};
    }
    std::optional<FileChoice> saveFile(const QString &, const QString &, int) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(const QString &) override { return std::nullopt; }

private:
    QString m_picture;
};

// User and system time of the whole process (every thread), seconds.
inline double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace verdalis::bench
