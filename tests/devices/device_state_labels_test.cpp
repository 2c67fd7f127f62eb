// Device states shown on the settings window: the CW weight, dit and space
// factors on the CW page. (The LDG tuner's SWR and result are the radio
// window's: tuner_panel_test.cpp.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "devices/cw_keyer.h"
#include "devices/keyer.h"
#include "devices/tuner.h"
#include "platform/layout_check.h"
#include "settings/settings_fixture.h"

namespace {
bool FitsItsRow(SettingsWindow& s, int id) {
    plat::Window* label = s.w().RowControl(settings::RowOfId(id));
    return plat::TextFits(label, label->GetWindowText(), label->GetClientRect(), 0);
}
}  // namespace

TEST(KeyerFactors, TheCwPageShowsTheFactorsTheSlidersGive) {
    g_yaltkeyer = 0;
    g_keyerweight = 100;
    g_keyerditweight = 100;
    g_keyerspcweight = 15;
    SettingsWindow s(23, 14);
    plat::Window* label = s.w().RowControl(settings::RowOfId(kKeyerFactorsLabelId));
    ASSERT_TRUE(label->IsWindowVisible());
    EXPECT_EQ(label->GetWindowText(), "Weight 1.00  Dit 1.00  Space 1.50");
    s.slide(s.sliderNamed("Dah Wgt"), 120 - 50);
    EXPECT_EQ(g_keyerweight, 120);
    EXPECT_EQ(label->GetWindowText(), "Weight 1.20  Dit 1.00  Space 1.50");
    s.slide(s.sliderNamed("Btw Chr"), 40 - 5);
    s.slide(s.sliderNamed("Dit Wgt"), 170 - 80);
    EXPECT_EQ(label->GetWindowText(), "Weight 1.20  Dit 1.70  Space 4.00");
    EXPECT_TRUE(FitsItsRow(s, kKeyerFactorsLabelId));
    // The element times follow the same factors.
    const CwTiming t = CwElementTimes(g_sendspeed, 120, 170, 40);
    EXPECT_EQ(g_dah, t.dah);
    EXPECT_EQ(g_dit, t.dit);
    EXPECT_EQ(g_bspc, t.bspc);
}
