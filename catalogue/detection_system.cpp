#include "detection_system.h"

namespace verdalis {

const QList<DetectionSystem> &builtInDetectionSystems()
{
    static const QList<DetectionSystem> systems = {
        {QStringLiteral("Leaf area only"), 25.0, 5, -3, std::nullopt, std::nullopt},
        {QStringLiteral("System 1"), 25.0, 5, -3, std::nullopt, std::nullopt},
        {QStringLiteral("System 2"), 1750.0, 50, -3, std::nullopt, std::nullopt},
        {QStringLiteral("System 3"), 40.0, 1, -10, std::nullopt, std::nullopt},
        {QStringLiteral("System 4"), 330.0, 10, -3, std::nullopt, std::nullopt},
    };
    return systems;
}

DetectionSystem customDetectionSystem(const QString &name, const Rgb &referenceColour)
{
    return {name, 50.0, 5, -10, 20, referenceColour};
}

} // namespace verdalis
