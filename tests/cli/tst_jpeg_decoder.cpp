// The direct JPEG decoder gives the pixels Qt's reader gives, on generated
// files of every kind and on the real photographs when they are at hand.
#include "batch_test_support.h"
#include "jpeg_decoder.h"
#include "picture_reader.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

using namespace verdalis;

namespace {

// Leaves with noise on top, so every DCT coefficient has work to do.
QImage noisyLeaves(int width, int height, std::uint32_t seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    renderScene(randomLeafScene(width, height, seed),
                reinterpret_cast<std::uint32_t *>(image.bits()), image.bytesPerLine() / 4);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, image.pixel(x, y) ^ (random.generate() & 0x1F0F1Fu));
    }
    return image;
}

// CMYK as Adobe software writes it (inverted), which Qt's writer cannot make.
QString writeCmykJpeg(const QString &path, const QImage &rgb)
{
    std::FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        qFatal("cannot write %s", qPrintable(path));
    jpeg_compress_struct info{};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(rgb.width()) * 4);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            const int k = qMax(qRed(pixel), qMax(qGreen(pixel), qBlue(pixel)));
            JSAMPLE *cmyk = &row[std::size_t(x) * 4];
            cmyk[0] = JSAMPLE(k ? 255 * qRed(pixel) / k : 0);
            cmyk[1] = JSAMPLE(k ? 255 * qGreen(pixel) / k : 0);
            cmyk[2] = JSAMPLE(k ? 255 * qBlue(pixel) / k : 0);
            cmyk[3] = JSAMPLE(k);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
    return path;
}

} // namespace

class JpegDecoderTest : public QObject {
    Q_OBJECT
private slots:
    void samePixelsAsQt_data();
    void samePixelsAsQt();

private:
    QString write(const QString &name, const QImage &image, int quality,
                  void (*tune)(QImageWriter &) = nullptr);

    QTemporaryDir m_dir;
};

QString JpegDecoderTest::write(const QString &name, const QImage &image, int quality,
                               void (*tune)(QImageWriter &))
{
    const QString path = QDir(m_dir.path()).filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    if (tune)
        tune(writer);
    if (!writer.write(image))
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
    QTest::newRow(qPrintable(name)) << path;
    return path;
}

// Generated files of every kind, and the real photographs when at hand.
void JpegDecoderTest::samePixelsAsQt_data()
{
    QTest::addColumn<QString>("path");
    QVERIFY(m_dir.isValid());
    // 1201 x 700 is past 2 MB: memory of its own, huge pages asked for.
    const int sizes[][2] = {{1, 1},     {7, 5},    {17, 9},    {333, 211},
                            {640, 480}, {1001, 3}, {1201, 700}};
    int seed = 1;
    for (const auto &size : sizes) {
        for (int quality : {50, 90, 100})
            write(QStringLiteral("%1x%2-q%3.jpg").arg(size[0]).arg(size[1]).arg(quality),
                  noisyLeaves(size[0], size[1], seed++), quality);
    }
    const QImage leaves = noisyLeaves(257, 191, 99);
    write(QStringLiteral("grey.jpg"), leaves.convertToFormat(QImage::Format_Grayscale8), 90);
    write(QStringLiteral("progressive.jpg"), leaves, 90,
          [](QImageWriter &w) { w.setProgressiveScanWrite(true); });
    write(QStringLiteral("optimised.jpg"), leaves, 90,
          [](QImageWriter &w) { w.setOptimizedWrite(true); });
    // The orientation tag is not applied by Qt's reader by default, nor here.
    write(QStringLiteral("rotated.jpg"), leaves, 90,
          [](QImageWriter &w) { w.setTransformation(QImageIOHandler::TransformationRotate90); });

    QTest::newRow("cmyk.jpg") << writeCmykJpeg(QDir(m_dir.path()).filePath("cmyk.jpg"), leaves);

    // Sampling factors, RGB and arithmetic coding that Qt's writer does not make.
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (!cjpeg.isEmpty()) {
        const QString ppm = QDir(m_dir.path()).filePath(QStringLiteral("leaves.ppm"));
        QVERIFY(leaves.save(ppm, "PPM"));
        const QList<QStringList> variants{
            {"-sample", "1x1"}, {"-sample", "2x1"}, {"-sample", "1x2"}, {"-rgb"},
            {"-arithmetic"},    {"-restart", "1"},  {"-dct", "float"}};
        for (const QStringList &variant : variants) {
            const QString name = QStringLiteral("cjpeg%1.jpg").arg(variant.join(QString()));
            const QString path = QDir(m_dir.path()).filePath(name);
            QCOMPARE(QProcess::execute(cjpeg, variant + QStringList{"-outfile", path, ppm}), 0);
            QTest::newRow(qPrintable(name)) << path;
        }
    }

    const QDir photos(QStringLiteral(VERDALIS_SHARED_PICTURES));
    for (const QString &name : photos.entryList({"*.jpg", "*.jpeg", "*.JPG"}, QDir::Files))
        QTest::newRow(qPrintable("photo " + name)) << photos.filePath(name);
}

void JpegDecoderTest::samePixelsAsQt()
{
    QFETCH(QString, path);
    QImageReader qtReader(path);
    const QImage expected = qtReader.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!expected.isNull(), qPrintable(qtReader.errorString()));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QString error;
    const QImage decoded = decodeJpeg(reinterpret_cast<const uchar *>(bytes.constData()),
                                      bytes.size(), MaxPicturePixels, &error);
    QVERIFY2(!decoded.isNull(), qPrintable(error));
    // Format, pixels and resolution.
    QVERIFY(decoded == expected);
    QCOMPARE(decoded.dotsPerMeterX(), expected.dotsPerMeterX());
    QCOMPARE(decoded.dotsPerMeterY(), expected.dotsPerMeterY());
    QVERIFY(readPicture(path, &error) == expected);

    // An analysis at a unit step reads only some rows: those are Qt's rows. The
    // memory used again is first filled with something else, so rows left
    // from the last picture cannot pass for decoded ones.
    for (int tenths = 1; tenths <= 10; ++tenths) {
        readPicture(path, &error, tenths).fill(0xFF00FF00u);
        const QImage sampled = readPicture(path, &error, tenths);
        QCOMPARE(sampled.size(), expected.size());
        const SampleGeometry geometry(expected.width(), expected.height(), tenths);
        for (std::int64_t y = 0; y <= geometry.maxY(); ++y) {
            const int row = int(SampleGeometry::pixelOfSample(y, tenths));
            if (row < expected.height())
                QVERIFY2(std::memcmp(sampled.constScanLine(row), expected.constScanLine(row),
                                     std::size_t(expected.bytesPerLine())) == 0,
                         qPrintable(QStringLiteral("unit step %1, row %2").arg(tenths).arg(row)));
        }
    }
}

QTEST_GUILESS_MAIN(JpegDecoderTest)
#include "tst_jpeg_decoder.moc"
