// Measures the border check and the background correction (run by hand; the
// figures are in docs/background.md):
//   verdalis_background_measure [picture folder]
// 1. Generated photos: clean synthetic scans put under uneven, tinted light
//    with noise; leaf and symptom samples of the clean scan against those of
//    the photo after correcting it with each estimator tried (and after
//    dividing it by the very light that made it, "exact"), and the border's
//    leaf share of the clean scan, the photo and the corrected photo.
// 2. The pictures of the folder: border share, the leaf share of the frame as
//    read and after correcting with each estimator.
#include "analysis_run.h"
#include "background_check.h"
#include "background_correction.h"
#include "paper_photo.h"
#include "picture_reader.h"
#include "synthetic_leaves.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace verdalis;

namespace {

struct Variant {
    const char *name;
    BackgroundEstimator estimator;
};

const Variant Variants[] = {
    {"degree 0", {0, false}}, {"degree 1", {1, false}}, {"degree 2", {2, false}},
    {"degree 3", {3, false}}, {"border 2", {2, true}},
};

AnalysisSettings settingsFor(int system)
{
    static const double bases[] = {25.0, 25.0, 1750.0, 40.0, 330.0};
    static const int steps[] = {5, 5, 50, 1, 10};
    AnalysisSettings s;
    s.detection.systemIndex = system;
    s.detection.baseThreshold = bases[system];
    s.detection.thresholdStep = steps[system];
    return s;
}

AnalysisFigures analyse(const std::vector<std::uint32_t> &pixels, int w, int h, int system)
{
    AnalysisRun run;
    run.start(PixelBuffer{pixels.data(), w, h, w}, settingsFor(system));
    run.runToEnd();
    return run.figures();
}

double percent(double value, double reference)
{
    return reference != 0.0 ? (value - reference) / reference * 100.0 : 0.0;
}

void measureGenerated()
{
    const int w = 1600;
    const int h = 1200;
    std::printf("Generated photos %dx%d (leaf and symptom: %% off the clean scan; "
                "System 1 finds chlorotic, System 3 necrotic lesions)\n",
                w, h);
    std::printf("%-26s %-9s %8s %8s %8s %8s %8s\n", "light", "estimator", "leaf S1", "symp S1",
                "symp S3", "border", "perim");
    struct Light {
        const char *name;
        PaperLight light;
    };
    std::vector<Light> lights;
    lights.push_back({"default (0.72, warm)", PaperLight()});
    PaperLight dim;
    dim.level = 0.6;
    dim.tiltX = 0.2;
    dim.vignette = 0.35;
    dim.seed = 2;
    lights.push_back({"dim, strong vignette", dim});
    PaperLight cool;
    cool.level = 0.8;
    cool.cast = {0.85, 0.95, 1.0};
    cool.tiltX = -0.1;
    cool.tiltY = 0.15;
    cool.noise = 6.0;
    cool.seed = 3;
    lights.push_back({"bright, cool, noisy", cool});
    for (std::uint32_t seed : {11u, 12u}) {
        const SyntheticScene scene = randomLeafScene(w, h, seed);
        const std::vector<std::uint32_t> clean = renderScene(scene);
        const AnalysisFigures clean1 = analyse(clean, w, h, 1);
        const AnalysisFigures clean3 = analyse(clean, w, h, 3);
        const AnalysisFigures clean0 = analyse(clean, w, h, 0);
        std::printf("scene %u: clean border %.3f\n", seed,
                    checkBorder(PixelBuffer{clean.data(), w, h, w}, 10).leafShare());
        for (const Light &light : lights) {
            std::vector<std::uint32_t> photo = clean;
            photographUnder(light.light, photo.data(), w, h, w);
            std::printf(
                "%-26s %-9s %8.2f %8.2f %8.2f %8.3f %8.2f\n", light.name, "none",
                percent(double(analyse(photo, w, h, 1).leafSamples), clean1.leafSamples),
                percent(double(analyse(photo, w, h, 1).symptomSamples), clean1.symptomSamples),
                percent(double(analyse(photo, w, h, 3).symptomSamples), clean3.symptomSamples),
                checkBorder(PixelBuffer{photo.data(), w, h, w}, 10).leafShare(),
                percent(analyse(photo, w, h, 0).perimeterCount, clean0.perimeterCount));
            // The photo divided by the light that made it: what noise alone
            // does to the figures, the best any estimator can do.
            std::vector<std::uint32_t> exact = photo;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    std::uint32_t &pixel = exact[std::size_t(y) * w + x];
                    std::uint32_t out = 0xFF000000u;
                    for (int ch = 0; ch < 3; ++ch) {
                        const int shift = 16 - 8 * ch;
                        const double value =
                            double((pixel >> shift) & 0xFFu) / light.light.factorAt(ch, x, y, w, h);
                        out |= std::uint32_t(std::min(255L, std::lround(value))) << shift;
                    }
                    pixel = out;
                }
            }
            const AnalysisFigures e1 = analyse(exact, w, h, 1);
            std::printf(
                "%-26s %-9s %8.2f %8.2f %8.2f %8.3f %8.2f\n", "", "exact",
                percent(double(e1.leafSamples), clean1.leafSamples),
                percent(double(e1.symptomSamples), clean1.symptomSamples),
                percent(double(analyse(exact, w, h, 3).symptomSamples), clean3.symptomSamples),
                checkBorder(PixelBuffer{exact.data(), w, h, w}, 10).leafShare(),
                percent(analyse(exact, w, h, 0).perimeterCount, clean0.perimeterCount));
            for (const Variant &variant : Variants) {
                std::vector<std::uint32_t> corrected = photo;
                const BackgroundOutcome outcome =
                    correctBackground(corrected.data(), w, h, w, variant.estimator);
                if (outcome != BackgroundOutcome::Found) {
                    std::printf("%-26s %-9s not corrected\n", "", variant.name);
                    continue;
                }
                const AnalysisFigures f1 = analyse(corrected, w, h, 1);
                const AnalysisFigures f3 = analyse(corrected, w, h, 3);
                const AnalysisFigures f0 = analyse(corrected, w, h, 0);
                std::printf("%-26s %-9s %8.2f %8.2f %8.2f %8.3f %8.2f\n", "", variant.name,
                            percent(double(f1.leafSamples), clean1.leafSamples),
                            percent(double(f1.symptomSamples), clean1.symptomSamples),
                            percent(double(f3.symptomSamples), clean3.symptomSamples),
                            checkBorder(PixelBuffer{corrected.data(), w, h, w}, 10).leafShare(),
                            percent(f0.perimeterCount, clean0.perimeterCount));
            }
        }
    }
}

double leafShare(const QImage &picture)
{
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(),
                             std::ptrdiff_t(picture.bytesPerLine() / 4)};
    AnalysisRun run;
    run.start(buffer, settingsFor(0));
    run.runToEnd();
    const SampleGeometry geometry(picture.width(), picture.height(), 10);
    return double(run.figures().leafSamples) / double(geometry.sampleCount());
}

void measureFolder(const QString &folder)
{
    std::printf("\nPictures of %s: border share, leaf share of the frame as read and "
                "corrected\n",
                qPrintable(folder));
    std::printf("%-36s %7s %7s", "picture", "border", "as read");
    for (const Variant &variant : Variants)
        std::printf(" %9s", variant.name);
    std::printf("\n");
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name)) {
        QString error;
        const QImage picture = readPicture(dir.filePath(name), &error);
        if (picture.isNull()) {
            std::printf("%-36s %s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                                 picture.width(), picture.height(),
                                 std::ptrdiff_t(picture.bytesPerLine() / 4)};
        std::printf("%-36s %7.3f %7.3f", qPrintable(name), checkBorder(buffer, 10).leafShare(),
                    leafShare(picture));
        for (const Variant &variant : Variants) {
            QImage corrected = picture.copy();
            const BackgroundOutcome outcome = correctBackground(
                reinterpret_cast<std::uint32_t *>(corrected.bits()), corrected.width(),
                corrected.height(), corrected.bytesPerLine() / 4, variant.estimator);
            if (outcome == BackgroundOutcome::Found)
                std::printf(" %9.3f", leafShare(corrected));
            else
                std::printf(" %9s", outcome == BackgroundOutcome::DarkBackground    ? "dark"
                                    : outcome == BackgroundOutcome::WhiteBackground ? "white"
                                                                                    : "none");
        }
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    setPictureAllocationLimit();
    if (qEnvironmentVariableIsEmpty("SKIP_GENERATED"))
        measureGenerated();
    if (argc > 1)
        measureFolder(QString::fromLocal8Bit(argv[1]));
    return 0;
}
