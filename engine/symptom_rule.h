#pragma once

#include "colour_model.h"

namespace verdalis {

// Indices of the detection-system list: 0 measures leaf area and perimeter only,
// 1..4 are the built-in symptom systems, 5 and above are custom systems that
// compare against a reference colour.
enum : int {
    LeafAreaOnlySystem = 0,
    FirstCustomSystem = 5,
};

// The parameters of a detection system that decide what a symptom is.
struct DetectionParameters {
    int systemIndex = LeafAreaOnlySystem;
    double baseThreshold = 25.0;
    int thresholdStep = 5;
    // Position of the tolerance slider; higher positions find more symptom.
    int sliderPosition = 0;
    // Reference colour of a custom system (the current custom colour).
    RgbColour customColour;
};

// Whether a decoded sample is symptom tissue under one detection system. The
// slider cannot move during a run, so the threshold is fixed at construction.
class SymptomRule {
public:
    explicit SymptomRule(const DetectionParameters &parameters);

    bool detectsSymptoms() const { return m_system != LeafAreaOnlySystem; }
    // Systems 1 and 3 look at hue; the others only at the channels.
    bool usesHue() const { return m_system == 1 || m_system == 3; }

    // "Leaf area only" never calls this; it answers false.
    bool isSymptom(const DecodedColour &sample) const;

private:
    int m_system;
    double m_threshold; // for systems whose score must stay below it
    double m_floor;     // for systems whose score must rise above it
    RgbColour m_reference;
};

} // namespace verdalis
