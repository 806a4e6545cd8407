#pragma once

#include "workspace_state.h"

#include <QList>

namespace verdalis {

// The colours picked from the picture with the eyedropper, and their running
// average, which becomes the custom colour a new detection system is saved with.
// Channels are 0..255.
class DetectionColourSamples {
public:
    int count() const { return m_samples.size(); }
    const Rgb &at(int row) const { return m_samples.at(row); }
    // A new system can be saved once at least one colour was picked since the
    // list was last emptied.
    bool canSave() const { return !m_samples.isEmpty(); }
    Rgb average() const { return m_average; }

    // Adds a picked colour and updates the average incrementally: each channel's
    // sum divided by the count, halves rounded to the even neighbour.
    void add(const Rgb &colour);
    // Del on the list, with `row` the list's current row. With two or more
    // colours the one at `row` goes and its channels are taken off the sums, so
    // the average is that of the colours still listed (halves to even); a row
    // outside the list then changes nothing. With one colour or none, the list
    // is emptied and sums and average become 0, as with reset().
    void removeAt(int row);
    // Empties the list; sums and average become 0.
    void reset();

private:
    void updateAverage();

    QList<Rgb> m_samples;
    double m_sumRed = 0.0;
    double m_sumGreen = 0.0;
    double m_sumBlue = 0.0;
    Rgb m_average;
};

} // namespace verdalis
