#include "batch_run.h"

#include "dialogs.h"
#include "workspace_state.h"

#include <QDir>
#include <QTimer>

#include <utility>

namespace verdalis {

namespace {
// A message box of thousands of lines helps nobody: the first ones are named.
constexpr int UnreadLinesShown = 20;
} // namespace

BatchRun::BatchRun(WorkspaceState &state, BatchHost &host, Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_state(state), m_host(host), m_dialogs(dialogs)
{
}

bool BatchRun::start(const QVector<SetPicture> &pictures)
{
    if (m_running || pictures.isEmpty())
        return false;
    m_pictures = pictures;
    m_next = 0;
    m_current = -1;
    m_abandoned = false;
    m_analysing = false;
    m_unread.clear();
    m_running = true;
    m_host.prepareResultsTable(int(pictures.size()) + 1);
    m_state.setBatchActive(true);
    loadNextPicture();
    return true;
}

void BatchRun::abandonSet()
{
    if (!m_running)
        return;
    m_abandoned = true;
}

void BatchRun::loadNextPicture()
{
    while (m_running) {
        if (m_abandoned || m_next >= m_pictures.size()) {
            end();
            return;
        }
        m_current = m_next++;
        const SetPicture &picture = m_pictures[m_current];
        emit pictureStarted(m_current);
        QString reason;
        m_analysing = true;
        if (m_host.loadSetPicture(picture.lineName, picture.path, &reason)) {
            if (m_next < m_pictures.size())
                m_host.prefetchSetPicture(m_pictures[m_next].path);
            return;
        }
        m_analysing = false;
        recordUnread(picture, reason);
    }
}

void BatchRun::pictureAnalysed(const AnalysisResult &result)
{
    if (!m_running || !m_analysing)
        return;
    m_analysing = false;
    AnalysisResult recorded = result;
    m_host.recordBatchRow(recorded);
    continueLater();
}

void BatchRun::pictureFailed(const QString &reason)
{
    if (!m_running || !m_analysing)
        return;
    m_analysing = false;
    recordUnread(m_pictures[m_current], reason);
    continueLater();
}

// The next picture is loaded from the event loop, not from inside the end of
// the analysis that just finished; a Cancel in between is seen before it.
void BatchRun::continueLater()
{
    QTimer::singleShot(0, this, &BatchRun::loadNextPicture);
}

void BatchRun::recordUnread(const SetPicture &picture, const QString &reason)
{
    m_host.recordEmptyBatchRow(picture.lineName);
    m_unread << picture.lineName + QStringLiteral(" (") + QDir::toNativeSeparators(picture.path) +
                    QStringLiteral("): ") + reason;
}

void BatchRun::end()
{
    m_running = false;
    m_analysing = false;
    m_pictures.clear();
    m_state.setBatchActive(false);
    m_host.prefetchSetPicture(QString());
    m_host.endRun();
    const QStringList unread = std::exchange(m_unread, {});
    if (!unread.isEmpty())
        m_dialogs.message(unreadPicturesText(unread), programTitle());
    emit finished();
}

QString BatchRun::unreadPicturesText(const QStringList &lines)
{
    QString text = lines.size() == 1
                       ? QStringLiteral("1 picture of the set could not be analysed; its row has "
                                        "no figures:")
                       : QStringLiteral("%1 pictures of the set could not be analysed; their rows "
                                        "have no figures:")
                             .arg(lines.size());
    for (const QString &line : lines.mid(0, UnreadLinesShown))
        text += QLatin1Char('\n') + line;
    if (lines.size() > UnreadLinesShown)
        text +=
            QLatin1Char('\n') + QStringLiteral("and %1 more.").arg(lines.size() - UnreadLinesShown);
    return text;
}

} // namespace verdalis
