#pragma once

#include "detection_system.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace verdalis {

// The list of detection systems in the order the user sees them: the five
// built-ins, then the custom systems (index FirstCustomSystem + row).
class DetectionCatalogue {
public:
    int count() const { return FirstCustomSystem + m_custom.size(); }
    const DetectionSystem &at(int index) const;
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }
    QStringList names() const;
    // Exact, case-sensitive match against every entry, built-ins included; -1 if none.
    int indexOf(const QString &name) const;

    const QList<DetectionSystem> &customSystems() const { return m_custom; }
    void setCustomSystems(const QList<DetectionSystem> &systems) { m_custom = systems; }
    // Returns the new entry's index.
    int appendCustom(const DetectionSystem &system);
    // Removes a custom entry (index >= FirstCustomSystem); later entries move up one.
    void removeCustom(int index);

private:
    QList<DetectionSystem> m_custom;
};

// A detection system found by name, for callers without a window (the command
// line analyser): the built-in names, then the custom systems of the file at
// customFilePath. The file is only read when the name is not a built-in one.
struct DetectionSystemLookup {
    int index = -1; // position in the full list; -1 when not found
    DetectionSystem system;
    QString error; // why nothing was found
    bool found() const { return index >= 0; }
};

DetectionSystemLookup findDetectionSystem(const QString &name, const QString &customFilePath);

} // namespace verdalis
