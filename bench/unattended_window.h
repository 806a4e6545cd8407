#pragma once

// What the benchmarks that drive the main window offscreen share.
#include "dialogs.h"
#include "main_window.h"
#include "picture_canvas.h"
#include "workspace_state.h"

#include <QFileInfo>
#include <QStringList>

#include <sys/resource.h>

#include <cstdio>
#include <optional>

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

// What the benchmarks are told on their command line: --system NAME,
// --unit-step X, --size-ratio X, --unit NAME, then the pictures.
struct WindowSettings {
    QString system = QStringLiteral("Leaf area only");
    int tenths = 10;
    double sizeRatio = 0;
    QString unit;
    QStringList pictures; // absolute paths
};

// Nothing when the command line is malformed or lacks the calibration or a picture.
inline std::optional<WindowSettings> readWindowSettings(const QStringList &arguments)
{
    WindowSettings settings;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--system") && hasValue)
            settings.system = arguments[++i];
        else if (argument == QLatin1String("--unit-step") && hasValue)
            settings.tenths = qRound(arguments[++i].toDouble() * 10);
        else if (argument == QLatin1String("--size-ratio") && hasValue)
            settings.sizeRatio = arguments[++i].toDouble();
        else if (argument == QLatin1String("--unit") && hasValue)
            settings.unit = arguments[++i];
        else if (argument.startsWith(QLatin1String("--")))
            return std::nullopt;
        else
            settings.pictures << QFileInfo(argument).absoluteFilePath();
    }
    if (settings.pictures.isEmpty() || settings.sizeRatio <= 0 || settings.unit.isEmpty() ||
        settings.tenths < 1 || settings.tenths > 10)
        return std::nullopt;
    return settings;
}

// Selects the system, calibrates and sets the unit step; false for an unknown system.
inline bool applyWindowSettings(MainWindow &window, const WindowSettings &settings)
{
    const int systemIndex = window.selector().catalogue().indexOf(settings.system);
    if (systemIndex < 0)
        return false;
    window.selector().select(systemIndex);
    window.state().setSizeRatio(settings.sizeRatio);
    window.state().setUnitName(settings.unit);
    window.state().markCalibrated();
    window.canvas().setUnitStepTenths(settings.tenths);
    return true;
}

} // namespace verdalis::bench
