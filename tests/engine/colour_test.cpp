// Colour decoding: packed colours, the leaf test's bounds, and hue and
// saturation where they land on or next to a rounding half. The hue scale has
// 239 steps for 360 degrees, so hue = angle * 239 / 360 is exactly a half only
// for angle 180 (cyan, 119.5) and for colours whose largest and smallest
// channels differ by 239; the saturation is exactly a half for 160 pairs of
// largest and smallest channel. On an exact half the result depends on the
// rounding of every double operation before it: the hue of (0, 5, 239) is
// exactly 158.5, but its double computation lands just above and gives 159.
// Regrouping the arithmetic (say angle * (239.0 / 360)) moves hundreds of such
// colours by one step; these tests fail when it does.
#include "colour_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// Every step of the colour decoding, in its order, worked out in quadruple
// precision and rounded to double. 113 bits are more than twice 53 plus 2, so
// rounding twice gives the correctly rounded double of each step, whatever the
// processor's double unit or the compiler make of double expressions.
using Quad = __float128;
double sum(double a, double b)
{
    return double(Quad(a) + Quad(b));
}
double difference(double a, double b)
{
    return double(Quad(a) - Quad(b));
}
double product(double a, double b)
{
    return double(Quad(a) * Quad(b));
}
double quotient(double a, double b)
{
    return double(Quad(a) / Quad(b));
}
// The nearest whole number, halves to even.
int nearest(double value)
{
    const double whole = std::floor(value);
    const double fraction = value - whole; // exact below 2^52
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2) != 0);
    return int(whole) + (up ? 1 : 0);
}

HueSaturation exactHueSaturation(int red, int green, int blue)
{
    const double r = quotient(red, 255);
    const double g = quotient(green, 255);
    const double b = quotient(blue, 255);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double d = difference(max, min);
    if (d < 1e-5)
        return {0, 0};
    const double lightness = quotient(sum(max, min), 2);
    const double saturation = lightness <= 0.5 ? quotient(d, sum(max, min))
                                               : quotient(d, difference(difference(2, max), min));
    const double dr = quotient(difference(max, r), d);
    const double dg = quotient(difference(max, g), d);
    const double db = quotient(difference(max, b), d);
    double angle = r == max   ? difference(db, dg)
                   : g == max ? difference(sum(2, dr), db)
                              : difference(sum(4, dg), dr);
    angle = product(angle, 60);
    if (angle < 0)
        angle = sum(angle, 360);
    return {nearest(quotient(product(angle, 239), 360)), nearest(product(saturation, 240))};
}

// Worked out in exact arithmetic, so that the quadruple-precision steps, which
// vouch for every colour below, are themselves held to account. Exact values
// in brackets; "up" and "down" say where the double computation of an exact
// half lands.
TEST(ColourRoundingTest, ChosenColoursDecodeToTheirWorkedOutHueAndSaturation)
{
    const struct {
        RgbColour colour;
        int hue;
        int saturation;
    } colours[] = {
        {{128, 128, 128}, 0, 0},   // grey: no hue, no saturation
        {{255, 0, 1}, 239, 240},   // red largest, just below 360 degrees
        {{0, 255, 0}, 80, 240},    // green largest: 79.67 rounds up
        {{0, 0, 255}, 159, 240},   // blue largest: 159.33 rounds down
        {{0, 5, 239}, 159, 240},   // hue [158.5] up, not to the even 158
        {{1, 0, 239}, 159, 240},   // hue [159.5] down, not to the even 160
        {{0, 255, 255}, 120, 240}, // 180 degrees: hue [119.5] to the even 120
        {{35, 29, 29}, 0, 23},     // saturation [22.5] up, not to the even 22
        // Lightness on either side of one half, where the saturation changes
        // its formula: d / (max + min) up to 0.5, d / (2 - max - min) above.
        {{200, 54, 54}, 0, 138}, // lightness [254/510], saturation [137.953]
        {{200, 56, 56}, 0, 136}, // lightness [256/510], saturation [136.063]
    };
    for (const auto &c : colours) {
        const auto [red, green, blue] = c.colour;
        SCOPED_TRACE(::testing::Message() << red << ", " << green << ", " << blue);
        const HueSaturation exact = exactHueSaturation(red, green, blue);
        EXPECT_EQ(exact.hue, c.hue);
        EXPECT_EQ(exact.saturation, c.saturation);
        const DecodedColour decoded = decodeColour(c.colour);
        EXPECT_EQ((RgbColour{decoded.red, decoded.green, decoded.blue}), c.colour);
        EXPECT_EQ(decoded.hue, c.hue);
        EXPECT_EQ(decoded.saturation, c.saturation);
    }
}

// Every colour that can land on a half, against the quadruple-precision steps: the hue of
// each colour whose channels span 239 and of each 180-degree colour, the
// saturation of each pair of largest and smallest channel.
TEST(ColourRoundingTest, EveryColourThatCanLandOnAHalf)
{
    int checked = 0;
    const auto check = [&checked](int red, int green, int blue) {
        const HueSaturation exact = exactHueSaturation(red, green, blue);
        const HueSaturation decoded = rgbToHsl(red, green, blue);
        ++checked;
        return exact.hue == decoded.hue && exact.saturation == decoded.saturation;
    };
    for (int min = 0; min + 239 <= 255; ++min) {
        const int max = min + 239;
        for (int middle = min; middle <= max; ++middle) {
            int channels[] = {min, middle, max};
            do {
                ASSERT_TRUE(check(channels[0], channels[1], channels[2]))
                    << channels[0] << ", " << channels[1] << ", " << channels[2];
            } while (std::next_permutation(std::begin(channels), std::end(channels)));
        }
    }
    for (int max = 1; max <= 255; ++max) {
        for (int min = 0; min < max; ++min) {
            ASSERT_TRUE(check(min, max, max)) << min << ", " << max << ", " << max;
            ASSERT_TRUE(check(max, min, min)) << max << ", " << min << ", " << min;
        }
    }
    // 17 spans of 239 with 240 middles in 6 orders (fewer where channels tie),
    // and both colours of each of the 32640 pairs.
    EXPECT_GT(checked, 2 * 32640 + 17 * 238 * 6);
}

} // namespace
} // namespace verdalis
