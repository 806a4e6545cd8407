#pragma once

#include <QString>

namespace verdalis {

// The two start pages of the help, kept in the program folder.
inline const QString MainHelpPage = QStringLiteral("help-main.htm");
inline const QString CustomDetectionHelpPage = QStringLiteral("help-custom.htm");

// The page the help button opens: the one about custom detection systems while
// colour sampling is switched on, the general one otherwise.
QString helpStartPage(const QString &programFolder, bool colourSampling);

// The message shown when the help cannot be opened.
inline QString helpLoadErrorText()
{
    return QStringLiteral("An error occur at loading help");
}

} // namespace verdalis
