#include "help_pages.h"

#include <QDir>

namespace verdalis {

QString helpStartPage(const QString &programFolder, bool colourSampling)
{
    return programFolder + QDir::separator() +
           (colourSampling ? CustomDetectionHelpPage : MainHelpPage);
}

} // namespace verdalis
