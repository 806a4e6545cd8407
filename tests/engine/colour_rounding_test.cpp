// Hue and saturation where they land on or next to a rounding half. The hue
// scale has 239 steps for 360 degrees, so hue = angle * 239 / 360 is exactly a
// half only for angle 180 (cyan, 119.5) and for colours whose largest and
// smallest channels differ by 239; the saturation is exactly a half for 160
// pairs of largest and smallest channel. On an exact half the result depends on
// the rounding of every double operation before it: worked out in exact
// arithmetic (exact_double.h), the hue of (0, 5, 239) is 158.5 but its double
// computation lands just above and gives 159. Regrouping the arithmetic (say
// angle * (239.0 / 360)) moves hundreds of such colours by one step; these
// tests fail when it does.
#include "colour_model.h"
#include "exact_double.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace verdalis {
namespace {

namespace x = exact;

// The colour decoding's steps, in their order, each rounded as a double.
HueSaturation exactHueSaturation(int red, int green, int blue)
{
    const x::Double r = x::fromRatio(red, 255);
    const x::Double g = x::fromRatio(green, 255);
    const x::Double b = x::fromRatio(blue, 255);
    x::Double max = r;
    if (x::compare(max, g) < 0)
        max = g;
    if (x::compare(max, b) < 0)
        max = b;
    x::Double min = r;
    if (x::compare(min, g) > 0)
        min = g;
    if (x::compare(min, b) > 0)
        min = b;
    const x::Double lightness = x::quotient(x::sum(max, min), 2);
    const x::Double d = x::difference(max, min);
    if (x::compare(d, x::fromRatio(1, 100000)) < 0)
        return {0, 0};
    const x::Double saturation =
        x::compare(lightness, x::fromRatio(1, 2)) <= 0
            ? x::quotient(d, x::sum(max, min))
            : x::quotient(d, x::difference(x::difference(x::fromWhole(2), max), min));
    const x::Double dr = x::quotient(x::difference(max, r), d);
    const x::Double dg = x::quotient(x::difference(max, g), d);
    const x::Double db = x::quotient(x::difference(max, b), d);
    x::Double angle;
    if (x::compare(r, max) == 0)
        angle = x::difference(db, dg);
    else if (x::compare(g, max) == 0)
        angle = x::difference(x::sum(x::fromWhole(2), dr), db);
    else
        angle = x::difference(x::sum(x::fromWhole(4), dg), dr);
    angle = x::product(angle, 60);
    if (angle.negative)
        angle = x::sum(angle, x::fromWhole(360));
    const x::Double hue = x::quotient(x::product(angle, 239), 360);
    return {int(x::nearestWhole(hue)), int(x::nearestWhole(x::product(saturation, 240)))};
}

struct GoldenColour {
    RgbColour colour;
    int hue;
    int saturation;
    const char *why;
};

std::ostream &operator<<(std::ostream &out, const GoldenColour &c)
{
    return out << '(' << c.colour.red << ", " << c.colour.green << ", " << c.colour.blue << ") "
               << c.why;
}

// Exact values in brackets; "up" and "down" say where the double computation
// of an exact half lands.
const GoldenColour GoldenColours[] = {
    // Hue exactly on a half: largest minus smallest channel is 239.
    {{0, 5, 239}, 159, 240, "hue [158.5] up, not to the even 158"},
    {{239, 0, 9}, 238, 240, "hue [237.5] up, to the even 238"},
    {{1, 0, 239}, 159, 240, "hue [159.5] down, not to the even 160"},
    {{239, 9, 0}, 1, 240, "hue [1.5] down, not to the even 2"},
    {{239, 3, 0}, 0, 240, "hue [0.5] down, to the even 0"},
    {{0, 239, 17}, 83, 240, "hue [82.5] up, not to the even 82"},
    {{31, 0, 239}, 165, 240, "hue [164.5] up"},
    {{0, 65, 239}, 149, 240, "hue [148.5] up"},
    {{0, 239, 71}, 92, 240, "hue [91.5] up"},
    // Hue next to a half.
    {{0, 5, 238}, 158, 240, "hue [158.488]"},
    {{0, 5, 240}, 159, 240, "hue [158.511]"},
    // 180 degrees: hue [119.5] to the even 120.
    {{0, 255, 255}, 120, 240, "cyan, hue [119.5]"},
    {{90, 160, 160}, 120, 67, "hue [119.5], saturation [67.2]"},
    // Saturation exactly on a half.
    {{33, 31, 31}, 0, 8, "saturation [7.5] to the even 8"},
    {{35, 29, 29}, 0, 23, "saturation [22.5] up, not to the even 22"},
    {{63, 1, 1}, 0, 233, "saturation [232.5] up"},
    // Saturation next to a half.
    {{180, 73, 73}, 0, 102, "saturation [101.502]"},
    {{154, 97, 97}, 0, 55, "saturation [54.502]"},
    // Lightness at and on either side of one half, where the saturation
    // changes its formula: d / (max + min) up to 0.5, d / (2 - max - min) above.
    {{200, 54, 54}, 0, 138, "lightness [254/510], saturation [137.953]"},
    {{200, 55, 55}, 0, 136, "lightness [0.5], saturation [136.471]"},
    {{200, 56, 56}, 0, 136, "lightness [256/510], saturation [136.063]"},
};

class GoldenColourTest : public ::testing::TestWithParam<GoldenColour> {};

TEST_P(GoldenColourTest, DecodesToTheGoldenHueAndSaturation)
{
    const GoldenColour &c = GetParam();
    const HueSaturation exact = exactHueSaturation(c.colour.red, c.colour.green, c.colour.blue);
    // The golden figures are the exact arithmetic's, not the code's.
    ASSERT_EQ(exact.hue, c.hue);
    ASSERT_EQ(exact.saturation, c.saturation);
    const DecodedColour decoded = decodeColour(c.colour);
    EXPECT_EQ(decoded.hue, c.hue);
    EXPECT_EQ(decoded.saturation, c.saturation);
}

INSTANTIATE_TEST_SUITE_P(OnAndNextToHalves, GoldenColourTest, ::testing::ValuesIn(GoldenColours));

// Every colour that can land on a half, against the exact arithmetic: the hue of
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
