#include <gtest/gtest.h>

#include "settings/scales.h"

TEST(Scales, FontSizesStepWithTheScale) {
    EXPECT_EQ(FontSizesForScale(1.8).micro, 20);
    EXPECT_EQ(FontSizesForScale(1.8).small, 22);
    EXPECT_EQ(FontSizesForScale(1.79).micro, 18);
    EXPECT_EQ(FontSizesForScale(1.65).small, 20);
    EXPECT_EQ(FontSizesForScale(1.45).micro, 16);
    EXPECT_EQ(FontSizesForScale(1.4).micro, 14);
    EXPECT_EQ(FontSizesForScale(1.15).small, 16);
    EXPECT_EQ(FontSizesForScale(1.0).micro, 12);
    EXPECT_EQ(FontSizesForScale(1.0).small, 14);
}
