#include "workspace_state.h"

#include "dialogs.h"

namespace verdalis {

void WorkspaceState::setSizeRatio(double ratio)
{
    if (ratio == m_sizeRatio)
        return;
    m_sizeRatio = ratio;
    emit sizeRatioChanged(ratio);
}

void WorkspaceState::setUnitName(const QString &name)
{
    if (name == m_unitName)
        return;
    m_unitName = name;
    emit unitNameChanged(name);
}

void WorkspaceState::markCalibrated()
{
    if (m_calibrated)
        return;
    m_calibrated = true;
    emit calibratedChanged(true);
}

void WorkspaceState::setSystemIndex(int index)
{
    if (index == m_systemIndex)
        return;
    m_systemIndex = index;
    emit systemChanged(index);
}

void WorkspaceState::setThreshold(double baseThreshold, int thresholdStep)
{
    m_baseThreshold = baseThreshold;
    m_thresholdStep = thresholdStep;
}

bool checkCalibrated(const WorkspaceState &state, Dialogs &dialogs)
{
    if (state.isCalibrated())
        return true;
    dialogs.message(QStringLiteral("The software need to be calibrated, please calibrate it first"),
                    QStringLiteral("Calibration is required"));
    return false;
}

} // namespace verdalis
