#include "overlay_picture.h"

#include "file_access.h"
#include "picture_canvas.h"

#include <QFileInfo>
#include <QSet>

namespace verdalis {

namespace {

// Quality of a JPEG overlay: high, so the one-pixel dots of a fine unit step
// stay visible.
constexpr int JpegQuality = 95;
// Qt's PNG quality 80 is zlib's fastest level: a 24-megapixel overlay is written
// in a fraction of the default level's time, in a file not much larger (the
// same pixels either way).
constexpr int PngQuality = 80;

QString safeFileName(const QString &lineName)
{
    QString name = lineName;
    for (QChar &ch : name) {
        if (ch.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("picture");
    return name;
}

} // namespace

QStringList overlayFileNames(const QStringList &lineNames)
{
    QStringList names;
    // Compared without case: two names differing only in case are one file on
    // some systems.
    QSet<QString> taken;
    for (const QString &lineName : lineNames) {
        const QString base = safeFileName(lineName);
        QString name = base + QStringLiteral(".png");
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = QStringLiteral("%1-%2.png").arg(base).arg(n);
        taken.insert(name.toLower());
        names.append(name);
    }
    return names;
}

std::optional<OverlayFormat> overlayFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return OverlayFormat::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return OverlayFormat::Jpeg;
    return std::nullopt;
}

QString withOverlaySuffix(const QString &path, OverlayFormat chosen)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + (chosen == OverlayFormat::Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".png"));
}

bool writeOverlayPicture(const QImage &picture, const QString &path, QString *error)
{
    if (picture.isNull()) {
        *error = QStringLiteral("there is no picture to write");
        return false;
    }
    const bool jpeg = overlayFormatOf(path) == OverlayFormat::Jpeg;
    return writeFileSafely(
        path,
        [&](QIODevice &file) {
            return jpeg ? picture.save(&file, "JPEG", JpegQuality)
                        : picture.save(&file, "PNG", PngQuality);
        },
        error);
}

AnalysedOverlay::AnalysedOverlay(const PictureCanvas &canvas, QObject *parent)
    : QObject(parent), m_canvas(canvas)
{
    connect(&canvas, &PictureCanvas::pictureChanged, this, &AnalysedOverlay::withdraw);
    connect(&canvas, &PictureCanvas::drawingsChanged, this, &AnalysedOverlay::withdraw);
}

QImage AnalysedOverlay::picture() const
{
    return m_available ? m_canvas.composedImage() : QImage();
}

void AnalysedOverlay::analysisFinished()
{
    const bool available = m_canvas.hasPicture();
    if (available == m_available)
        return;
    m_available = available;
    emit availabilityChanged(available);
}

void AnalysedOverlay::withdraw()
{
    if (!m_available)
        return;
    m_available = false;
    emit availabilityChanged(false);
}

} // namespace verdalis
