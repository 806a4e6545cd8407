// The background correction against the decoding of the same picture: a
// generated 6000 x 4000 grey-paper photo (24 megapixels), written as a JPEG at
// quality 90 in memory. The correction (estimate and division together, on a
// copy of the decoded picture) must cost no more than decoding it.
//   verdalis_bench_background --benchmark_repetitions=5
#include "background_correction.h"
#include "paper_photo.h"
#include "picture_reader.h"
#include "synthetic_leaves.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace verdalis;

constexpr int Width = 6000;
constexpr int Height = 4000;

const QByteArray &photoJpeg()
{
    static const QByteArray bytes = [] {
        QImage picture(Width, Height, QImage::Format_RGB32);
        auto *pixels = reinterpret_cast<std::uint32_t *>(picture.bits());
        renderScene(randomLeafScene(Width, Height, 2024), pixels, picture.bytesPerLine() / 4);
        photographUnder(PaperLight(), pixels, Width, Height, picture.bytesPerLine() / 4);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "JPEG", 90);
        return jpeg;
    }();
    return bytes;
}

QImage decoded()
{
    const QByteArray &jpeg = photoJpeg();
    QString error;
    return decodePicture(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size(),
                         MaxPicturePixels, &error);
}

void decodeJpeg(benchmark::State &state)
{
    photoJpeg();
    for (auto _ : state) {
        QImage picture = decoded();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(decodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void correctBackgroundOf(benchmark::State &state)
{
    const QImage original = decoded();
    QImage picture = original.copy();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(picture.bits(), original.constBits(), std::size_t(original.sizeInBytes()));
        state.ResumeTiming();
        const BackgroundOutcome outcome =
            correctBackground(reinterpret_cast<std::uint32_t *>(picture.bits()), picture.width(),
                              picture.height(), picture.bytesPerLine() / 4);
        if (outcome != BackgroundOutcome::Found)
            state.SkipWithError("no background found");
    }
}
BENCHMARK(correctBackgroundOf)->Unit(benchmark::kMillisecond)->UseRealTime();

void estimateOnly(benchmark::State &state)
{
    const QImage picture = decoded();
    const PixelBuffer buffer{reinterpret_cast<const std::uint32_t *>(picture.constBits()),
                             picture.width(), picture.height(), picture.bytesPerLine() / 4};
    for (auto _ : state)
        benchmark::DoNotOptimize(estimateBackground(buffer).paperCells);
}
BENCHMARK(estimateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    setPictureAllocationLimit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
