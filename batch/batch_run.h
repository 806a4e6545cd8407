#pragma once

#include "picture_set.h"
#include "results_report.h"

#include <QObject>
#include <QString>
#include <QVector>

namespace verdalis {

class Dialogs;
class WorkspaceState;

// What a batch run asks of the main window.
class BatchHost {
public:
    virtual ~BatchHost() = default;
    // The results table laid out afresh, one empty row per picture;
    // pictureSetRows counts the picture set's header row.
    virtual void prepareResultsTable(int pictureSetRows) = 0;
    // Loads the picture under its line name and starts its analysis, whose end
    // comes back through BatchRun::pictureAnalysed or pictureFailed. False, with
    // the reason and nothing started, when the file cannot be read.
    virtual bool loadSetPicture(const QString &lineName, const QString &path, QString *reason) = 0;
    // The file of the picture that comes next may be read ahead while the one
    // just loaded is analysed; an empty path lets go of what was read ahead.
    virtual void prefetchSetPicture(const QString &path) = 0;
    // The results table's next row: the picture's figures (the symptom-area cap
    // written back), or its line name alone.
    virtual void recordBatchRow(AnalysisResult &result) = 0;
    virtual void recordEmptyBatchRow(const QString &lineName) = 0;
    // The run is over: the window enabled, the set window closed, the progress
    // bar hidden, the results page shown, the beep.
    virtual void endRun() = 0;
};

// A batch run: each picture of a set is loaded and analysed in turn through
// the window's ordinary analysis, and each result recorded in its row of the
// results table, in set order. The run holds its own copy of the set, so the
// set window can close (Cancel) without pulling pictures from under it; runs
// never overlap.
//
// A picture that cannot be read or analysed does not stop the run: its row keeps
// its line name with empty figure cells, and one message at the end lists every
// such picture with the reason. The batch flag of the workspace state is set
// from the start of a run to its end.
class BatchRun : public QObject {
    Q_OBJECT
public:
    BatchRun(WorkspaceState &state, BatchHost &host, Dialogs &dialogs, QObject *parent = nullptr);

    // Starts a run over the pictures. Refused (false) while a run is in
    // progress, and for an empty set.
    bool start(const QVector<SetPicture> &pictures);
    bool isRunning() const { return m_running; }
    // The set was closed during the run: no further picture is loaded. The
    // picture being analysed is still recorded; then the run ends.
    void abandonSet();

    // The message that names the pictures without figures.
    static QString unreadPicturesText(const QStringList &lines);

public slots:
    // The analysis of the current picture finished (RecordSetResult).
    void pictureAnalysed(const verdalis::AnalysisResult &result);
    // The analysis of the current picture could not run (too large for memory).
    void pictureFailed(const QString &reason);

signals:
    // The picture at this index of the set is being loaded.
    void pictureStarted(int index);
    void finished();

private:
    // Loads the next picture that can be read, or ends the run.
    void loadNextPicture();
    void continueLater();
    void recordUnread(const SetPicture &picture, const QString &reason);
    void end();

    WorkspaceState &m_state;
    BatchHost &m_host;
    Dialogs &m_dialogs;
    QVector<SetPicture> m_pictures;
    int m_next = 0;
    int m_current = -1;
    bool m_running = false;
    bool m_analysing = false;
    bool m_abandoned = false;
    QStringList m_unread;
};

} // namespace verdalis
