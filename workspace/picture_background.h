#pragma once

#include "background_check.h"
#include "background_correction.h"

#include <QImage>
#include <QString>

namespace verdalis {

// What became of a picture's background when it was read.
struct PictureBackground {
    // "Correct background" was on when the picture was read.
    bool correctionAsked = false;
    BackgroundOutcome outcome = BackgroundOutcome::NoBackground;
};

// Evens out the background of a picture just read (see correctBackground); the
// picture becomes Format_RGB32 when it was not RGB32 or ARGB32. In memory only.
PictureBackground correctPictureBackground(QImage &picture);

// The border check of a picture at the unit step an analysis samples it.
BorderCheck checkPictureBorder(const QImage &picture, int unitStepTenths);

// The line the report ends with when the correction was asked for: whether it
// was done and, if not, why. Empty when it was not asked for.
QString backgroundReportLine(const PictureBackground &background);

// The warning under the report and on a results table row: the border largely
// passes the leaf test, or the correction found no background to work with.
// Empty when there is nothing to warn about.
QString backgroundWarningText(const BorderCheck &border, const PictureBackground &background);

// The same for the command-line analyser, one line without the picture's name.
QString backgroundBatchMessage(const BorderCheck &border, const PictureBackground &background);

// The window's "Correct background" choice, kept in the program's settings.
bool readCorrectBackgroundSetting();
void writeCorrectBackgroundSetting(bool on);

// The window reads every picture through one of these: with the option on it
// corrects the background, and it remembers what became of the last picture.
class BackgroundCorrector {
public:
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    void prepare(QImage &picture);
    const PictureBackground &lastPicture() const { return m_last; }

private:
    bool m_enabled = false;
    PictureBackground m_last;
};

} // namespace verdalis
