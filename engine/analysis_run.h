#pragma once

#include "analysis_error.h"
#include "bit_plane.h"
#include "colour_classifier.h"
#include "overlay_painter.h"
#include "pixel_buffer.h"
#include "sample_geometry.h"
#include "symptom_rule.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace verdalis {

struct AnalysisSettings {
    DetectionParameters detection;
    // unitStep = unitStepTenths / 10 display millimetres, 1..10.
    int unitStepTenths = 10;
    // Real units per display millimetre (the calibration).
    double sizeRatio = 1.0;
};

// What a run measured. Areas in calibrated square units, the perimeter in
// calibrated units; the symptom area is not capped at the leaf area here.
struct AnalysisFigures {
    double leafArea = 0;
    double symptomArea = 0;
    double perimeter = 0;
    std::int64_t leafSamples = 0;
    std::int64_t symptomSamples = 0;
    std::int64_t spotCount = 0;
    // The perimeter in sample steps before calibration.
    double perimeterCount = 0;

    // The spots' summed area (the symptom area, before any cap at the leaf
    // area) over their number; 0 when no spot was found.
    double meanSpotArea() const { return spotCount > 0 ? symptomArea / double(spotCount) : 0.0; }
};

enum class RunState { Idle, Sampling, SpotScan, SpotGrow, EdgeTrace, Finished };

// One analysis of a picture, cut into ticks so a window stays responsive.
//
// Sampling walks every sample column by column (x outer, y inner), counts leaf
// samples and keeps what the later passes need. Then "Leaf area only" traces the
// leaf edge (EdgeTrace); every other system scans for symptom seeds (SpotScan)
// and grows each seed's spot breadth-first over its 8 neighbours (SpotGrow).
// Under a symptom system a grid of one row or one column (a picture less than
// one unit high or wide) ends after Sampling: no spot is looked for.
// Coordinates are sample (picture unit) coordinates; see SampleGeometry.
//
// Between passes the run keeps one or two bits per sample (about 42 MB for
// 168 million samples), which give the same figures and dots as full colour
// planes since the slider cannot move during a run.
class AnalysisRun {
public:
    // Work per tick: samples for Sampling, probes for SpotScan and EdgeTrace,
    // queue items for SpotGrow.
    static constexpr int SamplingBudget = 501;
    static constexpr int SpotScanBudget = 101;
    static constexpr int SpotGrowBudget = 101;
    static constexpr int EdgeTraceBudget = 101;

    AnalysisRun() = default;

    // Prepares a run and enters Sampling. The picture's memory must stay valid
    // until samplingFinished(); the painter (may be null) until finished().
    // Throws AnalysisError (the run is then Idle) when the picture is too large
    // for memory or the settings are out of range.
    void start(const PixelBuffer &picture, const AnalysisSettings &settings,
               OverlayPainter *painter = nullptr);

    RunState state() const { return m_state; }
    bool finished() const { return m_state == RunState::Finished; }
    // The leaf area is known once Sampling is over.
    bool samplingFinished() const
    {
        return m_state != RunState::Idle && m_state != RunState::Sampling;
    }

    // Exactly one tick of the current state; nothing when Idle or Finished.
    // Throws AnalysisError if a spot's queue outgrows memory.
    void tick();
    // The rest of the run without tick boundaries; the same figures and dots.
    // Throws like tick().
    void runToEnd();

    // Progress bar: one step per sample sampled, per probe scanned and per
    // sample traced; the maximum is 2 (W + 2)(H + 2) with W, H in units.
    std::int64_t progressValue() const { return m_progress; }
    double progressMaximum() const;

    const SampleGeometry &geometry() const { return m_geometry; }
    AnalysisFigures figures() const { return m_figures; }

private:
    void step(std::int64_t budget);
    void sample(std::int64_t budget);
    void sampleColumn(std::int64_t count);
    void endSampling();
    std::int64_t probesToSkip(std::uint64_t first, std::int64_t count) const;
    // How many of the count samples from bit `first` on are in a spot, before
    // the first that is not.
    std::int64_t labelledAfter(std::uint64_t first, std::int64_t count) const;
    void scanSpots(std::int64_t budget);
    void growSpot(std::int64_t budget);
    void probeNeighbour(std::int32_t x, std::int32_t y);
    void traceEdge(std::int64_t budget);
    void traceColumn(std::int64_t count);
    void finish();
    std::uint64_t bitOf(std::int32_t x, std::int32_t y) const
    {
        return std::uint64_t(x) * std::uint64_t(m_geometry.rows()) + std::uint64_t(y);
    }
    // A sample not yet in a spot that the chosen system calls symptom.
    bool isSymptomSample(std::uint64_t bit) const { return m_unlabelledSymptom.test(bit); }

    RunState m_state = RunState::Idle;
    AnalysisSettings m_settings;
    SampleGeometry m_geometry;
    PixelBuffer m_picture;
    OverlayPainter *m_painter = nullptr;
    std::optional<ColourClassifier> m_classifier;
    bool m_leafAreaOnly = true;

    // Pixel column of each sample column and pixel row offset (in pixels from
    // the picture's start) of each sample row; -1 past the picture's edge.
    std::vector<std::int32_t> m_columnPixel;
    std::vector<std::ptrdiff_t> m_rowOffset;

    // "Leaf area only": the leaf mask. Other systems: the symptom samples that
    // are in no spot yet, and the samples that are in a spot.
    BitPlane m_leafMask;
    BitPlane m_unlabelledSymptom;
    BitPlane m_labelled;

    struct SamplePoint {
        std::int32_t x;
        std::int32_t y;
    };
    std::deque<SamplePoint> m_spotQueue;

    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int64_t m_progress = 0;
    std::int64_t m_spotSamples = 0;
    int m_symptomDotWidth = 1;
    int m_edgeDotWidth = 1;
    AnalysisFigures m_figures;
};

} // namespace verdalis
