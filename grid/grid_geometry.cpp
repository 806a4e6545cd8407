#include "grid_geometry.h"

#include "number_text.h"

#include <cmath>
#include <limits>

namespace verdalis {

std::optional<double> parseGridSpacing(const QString &text)
{
    if (text.isEmpty() || text == QLatin1String("0"))
        return 0.0;
    return readNumber(text);
}

GridGeometry::GridGeometry(double spacing, double unitStep, double sizeRatio)
    : m_spacing(spacing), m_cell(spacing / (unitStep * sizeRatio))
{
}

std::optional<qint32> GridGeometry::lineCount(double extentUnits) const
{
    // Halves to even: nearbyint under the default rounding mode.
    const double count = std::nearbyint(extentUnits / m_cell + 1.0);
    if (!(count >= double(std::numeric_limits<qint32>::min()) &&
          count <= double(std::numeric_limits<qint32>::max())))
        return std::nullopt;
    return qint32(count);
}

std::vector<float> GridGeometry::linePositions(double extentUnits, int offset) const
{
    const std::optional<qint32> count = lineCount(extentUnits);
    std::vector<float> positions;
    if (!count || *count < 0)
        return positions;
    const double shift = m_cell / GridOffsetSteps * offset;
    positions.reserve(std::size_t(*count) + 1);
    for (qint64 i = 0; i <= *count; ++i)
        positions.push_back(float(double(i) * m_cell + shift));
    return positions;
}

QString GridGeometry::refusal(double pixelsPerUnit) const
{
    if (m_spacing < 0)
        return QStringLiteral("The grid spacing must be more than 0.");
    if (!std::isfinite(m_cell))
        return QStringLiteral("The grid cannot be drawn with this calibration.");
    // Cells of a pixel or more also keep the line counts within a picture's
    // pixels, far from the 32-bit limit.
    if (!(m_cell * pixelsPerUnit >= 1.0))
        return QStringLiteral(
            "Grid lines would be closer than one pixel: choose a larger spacing.");
    return QString();
}

} // namespace verdalis
