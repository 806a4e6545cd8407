#include "analysis_run.h"

#include <algorithm>
#include <limits>
#include <new>

namespace verdalis {

namespace {

// A picture read past its edge is black.
constexpr std::uint32_t Black = 0xFF000000u;

// Bit planes beyond this many samples (4 GB of planes) are refused outright
// rather than left to the allocator.
constexpr std::int64_t MaxSamples = std::int64_t(1) << 34;

const char *const OutOfMemoryMessage =
    "There is not enough memory to analyze this picture at the current unit step. "
    "Please choose a larger unit step or a smaller picture.";

// Area of a number of samples: each is a unitStep x unitStep square of display
// millimetres, sizeRatio real units per millimetre.
double samplesArea(double samples, double unitStep, double sizeRatio)
{
    return samples * (unitStep * unitStep) * (sizeRatio * sizeRatio);
}

} // namespace

void AnalysisRun::start(const PixelBuffer &picture, const AnalysisSettings &settings,
                        OverlayPainter *painter)
{
    *this = AnalysisRun();
    if (settings.detection.systemIndex < 0)
        throw AnalysisError("Unknown detection system.");
    if (picture.width > 0 && picture.height > 0
        && (!picture.pixels || picture.stride < picture.width))
        throw AnalysisError("The picture has no pixels to analyze.");

    AnalysisRun run;
    run.m_settings = settings;
    run.m_geometry = SampleGeometry(picture.width, picture.height, settings.unitStepTenths);
    run.m_picture = picture;
    run.m_painter = painter;
    run.m_leafAreaOnly = settings.detection.systemIndex == LeafAreaOnlySystem;
    const double unitStep = run.m_geometry.unitStep();
    run.m_symptomDotWidth = SymptomDotWidth(unitStep);
    run.m_edgeDotWidth = LeafEdgeDotWidth(unitStep);

    const std::int64_t samples = run.m_geometry.sampleCount();
    if (samples > MaxSamples)
        throw AnalysisError(OutOfMemoryMessage);
    try {
        run.m_classifier.emplace(SymptomRule(settings.detection));
        run.m_columnPixel.resize(std::size_t(run.m_geometry.columns()));
        for (std::int32_t x = 0; x <= run.m_geometry.maxX(); ++x) {
            const std::int64_t px = SampleGeometry::pixelOfSample(x, settings.unitStepTenths);
            run.m_columnPixel[std::size_t(x)] = px < picture.width ? std::int32_t(px) : -1;
        }
        run.m_rowOffset.resize(std::size_t(run.m_geometry.rows()));
        for (std::int32_t y = 0; y <= run.m_geometry.maxY(); ++y) {
            const std::int64_t py = SampleGeometry::pixelOfSample(y, settings.unitStepTenths);
            run.m_rowOffset[std::size_t(y)] = py < picture.height ? py * picture.stride : -1;
        }
        if (run.m_leafAreaOnly) {
            run.m_leafMask = BitPlane(std::uint64_t(samples));
        } else {
            run.m_unlabelledSymptom = BitPlane(std::uint64_t(samples));
            run.m_labelled = BitPlane(std::uint64_t(samples));
        }
    } catch (const std::bad_alloc &) {
        throw AnalysisError(OutOfMemoryMessage);
    } catch (const std::length_error &) {
        throw AnalysisError(OutOfMemoryMessage);
    }
    run.m_state = RunState::Sampling;
    *this = std::move(run);
}

double AnalysisRun::progressMaximum() const
{
    return 2 * (m_geometry.width() + 2) * (m_geometry.height() + 2);
}

void AnalysisRun::tick()
{
    switch (m_state) {
    case RunState::Sampling:
        step(SamplingBudget);
        break;
    case RunState::SpotScan:
        step(SpotScanBudget);
        break;
    case RunState::SpotGrow:
        step(SpotGrowBudget);
        break;
    case RunState::EdgeTrace:
        step(EdgeTraceBudget);
        break;
    case RunState::Idle:
    case RunState::Finished:
        break;
    }
}

void AnalysisRun::runToEnd()
{
    // A state ends its stretch of work itself (end of pass, a seed, end of a
    // spot), so an unbounded budget walks the same path as the ticks.
    while (m_state != RunState::Idle && m_state != RunState::Finished)
        step(std::numeric_limits<std::int64_t>::max());
}

void AnalysisRun::step(std::int64_t budget)
{
    switch (m_state) {
    case RunState::Sampling:
        sample(budget);
        break;
    case RunState::SpotScan:
        scanSpots(budget);
        break;
    case RunState::SpotGrow:
        try {
            growSpot(budget);
        } catch (const std::bad_alloc &) {
            throw AnalysisError(OutOfMemoryMessage);
        }
        break;
    case RunState::EdgeTrace:
        traceEdge(budget);
        break;
    case RunState::Idle:
    case RunState::Finished:
        break;
    }
}

void AnalysisRun::sample(std::int64_t budget)
{
    const std::int64_t rows = m_geometry.rows();
    while (budget > 0) {
        const std::int64_t count = std::min(budget, rows - m_y);
        sampleColumn(count);
        budget -= count;
        m_progress += count;
        m_y += std::int32_t(count);
        if (m_y == rows) {
            m_y = 0;
            if (++m_x > m_geometry.maxX()) {
                endSampling();
                return;
            }
        }
    }
}

void AnalysisRun::sampleColumn(std::int64_t count)
{
    // One column segment of the sampling walk: the column's pixel is fixed, so
    // the loop only steps through the row table.
    const std::int32_t column = m_columnPixel[std::size_t(m_x)];
    const std::uint32_t *pixels = m_picture.pixels;
    const std::ptrdiff_t *rowOffset = m_rowOffset.data() + m_y;
    BitPlane &mark = m_leafAreaOnly ? m_leafMask : m_unlabelledSymptom;
    const unsigned markShift = m_leafAreaOnly ? 0 : 1;
    ColourClassifier &classifier = *m_classifier;

    std::uint64_t bit = bitOf(m_x, m_y);
    std::int64_t leafSamples = 0;
    // Neighbouring samples often read the same pixel, or pixels of one colour.
    std::uint32_t lastPixel = Black;
    unsigned lastClasses = classifier.classify(Black);
    for (std::int64_t i = 0; i < count; ++i, ++bit) {
        const std::ptrdiff_t offset = rowOffset[i];
        const std::uint32_t pixel = (column < 0 || offset < 0) ? Black : pixels[offset + column];
        if (pixel != lastPixel) {
            lastPixel = pixel;
            lastClasses = classifier.classify(pixel);
        }
        leafSamples += lastClasses & ColourClassifier::Leaf;
        mark.merge(bit, (lastClasses >> markShift) & 1u);
    }
    m_figures.leafSamples += leafSamples;
}

void AnalysisRun::endSampling()
{
    m_figures.leafArea = samplesArea(double(m_figures.leafSamples), m_geometry.unitStep(),
                                     m_settings.sizeRatio);
    // The picture is not read again; the caller may let it go.
    m_picture = PixelBuffer();
    m_classifier.reset();
    m_columnPixel = {};
    m_rowOffset = {};
    m_x = 0;
    m_y = 0;
    if (m_leafAreaOnly) {
        m_state = RunState::EdgeTrace;
    } else if (m_geometry.maxX() == 0 || m_geometry.maxY() == 0) {
        // Less than one unit wide or high: there is no row or column to scan
        // (the scan stops one row short), so there is no spot to find.
        finish();
    } else {
        m_state = RunState::SpotScan;
    }
}

void AnalysisRun::scanSpots(std::int64_t budget)
{
    const std::int32_t maxX = m_geometry.maxX();
    const std::int32_t maxY = m_geometry.maxY();
    while (budget-- > 0) {
        ++m_progress;
        const std::uint64_t bit = bitOf(m_x, m_y);
        if (IsSymptomSample(bit)) {
            // A new seed. The cursor stays on it: the scan resumes here after
            // the spot has grown and paints it like the rest of its spot.
            m_unlabelledSymptom.reset(bit);
            m_labelled.set(bit);
            m_spotQueue.push_back({m_x, m_y});
            ++m_figures.spotCount;
            m_spotSamples = 0;
            m_state = RunState::SpotGrow;
            return;
        }
        if (m_painter && m_labelled.test(bit))
            m_painter->paintDot(m_x, m_y, SymptomDotColour, m_symptomDotWidth);
        // The last row is never probed: it can join a spot but not start one.
        if (++m_y == maxY) {
            m_y = 0;
            if (++m_x > maxX) {
                finish();
                return;
            }
        }
    }
}

void AnalysisRun::probeNeighbour(std::int32_t x, std::int32_t y)
{
    const std::uint64_t bit = bitOf(x, y);
    if (IsSymptomSample(bit)) {
        m_unlabelledSymptom.reset(bit);
        m_labelled.set(bit);
        m_spotQueue.push_back({x, y});
    }
}

void AnalysisRun::growSpot(std::int64_t budget)
{
    const std::int32_t maxX = m_geometry.maxX();
    const std::int32_t maxY = m_geometry.maxY();
    while (budget-- > 0) {
        ++m_spotSamples;
        const SamplePoint p = m_spotQueue.front();
        // The order of the neighbours decides the order of the queue.
        if (p.x > 0) {
            if (p.y > 0)
                probeNeighbour(p.x - 1, p.y - 1);
            probeNeighbour(p.x - 1, p.y);
            if (p.y < maxY)
                probeNeighbour(p.x - 1, p.y + 1);
        }
        if (p.y > 0)
            probeNeighbour(p.x, p.y - 1);
        if (p.y < maxY)
            probeNeighbour(p.x, p.y + 1);
        if (p.x < maxX) {
            if (p.y > 0)
                probeNeighbour(p.x + 1, p.y - 1);
            probeNeighbour(p.x + 1, p.y);
            if (p.y < maxY)
                probeNeighbour(p.x + 1, p.y + 1);
        }
        m_spotQueue.pop_front();
        if (m_spotQueue.empty()) {
            // Areas are added spot by spot, as each spot completes.
            m_figures.symptomArea += samplesArea(double(m_spotSamples), m_geometry.unitStep(),
                                                 m_settings.sizeRatio);
            m_figures.symptomSamples += m_spotSamples;
            m_state = RunState::SpotScan;
            return;
        }
    }
}

void AnalysisRun::traceEdge(std::int64_t budget)
{
    // Contribution of a leaf sample by its number of background edge
    // neighbours; two make a diagonal step of about sqrt 2.
    static constexpr double Weights[5] = {0, 1, 1.414, 2.414, 1};
    const std::int32_t maxX = m_geometry.maxX();
    const std::int32_t maxY = m_geometry.maxY();
    const std::uint64_t rows = std::uint64_t(m_geometry.rows());
    while (budget-- > 0) {
        ++m_progress;
        const std::uint64_t bit = bitOf(m_x, m_y);
        if (m_leafMask.test(bit)) {
            if (m_x == 0 || m_y == 0 || m_x >= maxX || m_y >= maxY) {
                // The grid's border counts as edge but is not painted.
                m_figures.perimeterCount += 1;
            } else {
                const int background = !m_leafMask.test(bit - rows) + !m_leafMask.test(bit + rows)
                                       + !m_leafMask.test(bit - 1) + !m_leafMask.test(bit + 1);
                if (background > 0) {
                    m_figures.perimeterCount += Weights[background];
                    if (m_painter)
                        m_painter->paintDot(m_x, m_y, LeafEdgeDotColour, m_edgeDotWidth);
                }
            }
        }
        if (++m_y > maxY) {
            m_y = 0;
            if (++m_x > maxX) {
                m_figures.perimeter =
                    m_figures.perimeterCount * m_geometry.unitStep() * m_settings.sizeRatio;
                finish();
                return;
            }
        }
    }
}

void AnalysisRun::finish()
{
    m_leafMask.release();
    m_unlabelledSymptom.release();
    m_labelled.release();
    m_spotQueue = {};
    m_state = RunState::Finished;
}

} // namespace verdalis
