#include "picture_loader.h"

#include "picture_canvas.h"
#include "picture_reader.h"

#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <new>

namespace verdalis {

PictureLoader::PictureLoader(QObject *parent) : QObject(parent)
{
}

PictureLoader::~PictureLoader()
{
    cancel();
}

void PictureLoader::load(const QString &path)
{
    cancel();
    // Qt's readers are given the size limit before any thread reads.
    setPictureAllocationLimit();
    auto promise = std::make_shared<QPromise<Read>>();
    m_path = path;
    m_watcher = new QFutureWatcher<Read>(this);
    connect(m_watcher, &QFutureWatcherBase::finished, this, &PictureLoader::readEnded);
    m_watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, path] {
        Read read;
        try {
            read.picture = readPicture(path, &read.error);
            if (!read.picture.isNull())
                read.overlay = PictureCanvas::preparedOverlay(read.picture.size());
        } catch (const std::bad_alloc &) {
            read.error = QStringLiteral("There is not enough memory to read the picture");
        }
        promise->addResult(std::move(read));
        promise->finish();
    });
}

void PictureLoader::cancel()
{
    if (!m_watcher)
        return;
    // The read goes on to its end; no one is told of it.
    m_watcher->disconnect(this);
    m_watcher->deleteLater();
    m_watcher = nullptr;
    m_path.clear();
}

void PictureLoader::readEnded()
{
    QFutureWatcher<Read> *watcher = m_watcher;
    const QString path = m_path;
    m_watcher = nullptr;
    m_path.clear();
    Read read = watcher->future().resultCount() > 0 ? watcher->result() : Read();
    watcher->deleteLater();
    if (read.picture.isNull() && read.error.isEmpty())
        read.error = QStringLiteral("The picture could not be read");
    emit loaded(path, read.picture, read.overlay, read.error);
}

} // namespace verdalis
