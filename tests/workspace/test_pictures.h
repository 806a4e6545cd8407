#pragma once

#include "picture_opener.h"
#include "picture_reader.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace verdalis::test {

// Pictures written by the tests into a temporary folder.
class TestPictures {
public:
    // A picture whose pixel (x, y) is RGB(x mod 256, y mod 256, 90).
    static QImage gradient(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
        return image;
    }

    QString write(const QString &name, const QImage &image)
    {
        const QString path = m_dir.filePath(name);
        image.save(path);
        return path;
    }

    QString writeGradient(const QString &name, int width, int height)
    {
        return write(name, gradient(width, height));
    }

    // A file named like a picture that holds no picture.
    QString writeGarbage(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray("\xff\xd8\xff this is not a picture at all \x01\x02\x03"));
        return path;
    }

    // The pixels of an overlay that something was drawn on.
    static int paintedPixels(const QImage &overlay)
    {
        int count = 0;
        for (int y = 0; y < overlay.height(); ++y)
            for (int x = 0; x < overlay.width(); ++x)
                count += overlay.pixel(x, y) != 0;
        return count;
    }

    // The message for a file the picture reader fails to read.
    static QString cannotOpenMessage(const QString &path)
    {
        QString reason;
        readPicture(path, &reason);
        return PictureOpener::cannotOpenText(path, reason);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace verdalis::test
