#pragma once

#include <QWidget>

namespace verdalis {

// What the colours of the detection overlay mean: a swatch of each dot colour
// with its name, in the colours the analysis paints.
class OverlayLegend : public QWidget {
    Q_OBJECT
public:
    explicit OverlayLegend(QWidget *parent = nullptr);
};

} // namespace verdalis
