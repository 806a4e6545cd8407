#include "symptom_rule.h"

#include "reference_analysis.h"

#include <gtest/gtest.h>

namespace verdalis {
namespace {

struct RuleCase {
    const char *name;
    int system;
    int slider;
    DecodedColour sample; // red, green, blue, hue, saturation
    bool symptom;
};

DetectionParameters builtIn(int system, int slider)
{
    return enginetest::builtInSettings(system, slider, 10, 1.0, {100, 50, 20}).detection;
}

class SymptomRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SymptomRuleTest, DecidesAtTheBoundary)
{
    const RuleCase &c = GetParam();
    EXPECT_EQ(SymptomRule(builtIn(c.system, c.slider)).isSymptom(c.sample), c.symptom);
}

DecodedColour rgb(int r, int g, int b, int hue = 0, int saturation = 0)
{
    return {std::int16_t(r), std::int16_t(g), std::int16_t(b), std::int16_t(hue),
            std::int16_t(saturation)};
}

INSTANTIATE_TEST_SUITE_P(
    Systems, SymptomRuleTest,
    ::testing::Values(
        // System 1: |G-162| + 2|hue-47| + |sat-63.8| < 25 + 5s, no gate.
        RuleCase{"s1_just_below", 1, 0, rgb(0, 162, 0, 47, 88), true},      // 24.2
        RuleCase{"s1_just_above", 1, 0, rgb(0, 162, 0, 47, 89), false},     // 25.2
        RuleCase{"s1_low_saturation", 1, 0, rgb(0, 162, 0, 47, 38), false}, // 25.8
        RuleCase{"s1_hue_over", 1, 0, rgb(0, 162, 0, 60, 64), false},       // 26.2
        RuleCase{"s1_no_gate_black", 1, 60, rgb(0, 0, 0, 0, 0), true},      // 319.8 < 325
        // System 2: 120 < R+G+B < 690 and 10G + R + B > 1750 - 50s. The gate's own
        // boundaries are the leaf test's; here only that systems 2 and 4 apply it.
        RuleCase{"s2_equal_is_not", 2, 0, rgb(25, 170, 25), false}, // 1750
        RuleCase{"s2_just_above", 2, 0, rgb(25, 170, 26), true},    // 1751
        RuleCase{"s2_gate_690", 2, 0, rgb(230, 230, 230), false},
        RuleCase{"s2_gate_120", 2, 20, rgb(0, 120, 0), false},
        // System 3: 120 < G+R < 460 and (10G/h + 10R/h)/2 > 40 - s.
        RuleCase{"s3_equal_is_not", 3, 0, rgb(100, 60, 0, 20), false},     // 40
        RuleCase{"s3_just_above", 3, 0, rgb(100, 61, 0, 20), true},        // 40.25
        RuleCase{"s3_slider_min_out", 3, -10, rgb(100, 60, 0, 16), false}, // 50
        RuleCase{"s3_slider_min_in", 3, -10, rgb(100, 61, 0, 16), true},   // 50.3125
        RuleCase{"s3_gate_120", 3, 10, rgb(60, 60, 0, 1), false},
        RuleCase{"s3_gate_460", 3, 0, rgb(230, 230, 0, 1), false},
        RuleCase{"s3_gate_459", 3, 0, rgb(230, 229, 0, 1), true},
        RuleCase{"s3_hue_zero_red", 3, -10, rgb(121, 0, 0, 0), true}, // h = 0.01
        // System 4: 120 < R+G+B < 690 and R + G + B < 330 + 10s.
        RuleCase{"s4_just_below", 4, 0, rgb(110, 110, 109), true}, // 329
        RuleCase{"s4_equal_is_not", 4, 0, rgb(110, 110, 110), false},
        RuleCase{"s4_slider_max_in", 4, 10, rgb(143, 143, 143), true}, // 429
        RuleCase{"s4_slider_max_out", 4, 10, rgb(143, 143, 144), false},
        RuleCase{"s4_gate_120", 4, 0, rgb(40, 40, 40), false},
        // Custom (reference 100, 50, 20): |dR| + |dG| + |dB| < 50 + 5s, no gate.
        RuleCase{"custom_equal_at_minus_9", 7, -9, rgb(100, 50, 20), true}, // 0 < 5
        RuleCase{"custom_just_below", 5, 0, rgb(130, 40, 29), true},        // 49
        RuleCase{"custom_equal_is_not", 5, 0, rgb(130, 40, 30), false},     // 50
        RuleCase{"custom_no_gate", 5, 1, rgb(70, 30, 20), true},            // 50 < 55, sum 120
        // "Leaf area only" finds no symptom.
        RuleCase{"leaf_only_never", 0, 10, rgb(150, 165, 101, 49, 63), false}),
    [](const ::testing::TestParamInfo<RuleCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace verdalis
