#pragma once

namespace verdalis {

// The animation shown before the first picture is opened: four frames played
// forward and back, each end frame shown twice (0 1 2 3 3 2 1 0 1 2 ...).
class OpenPictureHint {
public:
    static constexpr int FrameCount = 4;

    // The frame to show now; advances to the next one.
    int step();
    int frameIndex() const { return m_frameIndex; }
    bool isGoingBackward() const { return m_backward; }

private:
    int m_frameIndex = 0;
    bool m_backward = false;
};

} // namespace verdalis
