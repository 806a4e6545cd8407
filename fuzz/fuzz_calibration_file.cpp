// Any bytes given as a calibration file: never a crash, and whatever loads
// saves and loads back the same.
#include "calibration_file.h"

#include <cstdint>
#include <cstdlib>

using namespace verdalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString error;
    const auto read = CalibrationFile::decode(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &error);
    if (!read) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    const auto again = CalibrationFile::decode(CalibrationFile::encode(*read), &error);
    if (!again || !(*again == *read))
        std::abort();
    return 0;
}
