#include "calibration_rules.h"

#include "calibration_check.h"
#include "calibration_file.h"
#include "dialogs.h"
#include "measurement_list.h"
#include "number_text.h"
#include "workspace_state.h"

#include <QFileInfo>

namespace verdalis {

namespace {
// The load dialog lists *.clb files only: a name typed without an extension
// would be saved where it can never be chosen again, so it gets ".clb".
QString withCalibrationExtension(const QString &path)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + (path.endsWith(u'.') ? QStringLiteral("clb") : QStringLiteral(".clb"));
}
} // namespace

const QString CalibrationRules::kFileFilter = QStringLiteral("Calibration files (*.clb)|*.clb");
const QString CalibrationRules::kNoDistanceMessage =
    QStringLiteral("The mean measured distance is 0.00, so it cannot be calibrated.\n"
                   "Please measure a distance longer than 0 first.");

CalibrationRules::CalibrationRules(WorkspaceState &state, MeasurementList &list, Dialogs &dialogs,
                                   QObject *parent)
    : QObject(parent), m_state(state), m_list(list), m_dialogs(dialogs)
{
}

CalibrationRules::Outcome CalibrationRules::calibrateFromMeasurements(double length,
                                                                      const QString &unitName,
                                                                      const CalibrationNotes &notes)
{
    if (unitName.isEmpty())
        return Outcome::NoUnit;
    if (const QString problem = unitNameProblem(unitName); !problem.isEmpty()) {
        m_refusal = QStringLiteral("This unit cannot be used: %1.").arg(problem);
        return Outcome::Refused;
    }
    restoreBaseDistances();
    // The divisor is the mean as shown, rounded to two decimals.
    const auto mean = readNumber(m_list.statistics().mean);
    if (!mean || *mean <= 0) {
        applySizeRatio(); // back to what the list showed
        return Outcome::NoDistance;
    }
    const double sizeRatio = length / *mean;
    if (const QString problem = sizeRatioProblem(sizeRatio); !problem.isEmpty()) {
        applySizeRatio();
        m_refusal = QStringLiteral("This length gives the size ratio %1, which cannot be used: "
                                   "%2.")
                        .arg(significantText(sizeRatio, 15), problem);
        return Outcome::Refused;
    }
    m_state.setSizeRatio(sizeRatio);
    setCanSave(true);
    applySizeRatio();
    m_state.setUnitName(unitName);
    m_state.markCalibrated();
    setHasNotes(true);
    m_state.setNotes(notes);
    // The calibration no longer comes from a file.
    setCalibrationFileName(QString());
    return Outcome::Calibrated;
}

void CalibrationRules::rescaleMeasurements()
{
    restoreBaseDistances();
    applySizeRatio();
}

// Column 5 shows the uncalibrated display-millimetre lengths; the mean is then
// theirs.
void CalibrationRules::restoreBaseDistances()
{
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.isMeasurement(row))
            if (const auto base = readNumber(m_list.cell(row, BaseDistanceColumn)))
                m_list.setCell(row, DistanceColumn, fullText(*base));
    m_list.recomputeMeasurementStatistics();
}

void CalibrationRules::applySizeRatio()
{
    const double sizeRatio = m_state.sizeRatio();
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.isMeasurement(row))
            if (const auto base = readNumber(m_list.cell(row, BaseDistanceColumn)))
                m_list.setCell(row, DistanceColumn, fixedText(*base * sizeRatio, 2));
    m_list.recomputeMeasurementStatistics();
}

void CalibrationRules::saveCalibrationFile()
{
    // What is saved is the calibration at the moment the button was pressed.
    const Calibration calibration{m_state.sizeRatio(), m_state.unitName(), m_state.notes()};
    const auto choice = m_dialogs.saveFile(QStringLiteral("Save Calibration file"), kFileFilter);
    if (!choice)
        return;
    QString error;
    if (!CalibrationFile::write(withCalibrationExtension(choice->path), calibration, &error))
        m_dialogs.message(QStringLiteral("As error has occurred when saving this file.") + '\n' +
                              error,
                          programTitle(), MessageButtons::Ok, MessageKind::Error);
}

void CalibrationRules::loadCalibrationFile()
{
    const auto choice = m_dialogs.openFile(QStringLiteral("Open Calibration file"), kFileFilter);
    if (!choice)
        return;
    // The whole file is read and checked before anything changes.
    QString error;
    const auto calibration = CalibrationFile::read(choice->path, &error);
    if (!calibration) {
        m_dialogs.message(QStringLiteral("This file can't be opened.") + '\n' + error,
                          programTitle(), MessageButtons::Ok, MessageKind::Error);
        return;
    }
    m_state.setSizeRatio(calibration->sizeRatio);
    m_state.setNotes(calibration->notes);
    rescaleMeasurements();
    m_state.setUnitName(calibration->unitName);
    m_state.markCalibrated();
    setCalibrationFileName(QFileInfo(choice->path).fileName());
    setHasNotes(true);
}

QString CalibrationRules::calibratedToolTip() const
{
    if (m_fileName.isEmpty())
        return QStringLiteral("Calibrated");
    return QStringLiteral("Calibrated, Calibration file is ") + m_fileName;
}

void CalibrationRules::setCanSave(bool canSave)
{
    if (canSave == m_canSave)
        return;
    m_canSave = canSave;
    emit canSaveChanged(canSave);
}

void CalibrationRules::setHasNotes(bool hasNotes)
{
    if (hasNotes == m_hasNotes)
        return;
    m_hasNotes = hasNotes;
    emit hasNotesChanged(hasNotes);
}

void CalibrationRules::setCalibrationFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    emit calibratedToolTipChanged(calibratedToolTip());
}

} // namespace verdalis
