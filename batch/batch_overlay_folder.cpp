#include "batch_overlay_folder.h"

#include "overlay_picture.h"

#include <QDir>
#include <QFileInfo>

namespace verdalis {

namespace {
// A message box of thousands of lines helps nobody: the first ones are named.
constexpr int LinesShown = 20;

QString listed(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines.mid(0, LinesShown))
        text += QLatin1Char('\n') + line;
    if (lines.size() > LinesShown)
        text += QLatin1Char('\n') + QStringLiteral("and %1 more.").arg(lines.size() - LinesShown);
    return text;
}
} // namespace

BatchOverlayFolder::BatchOverlayFolder(const QString &folder, const QStringList &lineNames)
    : m_folder(folder)
{
    const QDir dir(folder);
    for (const QString &name : overlayFileNames(lineNames))
        m_paths << dir.filePath(name);
}

QString BatchOverlayFolder::pathOf(int index) const
{
    return m_paths.value(index);
}

QStringList BatchOverlayFolder::existingFiles() const
{
    QStringList existing;
    for (const QString &path : m_paths)
        if (QFileInfo::exists(path))
            existing << path;
    return existing;
}

void BatchOverlayFolder::write(int index, const QImage &overlay)
{
    const QString path = pathOf(index);
    if (!isActive() || path.isEmpty())
        return;
    QString reason;
    if (!writeOverlayPicture(overlay, path, &reason))
        m_failures << QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

QString BatchOverlayFolder::failuresText() const
{
    if (m_failures.isEmpty())
        return QString();
    const QString head =
        m_failures.size() == 1
            ? QStringLiteral("1 overlay picture could not be written:")
            : QStringLiteral("%1 overlay pictures could not be written:").arg(m_failures.size());
    return head + listed(m_failures);
}

QString replaceOverlaysQuestion(const QString &folder, const QStringList &existing)
{
    QStringList names;
    for (const QString &path : existing)
        names << QFileInfo(path).fileName();
    const QString place = QDir::toNativeSeparators(folder);
    const QString head =
        existing.size() == 1
            ? QStringLiteral("1 overlay picture of this set is already in %1 and will be "
                             "replaced:")
                  .arg(place)
            : QStringLiteral("%1 overlay pictures of this set are already in %2 and will be "
                             "replaced:")
                  .arg(existing.size())
                  .arg(place);
    return head + listed(names);
}

} // namespace verdalis
