#pragma once

#include "synthetic_leaves.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace verdalis {

// The sample pictures that ship with the program: synthetic scans at 300 dpi
// of a dozen leaves with chlorotic and necrotic lesions, on a white and on a
// black background, each as JPEG (quality 90) and BMP, a 10 mm scale bar along
// the bottom, and the calibration file that matches them.
//
// A picture pixel is 25.4/96 display millimetres (96 logical dpi) and 25.4/300
// real millimetres at 300 dpi, so the calibration's size ratio is 96/300 = 0.32
// real millimetres per display millimetre.
struct SamplePictures {
    static constexpr int ScanDpi = 300;
    static constexpr int Width = 1800;  // pixels: 152.4 mm at 300 dpi
    static constexpr int Height = 1200; // pixels: 101.6 mm
    static constexpr double ScaleBarMillimetres = 10.0;
    static constexpr int JpegQuality = 90;

    // Real millimetres per display millimetre at ScanDpi.
    static double sizeRatio() { return 96.0 / ScanDpi; }
    // 10 mm at 300 dpi is 118.1 pixels; the bar is drawn 118 pixels long.
    static int scaleBarPixels();

    // The scene of one sample picture.
    static SyntheticScene scene(Background background);
    // A scene rendered into a Format_RGB32 picture that records its resolution.
    static QImage render(const SyntheticScene &scene, int dpi = ScanDpi);

    // Writes the pictures, the calibration file "samples.clb" and a picture set
    // file "samples.set" into the folder (created when missing). Returns the
    // names of the files written; on failure an empty list and *error.
    static QStringList write(const QString &folder, QString *error);
};

// Writes a picture: JPEG at the sample quality for .jpg/.jpeg, else the format
// of the file's extension. On failure puts the reason, naming the path, in *error.
bool writePicture(const QImage &picture, const QString &path, QString *error);

} // namespace verdalis
