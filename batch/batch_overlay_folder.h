#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace verdalis {

// The overlay pictures of a window's batch run, written into one folder under
// the names verdalis-batch --overlay gives them, so a set analysed either way
// fills a folder with the same files. A picture whose overlay cannot be
// written keeps its row; the failures are told once, at the end of the run.
class BatchOverlayFolder {
public:
    // No folder: nothing is written.
    BatchOverlayFolder() = default;
    BatchOverlayFolder(const QString &folder, const QStringList &lineNames);

    bool isActive() const { return !m_folder.isEmpty(); }
    QString folder() const { return m_folder; }
    // The file of the set's picture at this index.
    QString pathOf(int index) const;
    // The files of the run that are in the folder already (they would be replaced).
    QStringList existingFiles() const;

    // Writes the overlay of the picture at this index; a failure is kept.
    void write(int index, const QImage &overlay);
    // One message naming every overlay that could not be written and why; empty
    // when every one was written.
    QString failuresText() const;

private:
    QString m_folder;
    QStringList m_paths;
    QStringList m_failures;
};

// The question asked before a run whose overlays would replace files.
QString replaceOverlaysQuestion(const QString &folder, const QStringList &existing);

} // namespace verdalis
