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

int lowestBit(std::uint64_t word)
{
#if defined(__GNUC__)
    return __builtin_ctzll(word);
#else
    int bit = 0;
    while (!(word & 1u)) {
        word >>= 1;
        ++bit;
    }
    return bit;
#endif
}

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
    if (picture.width > 0 && picture.height > 0 &&
        (!picture.pixels || picture.stride < picture.width))
        throw AnalysisError("The picture has no pixels to analyze.");

    AnalysisRun run;
    run.m_settings = settings;
    run.m_geometry = SampleGeometry(picture.width, picture.height, settings.unitStepTenths);
    run.m_picture = picture;
    run.m_painter = painter;
    run.m_leafAreaOnly = settings.detection.systemIndex == LeafAreaOnlySystem;
    const double unitStep = run.m_geometry.unitStep();
    run.m_symptomDotWidth = symptomDotWidth(unitStep);
    run.m_edgeDotWidth = leafEdgeDotWidth(unitStep);

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
    case RunState::SpotGrow:
    case RunState::EdgeTrace:
        static_assert(SpotScanBudget == SpotGrowBudget && SpotGrowBudget == EdgeTraceBudget);
        step(SpotScanBudget);
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

    std::uint64_t first = bitOf(m_x, m_y);
    std::uint64_t marks = 0; // gathered a word at a time
    unsigned marked = 0;
    std::int64_t leafSamples = 0;
    // Neighbouring samples often read the same pixel, or pixels of one colour.
    std::uint32_t lastPixel = Black;
    unsigned lastClasses = classifier.classify(Black);
    for (std::int64_t i = 0; i < count; ++i) {
        const std::ptrdiff_t offset = rowOffset[i];
        const std::uint32_t pixel = (column < 0 || offset < 0) ? Black : pixels[offset + column];
        if (pixel != lastPixel) {
            lastPixel = pixel;
            lastClasses = classifier.classify(pixel);
        }
        leafSamples += lastClasses & ColourClassifier::Leaf;
        marks |= std::uint64_t((lastClasses >> markShift) & 1u) << marked;
        if (++marked == 64) {
            mark.merge(first, marks, 64);
            first += 64;
            marks = 0;
            marked = 0;
        }
    }
    if (marked > 0)
        mark.merge(first, marks, marked);
    m_figures.leafSamples += leafSamples;
}

void AnalysisRun::endSampling()
{
    m_figures.leafArea =
        samplesArea(double(m_figures.leafSamples), m_geometry.unitStep(), m_settings.sizeRatio);
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
        // Less than one unit wide or high: no spot is looked for. On a single
        // row the scan, which stops one row short, would have nothing to probe.
        finish();
    } else {
        m_state = RunState::SpotScan;
    }
}

std::int64_t AnalysisRun::probesToSkip(std::uint64_t first, std::int64_t count) const
{
    std::int64_t done = 0;
    while (done < count) {
        std::uint64_t word = m_unlabelledSymptom.bits(first + std::uint64_t(done));
        if (m_painter)
            word |= m_labelled.bits(first + std::uint64_t(done));
        const std::int64_t chunk = std::min<std::int64_t>(64, count - done);
        if (chunk < 64)
            word &= (std::uint64_t(1) << chunk) - 1;
        if (word != 0)
            return done + lowestBit(word);
        done += chunk;
    }
    return count;
}

std::int64_t AnalysisRun::labelledAfter(std::uint64_t first, std::int64_t count) const
{
    std::int64_t done = 0;
    while (done < count) {
        const std::uint64_t unlabelled = ~m_labelled.bits(first + std::uint64_t(done));
        const std::int64_t chunk = std::min<std::int64_t>(64, count - done);
        if (unlabelled != 0 && lowestBit(unlabelled) < chunk)
            return done + lowestBit(unlabelled);
        done += chunk;
    }
    return count;
}

void AnalysisRun::scanSpots(std::int64_t budget)
{
    const std::int32_t maxX = m_geometry.maxX();
    const std::int32_t maxY = m_geometry.maxY();
    while (budget > 0) {
        // The last row is never probed: it can join a spot but not start one.
        const std::int64_t count = std::min<std::int64_t>(budget, maxY - m_y);
        const std::uint64_t first = bitOf(m_x, m_y);
        // Probes of samples that are neither seeds nor painted only move the bar.
        const std::int64_t skipped = probesToSkip(first, count);
        m_progress += skipped;
        budget -= skipped;
        m_y += std::int32_t(skipped);
        if (skipped < count) {
            --budget;
            ++m_progress;
            const std::uint64_t bit = first + std::uint64_t(skipped);
            if (isSymptomSample(bit)) {
                // A new seed. The cursor stays on it: the scan resumes here
                // after the spot has grown and paints it like the rest of it.
                m_unlabelledSymptom.reset(bit);
                m_labelled.set(bit);
                m_spotQueue.push_back({m_x, m_y});
                ++m_figures.spotCount;
                m_spotSamples = 0;
                m_state = RunState::SpotGrow;
                return;
            }
            // A sample of a grown spot, and most often the samples below it
            // too: they are painted as one stretch of the column, each
            // probe counted as before.
            const std::int32_t run =
                1 + std::int32_t(labelledAfter(bit + 1, std::min(budget, count - skipped - 1)));
            m_painter->paintColumnDots(m_x, m_y, run, SymptomDotColour, m_symptomDotWidth);
            budget -= run - 1;
            m_progress += run - 1;
            m_y += run;
        }
        if (m_y == maxY) {
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
    if (isSymptomSample(bit)) {
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
            m_figures.symptomArea +=
                samplesArea(double(m_spotSamples), m_geometry.unitStep(), m_settings.sizeRatio);
            m_figures.symptomSamples += m_spotSamples;
            m_state = RunState::SpotScan;
            return;
        }
    }
}

void AnalysisRun::traceEdge(std::int64_t budget)
{
    const std::int32_t maxX = m_geometry.maxX();
    const std::int64_t rows = m_geometry.rows();
    while (budget > 0) {
        const std::int64_t count = std::min<std::int64_t>(budget, rows - m_y);
        traceColumn(count);
        m_progress += count;
        budget -= count;
        m_y += std::int32_t(count);
        if (m_y == rows) {
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

void AnalysisRun::traceColumn(std::int64_t count)
{
    // The count is a sum of doubles in scan order, so every contribution is
    // added on its own, in order, even where a product would do.
    const std::int32_t maxX = m_geometry.maxX();
    const std::int32_t maxY = m_geometry.maxY();
    const std::uint64_t rows = std::uint64_t(m_geometry.rows());
    double perimeter = m_figures.perimeterCount;
    std::int64_t y = m_y;
    const std::int64_t end = m_y + count;
    const auto addBorder = [&](std::int64_t from, std::int64_t to) {
        // The grid's border counts as edge but is not painted.
        for (std::int64_t row = from; row < to; ++row) {
            if (m_leafMask.test(bitOf(m_x, std::int32_t(row))))
                perimeter += 1;
        }
    };
    if (m_x == 0 || m_x >= maxX) {
        addBorder(y, end);
        m_figures.perimeterCount = perimeter;
        return;
    }
    if (y == 0) {
        addBorder(0, 1);
        y = 1;
    }
    // Inside the border, a leaf sample counts by its background edge
    // neighbours; 64 rows at a time, only edge samples are visited.
    static constexpr double Weights[5] = {0, 1, 1.414, 2.414, 1};
    const std::int64_t insideEnd = std::min<std::int64_t>(end, maxY);
    while (y < insideEnd) {
        const std::int64_t chunk = std::min<std::int64_t>(64, insideEnd - y);
        const std::uint64_t first = bitOf(m_x, std::int32_t(y));
        const std::uint64_t self = m_leafMask.bits(first);
        const std::uint64_t left = m_leafMask.bits(first - rows);
        const std::uint64_t right = m_leafMask.bits(first + rows);
        const std::uint64_t up = m_leafMask.bits(first - 1);
        const std::uint64_t down = m_leafMask.bits(first + 1);
        std::uint64_t edge = self & ~(left & right & up & down);
        if (chunk < 64)
            edge &= (std::uint64_t(1) << chunk) - 1;
        while (edge != 0) {
            // A stretch of edge samples down the column: each counts on its
            // own, in order, and they are painted together.
            const int j = lowestBit(edge);
            const std::uint64_t above = ~(edge >> j);
            const int run = above == 0 ? 64 - j : lowestBit(above);
            for (int i = j; i < j + run; ++i) {
                const int background = int(!((left >> i) & 1u)) + int(!((right >> i) & 1u)) +
                                       int(!((up >> i) & 1u)) + int(!((down >> i) & 1u));
                perimeter += Weights[background];
            }
            edge = run + j >= 64 ? 0 : edge & (~std::uint64_t(0) << (j + run));
            if (m_painter)
                m_painter->paintColumnDots(m_x, std::int32_t(y + j), run, LeafEdgeDotColour,
                                           m_edgeDotWidth);
        }
        y += chunk;
    }
    if (y < end)
        addBorder(y, end); // the last row
    m_figures.perimeterCount = perimeter;
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
