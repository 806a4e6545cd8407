#include "calibration_check.h"

#include <cmath>

namespace verdalis {

QString sizeRatioProblem(double sizeRatio)
{
    if (!std::isfinite(sizeRatio))
        return QStringLiteral("a size ratio must be a finite number");
    if (!(sizeRatio > 0))
        return QStringLiteral("a size ratio must be above 0");
    if (sizeRatio < MinSizeRatio || sizeRatio > MaxSizeRatio)
        return QStringLiteral("a size ratio must lie between 1e-100 and 1e100");
    return QString();
}

QString unitNameProblem(const QString &unitName)
{
    if (unitName.isEmpty())
        return QStringLiteral("the unit name is empty");
    for (const QChar ch : unitName)
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator ||
            ch == QChar::ParagraphSeparator)
            return QStringLiteral("a unit name cannot hold a tab, a line break or another "
                                  "control character");
    return QString();
}

} // namespace verdalis
