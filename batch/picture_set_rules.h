#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace verdalis {

// The decisions of the picture-set window, apart from its widgets.
namespace PictureSetRules {

// The path label: the folder followed by the platform's separator and the
// chosen file's name (none chosen: the label ends with the separator). A root
// already ends with its separator and gets no second one.
QString pathLabel(const QString &folder, const QString &fileName = QString());
// Whether the path label names a file, which "Add selected" adds, rather than
// a folder.
bool labelNamesFile(const QString &label);
// The line name offered for a file: its name without the last four characters
// (leaf12.bmp offers leaf12).
QString offeredLineName(const QString &fileName);

// The type filter's entries, and the file patterns of each; none for an index
// outside the list.
QStringList typeFilterEntries();
std::optional<QStringList> typeFilterPatterns(int index);

// Tooltips of "Remove selected" and "Rename" naming the current row.
QString removeToolTip(const QString &lineName);
QString renameToolTip(const QString &lineName);

// Texts of the window's messages and input box.
QString lineNameMissingText();
QString removeAllText();
QString renamePrompt();
QString renameTitle();
QString setFullText(int pictures, int adding);
QString unreadableFolderText(const QString &folder, const QString &reason);

// Why a folder cannot be listed, or nothing when it can.
std::optional<QString> folderProblem(const QString &folder);

// Design geometry of the window, twips: the client area, and the list panel
// that holds the picture-set table, Analyze and Cancel.
inline constexpr QSize ClientTwips{7620, 6900};
inline constexpr QRect ListPanelTwips{75, 3950, 6840, 2940};
// The compact view of a run shows the list panel alone, at the main window's
// top right corner: the window takes the panel's size plus 100 x 450 twips of
// frame, its right edge on the main window's, its top on the main window's.
QRect compactWindowTwips(const QRect &mainWindowTwips);

} // namespace PictureSetRules

} // namespace verdalis
