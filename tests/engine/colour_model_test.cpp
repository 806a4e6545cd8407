#include "colour_model.h"

#include <gtest/gtest.h>

namespace verdalis {
namespace {

TEST(ColourModelTest, PackedColoursKeepRedInTheLowByte)
{
    EXPECT_EQ(splitColour(0x0A141E), (RgbColour{0x1E, 0x14, 0x0A}));
    EXPECT_EQ(splitColour(16777215), (RgbColour{255, 255, 255}));
    // -1 marks a point outside the picture; any negative value reads black.
    EXPECT_EQ(splitColour(-123456), (RgbColour{0, 0, 0}));
    // Pixels are 0xAARRGGBB: red and blue change places, alpha is dropped.
    EXPECT_EQ(packedFromArgb(0x801E140Au), 0x0A141E);
}

TEST(ColourModelTest, LeafLiesStrictlyBetweenChannelSums120And690)
{
    EXPECT_FALSE(isLeafColour(40, 40, 40));
    EXPECT_TRUE(isLeafColour(40, 40, 41));
    EXPECT_TRUE(isLeafColour(230, 230, 229));
    EXPECT_FALSE(isLeafColour(230, 230, 230));
}

struct HslCase {
    RgbColour colour;
    int hue;
    int saturation;
};

class DecodeColourTest : public ::testing::TestWithParam<HslCase> {};

TEST_P(DecodeColourTest, CarriesChannelsHueAndSaturation)
{
    const HslCase &c = GetParam();
    const DecodedColour d = decodeColour(c.colour);
    EXPECT_EQ((RgbColour{d.red, d.green, d.blue}), c.colour);
    EXPECT_EQ(d.hue, c.hue);
    EXPECT_EQ(d.saturation, c.saturation);
}

// Hue on 239 steps for 360 degrees, saturation on 240; one colour per branch.
INSTANTIATE_TEST_SUITE_P(
    Colours, DecodeColourTest,
    ::testing::Values(HslCase{{128, 128, 128}, 0, 0},  // grey: no hue, no saturation
                      HslCase{{255, 0, 1}, 239, 240},  // red largest, just below 360 degrees
                      HslCase{{0, 255, 0}, 80, 240},   // 120 degrees: 79.67 rounds up
                      HslCase{{0, 0, 255}, 159, 240},  // 240 degrees: 159.33 rounds down
                      HslCase{{200, 150, 150}, 0, 75}, // light: d / (2 - max - min)
                      HslCase{{96, 32, 32}, 0, 120})); // dark: d / (max + min), 0.5 exactly

} // namespace
} // namespace verdalis
