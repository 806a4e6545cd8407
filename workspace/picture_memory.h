#pragma once

#include <QImage>

namespace verdalis {

// A Format_RGB32 picture of the given size, uninitialised: it may still hold an
// earlier picture. On Linux the memory is a mapping that the kernel is asked to
// back with huge pages (a 24-megapixel picture then costs a few dozen page
// faults instead of some 24,000, which on a virtual machine take longer than
// decoding the picture), and the mapping of a released picture is used again
// for the next one of about its size, so a run of many pictures is backed once.
// Elsewhere, or for small pictures, an ordinary QImage.
// Null when there is not enough memory.
QImage newPictureMemory(int width, int height);

} // namespace verdalis
