#include "picture_memory.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <thread>

namespace verdalis {

#ifdef Q_OS_LINUX
namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Faulting the pages in (the kernel zeroes each) costs about as much as
// decoding into them. A helper thread does it ahead of the decoder, in 2 MB
// steps, asking the kernel to populate, which never changes a page already
// written. Kernels before 5.14 refuse; then the decoder's writes fault them in.
struct Mapping {
    void *start;
    std::size_t length;
    std::thread populate;
};

void unmap(void *info)
{
    Mapping *mapping = static_cast<Mapping *>(info);
    if (mapping->populate.joinable())
        mapping->populate.join();
    munmap(mapping->start, mapping->length);
    delete mapping;
}

void populate(uchar *pixels, std::size_t bytes)
{
    for (std::size_t offset = 0; offset < bytes; offset += HugePage) {
        if (madvise(pixels + offset, std::min(HugePage, bytes - offset), MADV_POPULATE_WRITE) != 0)
            return;
    }
}

} // namespace
#endif

QImage newPictureMemory(int width, int height)
{
#ifdef Q_OS_LINUX
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const double bytes = double(bytesPerLine) * height;
    // Small pictures and absurd sizes are left to QImage.
    if (width > 0 && height > 0 && bytes >= double(HugePage) && bytes < double(PTRDIFF_MAX / 2)) {
        // Huge pages need a start on a 2 MB boundary: map 2 MB more than needed.
        const std::size_t length = std::size_t(bytes) + HugePage;
        void *start = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (start != MAP_FAILED) {
            const auto aligned =
                (reinterpret_cast<std::uintptr_t>(start) + HugePage - 1) & ~(HugePage - 1);
            uchar *const pixels = reinterpret_cast<uchar *>(aligned);
            madvise(pixels, std::size_t(bytes), MADV_HUGEPAGE);
            Mapping *mapping = new Mapping{start, length, {}};
            QImage image(pixels, width, height, bytesPerLine, QImage::Format_RGB32, unmap, mapping);
            if (!image.isNull()) {
                mapping->populate = std::thread(populate, pixels, std::size_t(bytes));
                return image;
            }
            munmap(start, length);
            delete mapping;
        }
    }
#endif
    return QImage(width, height, QImage::Format_RGB32);
}

} // namespace verdalis
