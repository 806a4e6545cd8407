#pragma once

// What the tests of batches on the real main window share: generated
// pictures, a window over scripted dialogs and its calibration, the set
// window's run, and verdalis-batch over the same pictures.
#include "analyze_command.h"
#include "main_window.h"
#include "paper_photo.h"
#include "picture_set_command.h"
#include "picture_set_window.h"
#include "results_page.h"
#include "scripted_dialogs.h"
#include "synthetic_leaves.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace verdalis {

// A generated scene, or the same scene photographed on grey paper.
inline QString writeScene(const QString &path, int width, int height, std::uint32_t seed,
                          Background background = Background::White, bool greyPaper = false)
{
    QImage picture(width, height, QImage::Format_RGB32);
    auto *pixels = reinterpret_cast<std::uint32_t *>(picture.bits());
    renderScene(randomLeafScene(width, height, seed, background), pixels,
                picture.bytesPerLine() / 4);
    if (greyPaper) {
        PaperLight light;
        light.noise = 1.0;
        photographUnder(light, pixels, width, height, picture.bytesPerLine() / 4);
    }
    if (!picture.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

struct CommandLineRun {
    int status = -1;
    QByteArray out;
    QString err;
};

// verdalis-batch with the arguments, then "--set" and a set file of the
// pictures written in the folder when there are any.
inline CommandLineRun runCommandLine(QStringList arguments, const QVector<SetPicture> &set = {},
                                     const QString &folder = {})
{
    if (!set.isEmpty()) {
        QFile file(folder + QStringLiteral("/window.set"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the set file");
        for (const SetPicture &picture : set)
            file.write((picture.lineName + '\t' + picture.path + '\n').toUtf8());
        arguments << QStringLiteral("--set") << file.fileName();
    }
    QProcess batch;
    batch.start(QStringLiteral(VERDALIS_BATCH_PROGRAM), arguments);
    if (!batch.waitForFinished(120000))
        qFatal("verdalis-batch did not finish");
    return {batch.exitCode(), batch.readAllStandardOutput(),
            QString::fromUtf8(batch.readAllStandardError())};
}

struct WindowRig {
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;

    void open()
    {
        window.reset();
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<MainWindow>(*dialogs);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window is not shown");
    }
    void close()
    {
        window.reset();
        dialogs.reset();
    }
    void calibrate(const QString &system, double sizeRatio, int tenths = 10)
    {
        window->selector().select(window->selector().catalogue().indexOf(system));
        window->state().setSizeRatio(sizeRatio);
        window->state().setUnitName(QStringLiteral("mm"));
        window->state().markCalibrated();
        window->canvas().setUnitStepTenths(tenths);
    }
    // Opens the picture, analyses it and waits for the end.
    const AnalysisFigures &analyse(const QString &path)
    {
        dialogs->answerOpenFile(path);
        window->openPictureButton->click();
        if (!QTest::qWaitFor([&] { return !window->isLoadingPicture(); }, 60000))
            qFatal("the picture was not read");
        window->analyzeButton->click();
        if (!QTest::qWaitFor([&] { return !window->analyzeCommand().isRunning(); }, 60000))
            qFatal("the analysis did not end");
        return window->analyzeCommand().driver().figures();
    }
    PictureSetWindow *openSetWindow()
    {
        window->pictureSetButton->click();
        PictureSetWindow *set = window->pictureSetCommand().pictureSetWindow();
        if (set && !QTest::qWaitForWindowExposed(set))
            qWarning("the picture-set window is not shown");
        return set;
    }
    // Presses the set window's Analyze and waits for the end of the run.
    void runSet()
    {
        window->pictureSetCommand().pictureSetWindow()->analyzeButton->click();
        if (!QTest::qWaitFor([&] { return !window->pictureSetCommand().batchRun().isRunning(); },
                             120000))
            qFatal("the batch did not end");
    }
    QString copiedTable()
    {
        window->resultsPage->copyTableButton->click();
        return QGuiApplication::clipboard()->text();
    }
};

} // namespace verdalis
