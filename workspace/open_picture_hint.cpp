#include "open_picture_hint.h"

namespace verdalis {

int OpenPictureHint::step()
{
    const int shown = m_frameIndex;
    if (!m_backward) {
        if (++m_frameIndex == FrameCount) {
            m_backward = true;
            m_frameIndex = FrameCount - 1;
        }
    } else if (--m_frameIndex < 1) {
        // Turning at the first frame: index 0 is shown next, then forward again.
        m_backward = false;
        m_frameIndex = 0;
    }
    return shown;
}

} // namespace verdalis
