#pragma once

#include <QImage>

namespace verdalis {

// A Format_RGB32 picture of the given size in fresh memory, uninitialised. On
// Linux the memory is a mapping of its own that the kernel is asked to back
// with huge pages: a 24-megapixel picture then costs a few dozen page faults
// instead of some 24,000, which on a virtual machine take longer than decoding
// the picture. Elsewhere, or when no mapping can be had, an ordinary QImage.
// Null when there is not enough memory.
QImage newPictureMemory(int width, int height);

} // namespace verdalis
