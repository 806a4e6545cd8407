// Any bytes given as the custom detection file: never a crash, a refusal
// leaves no system, and whatever loads saves and loads back the same.
#include "custom_detection_file.h"

#include <cstdint>
#include <cstdlib>

using namespace verdalis;

namespace {
bool sameSystems(const QList<DetectionSystem> &a, const QList<DetectionSystem> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const Rgb ca = a[i].referenceColour.value_or(Rgb{});
        const Rgb cb = b[i].referenceColour.value_or(Rgb{});
        if (a[i].name != b[i].name || ca.red != cb.red || ca.green != cb.green ||
            ca.blue != cb.blue)
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QList<DetectionSystem> systems;
    QString error;
    if (!decodeCustomSystems(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                             &systems, &error)) {
        if (error.isEmpty() || !systems.isEmpty())
            std::abort();
        return 0;
    }
    QList<DetectionSystem> again;
    if (!decodeCustomSystems(encodeCustomSystems(systems), &again, &error) ||
        !sameSystems(systems, again))
        std::abort();
    return 0;
}
