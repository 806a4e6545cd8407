#include "picture_memory.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <atomic>
#include <cstdint>
#include <memory>

namespace verdalis {

#ifdef Q_OS_LINUX
namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

// An anonymous mapping whose usable part starts on a 2 MB boundary, as huge
// pages need. Counted against the system's memory when made (no
// MAP_NORESERVE), so a picture the machine cannot hold is refused here, with a
// message, rather than the process being killed while it decodes.
class Mapping {
public:
    static std::shared_ptr<Mapping> create(std::size_t bytes)
    {
        const std::size_t length = bytes + HugePage;
        void *start =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (start == MAP_FAILED)
            return nullptr;
        const auto aligned =
            (reinterpret_cast<std::uintptr_t>(start) + HugePage - 1) & ~(HugePage - 1);
        uchar *const pixels = reinterpret_cast<uchar *>(aligned);
        madvise(pixels, bytes, MADV_HUGEPAGE);
        return std::shared_ptr<Mapping>(new Mapping(start, length, pixels, bytes));
    }
    ~Mapping() { munmap(m_start, m_length); }
    Mapping(const Mapping &) = delete;
    Mapping &operator=(const Mapping &) = delete;

    uchar *pixels() const { return m_pixels; }
    std::size_t capacity() const { return m_capacity; }

private:
    Mapping(void *start, std::size_t length, uchar *pixels, std::size_t capacity)
        : m_start(start), m_length(length), m_pixels(pixels), m_capacity(capacity)
    {
    }

    void *m_start;
    std::size_t m_length;
    uchar *m_pixels;
    std::size_t m_capacity;
};

// Each thread keeps the memory of its last picture for its next one. A fresh
// mapping per picture cost about as much as decoding it: the kernel zeroes
// every page as it is first touched, and unmapping interrupts the other cores
// to flush their address caches, so parallel jobs slowed each other down. A
// kept mapping is already backed; it is given up when the thread ends, or for
// a picture it is too small for or more than twice too large for.
thread_local std::shared_ptr<Mapping> t_kept;

void releasePicture(void *holder)
{
    delete static_cast<std::shared_ptr<Mapping> *>(holder);
}

bool fits(const Mapping &mapping, std::size_t bytes)
{
    return mapping.capacity() >= bytes && mapping.capacity() / 2 <= bytes;
}

// The thread's kept mapping when no picture is using it and it fits, else a
// new one (which the thread keeps in its place).
std::shared_ptr<Mapping> mappingFor(std::size_t bytes)
{
    if (t_kept && t_kept.use_count() == 1 && fits(*t_kept, bytes)) {
        // Whoever drew the last picture into it let go with a release: its
        // writes are done before this thread's begin.
        std::atomic_thread_fence(std::memory_order_acquire);
        return t_kept;
    }
    t_kept.reset();
    t_kept = Mapping::create(bytes);
    return t_kept;
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
        const std::shared_ptr<Mapping> mapping = mappingFor(std::size_t(bytes));
        if (!mapping)
            return QImage();
        auto *holder = new std::shared_ptr<Mapping>(mapping);
        QImage image(mapping->pixels(), width, height, bytesPerLine, QImage::Format_RGB32,
                     releasePicture, holder);
        if (image.isNull())
            delete holder;
        return image;
    }
#endif
    return QImage(width, height, QImage::Format_RGB32);
}

} // namespace verdalis
