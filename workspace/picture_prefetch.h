#pragma once

#include <QImage>
#include <QString>

#include <future>
#include <optional>

namespace verdalis {

// Reads the next picture of a batch on a thread of its own while the current
// one is being analysed, with the reader every other load uses
// (readPicture), so a batch of large scans does not wait for each decoding
// in turn. One picture at most is read ahead.
class PicturePrefetch {
public:
    PicturePrefetch() = default;
    PicturePrefetch(const PicturePrefetch &) = delete;
    PicturePrefetch &operator=(const PicturePrefetch &) = delete;
    // Waits for a read in progress.
    ~PicturePrefetch();

    // Starts reading the file; a picture read ahead before is dropped.
    void start(const QString &path);
    // The picture read ahead from this file, once its reading has ended: a null
    // image, with the reader's reason in *error, when it could not be read.
    // Nothing when this file was not read ahead; what was read ahead is
    // dropped either way.
    std::optional<QImage> take(const QString &path, QString *error);
    // Drops what was read ahead (waiting for a read in progress).
    void drop();
    bool isHolding() const { return m_reading.valid(); }

private:
    struct Read {
        QImage picture;
        QString error;
    };

    QString m_path;
    std::future<Read> m_reading;
};

} // namespace verdalis
