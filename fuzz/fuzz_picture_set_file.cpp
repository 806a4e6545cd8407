// Any bytes given as a picture set file: never a crash; either a refusal
// with a reason and no picture, or pictures that each have a name and a path.
#include "picture_set_file.h"

#include <cstdint>
#include <cstdlib>

using namespace verdalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const PictureSetRead read = parsePictureSet(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), "/fuzz/pictures.set");
    if (!read.error.isEmpty() && !read.pictures.isEmpty())
        std::abort();
    for (const PictureEntry &picture : read.pictures)
        if (picture.lineName.isEmpty() || picture.path.isEmpty())
            std::abort();
    return 0;
}
