#include <gtest/gtest.h>

#include "screens/DialogFade.h"

namespace {

TEST(DialogFadeTest, FadeInRisesTo246DimsAt37PercentAndFadeOutFalls) {
    DialogFade fade;
    fade.Begin();
    EXPECT_EQ(fade.Counter(), -30);
    EXPECT_EQ(fade.Alpha(), 0);
    std::vector<int> alphas, dims;
    while (fade.StepIn()) alphas.push_back(fade.Alpha()), dims.push_back(fade.DimAlpha());
    ASSERT_EQ(alphas.size(), 30u);
    EXPECT_EQ(alphas.front(), 0) << "the first tick still shows (0 / 30) x 255";
    EXPECT_EQ(alphas[15], 127);  // 15 / 30 x 255 = 127.5
    EXPECT_EQ(dims[15], 47);     // 127.5 x 0.37 = 47.2
    EXPECT_EQ(alphas.back(), 246) << "(29 / 30) x 255 truncated";
    for (size_t i = 1; i < alphas.size(); ++i) EXPECT_GT(alphas[i], alphas[i - 1]);
    // The tick that finds the counter at 0 changes nothing.
    EXPECT_FALSE(fade.StepIn());
    EXPECT_EQ(fade.Alpha(), 246);
    EXPECT_EQ(fade.DimAlpha(), 91);
    EXPECT_EQ(fade.Counter(), 0);

    fade.Begin();
    ASSERT_TRUE(fade.StepOut());
    EXPECT_EQ(fade.Alpha(), 255);
    EXPECT_EQ(fade.DimAlpha(), 94);
    int steps = 1;
    while (fade.StepOut()) ++steps;
    EXPECT_EQ(steps, 30);
    EXPECT_EQ(fade.Alpha(), 8);  // (1 - 29 / 30) x 255 = 8.5
}

}  // namespace
