#pragma once

#include <QImage>

namespace verdalis {

// A Format_RGB32 picture of the given size in fresh memory, uninitialised. On
// Linux the memory is a mapping of its own that the kernel is asked to back
// with huge pages: a 24-megapixel picture then costs a few dozen page faults
// instead of some 24,000, which on a virtual machine take longer than decoding
// the picture. The memory of the last such picture let go is kept and given to
// the next one of the same size, so a batch of equal scans decodes into pages
// already there. Elsewhere, or when no mapping can be had, an ordinary QImage.
// Null when there is not enough memory.
QImage newPictureMemory(int width, int height);

// A Format_ARGB32 picture of the given size with every pixel 0 (transparent),
// in memory made the way newPictureMemory makes it (never memory kept from
// another picture): the kernel's zeroing of a large picture then happens on a
// helper thread rather than at the first drawings. Null when there is not
// enough memory.
QImage newTransparentPictureMemory(int width, int height);

} // namespace verdalis
