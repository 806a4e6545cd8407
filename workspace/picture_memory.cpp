#include "picture_memory.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
    static std::unique_ptr<Mapping> create(std::size_t bytes)
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
        return std::unique_ptr<Mapping>(new Mapping(start, length, pixels, bytes));
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

// Memory let go by a picture is kept for the next one instead of being
// unmapped. A fresh mapping per picture cost about as much as decoding it: the
// kernel zeroes every page as it is first touched, and unmapping interrupts the
// other cores to flush their address caches, so parallel jobs slowed each other
// down. The kept mappings are shared by all threads, because pictures are not
// always released by the thread that read them: the window reads the next
// picture of a set on a helper thread while the one before is still shown.
// A few are kept, enough for one picture per core being analysed and one being
// read; a mapping is used again only for a picture it fits, neither too small
// nor more than twice too large.
class KeptMappings {
public:
    static KeptMappings &instance()
    {
        static KeptMappings kept;
        return kept;
    }

    std::unique_ptr<Mapping> take(std::size_t bytes)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_free.begin(); it != m_free.end(); ++it) {
            if ((*it)->capacity() >= bytes && (*it)->capacity() / 2 <= bytes) {
                std::unique_ptr<Mapping> mapping = std::move(*it);
                m_free.erase(it);
                return mapping;
            }
        }
        return nullptr;
    }

    void give(std::unique_ptr<Mapping> mapping)
    {
        std::unique_ptr<Mapping> dropped;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_free.push_back(std::move(mapping));
            if (m_free.size() > maxKept()) {
                // The oldest goes: its size is the least likely to come again.
                dropped = std::move(m_free.front());
                m_free.erase(m_free.begin());
            }
        }
    }

private:
    static std::size_t maxKept()
    {
        static const std::size_t count = std::max(1u, std::thread::hardware_concurrency()) + 1;
        return count;
    }

    std::mutex m_mutex;
    std::vector<std::unique_ptr<Mapping>> m_free;
};

void releasePicture(void *mapping)
{
    KeptMappings::instance().give(std::unique_ptr<Mapping>(static_cast<Mapping *>(mapping)));
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
        std::unique_ptr<Mapping> mapping = KeptMappings::instance().take(std::size_t(bytes));
        if (!mapping)
            mapping = Mapping::create(std::size_t(bytes));
        if (!mapping)
            return QImage();
        uchar *const pixels = mapping->pixels();
        // The picture owns the mapping until it is released.
        QImage image(pixels, width, height, bytesPerLine, QImage::Format_RGB32, releasePicture,
                     mapping.get());
        if (!image.isNull())
            mapping.release();
        return image;
    }
#endif
    return QImage(width, height, QImage::Format_RGB32);
}

} // namespace verdalis
