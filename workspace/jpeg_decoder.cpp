#include "jpeg_decoder.h"

#include "picture_memory.h"
#include "sample_geometry.h"

#include <QColorSpace>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace verdalis {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump
// back to the decoding function instead of ending the program.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr)
{
}

// The memory order of a Format_RGB32 pixel (0xFFRRGGBB in a 32-bit word).
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE Rgb32ColourSpace = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE Rgb32ColourSpace = JCS_EXT_ARGB;
#endif

// The picture's resolution and colour profile, recorded as Qt's reader
// records them; the pixels stay as decoded.
void describe(jpeg_decompress_struct &info, QImage &image)
{
    if (info.density_unit == 1) { // dots per inch
        image.setDotsPerMeterX(int(100. * info.X_density / 2.54));
        image.setDotsPerMeterY(int(100. * info.Y_density / 2.54));
    } else if (info.density_unit == 2) { // dots per centimetre
        image.setDotsPerMeterX(int(100. * info.X_density));
        image.setDotsPerMeterY(int(100. * info.Y_density));
    }
    JOCTET *profile = nullptr;
    unsigned int profileSize = 0;
    if (jpeg_read_icc_profile(&info, &profile, &profileSize)) {
        image.setColorSpace(QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char *>(profile), int(profileSize))));
        std::free(profile);
    }
}

// Pixel rows an analysis at this unit step reads; empty means every row.
std::vector<bool> sampledRows(int height, std::optional<int> tenths)
{
    std::vector<bool> rows;
    if (!tenths)
        return rows;
    rows.resize(std::size_t(height), false);
    const std::int64_t last = SampleGeometry::lastSample(height, *tenths);
    for (std::int64_t y = 0; y <= last; ++y) {
        const std::int64_t row = SampleGeometry::pixelOfSample(y, *tenths);
        if (row < height)
            rows[std::size_t(row)] = true;
    }
    return rows;
}

// Everything between setjmp and a possible longjmp is plain C data or lives in
// the caller's frame, so the jump skips no destructor.
bool decodeInto(jpeg_decompress_struct &info, ErrorManager &errors, const uchar *data, qint64 size,
                std::optional<int> sampledAtTenths, std::vector<bool> &keep,
                std::vector<uchar> &scratch, QImage &image)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF); // ICC profile
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        break;
    default:
        return false;
    }
    info.out_color_space = Rgb32ColourSpace;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_calc_output_dimensions(&info);
    if (info.output_components != 4)
        return false;

    image = newPictureMemory(int(info.output_width), int(info.output_height));
    if (image.isNull())
        return false;
    // Before the markers go with the image's memory pool.
    describe(info, image);
    keep = sampledRows(image.height(), sampledAtTenths);
    uchar *const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();

    jpeg_start_decompress(&info);
    constexpr JDIMENSION Batch = 16;
    if (!keep.empty())
        scratch.resize(std::size_t(bytesPerLine) * Batch);
    JSAMPROW rows[Batch];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = qMin<JDIMENSION>(Batch, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION y = first + i;
            rows[i] = keep.empty() || keep[y] ? bits + qsizetype(y) * bytesPerLine
                                              : scratch.data() + qsizetype(i) * bytesPerLine;
        }
        if (jpeg_read_scanlines(&info, rows, count) == 0)
            return false;
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

bool isJpegData(const uchar *data, qint64 size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

QImage decodeJpeg(const uchar *data, qint64 size, std::optional<int> sampledAtTenths)
{
    if (!isJpegData(data, size))
        return QImage();
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnError;
    errors.base.output_message = ignoreMessage;
    std::vector<bool> keep;
    std::vector<uchar> scratch;
    QImage image;
    const bool decoded =
        decodeInto(info, errors, data, size, sampledAtTenths, keep, scratch, image);
    jpeg_destroy_decompress(&info);
    return decoded ? image : QImage();
}

} // namespace verdalis
