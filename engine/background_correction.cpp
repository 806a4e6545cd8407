#include "background_correction.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <system_error>
#include <thread>

namespace verdalis {

namespace {

constexpr int LatticeTarget = 262144;
constexpr int CellsAlongLongSide = 16;
// R+G+B at or below which a border counts as near black, as in the leaf test.
constexpr int DarkSum = 120;
// A picture whose paper cells are all at least this bright (R+G+B) is a scan on
// white paper and is left alone: its figures stay as they were. The leaf test
// rejects 690 and up; scanners shade the edges of the bed a little below that
// (687 in the darkest corner of the clean scans tried), while paper in a photo
// under room light comes out at 460 to 660.
constexpr int WhiteSum = 675;
// A cell's candidates more coloured than this ((max - min) / max of their
// medians) are leaf, not tinted paper: a warm light tints paper by 20 to 25 %,
// green leaf tissue is 45 % and more.
constexpr double LeafChroma = 0.4;
// A cell needs this share of its lattice pixels as candidates (and at least
// MinimumCandidates) to say what the paper looks like there.
constexpr double CandidateShare = 0.1;
constexpr int MinimumCandidates = 6;
// Fewer paper cells than this share of all cells: no usable background.
constexpr double PaperCellShare = 0.15;
constexpr int FitRounds = 6;
// The field is never taken darker than this per channel: a division by less
// would only amplify noise.
constexpr double DarkestPaper = 16.0;

struct Lattice {
    int step = 1;
    int columns = 0;
    int rows = 0;
    int x(int column) const { return column * step + step / 2; }
    int y(int row) const { return row * step + step / 2; }
};

Lattice latticeFor(int width, int height)
{
    Lattice lattice;
    const double pixels = double(width) * double(height);
    lattice.step = std::max(1, int(std::sqrt(pixels / LatticeTarget)));
    lattice.columns = (width - lattice.step / 2 + lattice.step - 1) / lattice.step;
    lattice.rows = (height - lattice.step / 2 + lattice.step - 1) / lattice.step;
    return lattice;
}

int channel(std::uint32_t argb, int c)
{
    return int((argb >> (16 - 8 * c)) & 0xFFu);
}

int sumOf(std::uint32_t argb)
{
    return channel(argb, 0) + channel(argb, 1) + channel(argb, 2);
}

// Otsu's threshold of a histogram: values above it form the brighter class.
int otsuThreshold(const std::vector<std::int64_t> &histogram)
{
    double total = 0.0;
    double weighted = 0.0;
    for (std::size_t v = 0; v < histogram.size(); ++v) {
        total += double(histogram[v]);
        weighted += double(v) * double(histogram[v]);
    }
    double below = 0.0;
    double belowWeighted = 0.0;
    double best = -1.0;
    int threshold = 0;
    for (std::size_t v = 0; v + 1 < histogram.size(); ++v) {
        below += double(histogram[v]);
        belowWeighted += double(v) * double(histogram[v]);
        const double above = total - below;
        if (below <= 0.0 || above <= 0.0)
            continue;
        const double meanBelow = belowWeighted / below;
        const double meanAbove = (weighted - belowWeighted) / above;
        const double between = below * above * (meanAbove - meanBelow) * (meanAbove - meanBelow);
        if (between > best) {
            best = between;
            threshold = int(v);
        }
    }
    return threshold;
}

int medianOf(const std::array<std::int32_t, 256> &histogram, std::int32_t count)
{
    std::int32_t seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (2 * seen >= count)
            return v;
    }
    return 255;
}

struct PaperCell {
    double u = 0.0;
    double v = 0.0;
    std::array<double, 3> colour{};
    double weight = 0.0;
    bool used = true;
};

int termCount(int degree)
{
    return (degree + 1) * (degree + 2) / 2;
}

// u^i v^j for i + j <= degree, ordered by total degree, then by falling i.
void terms(double u, double v, int degree, double *out)
{
    int k = 0;
    for (int total = 0; total <= degree; ++total) {
        for (int j = 0; j <= total; ++j) {
            const int i = total - j;
            out[k++] = std::pow(u, i) * std::pow(v, j);
        }
    }
}

// Weighted least squares by the normal equations, solved with partial
// pivoting; false when they are singular (too few distinct cells).
bool fitPolynomial(const std::vector<PaperCell> &cells, int degree,
                   std::array<std::vector<double>, 3> &coefficients)
{
    const int n = termCount(degree);
    std::vector<double> matrix(std::size_t(n) * std::size_t(n + 3), 0.0);
    const int width = n + 3;
    double basis[10];
    for (const PaperCell &cell : cells) {
        if (!cell.used)
            continue;
        terms(cell.u, cell.v, degree, basis);
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                matrix[r * width + c] += cell.weight * basis[r] * basis[c];
            for (int ch = 0; ch < 3; ++ch)
                matrix[r * width + n + ch] += cell.weight * basis[r] * cell.colour[ch];
        }
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::abs(matrix[r * width + col]) > std::abs(matrix[pivot * width + col]))
                pivot = r;
        }
        if (std::abs(matrix[pivot * width + col]) < 1e-9)
            return false;
        for (int c = 0; c < width; ++c)
            std::swap(matrix[col * width + c], matrix[pivot * width + c]);
        for (int r = 0; r < n; ++r) {
            if (r == col)
                continue;
            const double factor = matrix[r * width + col] / matrix[col * width + col];
            for (int c = col; c < width; ++c)
                matrix[r * width + c] -= factor * matrix[col * width + c];
        }
    }
    for (int ch = 0; ch < 3; ++ch) {
        coefficients[ch].assign(std::size_t(n), 0.0);
        for (int r = 0; r < n; ++r)
            coefficients[ch][r] = matrix[r * width + n + ch] / matrix[r * width + r];
    }
    return true;
}

double evaluate(const std::vector<double> &coefficients, double u, double v, int degree)
{
    double basis[10];
    terms(u, v, degree, basis);
    double value = 0.0;
    for (std::size_t k = 0; k < coefficients.size(); ++k)
        value += coefficients[k] * basis[k];
    return value;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Fits the cells, then drops the cells far from the fit (robustly scaled) and
// fits again until no cell changes. The drop is lopsided: a leaf or a shadow
// only ever makes a cell darker than its paper.
bool robustFit(std::vector<PaperCell> &cells, int degree,
               std::array<std::vector<double>, 3> &coefficients)
{
    for (int round = 0; round < FitRounds; ++round) {
        if (!fitPolynomial(cells, degree, coefficients))
            return false;
        std::vector<double> residuals;
        std::vector<double> all(cells.size());
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const PaperCell &cell = cells[k];
            double fitted = 0.0;
            double actual = 0.0;
            for (int ch = 0; ch < 3; ++ch) {
                fitted += evaluate(coefficients[ch], cell.u, cell.v, degree);
                actual += cell.colour[ch];
            }
            all[k] = (actual - fitted) / std::max(fitted, 1.0);
            if (cell.used)
                residuals.push_back(std::abs(all[k]));
        }
        const double spread = 1.4826 * median(residuals);
        const double darker = std::max(0.03, 2.5 * spread);
        const double brighter = std::max(0.05, 4.0 * spread);
        bool changed = false;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const bool keep = all[k] > -darker && all[k] < brighter;
            changed = changed || keep != cells[k].used;
            cells[k].used = keep;
        }
        if (!changed)
            return true;
    }
    return fitPolynomial(cells, degree, coefficients);
}

// Plain loops over plain arrays: the compiler turns this into vector code.
void divideRow(std::uint32_t *line, int width, const std::uint32_t *gainRed,
               const std::uint32_t *gainGreen, const std::uint32_t *gainBlue)
{
    for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = line[x];
        const std::uint32_t r =
            std::min<std::uint32_t>(255u, (((pixel >> 16) & 0xFFu) * gainRed[x] + 32768u) >> 16);
        const std::uint32_t g =
            std::min<std::uint32_t>(255u, (((pixel >> 8) & 0xFFu) * gainGreen[x] + 32768u) >> 16);
        const std::uint32_t b =
            std::min<std::uint32_t>(255u, ((pixel & 0xFFu) * gainBlue[x] + 32768u) >> 16);
        line[x] = (pixel & 0xFF000000u) | (r << 16) | (g << 8) | b;
    }
}

} // namespace

std::array<double, 3> BackgroundField::paperAt(double x, double y) const
{
    const double u = width > 1 ? 2.0 * x / (width - 1) - 1.0 : 0.0;
    const double v = height > 1 ? 2.0 * y / (height - 1) - 1.0 : 0.0;
    return {evaluate(coefficients[0], u, v, degree), evaluate(coefficients[1], u, v, degree),
            evaluate(coefficients[2], u, v, degree)};
}

BackgroundField estimateBackground(const PixelBuffer &picture, const BackgroundEstimator &estimator)
{
    BackgroundField field;
    field.width = picture.width;
    field.height = picture.height;
    if (picture.width < 2 || picture.height < 2)
        return field;
    const Lattice lattice = latticeFor(picture.width, picture.height);

    const bool landscape = picture.width >= picture.height;
    const int longSide = std::max(picture.width, picture.height);
    const int shortSide = std::min(picture.width, picture.height);
    const int shortCells =
        std::max(2, int(std::lround(double(CellsAlongLongSide) * shortSide / longSide)));
    const int cellsX = landscape ? CellsAlongLongSide : shortCells;
    const int cellsY = landscape ? shortCells : CellsAlongLongSide;
    field.cells = cellsX * cellsY;
    auto cellColumn = [&](int x) {
        return std::min(cellsX - 1, int(std::int64_t(x) * cellsX / picture.width));
    };
    auto cellRow = [&](int y) {
        return std::min(cellsY - 1, int(std::int64_t(y) * cellsY / picture.height));
    };

    // Pass 1: the split between paper and the rest, and whether the border is
    // near black.
    std::vector<std::int64_t> histogram(766, 0);
    std::int64_t borderPixels = 0;
    std::int64_t darkBorderPixels = 0;
    for (int row = 0; row < lattice.rows; ++row) {
        const int y = lattice.y(row);
        const std::uint32_t *line = picture.pixels + std::ptrdiff_t(y) * picture.stride;
        const int cy = cellRow(y);
        for (int column = 0; column < lattice.columns; ++column) {
            const int x = lattice.x(column);
            const int sum = sumOf(line[x]);
            ++histogram[sum];
            const int cx = cellColumn(x);
            if (cx == 0 || cy == 0 || cx == cellsX - 1 || cy == cellsY - 1) {
                ++borderPixels;
                darkBorderPixels += sum <= DarkSum ? 1 : 0;
            }
        }
    }
    if (2 * darkBorderPixels > borderPixels) {
        field.outcome = BackgroundOutcome::DarkBackground;
        return field;
    }
    const int threshold = otsuThreshold(histogram);

    // Pass 2: each cell's candidates, per channel.
    std::vector<std::array<std::array<std::int32_t, 256>, 3>> channelHistograms(
        std::size_t(field.cells));
    for (auto &cell : channelHistograms)
        for (auto &h : cell)
            h.fill(0);
    std::vector<std::int32_t> candidates(std::size_t(field.cells), 0);
    std::vector<std::int32_t> visited(std::size_t(field.cells), 0);
    for (int row = 0; row < lattice.rows; ++row) {
        const int y = lattice.y(row);
        const std::uint32_t *line = picture.pixels + std::ptrdiff_t(y) * picture.stride;
        const int cellBase = cellRow(y) * cellsX;
        for (int column = 0; column < lattice.columns; ++column) {
            const int x = lattice.x(column);
            const int cell = cellBase + cellColumn(x);
            ++visited[cell];
            const std::uint32_t pixel = line[x];
            if (sumOf(pixel) <= threshold)
                continue;
            ++candidates[cell];
            for (int ch = 0; ch < 3; ++ch)
                ++channelHistograms[cell][ch][channel(pixel, ch)];
        }
    }

    std::vector<PaperCell> cells;
    for (int cy = 0; cy < cellsY; ++cy) {
        for (int cx = 0; cx < cellsX; ++cx) {
            const bool border = cx == 0 || cy == 0 || cx == cellsX - 1 || cy == cellsY - 1;
            if (estimator.borderCellsOnly && !border)
                continue;
            const int cell = cy * cellsX + cx;
            const std::int32_t count = candidates[cell];
            if (count < MinimumCandidates || count < CandidateShare * visited[cell])
                continue;
            PaperCell paper;
            // The centre of the cell, in the field's coordinates.
            paper.u = (2.0 * cx + 1.0) / cellsX - 1.0;
            paper.v = (2.0 * cy + 1.0) / cellsY - 1.0;
            for (int ch = 0; ch < 3; ++ch)
                paper.colour[ch] = medianOf(channelHistograms[cell][ch], count);
            const auto [low, high] =
                std::minmax({paper.colour[0], paper.colour[1], paper.colour[2]});
            if (high <= 0.0 || (high - low) / high > LeafChroma)
                continue;
            paper.weight = std::sqrt(double(count));
            cells.push_back(paper);
        }
    }

    const int wanted = std::max(3, int(std::ceil(PaperCellShare * field.cells)));
    for (int degree = estimator.degree; degree >= 0; --degree) {
        // At least twice as many cells as terms, or the fit follows the cells'
        // noise instead of the light.
        if (int(cells.size()) < 2 * termCount(degree))
            continue;
        for (PaperCell &cell : cells)
            cell.used = true;
        if (!robustFit(cells, degree, field.coefficients))
            continue;
        field.paperCells = int(std::count_if(cells.begin(), cells.end(),
                                             [](const PaperCell &cell) { return cell.used; }));
        field.degree = degree;
        break;
    }
    if (field.paperCells < wanted && !estimator.borderCellsOnly)
        return field;
    if (field.paperCells < 3)
        return field;
    // Judged on the paper cells themselves, not on the fitted surface, which
    // may dip at a corner where no paper was seen.
    const bool white = std::all_of(cells.begin(), cells.end(), [](const PaperCell &cell) {
        return !cell.used || cell.colour[0] + cell.colour[1] + cell.colour[2] >= WhiteSum;
    });
    field.outcome = white ? BackgroundOutcome::WhiteBackground : BackgroundOutcome::Found;
    return field;
}

void divideOutBackground(const BackgroundField &field, std::uint32_t *pixels, int width, int height,
                         std::ptrdiff_t stride)
{
    if (width <= 0 || height <= 0)
        return;
    // The field is smooth: its gains are computed on nodes NodeSpacing pixels
    // apart and interpolated linearly between them, in 16.16 fixed point.
    constexpr int NodeSpacing = 32;
    // At least two nodes per axis; on a picture one pixel wide they coincide.
    const int nodesX = std::max(2, (width - 1 + NodeSpacing - 1) / NodeSpacing + 1);
    const int nodesY = std::max(2, (height - 1 + NodeSpacing - 1) / NodeSpacing + 1);
    auto nodeX = [&](int i) { return std::min(i * NodeSpacing, width - 1); };
    auto nodeY = [&](int j) { return std::min(j * NodeSpacing, height - 1); };
    std::vector<double> gains(std::size_t(nodesX) * nodesY * 3);
    for (int j = 0; j < nodesY; ++j) {
        for (int i = 0; i < nodesX; ++i) {
            const auto paper = field.paperAt(nodeX(i), nodeY(j));
            for (int ch = 0; ch < 3; ++ch)
                gains[(std::size_t(j) * nodesX + i) * 3 + ch] =
                    255.0 / std::max(paper[ch], DarkestPaper) * 65536.0;
        }
    }
    // The gains of a row serve the band of RowBand rows around it: the light
    // changes by far less than a grey level over so few rows.
    constexpr int RowBand = 8;
    auto divideBands = [&](int firstRow, int endRow) {
        std::vector<double> rowGains(std::size_t(nodesX) * 3);
        // Per pixel gains of the current row, 16.16 fixed point; at most
        // 255 / DarkestPaper * 65536, so a channel times its gain fits 32 bits.
        std::vector<std::uint32_t> gainRows(std::size_t(width) * 3);
        std::uint32_t *gainOf[3] = {gainRows.data(), gainRows.data() + width,
                                    gainRows.data() + 2 * std::size_t(width)};
        for (int y = firstRow; y < endRow; ++y) {
            if ((y - firstRow) % RowBand == 0) {
                const int middle = std::min(y + RowBand / 2, height - 1);
                const int j = std::min(middle / NodeSpacing, nodesY - 2);
                const int y0 = nodeY(j);
                const int y1 = nodeY(j + 1);
                const double t = y1 > y0 ? double(middle - y0) / double(y1 - y0) : 0.0;
                for (int k = 0; k < nodesX * 3; ++k) {
                    const double top = gains[std::size_t(j) * nodesX * 3 + k];
                    const double bottom = gains[std::size_t(j + 1) * nodesX * 3 + k];
                    rowGains[k] = top + (bottom - top) * t;
                }
                for (int i = 0; i + 1 < nodesX; ++i) {
                    const int x0 = nodeX(i);
                    const int x1 = nodeX(i + 1);
                    // The last span also covers the last pixel.
                    const int last = i + 2 >= nodesX ? width : x1;
                    const int span = std::max(1, x1 - x0);
                    for (int ch = 0; ch < 3; ++ch) {
                        const double start = rowGains[std::size_t(i) * 3 + ch];
                        const double step = (rowGains[std::size_t(i + 1) * 3 + ch] - start) / span;
                        std::uint32_t *gain = gainOf[ch];
                        for (int x = x0; x < last; ++x)
                            gain[x] = std::uint32_t(start + step * (x - x0) + 0.5);
                    }
                }
            }
            divideRow(pixels + std::ptrdiff_t(y) * stride, width, gainOf[0], gainOf[1], gainOf[2]);
        }
    };
    // A large picture is shared out in bands of whole row groups between up to
    // four threads, so the correction costs less than decoding the picture.
    const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    const int threads = height >= 1024 ? int(cores) : 1;
    const int groups = (height + RowBand - 1) / RowBand;
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        const int first = std::min(height, groups * t / threads * RowBand);
        const int end = std::min(height, groups * (t + 1) / threads * RowBand);
        try {
            helpers.emplace_back(divideBands, first, end);
        } catch (const std::system_error &) {
            // No thread to be had: this one does that band too.
            divideBands(first, end);
        }
    }
    divideBands(0, std::min(height, groups / threads * RowBand));
    for (std::thread &helper : helpers)
        helper.join();
}

BackgroundOutcome correctBackground(std::uint32_t *pixels, int width, int height,
                                    std::ptrdiff_t stride, const BackgroundEstimator &estimator)
{
    const BackgroundField field =
        estimateBackground(PixelBuffer{pixels, width, height, stride}, estimator);
    if (field.found())
        divideOutBackground(field, pixels, width, height, stride);
    return field.outcome;
}

} // namespace verdalis
