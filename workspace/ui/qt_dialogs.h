#pragma once

#include "dialogs.h"

class QWidget;

namespace verdalis {

// The real dialogs, shown modal over the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    MessageAnswer message(const QString &text, const QString &title, MessageButtons buttons,
                          MessageKind kind) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &defaultText) override;
    std::optional<FileChoice> openFile(const QString &title, const QString &filter,
                                       int filterIndex) override;
    std::optional<FileChoice> saveFile(const QString &title, const QString &filter,
                                       int filterIndex) override;
    std::optional<QString> chooseFolder(const QString &title) override;

    // "a|b|c|d" -> {"a", "c"}: the toolkit shows the descriptions, which already
    // carry their patterns in brackets.
    static QStringList toolkitFilters(const QString &filter);
    // "Calibration files (*.clb)" -> "clb": the extension a typed name gets when it
    // has none. Empty when the filter has no single extension.
    static QString defaultSuffix(const QString &toolkitFilter);

private:
    std::optional<FileChoice> showFileDialog(bool save, const QString &title, const QString &filter,
                                             int filterIndex);
    QWidget *m_parent;
};

} // namespace verdalis
