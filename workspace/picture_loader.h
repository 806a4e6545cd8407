#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>

namespace verdalis {

// Reads a picture file on a thread of its own (with readPicture, as every load
// does), so a large picture does not hold the window while it is decoded. The
// result comes back on the loader's thread through `loaded`.
//
// One read counts at a time: a new load or cancel() drops the read in progress,
// whose picture is thrown away when it ends. The loader can be destroyed while
// a read goes on; the read then ends unseen.
class PictureLoader : public QObject {
    Q_OBJECT
public:
    explicit PictureLoader(QObject *parent = nullptr);
    ~PictureLoader() override;

    void load(const QString &path);
    void cancel();
    bool isLoading() const { return m_watcher != nullptr; }
    // The file being read; empty when none is.
    QString path() const { return m_path; }

signals:
    // The read of path has ended: the picture with its overlay prepared
    // (PictureCanvas::preparedOverlay), or a null picture and the reader's
    // reason (without the path).
    void loaded(const QString &path, const QImage &picture, const QImage &overlay,
                const QString &error);

private:
    struct Read {
        QImage picture;
        QImage overlay;
        QString error;
    };
    void readEnded();

    QString m_path;
    QFutureWatcher<Read> *m_watcher = nullptr;
};

} // namespace verdalis
