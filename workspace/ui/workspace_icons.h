#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;
class QRectF;

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
// Frame 0..3 of the open-picture hint, 150 x 120 pixels.
QPixmap hintFrame(int index);

// A leaf filling box, tip towards the top right; shared with other picture makers.
void drawLeaf(QPainter &painter, const QRectF &box, const QColor &fill);

} // namespace WorkspaceIcons

} // namespace verdalis
