#include "detection_catalogue.h"

#include "custom_detection_file.h"

#include <QDir>

namespace verdalis {

const DetectionSystem &DetectionCatalogue::at(int index) const
{
    Q_ASSERT(isValidIndex(index));
    return index < FirstCustomSystem ? builtInDetectionSystems().at(index)
                                     : m_custom.at(index - FirstCustomSystem);
}

QStringList DetectionCatalogue::names() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list << at(i).name;
    return list;
}

int DetectionCatalogue::indexOf(const QString &name) const
{
    for (int i = 0; i < count(); ++i)
        if (at(i).name == name)
            return i;
    return -1;
}

int DetectionCatalogue::appendCustom(const DetectionSystem &system)
{
    m_custom.append(system);
    return count() - 1;
}

void DetectionCatalogue::removeCustom(int index)
{
    Q_ASSERT(index >= FirstCustomSystem && index < count());
    m_custom.removeAt(index - FirstCustomSystem);
}

DetectionSystemLookup findDetectionSystem(const QString &name, const QString &customFilePath)
{
    DetectionSystemLookup lookup;
    DetectionCatalogue catalogue;
    if (catalogue.indexOf(name) < 0) {
        const CustomFileReadResult read = readCustomDetectionFile(customFilePath);
        if (!read.error.isEmpty()) {
            lookup.error = QStringLiteral("The custom detection file %1 cannot be read.\n%2")
                               .arg(QDir::toNativeSeparators(customFilePath), read.error);
            return lookup;
        }
        catalogue.setCustomSystems(read.systems);
    }
    lookup.index = catalogue.indexOf(name);
    if (lookup.found())
        lookup.system = catalogue.at(lookup.index);
    else
        lookup.error = QStringLiteral("There is no detection system named \"%1\".").arg(name);
    return lookup;
}

} // namespace verdalis
