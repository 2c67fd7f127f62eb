// Device states shown on the settings window: the LDG tuner's SWR and tune
// result on its page, the CW weight, dit and space factors on the CW page.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "devices/cw_keyer.h"
#include "devices/device_options.h"
#include "devices/keyer.h"
#include "devices/tuner.h"
#include "panel/panel_options.h"
#include "platform/layout_check.h"
#include "settings/settings_fixture.h"

namespace {
struct TunerPage : SettingsWindow {
    TunerPage() : SettingsWindow(23, 2) {}
    std::string shown(int id) {
        plat::Window* label = w().RowControl(settings::RowOfId(id));
        EXPECT_TRUE(label && label->IsWindowVisible());
        return label ? label->GetWindowText() : "";
    }
    static void records(std::initializer_list<std::uint8_t> bytes) {
        std::uint8_t buf[90];
        int n = 0;
        for (std::uint8_t b : bytes) buf[n++] = b;
        EXPECT_EQ(ParseLdg(buf, n), 0);
    }
    // A tune the tuner ends with `record` (9 good, 10 bad).
    static void tune(std::uint8_t record) {
        OnTunerTune();
        g_tunerstate = 3;  // the sequence sent 06 and waits for the result
        records({0xA5, record, 0, 0});
        autotunerexit();
    }
};

bool FitsItsRow(SettingsWindow& s, int id) {
    plat::Window* label = s.w().RowControl(settings::RowOfId(id));
    return plat::TextFits(label, label->GetWindowText(), label->GetClientRect(), 0);
}
}  // namespace

TEST(TunerLabels, TheSettingsPageShowsTheSwrAndEveryTuneResult) {
    g_internaltuner = 4;
    g_vfoafreq = 14.2;
    TunerPage s;
    EXPECT_EQ(s.shown(kTunerSwrLabelId), "Tuner SWR: --");
    EXPECT_EQ(s.shown(kTunerResultLabelId), "Tuner: --");
    // A power record, then the tuner's report: SWR 3.00.
    TunerPage::records({0xA5, 6, 0, 64, 0xA5, 7, 0x12, 0x34});
    EXPECT_EQ(s.shown(kTunerSwrLabelId), "Tuner SWR: 3.00");

    TunerPage::tune(10);
    EXPECT_EQ(s.shown(kTunerResultLabelId), "Tuner: No Tune");
    EXPECT_EQ(s.shown(kTunerSwrLabelId), "Tuner SWR: High");

    TunerPage::tune(9);
    EXPECT_EQ(s.shown(kTunerResultLabelId), "Tuner: Tuned");
    TunerPage::records({0xA5, 6, 0, 0, 0xA5, 7, 0x12, 0x34});
    EXPECT_EQ(s.shown(kTunerSwrLabelId), "Tuner SWR: 1.00");
    EXPECT_TRUE(FitsItsRow(s, kTunerSwrLabelId));
    EXPECT_TRUE(FitsItsRow(s, kTunerResultLabelId));
}

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
