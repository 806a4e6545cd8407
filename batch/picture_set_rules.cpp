#include "picture_set_rules.h"

#include "picture_set.h"

#include <QDir>
#include <QFileInfo>

namespace verdalis {

namespace PictureSetRules {

namespace {
const QChar Separator = QDir::separator();
}

QString pathLabel(const QString &folder, const QString &fileName)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(Separator) ? native + fileName : native + Separator + fileName;
}

bool labelNamesFile(const QString &label)
{
    return !label.isEmpty() && !label.endsWith(Separator);
}

QString offeredLineName(const QString &fileName)
{
    return fileName.left(qMax(0, int(fileName.size()) - 4));
}

QStringList typeFilterEntries()
{
    return {QStringLiteral("bmp files"), QStringLiteral("jpg files"),
            QStringLiteral("bmp & jpg files")};
}

std::optional<QStringList> typeFilterPatterns(int index)
{
    switch (index) {
    case 0:
        return QStringList{QStringLiteral("*.bmp")};
    case 1:
        return QStringList{QStringLiteral("*.jpg")};
    case 2:
        return QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.bmp")};
    default:
        return std::nullopt;
    }
}

QString removeToolTip(const QString &lineName)
{
    return QStringLiteral("Remove ") + lineName;
}

QString renameToolTip(const QString &lineName)
{
    return QStringLiteral("Rename ") + lineName;
}

QString lineNameMissingText()
{
    return QStringLiteral("please set the line name");
}

QString removeAllText()
{
    return QStringLiteral("That will delete all Pictures in the table");
}

QString renamePrompt()
{
    return QStringLiteral("Set the new line name ");
}

QString renameTitle()
{
    return QStringLiteral("New line name");
}

QString setFullText(int pictures, int adding)
{
    return QStringLiteral("A picture set holds at most %1 pictures. This set has %2, so the %3 "
                          "to add do not fit; none was added.")
        .arg(PictureSet::MaxPictures)
        .arg(pictures)
        .arg(adding);
}

QString unreadableFolderText(const QString &folder, const QString &reason)
{
    return QStringLiteral("This folder can't be read:") + QLatin1Char('\n') +
           QDir::toNativeSeparators(folder) + QLatin1Char('\n') + reason;
}

std::optional<QString> folderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("It does not exist.");
    if (!info.isDir())
        return QStringLiteral("It is not a folder.");
    if (!QDir(folder).isReadable())
        return QStringLiteral("Permission denied.");
    return std::nullopt;
}

QRect compactWindowTwips(const QRect &mainWindowTwips)
{
    const int width = ListPanelTwips.width() + 100;
    const int height = ListPanelTwips.height() + 450;
    return QRect(mainWindowTwips.left() + mainWindowTwips.width() - width, mainWindowTwips.top(),
                 width, height);
}

} // namespace PictureSetRules

} // namespace verdalis
