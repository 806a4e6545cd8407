#include "qt_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace verdalis {

MessageAnswer QtDialogs::message(const QString &text, const QString &title, MessageButtons buttons,
                                 MessageKind kind)
{
    QMessageBox::Icon icon = QMessageBox::Warning;
    switch (kind) {
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Question:
        icon = QMessageBox::Question;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton preferred = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel)
        shown = QMessageBox::Ok | QMessageBox::Cancel;
    if (buttons == MessageButtons::YesNo) {
        shown = QMessageBox::Yes | QMessageBox::No;
        preferred = QMessageBox::Yes;
    }
    QMessageBox box(icon, title, text, shown, m_parent);
    box.setDefaultButton(preferred);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        // Escape or the close box: the answer that changes nothing.
        return buttons == MessageButtons::YesNo ? MessageAnswer::No
               : buttons == MessageButtons::Ok  ? MessageAnswer::Ok
                                                : MessageAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::inputText(const QString &prompt, const QString &title,
                                            const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtDialogs::toolkitFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (int i = 0; i < parts.size(); i += 2)
        descriptions << parts.at(i);
    return descriptions;
}

QString QtDialogs::defaultSuffix(const QString &toolkitFilter)
{
    static const QRegularExpression singleExtension(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    return singleExtension.match(toolkitFilter.trimmed()).captured(1);
}

std::optional<FileChoice> QtDialogs::showFileDialog(bool save, const QString &title,
                                                    const QString &filter, int filterIndex)
{
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(toolkitFilters(filter));
    // The dialog tidies the texts it is given ("bmp  Files" becomes "bmp Files"),
    // so an entry is found by its place in the dialog's own list, never by the
    // text handed in.
    const QStringList shown = dialog.nameFilters();
    if (filterIndex >= 1 && filterIndex <= shown.size())
        dialog.selectNameFilter(shown.at(filterIndex - 1));
    if (save) {
        // A name typed without an extension gets the chosen type's, before the
        // dialog asks whether to replace an existing file.
        dialog.setDefaultSuffix(defaultSuffix(dialog.selectedNameFilter()));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &chosen) { dialog.setDefaultSuffix(defaultSuffix(chosen)); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int chosen = int(shown.indexOf(dialog.selectedNameFilter()));
    return FileChoice{dialog.selectedFiles().constFirst(), chosen < 0 ? 1 : chosen + 1};
}

std::optional<FileChoice> QtDialogs::openFile(const QString &title, const QString &filter,
                                              int filterIndex)
{
    return showFileDialog(false, title, filter, filterIndex);
}

std::optional<FileChoice> QtDialogs::saveFile(const QString &title, const QString &filter,
                                              int filterIndex)
{
    return showFileDialog(true, title, filter, filterIndex);
}

std::optional<QString> QtDialogs::chooseFolder(const QString &title)
{
    const QString folder = QFileDialog::getExistingDirectory(m_parent, title);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace verdalis
