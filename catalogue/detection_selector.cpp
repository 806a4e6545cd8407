#include "detection_selector.h"

#include "custom_detection_file.h"
#include "dialogs.h"
#include "workspace_state.h"

namespace verdalis {

namespace {

// Sets the suppression flag for the length of a list edit.
class SuppressSelection {
public:
    explicit SuppressSelection(DetectionSelector &selector)
        : m_selector(selector), m_was(selector.isSelectionSuppressed())
    {
        m_selector.setSelectionSuppressed(true);
    }
    ~SuppressSelection() { m_selector.setSelectionSuppressed(m_was); }

private:
    DetectionSelector &m_selector;
    bool m_was;
};

} // namespace

DetectionSelector::DetectionSelector(WorkspaceState &state, Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs)
{
    select(LeafAreaOnlySystem);
}

DeleteButtonState DetectionSelector::deleteButton() const
{
    // Between removing the selected entry and selecting entry 0 the index is stale.
    if (!m_catalogue.isValidIndex(m_selected))
        return {};
    return deleteButtonFor(m_catalogue.at(m_selected));
}

QString DetectionSelector::customFilePath() const
{
    return customDetectionFilePath(m_state.programFolder());
}

void DetectionSelector::select(int index)
{
    if (m_suppressed || !m_catalogue.isValidIndex(index))
        return;
    const DetectionSystem &system = m_catalogue.at(index);
    m_selected = index;
    m_state.setThreshold(system.baseThreshold, system.thresholdStep);
    m_slider = sliderAfterSelecting(system, index, m_slider);
    m_state.setSliderPosition(m_slider.position);
    if (system.referenceColour)
        m_state.setCustomColour(*system.referenceColour);
    // Last, so whoever follows the system index reads its colour and thresholds.
    m_state.setSystemIndex(index);
    emit sliderChanged();
    emit selectionChanged(index);
}

void DetectionSelector::setSliderPosition(int position)
{
    const int clamped = clampedSliderPosition(m_slider, position);
    if (clamped == m_slider.position)
        return;
    m_slider.position = clamped;
    m_state.setSliderPosition(clamped);
    emit sliderChanged();
}

void DetectionSelector::loadCustomSystems()
{
    const QString path = customFilePath();
    const CustomFileReadResult read = readCustomDetectionFile(path);
    if (!read.error.isEmpty())
        m_dialogs.message(QStringLiteral("An error occurred when downloading detection systems.") +
                              u'\n' + path + QStringLiteral(": ") + read.error,
                          programTitle(), MessageButtons::Ok, MessageKind::Error);
    {
        SuppressSelection suppress(*this);
        m_catalogue.setCustomSystems(read.systems);
        emit customSystemsReset();
    }
    select(LeafAreaOnlySystem);
}

bool DetectionSelector::saveNewSystem()
{
    QString name;
    for (;;) {
        const std::optional<QString> answer =
            m_dialogs.inputText(QStringLiteral("Please set the name of the new detection system"),
                                QStringLiteral("Saving a new detection system"), QString());
        if (!answer || answer->isEmpty())
            return false;
        name = *answer;
        if (name.contains(u'"')) {
            m_dialogs.message(QStringLiteral("A detection system name cannot contain a double "
                                             "quote (\"). Please set another name."),
                              programTitle());
        } else if (m_catalogue.indexOf(name) >= 0) {
            m_dialogs.message(
                QStringLiteral("Detection system name already exist. Please set another name."),
                programTitle());
        } else {
            break;
        }
    }

    int index;
    {
        SuppressSelection suppress(*this);
        index = m_catalogue.appendCustom(customDetectionSystem(name, m_state.customColour()));
        emit customSystemAppended(index);
    }
    select(index);
    writeFile();
    // Ending the sampling resets the sampled colours, and with them the custom
    // colour; selecting the new system again brings its colour back.
    emit newSystemSaved();
    select(index);
    return true;
}

bool DetectionSelector::deleteSelectedSystem()
{
    const int index = m_selected;
    if (index < FirstCustomSystem)
        return false;
    const QString question = QStringLiteral("Are you sure you want to delete \"%1\" detection "
                                            "system?")
                                 .arg(m_catalogue.at(index).name);
    if (m_dialogs.message(question, QStringLiteral("Delete detection system"),
                          MessageButtons::YesNo, MessageKind::Question) != MessageAnswer::Yes)
        return false;
    {
        SuppressSelection suppress(*this);
        m_catalogue.removeCustom(index);
        emit customSystemRemoved(index);
    }
    select(LeafAreaOnlySystem);
    writeFile();
    return true;
}

// The catalogue in memory stays as the user made it when the file cannot be
// written; the message names the file so the user can mend its folder.
void DetectionSelector::writeFile()
{
    const QString path = customFilePath();
    QString error;
    if (!writeCustomDetectionFile(path, m_catalogue.customSystems(), &error))
        m_dialogs.message(QStringLiteral("The detection systems could not be saved to ") + path +
                              u'\n' + error,
                          programTitle(), MessageButtons::Ok, MessageKind::Error);
}

} // namespace verdalis
