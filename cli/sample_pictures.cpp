#include "sample_pictures.h"

#include "calibration_file.h"
#include "file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <cmath>

namespace verdalis {

namespace {

// Seeds that give a pleasant spread of leaf sizes on both backgrounds.
constexpr std::uint32_t WhiteSeed = 20240601;
constexpr std::uint32_t BlackSeed = 20240602;

const QString CalibrationName = QStringLiteral("samples.clb");
const QString SetName = QStringLiteral("samples.set");

Calibration sampleCalibration()
{
    Calibration calibration;
    calibration.sizeRatio = SamplePictures::sizeRatio();
    calibration.unitName = QStringLiteral("mm");
    calibration.notes.scannerName = QStringLiteral("Verdalis sample pictures");
    calibration.notes.resolution = QStringLiteral("300 dpi");
    calibration.notes.sizeRatioNote = QStringLiteral("96/300 = 0.32 mm per display mm");
    calibration.notes.otherNotes = QStringLiteral("Scale bar at the bottom left: 10 mm");
    return calibration;
}

} // namespace

int SamplePictures::scaleBarPixels()
{
    return int(std::lround(ScaleBarMillimetres / 25.4 * ScanDpi));
}

SyntheticScene SamplePictures::scene(Background background)
{
    SyntheticScene scene = randomLeafScene(
        Width, Height, background == Background::White ? WhiteSeed : BlackSeed, background);
    if (scene.scaleBar)
        scene.scaleBar->lengthPixels = scaleBarPixels();
    return scene;
}

QImage SamplePictures::render(const SyntheticScene &scene, int dpi)
{
    QImage picture(scene.width, scene.height, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    renderScene(scene, reinterpret_cast<std::uint32_t *>(picture.bits()),
                picture.bytesPerLine() / 4);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    return picture;
}

bool writePicture(const QImage &picture, const QString &path, QString *error)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QString writerError;
    QString reason;
    const bool written = writeFileSafely(
        path,
        [&](QIODevice &file) {
            QImageWriter writer(&file, format);
            if (format == "jpg" || format == "jpeg")
                writer.setQuality(SamplePictures::JpegQuality);
            if (writer.write(picture))
                return true;
            writerError = writer.errorString();
            return false;
        },
        &reason);
    if (!written)
        *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") +
                 (writerError.isEmpty() ? reason : writerError);
    return written;
}

QStringList SamplePictures::write(const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error =
            QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    const QDir dir(folder);
    QStringList written;
    QByteArray set;
    const struct {
        Background background;
        const char *name;
    } backgrounds[] = {{Background::White, "leaves-on-white"},
                       {Background::Black, "leaves-on-black"}};
    for (const auto &entry : backgrounds) {
        const QImage picture = render(scene(entry.background));
        for (const char *suffix : {".jpg", ".bmp"}) {
            const QString name = QLatin1String(entry.name) + QLatin1String(suffix);
            if (!writePicture(picture, dir.filePath(name), error))
                return {};
            written << name;
            set +=
                QByteArray(entry.name) + '-' + QByteArray(suffix + 1) + '\t' + name.toUtf8() + '\n';
        }
    }
    if (!CalibrationFile::write(dir.filePath(CalibrationName), sampleCalibration(), error))
        return {};
    written << CalibrationName;

    const QString setPath = dir.filePath(SetName);
    QString reason;
    if (!writeFileSafely(setPath, set, &reason)) {
        *error = QDir::toNativeSeparators(setPath) + QStringLiteral(": ") + reason;
        return {};
    }
    written << SetName;
    return written;
}

} // namespace verdalis
