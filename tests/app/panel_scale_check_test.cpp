#include <gtest/gtest.h>

#include "app/settings_checks.h"
#include "base/panel_options.h"
#include "base/settings_options.h"

TEST(PanelScaleCheck, AScaleOutsideHalfToFourIsNotTaken) {
    g_scalex = 0.001;
    g_scaley = 2.0;
    g_settingsscalex = 40;
    g_settingsscaley = 0.5;
    ApplyLoadChecks();
    EXPECT_DOUBLE_EQ(g_scalex, 1.4);
    EXPECT_DOUBLE_EQ(g_scaley, 2.0);
    EXPECT_DOUBLE_EQ(g_settingsscalex, 1.4);
    EXPECT_DOUBLE_EQ(g_settingsscaley, 0.5);
}
