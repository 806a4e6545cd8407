#pragma once

#include <QIcon>

namespace verdalis {

// The picture-set window's button pictures, drawn as SVG in batch_icons.qrc.
namespace BatchIcons {
QIcon addSelectedFile(); // a picture with a green plus
QIcon addAllFiles();     // a stack of pictures with a green plus
QIcon rename();          // a name tag and a pencil
QIcon removeSelected();  // a picture with a red minus
QIcon removeAll();       // a waste bin with a red cross
} // namespace BatchIcons

} // namespace verdalis
