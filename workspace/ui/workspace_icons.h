#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace verdalis {

// The workspace's pictures, drawn in code. Icons carry a 1x and a 2x rendering so
// they stay sharp on scaled screens.
namespace WorkspaceIcons {

QIcon openPicture();
QIcon reloadPicture();
QIcon pictureSet();
QIcon help();
QIcon program();
// The picture of the "Analyze" button, 50 x 35 pixels.
QPixmap analyze();
// An eyedropper: the colour sampling switch (Check1), and the picture's pointer
// while sampling (Picture12), whose hot spot is the dropper's tip.
QIcon eyedropper();
QCursor eyedropperCursor();
// Frame 0..3 of the open-picture hint, 150 x 120 pixels.
QPixmap hintFrame(int index);

} // namespace WorkspaceIcons

} // namespace verdalis
