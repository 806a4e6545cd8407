#include "qt_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace verdalis {

MessageAnswer QtDialogs::message(const QString &text, const QString &title, MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        QMessageBox::information(m_parent, title, text, QMessageBox::Ok);
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::question(m_parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok
                   ? MessageAnswer::Ok
                   : MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes
                   ? MessageAnswer::Yes
                   : MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
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

std::optional<FileChoice> QtDialogs::showFileDialog(bool save, const QString &title,
                                                    const QString &filter, int filterIndex)
{
    const QStringList filters = toolkitFilters(filter);
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int chosen = filters.indexOf(dialog.selectedNameFilter());
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

} // namespace verdalis
