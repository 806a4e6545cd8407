// verdalis-samples: writes the sample pictures and their calibration file, or
// one synthetic leaf picture of any size (for benchmarks).
#include "sample_pictures.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("Usage: verdalis-samples OUTDIR\n"
               "       verdalis-samples --picture WIDTHxHEIGHT [--seed N] [--black] FILE\n",
               stderr);
    return 2;
}

int fail(const QString &error)
{
    std::fprintf(stderr, "verdalis-samples: %s\n", qPrintable(error));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The calibration file is written with a decimal point, which every
    // locale's reader accepts.
    QLocale::setDefault(QLocale::c());
    QStringList arguments = QCoreApplication::arguments().mid(1);
    using verdalis::SamplePictures;
    QString error;

    if (arguments.size() == 1 && !arguments[0].startsWith(QLatin1Char('-'))) {
        const QStringList written = SamplePictures::write(arguments[0], &error);
        return written.isEmpty() ? fail(error) : 0;
    }

    if (arguments.size() < 3 || arguments[0] != QLatin1String("--picture"))
        return usage();
    const auto size = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(arguments[1]);
    if (!size.hasMatch())
        return usage();
    std::uint32_t seed = 1;
    auto background = verdalis::Background::White;
    int i = 2;
    for (; i < arguments.size() - 1; ++i) {
        if (arguments[i] == QLatin1String("--seed") && i + 1 < arguments.size() - 1)
            seed = arguments[++i].toUInt();
        else if (arguments[i] == QLatin1String("--black"))
            background = verdalis::Background::Black;
        else
            return usage();
    }
    const QImage picture = SamplePictures::render(verdalis::randomLeafScene(
        size.captured(1).toInt(), size.captured(2).toInt(), seed, background));
    if (picture.isNull())
        return fail(QStringLiteral("the picture is too large for memory"));
    return verdalis::writePicture(picture, arguments.last(), &error) ? 0 : fail(error);
}
