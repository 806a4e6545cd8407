#pragma once

#include "pixel_buffer.h"

#include <cstdint>

namespace verdalis {

// How much of the picture's border passes the leaf test. A leaf picture has
// paper or a dark cloth around the leaves, and the leaf test only rejects a
// background that is near black or near white; grey paper under room light
// passes it and is counted as leaf. The border is the outer frame of the
// picture, BorderFrameFraction of its width at the left and right and of its
// height at the top and bottom, read at the pixels an analysis at the given
// unit step samples (so a picture read for analysing only gives the same share).
struct BorderCheck {
    std::int64_t frameSamples = 0;
    std::int64_t leafSamples = 0;

    // Share of the frame that passes the leaf test, 0 for an empty picture.
    double leafShare() const
    {
        return frameSamples > 0 ? double(leafSamples) / double(frameSamples) : 0.0;
    }
    // Most of the border passes the leaf test: the background is not one the
    // leaf test rejects, and the figures include it.
    bool backgroundCountsAsLeaf() const;
};

// 3 % of the width (height) on each side: wide enough to average over paper
// texture and dust, narrow enough to stay off leaves in a well framed picture.
inline constexpr double BorderFrameFraction = 0.03;
// Warn from half of the frame on. Clean white or black backgrounds leave at most
// a few per cent of it (the edges of leaves touching the border, dust); grey
// paper photographs pass at 58 % and more (see docs/background.md).
inline constexpr double BackgroundWarningShare = 0.5;

BorderCheck checkBorder(const PixelBuffer &picture, int unitStepTenths);

} // namespace verdalis
