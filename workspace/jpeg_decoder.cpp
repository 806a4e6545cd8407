#include "jpeg_decoder.h"

#include "picture_memory.h"
#include "picture_reader.h"
#include "sample_geometry.h"

#include <QColorSpace>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
// The message codes, for telling damage from harmless warnings.
#include <jerror.h>

namespace verdalis {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump
// back to the decoding function instead of ending the program. A warning that
// the picture's data is damaged jumps back too.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    // Set on a jump: what went wrong, in plain words.
    QString reason;
};

QString libjpegMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, text);
    return QString::fromLatin1(text);
}

[[noreturn]] void jumpOnError(j_common_ptr info)
{
    ErrorManager *errors = reinterpret_cast<ErrorManager *>(info->err);
    errors->reason = info->err->msg_code == JERR_OUT_OF_MEMORY
                         ? QStringLiteral("Not enough memory to read the picture")
                         : damagedPictureText(libjpegMessage(info));
    std::longjmp(errors->jump, 1);
}

// Warnings that pixels are missing or wrong. The others (an unknown JFIF
// version, a bad colour profile, an Adobe transform code) leave the pixels as
// they should be.
bool isDamageWarning(int code)
{
    switch (code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

void onMessage(j_common_ptr info, int level)
{
    if (level < 0 && isDamageWarning(info->err->msg_code)) {
        ErrorManager *errors = reinterpret_cast<ErrorManager *>(info->err);
        errors->reason = damagedPictureText(libjpegMessage(info));
        std::longjmp(errors->jump, 1);
    }
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

// CMYK as Adobe writes it (inverted) to RGB, as Qt's reader turns it.
void cmykToRgb32(const uchar *cmyk, uchar *rgb32, JDIMENSION width)
{
    quint32 *out = reinterpret_cast<quint32 *>(rgb32);
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const int k = cmyk[3];
        out[x] = qRgb(k * cmyk[0] / 255, k * cmyk[1] / 255, k * cmyk[2] / 255);
    }
}

// Everything between setjmp and a possible longjmp is plain C data or lives in
// the caller's frame, so the jump skips no destructor.
bool decodeInto(jpeg_decompress_struct &info, ErrorManager &errors, const uchar *data, qint64 size,
                qint64 maxPixels, std::optional<int> sampledAtTenths, std::vector<bool> &keep,
                std::vector<uchar> &scratch, QImage &image)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF); // ICC profile
    jpeg_read_header(&info, TRUE);
    bool cmyk = false;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        info.out_color_space = Rgb32ColourSpace;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        errors.reason = QStringLiteral("The picture's colour space cannot be read");
        return false;
    }
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_calc_output_dimensions(&info);
    const qint64 width = info.output_width;
    const qint64 height = info.output_height;
    if (width * height > maxPixels) {
        errors.reason = pictureTooLargeText(width, height, maxPixels);
        return false;
    }
    // Huffman-coded data spends at least one bit on every block of every
    // component: a file shorter than that cannot hold the picture its header
    // claims (a few bytes announcing 20000 x 20000 pixels), and is refused
    // before a row is decoded. Arithmetic coding has no such floor.
    if (!info.arith_code) {
        qint64 blocks = 0;
        for (int c = 0; c < info.num_components; ++c)
            blocks +=
                qint64(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
        if (blocks > size * 8) {
            errors.reason = damagedPictureText(
                QStringLiteral("the file is too short for a picture of %1 x %2 pixels")
                    .arg(width)
                    .arg(height));
            return false;
        }
    }
    if (info.output_components != 4) {
        errors.reason = QStringLiteral("The picture's colour space cannot be read");
        return false;
    }

    // A progressive file is read whole here, so its damage shows before the
    // picture's memory is asked for.
    jpeg_start_decompress(&info);
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    constexpr JDIMENSION Batch = 16;
    keep = sampledRows(int(height), sampledAtTenths);
    scratch.resize(std::size_t(bytesPerLine) * Batch);
    JSAMPROW rows[Batch];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = qMin<JDIMENSION>(Batch, info.output_height - first);
        // The first rows go to the scratch rows too, so a few bytes claiming a
        // huge picture are refused before its memory is asked for.
        const bool direct = !image.isNull() && !cmyk;
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION y = first + i;
            rows[i] = direct && (keep.empty() || keep[y])
                          ? image.bits() + qsizetype(y) * bytesPerLine
                          : scratch.data() + qsizetype(i) * bytesPerLine;
        }
        if (jpeg_read_scanlines(&info, rows, count) == 0) {
            errors.reason = damagedPictureText(QStringLiteral("no pixel rows could be decoded"));
            return false;
        }
        if (image.isNull()) {
            image = newPictureMemory(int(width), int(height));
            if (image.isNull()) {
                errors.reason = QStringLiteral("Not enough memory for a picture of %1 x %2 "
                                               "pixels")
                                    .arg(width)
                                    .arg(height);
                return false;
            }
            // Before the markers go with the image's memory pool.
            describe(info, image);
        }
        if (direct)
            continue;
        for (JDIMENSION y = first; y < info.output_scanline; ++y) {
            if (!keep.empty() && !keep[y])
                continue;
            const uchar *decoded = scratch.data() + qsizetype(y - first) * bytesPerLine;
            uchar *row = image.bits() + qsizetype(y) * bytesPerLine;
            if (cmyk)
                cmykToRgb32(decoded, row, info.output_width);
            else
                std::memcpy(row, decoded, std::size_t(bytesPerLine));
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

bool isJpegData(const uchar *data, qint64 size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

QImage decodeJpeg(const uchar *data, qint64 size, qint64 maxPixels, QString *error,
                  std::optional<int> sampledAtTenths)
{
    if (!isJpegData(data, size)) {
        if (error)
            *error = QStringLiteral("It is not a JPEG picture");
        return QImage();
    }
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnError;
    errors.base.emit_message = onMessage;
    std::vector<bool> keep;
    std::vector<uchar> scratch;
    QImage image;
    const bool decoded =
        decodeInto(info, errors, data, size, maxPixels, sampledAtTenths, keep, scratch, image);
    jpeg_destroy_decompress(&info);
    if (decoded)
        return image;
    if (error)
        *error = errors.reason;
    return QImage();
}

} // namespace verdalis
