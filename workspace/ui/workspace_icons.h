#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace verdalis {

// The workspace's pictures, drawn as SVG in workspace_icons.qrc. Icons are
// rendered at whatever size and screen scale they are shown.
namespace WorkspaceIcons {

QIcon openPicture();
QIcon reloadPicture();
QIcon pictureSet();
QIcon help();
QIcon program();
// The picture of the "Analyze" button, 50 x 35 pixels.
QPixmap analyze();
// An eyedropper: the colour-sampling switch, and the picture's pointer while
// sampling, whose hot spot is the dropper's tip.
QIcon eyedropper();
QCursor eyedropperCursor();
// Frame 0..3 of the open-picture hint, 150 x 120 pixels.
QPixmap hintFrame(int index);
// The detection-system buttons: delete the selected custom system, save the
// sampled colour as a new one.
QIcon deleteSystem();
QIcon saveSystem();
// The results page's button that copies the results table.
QIcon copyTable();

} // namespace WorkspaceIcons

} // namespace verdalis
