// The direct JPEG decoder gives the pixels Qt's reader gives, on generated
// files of every kind and on the real photographs when they are at hand.
#include "batch_test_support.h"
#include "jpeg_decoder.h"
#include "picture_reader.h"

#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

using namespace verdalis;

namespace {

// Leaves with noise on top, so every DCT coefficient has work to do.
QImage noisyLeaves(int width, int height, std::uint32_t seed)
{
    const SyntheticScene scene = RandomLeafScene(width, height, seed);
    QImage image(width, height, QImage::Format_RGB32);
    RenderScene(scene, reinterpret_cast<std::uint32_t *>(image.bits()), image.bytesPerLine() / 4);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int shift = int(random.bounded(41)) - 20;
            row[x] = qRgb(qBound(0, qRed(row[x]) + shift, 255), qBound(0, qGreen(row[x]) - shift, 255),
                          qBound(0, qBlue(row[x]) + shift / 2, 255));
        }
    }
    return image;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class JpegDecoderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void samePixelsAsQt_data();
    void samePixelsAsQt();
    void sampledRowsAreQtsRows_data();
    void sampledRowsAreQtsRows();
    void otherFilesAreLeftToQt();

private:
    QString write(const QString &name, const QImage &image, int quality,
                  void (*tune)(QImageWriter &) = nullptr);

    QTemporaryDir m_dir;
    // name, path, whether the direct decoder handles it
    QList<std::tuple<QString, QString, bool>> m_files;
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
    m_files.append({name, path, true});
    return path;
}

void JpegDecoderTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // 1201 x 700 is past 2 MB: memory of its own, huge pages asked for.
    const int sizes[][2] = {{1, 1}, {7, 5}, {17, 9}, {333, 211}, {640, 480}, {1001, 3}, {1201, 700}};
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

    // A file cut short: libjpeg fills the missing rows, for Qt as for us.
    const QByteArray whole = bytesOf(write(QStringLiteral("whole.jpg"), leaves, 90));
    const QString truncated = writeTextFile(QDir(m_dir.path()), QStringLiteral("truncated.jpg"),
                                            whole.left(whole.size() / 2));
    m_files.append({QStringLiteral("truncated.jpg"), truncated, true});

    // Sampling factors, RGB and arithmetic coding that Qt's writer does not make.
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (!cjpeg.isEmpty()) {
        const QString ppm = QDir(m_dir.path()).filePath(QStringLiteral("leaves.ppm"));
        QVERIFY(leaves.save(ppm, "PPM"));
        const QList<QStringList> variants{{"-sample", "1x1"}, {"-sample", "2x1"},
                                          {"-sample", "1x2"}, {"-rgb"},
                                          {"-grayscale"},     {"-arithmetic"},
                                          {"-restart", "1"},  {"-dct", "float"}};
        for (const QStringList &variant : variants) {
            const QString name = QStringLiteral("cjpeg%1.jpg").arg(variant.join(QString()));
            const QString path = QDir(m_dir.path()).filePath(name);
            QCOMPARE(QProcess::execute(cjpeg, variant + QStringList{"-outfile", path, ppm}), 0);
            m_files.append({name, path, true});
        }
    }

    const QDir photos(QStringLiteral(VERDALIS_SHARED_PICTURES));
    for (const QString &name : photos.entryList({"*.jpg", "*.jpeg", "*.JPG"}, QDir::Files))
        m_files.append({QStringLiteral("photo ") + name, photos.filePath(name), true});
}

void JpegDecoderTest::samePixelsAsQt_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("direct");
    for (const auto &[name, path, direct] : m_files)
        QTest::newRow(qPrintable(name)) << path << direct;
}

void JpegDecoderTest::samePixelsAsQt()
{
    QFETCH(QString, path);
    QFETCH(bool, direct);
    QString error;
    const QImage expected = readPictureWithQt(path, &error);
    QVERIFY2(!expected.isNull(), qPrintable(error));

    const QByteArray bytes = bytesOf(path);
    const QImage decoded =
        decodeJpeg(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size());
    QCOMPARE(!decoded.isNull(), direct);
    QCOMPARE(decoded.format(), QImage::Format_RGB32);
    QCOMPARE(decoded.size(), expected.size());
    // Pixels and colour profile.
    QVERIFY(decoded == expected);
    QCOMPARE(decoded.dotsPerMeterX(), expected.dotsPerMeterX());
    QCOMPARE(decoded.dotsPerMeterY(), expected.dotsPerMeterY());
    QVERIFY(readPicture(path, &error) == expected);
}

void JpegDecoderTest::sampledRowsAreQtsRows_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("tenths");
    for (const auto &[name, path, direct] : m_files) {
        if (name.startsWith(QLatin1String("1201x700")) || name == QLatin1String("grey.jpg")
            || name == QLatin1String("17x9-q90.jpg")) {
            for (int tenths = 1; tenths <= 10; ++tenths)
                QTest::addRow("%s, unit step %d", qPrintable(name), tenths) << path << tenths;
        }
    }
}

// An analysis at this unit step reads only these rows; they are Qt's rows.
void JpegDecoderTest::sampledRowsAreQtsRows()
{
    QFETCH(QString, path);
    QFETCH(int, tenths);
    QString error;
    const QImage expected = readPictureWithQt(path, &error);
    const QImage decoded = readPicture(path, &error, tenths);
    QCOMPARE(decoded.size(), expected.size());
    const SampleGeometry geometry(expected.width(), expected.height(), tenths);
    int rows = 0;
    for (std::int64_t y = 0; y <= geometry.maxY(); ++y) {
        const std::int64_t row = SampleGeometry::pixelOfSample(y, tenths);
        if (row >= expected.height())
            continue;
        ++rows;
        QVERIFY2(std::memcmp(decoded.constScanLine(int(row)), expected.constScanLine(int(row)),
                             std::size_t(expected.width()) * 4) == 0,
                 qPrintable(QStringLiteral("row %1").arg(row)));
    }
    QVERIFY(rows > 0);
}

void JpegDecoderTest::otherFilesAreLeftToQt()
{
    const QDir dir(m_dir.path());
    const QString bmp = writeLeafPicture(dir, QStringLiteral("leaves.bmp"), 50, 40, 3);
    const QByteArray bmpBytes = bytesOf(bmp);
    QVERIFY(decodeJpeg(reinterpret_cast<const uchar *>(bmpBytes.constData()), bmpBytes.size())
                .isNull());
    QString error;
    QVERIFY(readPicture(bmp, &error) == readPictureWithQt(bmp, &error));

    // A JPEG start and nothing usable: both give up, with Qt's reason.
    const QString broken = writeTextFile(dir, QStringLiteral("broken.jpg"), "\xFF\xD8\xFF");
    error.clear();
    QVERIFY(readPicture(broken, &error).isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY(decodeJpeg(nullptr, 0).isNull());
}

QTEST_GUILESS_MAIN(JpegDecoderTest)
#include "tst_jpeg_decoder.moc"
