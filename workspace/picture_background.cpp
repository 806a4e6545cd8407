#include "picture_background.h"

#include <QLocale>
#include <QSettings>

namespace verdalis {

namespace {

const char *const SettingKey = "analysis/correctBackground";

// The program's settings: an INI file in the user's configuration folder
// (tests point QSettings::setPath elsewhere).
class ProgramSettings : public QSettings {
public:
    ProgramSettings()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Verdalis"),
                    QStringLiteral("Verdalis"))
    {
    }
};

PixelBuffer bufferOf(const QImage &picture)
{
    return PixelBuffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                       picture.width(), picture.height(),
                       std::ptrdiff_t(picture.bytesPerLine() / 4)};
}

QString percentOf(const BorderCheck &border)
{
    return QLocale().toString(qRound(border.leafShare() * 100.0));
}

bool foundNoBackground(const PictureBackground &background)
{
    return background.correctionAsked && background.outcome == BackgroundOutcome::NoBackground;
}

} // namespace

PictureBackground correctPictureBackground(QImage &picture)
{
    PictureBackground background;
    background.correctionAsked = true;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    background.outcome =
        correctBackground(reinterpret_cast<std::uint32_t *>(picture.bits()), picture.width(),
                          picture.height(), std::ptrdiff_t(picture.bytesPerLine() / 4));
    return background;
}

BorderCheck checkPictureBorder(const QImage &picture, int unitStepTenths)
{
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        return checkBorder(bufferOf(picture.convertToFormat(QImage::Format_RGB32)), unitStepTenths);
    return checkBorder(bufferOf(picture), unitStepTenths);
}

QString backgroundReportLine(const PictureBackground &background)
{
    if (!background.correctionAsked)
        return QString();
    switch (background.outcome) {
    case BackgroundOutcome::Found:
        return QStringLiteral("Background corrected");
    case BackgroundOutcome::WhiteBackground:
        return QStringLiteral("Background not corrected: it is white already");
    case BackgroundOutcome::DarkBackground:
        return QStringLiteral("Background not corrected: it is near black");
    case BackgroundOutcome::NoBackground:
        break;
    }
    return QStringLiteral("Background not corrected: the leaf fills the picture");
}

QString backgroundWarningText(const BorderCheck &border, const PictureBackground &background)
{
    QString text;
    if (border.backgroundCountsAsLeaf()) {
        text = QStringLiteral("Warning: %1 % of the picture's border passes the leaf test. The "
                              "background is not near black or near white, so these figures "
                              "include it.")
                   .arg(percentOf(border));
        if (!background.correctionAsked)
            text += QStringLiteral(" Try \"Correct background\".");
    }
    if (foundNoBackground(background)) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QStringLiteral("The background was not corrected: too little of the picture is "
                               "background; the picture was analysed as it is.");
    }
    return text;
}

QString backgroundBatchMessage(const BorderCheck &border, const PictureBackground &background)
{
    QStringList parts;
    if (border.backgroundCountsAsLeaf()) {
        QString warning = QStringLiteral("%1 % of the border passes the leaf test: the background "
                                         "is not near black or near white and the figures "
                                         "include it")
                              .arg(percentOf(border));
        if (!background.correctionAsked)
            warning += QStringLiteral(" (try --correct-background)");
        parts << warning;
    }
    if (foundNoBackground(background))
        parts << QStringLiteral("background not corrected: too little of the picture is "
                                "background; analysed as it is");
    return parts.join(QStringLiteral("; "));
}

bool readCorrectBackgroundSetting()
{
    ProgramSettings settings;
    return settings.value(QLatin1String(SettingKey), false).toBool();
}

void writeCorrectBackgroundSetting(bool on)
{
    ProgramSettings settings;
    settings.setValue(QLatin1String(SettingKey), on);
}

void BackgroundCorrector::prepare(QImage &picture)
{
    m_last = m_enabled ? correctPictureBackground(picture) : PictureBackground();
}

} // namespace verdalis
