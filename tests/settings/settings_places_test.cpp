// Options the apply reads that once had no control: each now stands on the
// page of its subject and is set through it; the speech processor's slider
// covers exactly the levels the radio takes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "settings/settings_fixture.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
struct Placed {
    int page;
    const char* caption;
    int* setting;
};
}  // namespace

TEST(SettingsPlaces, EachUnplacedOptionIsSetThroughItsBoxOnItsPage) {
    const Placed boxes[] = {
        {0, "Mute Speaker Only", &g_mutespeakeronly},
        {2, "AMPTune Disable Keying Loop", &g_amptunedisablekeyingloop},
        {3, "S Meter Display Only", &g_smeteronlydisplay},
        {10, "Auto Fan Mode", &g_pgxlautotemp},
    };
    for (const Placed& b : boxes) *b.setting = 0;
    SettingsWindow s(23, 0);
    for (const Placed& b : boxes) {
        SCOPED_TRACE(b.caption);
        s.w().PageList()->Choose(b.page);
        ASSERT_NE(s.rowOf(b.caption), -1);
        EXPECT_EQ(settings::PageRows()[s.rowOf(b.caption)].page, b.page);
        ASSERT_TRUE(s.shown(b.caption));
        s.click(s.byCaption(b.caption));
        EXPECT_EQ(*b.setting, 1);
        s.click(s.byCaption(b.caption));
        EXPECT_EQ(*b.setting, 0);
    }
    // None of them is a radio setting.
    EXPECT_TRUE(s.frames().empty());
}

TEST(SettingsPlaces, TheKeyerPortIsChosenOnTheCwPageAndOpenedWhileTheKeyerIsOn) {
    PtyPair pty;
    g_yaltkeyer = 0;
    std::snprintf(g_yaltcomport, sizeof g_yaltcomport, "%s", "0");
    SettingsWindow s(23, 14);
    s.w().EnumerateComPorts({"COM1", pty.slavePath()});
    s.w().SelectPort(6108, g_yaltcomport);
    ASSERT_TRUE(s.shown("Keyer Comport"));
    plat::ComboBox* list = s.w().ComboOf(6108);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItemText(0), "NONE");
    // With the keyer off the name is taken and nothing is opened.
    list->Choose(1);
    EXPECT_STREQ(g_yaltcomport, "COM1");
    EXPECT_FALSE(plat::SerialIsOpen(g_yaltport));
    list->Choose(2);
    EXPECT_EQ(std::string(g_yaltcomport), pty.slavePath());
    // Switching the keyer on opens the chosen port.
    s.w().CheckOf(2463)->Click();
    EXPECT_EQ(g_yaltkeyer, 1);
    EXPECT_TRUE(plat::SerialIsOpen(g_yaltport));
    // "NONE" with the keyer on lets the port go.
    list->Choose(0);
    EXPECT_STREQ(g_yaltcomport, "NONE");
    EXPECT_FALSE(plat::SerialIsOpen(g_yaltport));
    // Back to the pseudo-terminal: opened at once.
    list->Choose(2);
    EXPECT_TRUE(plat::SerialIsOpen(g_yaltport));
    plat::SerialClose(g_yaltport);
}

TEST(SettingsPlaces, TheSpeechSlidersWholeTravelGivesEachLevelOnce) {
    g_speechvalue = 0;
    g_speech = 1;
    SettingsWindow s(23, 15);
    CSlider& slider = s.sliderNamed("Speech Process");
    ASSERT_TRUE(slider.IsWindowVisible());
    EXPECT_EQ(slider.GetLow(), 0);
    EXPECT_EQ(slider.GetHigh(), 10);
    s.frames();
    // Every pixel row of the slider, top to bottom, clicked in turn.
    std::vector<int> runs;  // the level of each stretch of the travel
    std::vector<int> sent;  // the speech levels the radio was given
    const int h = slider.GetWindowRect().height();
    for (int y = 0; y < h; ++y) {
        plat::synth::Press(&slider, plat::synth::Button::Left, {slider.GetWindowRect().width() / 2, y});
        plat::synth::Release(&slider, plat::synth::Button::Left, {slider.GetWindowRect().width() / 2, y});
        if (runs.empty() || runs.back() != g_speechvalue) runs.push_back(g_speechvalue);
        for (const Bytes& b : s.bodies())
            if (b.size() == 4 && b[0] == 0x14 && b[1] == 0x0E) sent.push_back(sim::Bcd2ToInt(&b[2]));
    }
    // One stretch per level 0..10: no level comes back further down.
    ASSERT_EQ(runs.size(), 11u);
    const std::set<int> levels(runs.begin(), runs.end());
    EXPECT_EQ(levels.size(), 11u);
    EXPECT_EQ(*levels.begin(), 0);
    EXPECT_EQ(*levels.rbegin(), 10);
    // Each change reached the radio once, as level x 25; no two the same.
    std::vector<int> want;
    int before = 0;  // the level the window was filled with
    for (int level : runs) {
        if (level != before) want.push_back(level * 25);
        before = level;
    }
    EXPECT_EQ(sent, want);
}

TEST(SettingsPlaces, ATypedBearingIsTakenOnlyByARotorThatTurns) {
    PtyPair pty;
    g_client = 0;
    g_tavnrg = 0;
    g_m2rotor = 1;  // the text protocol: "ddd" CR
    std::snprintf(g_rotorcomport, sizeof g_rotorcomport, "%s", "NONE");
    std::snprintf(g_rotorbearing, sizeof g_rotorbearing, "%s", "045");
    SettingsWindow s(23, 6);
    plat::Edit& bearing = *s.w().EditOf(2525);
    ASSERT_TRUE(bearing.IsWindowVisible());
    // No rotor: the bearing is cleared, nothing kept, nothing to turn.
    std::snprintf(g_rotortarget, sizeof g_rotortarget, "%s", "090");
    s.type(bearing, "123");
    EXPECT_EQ(bearing.GetText(), "");
    EXPECT_STREQ(g_rotortarget, "");  // the panel's bearing label shows none
    EXPECT_EQ(s.w().rotorStart, 0);
    EXPECT_STREQ(g_rotorbearing, "045");
    EXPECT_TRUE(pty.read(1, 50).empty());
    // A serial rotor turns to exactly the bearing typed.
    std::snprintf(g_rotorcomport, sizeof g_rotorcomport, "%s", pty.slavePath().c_str());
    g_rotorport = OpenRotorPort(9600);
    ASSERT_TRUE(plat::SerialIsOpen(g_rotorport));
    s.type(bearing, "123");
    EXPECT_EQ(bearing.GetText(), "123");
    EXPECT_STREQ(g_rotorbearing, "123");
    const std::vector<std::uint8_t> sent = pty.read(4, 1000);
    EXPECT_EQ(std::string(sent.begin(), sent.end()), "123\r");
    // Outside the rotor's limits: refused, the previous bearing shows.
    s.type(bearing, "400");
    EXPECT_EQ(bearing.GetText(), "123");
    EXPECT_TRUE(pty.read(1, 50).empty());
    plat::SerialClose(g_rotorport);
}
