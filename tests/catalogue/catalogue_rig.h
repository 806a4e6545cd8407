#pragma once

// A program folder in a temporary directory with the selector over it, as the
// main window holds them.

#include "catalogue_test_files.h"
#include "custom_detection_file.h"
#include "detection_selector.h"
#include "scripted_dialogs.h"
#include "workspace_state.h"

#include <QTemporaryDir>

namespace verdalis {

struct CatalogueRig {
    QTemporaryDir folder;
    WorkspaceState state;
    // Fails the test on a question nobody expected or an answer nobody asked for.
    ScriptedDialogs dialogs;
    DetectionSelector selector{state, dialogs};

    CatalogueRig() { state.setProgramFolder(folder.path()); }
    QString filePath() const { return customDetectionFilePath(folder.path()); }
    // Loads the custom systems of this file (none when empty).
    void start(const QByteArray &file)
    {
        if (!file.isEmpty())
            writeBytes(filePath(), file);
        selector.loadCustomSystems();
    }
};

} // namespace verdalis
