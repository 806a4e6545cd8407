#pragma once

#include "symptom_rule.h"
#include "workspace_state.h"

#include <QList>
#include <QString>
#include <optional>

namespace verdalis {

// A named colour rule set and the parameters its symptom rule reads. The slider
// range is in slider positions; one position moves the threshold by thresholdStep.
struct DetectionSystem {
    QString name;
    double baseThreshold = 25.0;
    int thresholdStep = 5;
    int sliderMinimum = -3;
    // Only custom systems set a maximum; a built-in leaves the slider's last one.
    std::optional<int> sliderMaximum;
    // Only custom systems: the colour symptom samples are measured against.
    std::optional<Rgb> referenceColour;

    bool isCustom() const { return referenceColour.has_value(); }
};

// The five built-in systems, in list order.
const QList<DetectionSystem> &builtInDetectionSystems();

// A custom system: every one shares the same threshold parameters and differs
// only by name and reference colour.
DetectionSystem customDetectionSystem(const QString &name, const Rgb &referenceColour);

} // namespace verdalis
