#include "colour_model.h"

#include <gtest/gtest.h>

namespace verdalis {
namespace {

struct SplitCase {
    std::int32_t packed;
    RgbColour expected;
};

class SplitColourTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitColourTest, DecodesChannels)
{
    const RgbColour c = SplitColour(GetParam().packed);
    EXPECT_EQ(c.red, GetParam().expected.red);
    EXPECT_EQ(c.green, GetParam().expected.green);
    EXPECT_EQ(c.blue, GetParam().expected.blue);
}

INSTANTIATE_TEST_SUITE_P(
    PackedColours, SplitColourTest,
    ::testing::Values(SplitCase{-1, {0, 0, 0}},            // outside the picture
                      SplitCase{-123456, {0, 0, 0}},       // any negative value
                      SplitCase{255, {255, 0, 0}},         // red is the low byte
                      SplitCase{65280, {0, 255, 0}},       // green the second
                      SplitCase{16711680, {0, 0, 255}},    // blue the third
                      SplitCase{16777215, {255, 255, 255}},
                      SplitCase{0x0A141E, {0x1E, 0x14, 0x0A}}));

TEST(PackedFromArgbTest, SwapsRedAndBlueAndDropsAlpha)
{
    EXPECT_EQ(PackedFromArgb(0xFF1E140Au), 0x0A141E);
    EXPECT_EQ(PackedFromArgb(0x00FF0000u), 255);
    EXPECT_EQ(SplitColour(PackedFromArgb(0x80123456u)), (RgbColour{0x12, 0x34, 0x56}));
}

struct HslCase {
    RgbColour colour;
    int hue;
    int saturation;
};

class RgbToHslTest : public ::testing::TestWithParam<HslCase> {};

TEST_P(RgbToHslTest, GivesHueAndSaturation)
{
    const HslCase &c = GetParam();
    const HueSaturation hs = RgbToHsl(c.colour.red, c.colour.green, c.colour.blue);
    EXPECT_EQ(hs.hue, c.hue);
    EXPECT_EQ(hs.saturation, c.saturation);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, RgbToHslTest,
    ::testing::Values(HslCase{{0, 0, 0}, 0, 0}, HslCase{{128, 128, 128}, 0, 0},
                      HslCase{{255, 255, 255}, 0, 0},
                      HslCase{{255, 0, 0}, 0, 240},   // red: angle 0
                      HslCase{{0, 255, 0}, 80, 240},  // green: 120 degrees -> 79.67
                      HslCase{{0, 0, 255}, 159, 240}, // blue: 240 degrees -> 159.33
                      HslCase{{255, 0, 1}, 239, 240}, // just below 360 degrees
                      // Light colour: saturation uses 2 - max - min.
                      HslCase{{255, 200, 200}, 0, 240},
                      HslCase{{200, 150, 150}, 0, 75},
                      // 60 degrees is 39.83; 180 is 119.5, a half that goes to even.
                      HslCase{{255, 255, 0}, 40, 240}, HslCase{{0, 255, 255}, 120, 240},
                      // Saturation 0.5 * 240 = 120 exactly; dark colours use max + min.
                      HslCase{{96, 32, 32}, 0, 120}));

struct LeafCase {
    RgbColour colour;
    bool leaf;
};

class IsLeafColourTest : public ::testing::TestWithParam<LeafCase> {};

TEST_P(IsLeafColourTest, CountsOnlyBetweenNearBlackAndNearWhite)
{
    const RgbColour &c = GetParam().colour;
    EXPECT_EQ(IsLeafColour(c.red, c.green, c.blue), GetParam().leaf);
}

INSTANTIATE_TEST_SUITE_P(Sums, IsLeafColourTest,
                         ::testing::Values(LeafCase{{40, 40, 40}, false},    // 120
                                           LeafCase{{40, 40, 41}, true},     // 121
                                           LeafCase{{230, 230, 230}, false}, // 690
                                           LeafCase{{230, 230, 229}, true},  // 689
                                           LeafCase{{0, 0, 0}, false},
                                           LeafCase{{255, 255, 255}, false}));

TEST(DecodeColourTest, CarriesChannelsHueAndSaturation)
{
    const DecodedColour d = DecodeColour({0, 255, 0});
    EXPECT_EQ(d.red, 0);
    EXPECT_EQ(d.green, 255);
    EXPECT_EQ(d.blue, 0);
    EXPECT_EQ(d.hue, 80);
    EXPECT_EQ(d.saturation, 240);
}

} // namespace
} // namespace verdalis
