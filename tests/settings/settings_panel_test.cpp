// What the settings window does beyond its own settings: the band sets of
// the SWL Band Assign page, the captions and tuner buttons of the live radio
// window, the AT-200PC's tune power, the CAT-out ports chosen in their lists
// and a manual antenna choice against the frequency the radio reports.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/reply_processing.h"
#include "civ/reply_store.h"
#include "devices/cat_out.h"
#include "devices/tuner.h"
#include "panel/radio_window.h"
#include "settings/assign_pages.h"
#include "settings/band_sets.h"
#include "settings/radio_window_first.h"
#include "settings/settings_fixture.h"
#include "sim/pty_pair.h"

namespace {
struct WithRadioWindow : RadioWindowFirst, SettingsWindow {
    explicit WithRadioWindow(int type = 23, int page = 21) : RadioWindowFirst(type), SettingsWindow(type, page) {}
};

std::string Shown(SettingsWindow& s, const char* caption) { return s.editNamed(caption).GetText(); }
}  // namespace

TEST(SettingsPanel, BandSetButtonsRefillThePageAndTheRadioWindow) {
    WithRadioWindow s(23, 12);
    const double mwLow = g_bandstack[30].low;
    const int changes = s.frame.changes;
    s.click(s.w().CheckOf(1552));  // "FT8 Values"
    EXPECT_EQ(g_swlbandset, 1);
    EXPECT_EQ(s.w().CheckOf(1553)->GetCheck(), 0);
    EXPECT_STREQ(g_caption[5], "20");
    EXPECT_DOUBLE_EQ(g_bandstack[25].low, 14.074);
    EXPECT_EQ(Shown(s, "Caption 6"), "20");
    EXPECT_EQ(Shown(s, "Lower Limit 6"), "14.074000");
    EXPECT_EQ(Shown(s, "Upper Limit 6"), "14.077000");
    EXPECT_EQ(Shown(s, "Column Name"), "FT8");
    EXPECT_STREQ(g_caption[11], "FT8");
    EXPECT_EQ(s.text(40132), "160");
    EXPECT_EQ(s.text(40137), "20");
    // The eleventh row belongs to no set.
    EXPECT_EQ(s.text(40142), "M W");
    EXPECT_DOUBLE_EQ(g_bandstack[30].low, mwLow);
    EXPECT_EQ(s.frame.changes, changes);  // a refill is no settings change
    // A caption typed on the page reaches the band button; the stored set
    // keeps its own.
    s.type(s.editNamed("Caption 3"), "FT8-40");
    EXPECT_EQ(s.text(40134), "FT8-40");
    s.click(s.w().CheckOf(1553));  // "SWL Values"
    EXPECT_EQ(g_swlbandset, 0);
    EXPECT_EQ(s.text(40134), "41");
    EXPECT_DOUBLE_EQ(g_bandstack[22].low, 7.31);
    s.click(s.w().CheckOf(1552));
    EXPECT_EQ(s.text(40134), "60");  // the FT8 set's third band
    EXPECT_EQ(Shown(s, "Caption 3"), "60");
}

TEST(SettingsPanel, EditedBandEdgesTakeEffectAndAnUntouchedPageChangesNothing) {
    WithRadioWindow s(23, 12);
    s.type(s.editNamed("Lower Limit 4"), "9.35");
    EXPECT_DOUBLE_EQ(g_bandstack[23].low, 9.35);
    EXPECT_EQ(BandStackRow(9.36), 23);
    // Captions that did not change stay as the fill showed them.
    ApplySettings();
    EXPECT_STREQ(g_caption[0], "60");
    EXPECT_EQ(s.text(40132), "60");
}

TEST(SettingsPanel, TheSavedSetGivesTheBandsTheirEdgesAtStartUp) {
    g_swlbandset = 1;
    std::snprintf(g_caption[5], sizeof g_caption[5], "%s", "20");
    WithRadioWindow s(23, 12);
    EXPECT_EQ(s.w().CheckOf(1552)->GetCheck(), 1);
    EXPECT_DOUBLE_EQ(g_bandstack[25].low, 14.074);
    EXPECT_EQ(Shown(s, "Lower Limit 6"), "14.074000");
    EXPECT_EQ(s.text(40137), "20");
    // The first apply finds the page as the fill left it.
    ApplySettings();
    EXPECT_DOUBLE_EQ(g_bandstack[25].low, 14.074);
    EXPECT_STREQ(g_caption[5], "20");
    EXPECT_EQ(g_swlbandset, 1);
    EXPECT_TRUE(s.frames().empty());
}

TEST(SettingsPanel, StepCwUserAndTunerButtonsFollowTheWindow) {
    g_internaltuner = 1;
    WithRadioWindow s(18, 13);  // a DIGI-SEL type: user buttons, the radio's tuner
    // The fill puts the CW memory tags on their buttons.
    EXPECT_EQ(s.text(589), "M1");
    s.type(s.edit(2403), "0");
    EXPECT_EQ(s.text(704), "1 kHz");
    s.type(s.edit(2397), "20001");
    EXPECT_EQ(s.text(701), "1 Hz");
    s.type(s.edit(2401), "1500");
    EXPECT_EQ(s.text(705), "1 kHz");
    s.type(s.edit(2398), "250");
    EXPECT_EQ(s.text(702), "250 Hz");
    s.w().PageList()->Choose(11);
    s.type(s.editNamed("CW Memory2 Tag"), "CQ TEST");
    EXPECT_EQ(s.text(590), "CQ TEST");
    s.w().PageList()->Choose(23);
    s.type(s.editNamed("User Button 1"), "Nb2");
    EXPECT_EQ(s.text(1516), "Nb2");
    // The LDG tuner's buttons replace the radio's own.
    EXPECT_TRUE(s.visible(564));
    EXPECT_FALSE(s.visible(567));
    s.w().PageList()->Choose(2);
    s.click(s.w().CheckOf(2441));
    EXPECT_EQ(g_internaltuner, 4);
    EXPECT_TRUE(s.visible(567));
    EXPECT_TRUE(s.visible(594));
    s.click(s.w().CheckOf(2441));
    EXPECT_EQ(g_internaltuner, 1);
    EXPECT_FALSE(s.visible(567));
    EXPECT_TRUE(s.visible(564));
}

TEST(SettingsPanel, TunerPowerSliderTakesItsValueAtOnce) {
    g_internaltuner = 4;
    SettingsWindow s(23, 2);
    CSlider& slider = s.sliderNamed("Tuner Power");
    ASSERT_TRUE(slider.IsWindowVisible());
    EXPECT_EQ(s.valueShown("Tuner Power"), "20");
    const int changes = s.frame.changes;
    s.slide(slider, 40);
    EXPECT_EQ(g_at200pctunerpower, 40);
    EXPECT_EQ(s.valueShown("Tuner Power"), "40");
    EXPECT_EQ(s.frame.changes, changes);  // no settings change
    EXPECT_TRUE(s.frames().empty());
    // Without the AT-200PC the slider is not on the page.
    s.click(s.w().CheckOf(2441));
    EXPECT_NE(g_internaltuner, 4);
    EXPECT_FALSE(slider.IsWindowVisible());
}

TEST(SettingsPanel, CatOutPortsTwoToFiveOpenWhenChosenAndCloseOnNone) {
    PtyPair pty;
    SettingsWindow s(23, 20);
    s.w().EnumerateComPorts({pty.slavePath()});
    plat::ComboBox* list = s.w().ComboOf(6401);  // "THP Comport 3"
    list->Choose(1);
    EXPECT_EQ(g_thpchosen[1], 1);
    EXPECT_EQ(std::string(g_thpxcomport[1]), pty.slavePath());
    EXPECT_TRUE(plat::SerialIsOpen(g_thpport[2]));
    list->Choose(0);  // "NONE"
    EXPECT_EQ(g_thpchosen[1], 0);
    EXPECT_STREQ(g_thpxcomport[1], "NONE");
    EXPECT_FALSE(plat::SerialIsOpen(g_thpport[2]));
}

TEST(SettingsPanel, AManualAntennaHoldsAgainstTheRadiosFrequency) {
    PtyPair pty;
    g_ldg1000 = 1;
    g_ldgcoaxport = plat::SerialOpen(pty.slavePath(), {});
    ASSERT_TRUE(plat::SerialIsOpen(g_ldgcoaxport));
    g_antlow[0] = 7.0, g_anthigh[0] = 7.3, g_antrange[0] = 5;
    g_antlow[1] = 14.0, g_anthigh[1] = 14.35, g_antrange[1] = 2;
    g_vfoafreq = 3.6;
    SettingsWindow s(23, 11);
    auto box = [&](int n) { return static_cast<plat::CheckBox*>(s.w().RowControl(settings::AntennaRow(n))); };
    auto reply = [](std::uint8_t mhz, std::uint8_t khz100) {
        // The IC-7300's transceive report: the frequency in BCD, least
        // significant first.
        const std::uint8_t f[] = {0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x00, khz100, mhz, 0x00, 0xFD};
        ClearReplyFlags();
        StoreCivReply(f, int(sizeof f), 0);
        ProcessCivReplies();
    };
    using B = std::vector<std::uint8_t>;
    s.click(box(3));  // antenna 3 by hand
    EXPECT_EQ(pty.read(2), (B{'R', 4}));
    reply(0x07, 0x10);  // 7.1 MHz from the radio
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
    EXPECT_TRUE(pty.read(1, 100).empty());  // the choice holds
    s.click(box(9));  // "Auto": the antenna follows again
    EXPECT_EQ(pty.read(2), (B{'R', 6}));
    reply(0x14, 0x20);
    EXPECT_EQ(pty.read(2), (B{'R', 3}));
    plat::SerialClose(g_ldgcoaxport);
}

TEST(SettingsPanel, RemotePodPagesShowEveryRowAndLongCaptionsFit) {
    g_internaltuner = 4;
    WithRadioWindow s(23, 17);
    plat::Font font;
    font.Create(16, plat::FW_NORMAL, "Arial");  // the settings font at scale 1.40
    s.w().SetFont(&font);
    s.frame.ShowWindow(plat::SW_SHOW);
    s.w().ShowWindow(plat::SW_SHOW);
    // The remote pod: one row on its Fkeys page, six and five on the others.
    const std::pair<int, std::vector<std::string>> pages[] = {
        {17, {"Function Key 11"}},
        {18, {"Function Key 4", "Function Key 5", "Function Key 6", "Function Key 7", "Function Key 8", "Function Key 9"}},
        {19, {"Period Key", "Function Key 10", "Function Key 1", "Function Key 2", "Function Key 3"}},
    };
    for (const auto& [page, captions] : pages) {
        s.w().PageList()->Choose(page);
        std::vector<std::string> shown;
        for (int n = 0; n < settings::kAssignRows; ++n)
            if (s.w().AssignList(n)->IsWindowVisible()) shown.push_back(s.w().AssignLabel(n));
        EXPECT_EQ(shown, captions) << page;
    }
    s.click(s.w().CheckOf(1552));  // the FT8 set on its page
    for (int page : {17, 12, 2, 6}) {
        s.w().PageList()->Choose(page);
        EXPECT_TRUE(plat::SaveWindowImage(&s.w(), std::string(QARV_BUILD_DIR) + "/settings_panel_page" +
                                                      std::to_string(page) + ".png"));
    }
    // A long caption keeps its field inside the column, beside it.
    s.w().ShowPage(17);
    plat::Window* field = s.byCaption("Tuning Knob Desense Step Threshold");
    const plat::Rect f = field->GetWindowRect();
    const plat::Rect factor = s.byCaption("Tuning Knob Desense Factor")->GetWindowRect();
    EXPECT_GT(f.left, factor.left);                   // the caption got more room
    EXPECT_LE(f.right, int((110 + 265 - 10) * 1.4f));  // and the field stays in its column
    EXPECT_GE(f.width(), int(50 * 1.4f) - 1);
}

TEST(SettingsPanel, TheExpertDriveShownIsTheBandsWhenDrivenByBand) {
    g_experton = 1;
    g_bandrow = 5;
    g_ampdrive[5] = 77;
    g_ampdrivefactor = 33;
    g_ampdrivebyband = 1;
    {
        SettingsWindow s;
        EXPECT_EQ(s.edit(2536).GetText(), "77");
    }
    g_ampdrivebyband = 0;
    SettingsWindow s;
    EXPECT_EQ(s.edit(2536).GetText(), "33");
}
