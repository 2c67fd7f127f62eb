// The radio window's buttons that hand their work on and the labels of the
// values the panel works out: clicks on the real controls, then what the
// main frame received and what the window shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"
#include "control_fixture.h"
#include "panel/controls/bistate_button.h"
#include "panel/radio_window.h"
#include "panel/radio_window_fixture.h"
#include "panel/swl_panel.h"
#include "platform/controls.h"

namespace {
struct Values : ShownRadioWindow {
    void Open(int model) { OpenTuned(model, 14.025, '0', 7.1, '1'); }
    std::string Text(int id) {
        plat::Window* w = window.Control(id);
        return w ? w->GetWindowText() : "<none>";
    }
    bool Shown(int id) {
        plat::Window* w = window.Control(id);
        return w && w->IsWindowVisible();
    }
    void Click(int id, plat::synth::Button b = plat::synth::Button::Left) {
        plat::Window* w = window.Control(id);
        ASSERT_NE(w, nullptr) << id;
        plat::synth::Click(w, b, {5, 5});
    }
};

void SetTransverter(int n, double lower, double ifreq, double upper, const char* button) {
    Transverter& tv = g_transverter[n];
    tv.lower = lower;
    tv.ifreq = ifreq;
    tv.upper = upper;
    std::snprintf(tv.button, sizeof tv.button, "%s", button);
}
}  // namespace

TEST_F(Values, CwMemoryButtonsPlayMemoriesOneToFive) {
    Open(0);
    for (int id = 589; id <= 593; ++id) Click(id);
    // The main frame gets the F1..F5 commands, nothing under the buttons' ids.
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{5020, 5021, 5022, 5023, 5024}));
}

TEST_F(Values, TransverterButtonsShowForTheTransvertersSetUpAndSelectTheirRows) {
    SetTransverter(1, 144, 28, 148, "2M");
    SetTransverter(3, 1296, 144, 1300, "23cmX");  // longer than the caption takes
    ApplyTransverterEdges();
    Open(0);
    EXPECT_FALSE(Shown(40145));
    EXPECT_TRUE(Shown(40146));
    EXPECT_EQ(Text(40146), "2M");
    EXPECT_FALSE(Shown(40147));
    EXPECT_TRUE(Shown(40148));
    EXPECT_EQ(Text(40148), "23cm");
    EXPECT_FALSE(Shown(40149));

    Click(40146);
    EXPECT_GE(panel.vfoAFreq, 144.0);
    EXPECT_LE(panel.vfoAFreq, 148.0);
    EXPECT_GE(frame.Count(IDC_RADIO_WINDOW), 1);
    auto* b = dynamic_cast<CBiStateButton*>(window.Control(40146));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetState(), 1);  // its band is lit
}

TEST_F(Values, TheBuiltIn70cmBandHasItsButton) {
    FixTransverterDefaults(20, 0);
    ApplyTransverterEdges();
    Open(20);
    EXPECT_TRUE(Shown(40145));
    EXPECT_EQ(Text(40145), "70");
    Click(40145);
    EXPECT_GE(panel.vfoAFreq, 430.0);
    EXPECT_LE(panel.vfoAFreq, 450.0);
}

TEST_F(Values, RitXitAndPbtNumbersFollowTheButtons) {
    Open(0);
    EXPECT_EQ(Text(9341), "  ");
    EXPECT_EQ(Text(9343), "+0");
    EXPECT_EQ(Text(9345), "0");
    EXPECT_EQ(Text(9347), "0");
    Click(164);  // RIT on
    EXPECT_EQ(panel.rit, 1);
    EXPECT_EQ(Text(9341), " +0");
    panel.ritOffset = 1500;
    panel.ShowRitXit();
    EXPECT_EQ(Text(9341), "+1.500");
    panel.xitOffset = -250;
    Click(165);  // XIT on
    EXPECT_EQ(Text(9343), "-250");
    Click(165);  // and off again
    EXPECT_EQ(Text(9343), "+0");
    // LO CUT down twice, HI CUT up once (right click), five positions each.
    Click(2418);
    Click(2418);
    Click(2490, plat::synth::Button::Right);
    EXPECT_EQ(Text(9345), "-10");
    EXPECT_EQ(Text(9347), "5");
    for (int id : {9340, 9341, 9342, 9343, 9344, 9345, 9346, 9347}) EXPECT_TRUE(Shown(id)) << id;
}

TEST_F(Values, CallSignAndBearingFollowTheSettings) {
    std::snprintf(g_callsign, sizeof g_callsign, "%s", "W1AW");
    g_callsize = 30;
    g_callcolor = plat::RGB(255, 0, 0);
    std::snprintf(g_rotortarget, sizeof g_rotortarget, "%s", "045");
    Open(0);
    EXPECT_EQ(Text(9349), "W1AW");
    EXPECT_EQ(Text(9350), "045");
    plat::Window* call = window.Control(9349);
    ASSERT_NE(call, nullptr);
    const plat::Rect r = call->GetClientRect();
    EXPECT_TRUE(AnyPixel(call, r, plat::RGB(255, 0, 0), 60));  // drawn in its colour
    // The settings change them; the clock tick brings them to the window.
    std::snprintf(g_callsign, sizeof g_callsign, "%s", "DL/W1AW");
    std::snprintf(g_rotortarget, sizeof g_rotortarget, "%s", "Z");
    panel.ShowClocks("LOC 12:00:00", "UTC 12:00:00");
    EXPECT_EQ(Text(9349), "DL/W1AW");
    EXPECT_EQ(Text(9350), "");
}
