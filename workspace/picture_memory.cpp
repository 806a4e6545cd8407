#include "picture_memory.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

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

// The memory of the last picture let go, kept for the next picture of the same
// size: a batch of scans from one scanner then decodes into pages that are
// already there. Only uninitialised pictures take it; at most one is kept.
std::mutex keptMutex;
Mapping *kept = nullptr;

Mapping *takeKept(std::size_t length)
{
    const std::lock_guard<std::mutex> lock(keptMutex);
    Mapping *mapping = std::exchange(kept, nullptr);
    if (mapping && mapping->length != length) {
        munmap(mapping->start, mapping->length);
        delete mapping;
        return nullptr;
    }
    return mapping;
}

void unmap(Mapping *mapping)
{
    munmap(mapping->start, mapping->length);
    delete mapping;
}

void releaseDiscarding(void *info)
{
    Mapping *mapping = static_cast<Mapping *>(info);
    if (mapping->populate.joinable())
        mapping->populate.join();
    unmap(mapping);
}

void releaseKeeping(void *info)
{
    Mapping *mapping = static_cast<Mapping *>(info);
    if (mapping->populate.joinable())
        mapping->populate.join();
    const std::lock_guard<std::mutex> lock(keptMutex);
    if (kept)
        unmap(std::exchange(kept, mapping));
    else
        kept = mapping;
}

void populate(uchar *pixels, std::size_t bytes)
{
    for (std::size_t offset = 0; offset < bytes; offset += HugePage) {
        if (madvise(pixels + offset, std::min(HugePage, bytes - offset), MADV_POPULATE_WRITE) != 0)
            return;
    }
}

uchar *alignedPixels(const Mapping &mapping)
{
    const auto start = reinterpret_cast<std::uintptr_t>(mapping.start);
    return reinterpret_cast<uchar *>((start + HugePage - 1) & ~(HugePage - 1));
}

} // namespace
#endif

namespace {

enum class Contents { Uninitialised, Zero };

// A picture in a mapping of its own, backed by huge pages where the kernel has
// them. Uninitialised memory may be the kept memory of an earlier picture.
// Fresh memory gets a helper thread that faults its pages in (zeroed by the
// kernel) ahead of the writer. Null when no mapping can be had or the picture
// is small.
QImage mappedPicture(int width, int height, QImage::Format format, Contents contents)
{
#ifdef Q_OS_LINUX
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const double bytes = double(bytesPerLine) * height;
    // Small pictures and absurd sizes are left to QImage.
    if (width <= 0 || height <= 0 || bytes < double(HugePage) || bytes >= double(PTRDIFF_MAX / 2))
        return QImage();
    // Huge pages need a start on a 2 MB boundary: map 2 MB more than needed.
    const std::size_t length = std::size_t(bytes) + HugePage;
    const bool keepable = contents == Contents::Uninitialised;
    Mapping *mapping = keepable ? takeKept(length) : nullptr;
    const bool fresh = !mapping;
    if (fresh) {
        void *start = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (start == MAP_FAILED)
            return QImage();
        mapping = new Mapping{start, length, {}};
        madvise(alignedPixels(*mapping), std::size_t(bytes), MADV_HUGEPAGE);
    }
    uchar *const pixels = alignedPixels(*mapping);
    QImage image(pixels, width, height, bytesPerLine, format,
                 keepable ? releaseKeeping : releaseDiscarding, mapping);
    if (image.isNull()) {
        unmap(mapping);
        return image;
    }
    if (fresh)
        mapping->populate = std::thread(populate, pixels, std::size_t(bytes));
    return image;
#else
    Q_UNUSED(width);
    Q_UNUSED(height);
    Q_UNUSED(format);
    Q_UNUSED(contents);
    return QImage();
#endif
}

} // namespace

QImage newPictureMemory(int width, int height)
{
    const QImage mapped =
        mappedPicture(width, height, QImage::Format_RGB32, Contents::Uninitialised);
    return mapped.isNull() ? QImage(width, height, QImage::Format_RGB32) : mapped;
}

QImage newTransparentPictureMemory(int width, int height)
{
    // A fresh anonymous mapping reads as zeros, which is transparent in ARGB32.
    QImage image = mappedPicture(width, height, QImage::Format_ARGB32, Contents::Zero);
    if (image.isNull()) {
        image = QImage(width, height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
    }
    return image;
}

} // namespace verdalis
