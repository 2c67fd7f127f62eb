// The radio window's function buttons in the whole program against the
// simulated IC-7300: each click reaches the radio as the one frame the state
// push sends for it, and no sequence of the transmit buttons leaves the
// transmitter keyed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "common/sim_station.h"
#include "devices/function_table.h"
#include "panel/function_buttons.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/input_synth.h"

namespace {
using plat::synth::Button;

std::string Hex(const sim::Bytes& frame) {
    // The command and data only: FE FE 94 E0 ... FD.
    std::string s;
    for (std::size_t i = 4; i + 1 < frame.size(); ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%s%02X", s.empty() ? "" : " ", frame[i]);
        s += b;
    }
    return s;
}

// The frames that set a function (switches 16, attenuator 11, antenna 12,
// IP+ 1A 07, transmit 1C); the polls and levels of the meter tick are not
// what a click sends.
bool IsSetting(const sim::Bytes& f) {
    // A read has no data after the command (and sub-command).
    if (f.size() < 7) return false;
    const std::uint8_t cmd = f[4];
    if (cmd == 0x11 || cmd == 0x12) return f.size() >= 7;
    if (cmd == 0x16 || cmd == 0x1C) return f.size() >= 8;
    return cmd == 0x1A && f[5] == 0x07 && f.size() >= 8;
}

struct Station : SimStation {
    Station() : SimStation("") {
        initialise();
        radio.clearLog();
    }
    void click(int id, Button b = Button::Left) {
        plat::Window* w = g_radiowindow ? g_radiowindow->Control(id) : nullptr;
        ASSERT_NE(w, nullptr) << id;
        plat::synth::Click(w, b, {5, 5});
        run(500);
    }
    // The setting frames since the last call.
    std::vector<std::string> settings() {
        std::vector<std::string> out;
        for (const sim::Bytes& f : radio.takeFrames())
            if (IsSetting(f)) out.push_back(Hex(f));
        return out;
    }
    std::vector<std::string> all() {
        std::vector<std::string> out;
        for (const sim::Bytes& f : radio.takeFrames()) out.push_back(Hex(f));
        return out;
    }
};

using V = std::vector<std::string>;

int Count(const V& v, const std::string& s) {
    int n = 0;
    for (const std::string& x : v) n += x == s;
    return n;
}
}  // namespace

TEST(FunctionButtonsFrames, AttenuatorAndPreampCycles) {
    Station s;
    ASSERT_EQ(g_radiotype, 23);
    s.click(IDC_ATTN);
    EXPECT_EQ(s.settings(), (V{"11 20"}));
    EXPECT_EQ(s.radio.attenuator(), 20);
    s.click(IDC_ATTN);
    EXPECT_EQ(s.settings(), (V{"11 00"}));
    // The IC-7300 has two preamp levels, then off.
    s.click(IDC_PREAMP);
    EXPECT_EQ(s.settings(), (V{"16 02 01"}));
    s.click(IDC_PREAMP);
    EXPECT_EQ(s.settings(), (V{"16 02 02"}));
    s.click(IDC_PREAMP);
    EXPECT_EQ(s.settings(), (V{"16 02 00"}));
    EXPECT_EQ(s.radio.switchState(0x02), 0);
    // With the preamp on, the attenuator switches it off in the same push.
    s.click(IDC_PREAMP);
    s.settings();
    s.click(IDC_ATTN);
    const V both = s.settings();
    EXPECT_EQ(Count(both, "16 02 00"), 1);
    EXPECT_EQ(Count(both, "11 20"), 1);
    EXPECT_EQ(both.size(), 2u);
}

TEST(FunctionButtonsFrames, EachSwitchIsOneFrameOnce) {
    Station s;
    const struct {
        int id;
        const char* on;
        const char* off;
    } rows[] = {
        {IDC_NB, "16 22 01", "16 22 00"},        {IDC_NR, "16 40 01", "16 40 00"},
        {IDC_ANOTCH, "16 41 01", "16 41 00"},    {IDC_MNOTCH, "16 48 01", "16 48 00"},
        {IDC_VOX, "16 46 01", "16 46 00"},       {IDC_MONITOR, "16 45 01", "16 45 00"},
        {IDC_IPPLUS, "1A 07 01", "1A 07 00"},
    };
    for (const auto& r : rows) {
        s.click(r.id);
        EXPECT_EQ(s.settings(), (V{r.on})) << r.id;
        s.click(r.id);
        EXPECT_EQ(s.settings(), (V{r.off})) << r.id;
    }
    EXPECT_EQ(s.radio.switchState(0x46), 0);
    // Break-in: semi, full, off; a stored value outside 0..2 counts as off.
    ASSERT_EQ(g_swlpanel->fn.breakIn, 20);
    s.click(IDC_BREAKIN);
    EXPECT_EQ(s.settings(), (V{"16 47 01"}));
    s.click(IDC_BREAKIN);
    EXPECT_EQ(s.settings(), (V{"16 47 02"}));
    s.click(IDC_BREAKIN);
    EXPECT_EQ(s.settings(), (V{"16 47 00"}));
    // A button the radio has no command for sends nothing.
    g_swlpanel->OnCommand(IDC_APF);
    s.run(500);
    EXPECT_TRUE(s.settings().empty());
}

TEST(FunctionButtonsFrames, PttAndTuneNeverLeaveTheTransmitterKeyed) {
    Station s;
    s.click(IDC_PTT);
    EXPECT_EQ(s.radio.transmitting(), 1);
    EXPECT_EQ(Count(s.settings(), "1C 00 01"), 1);
    s.click(IDC_PTT);
    EXPECT_EQ(s.radio.transmitting(), 0);
    EXPECT_EQ(Count(s.settings(), "1C 00 00"), 1);

    // Tune keys in CW and gives the mode back.
    const std::uint8_t mode = s.radio.mode(0);
    s.click(IDC_TUNE);
    EXPECT_EQ(s.radio.transmitting(), 1);
    EXPECT_EQ(g_tunemodeon, 1);
    s.click(IDC_TUNE);
    EXPECT_EQ(s.radio.transmitting(), 0);
    EXPECT_EQ(g_tunemodeon, 0);
    EXPECT_EQ(s.radio.mode(0), mode);

    // Both, released in either order.
    const int orders[][4] = {{IDC_PTT, IDC_TUNE, IDC_TUNE, IDC_PTT},
                             {IDC_PTT, IDC_TUNE, IDC_PTT, IDC_TUNE},
                             {IDC_TUNE, IDC_PTT, IDC_TUNE, IDC_PTT},
                             {IDC_TUNE, IDC_PTT, IDC_PTT, IDC_TUNE}};
    for (const auto& order : orders) {
        for (int id : order) s.click(id);
        s.run(500);
        EXPECT_EQ(s.radio.transmitting(), 0) << order[0] << " " << order[1] << " " << order[2] << " " << order[3];
        EXPECT_EQ(g_swlpanel->fn.pttRequest, 0);
        EXPECT_EQ(g_swlpanel->fn.tuneRequest, 0);
        EXPECT_EQ(g_tunemodeon, 0);
    }
    EXPECT_EQ(s.radio.mode(0), mode);
}

TEST(FunctionButtonsFrames, AmplifierTuneTwiceGivesTheRadioItsStateBack) {
    Station s;
    const long long before = s.radio.frequency(0);
    const int row = g_bandrow;
    ASSERT_GE(row, 0);
    g_bandstack[row].alcsetting = 20;
    const int knob = g_knobfunction;
    const double step = g_swlpanel->step;
    s.click(IDC_AMTN);
    EXPECT_EQ(g_amtnactive, 1);
    EXPECT_EQ(s.radio.frequency(0), before + 5000);
    EXPECT_EQ(s.radio.level(0x0A), 20 * 255 / 100);
    s.all();
    // Tuning at 30 percent: kept as the band's amplifier-tune power.
    g_power = 30;
    s.click(IDC_AMTN);
    EXPECT_EQ(g_amtnactive, 0);
    EXPECT_EQ(g_bandstack[row].alcsetting, 30);
    EXPECT_EQ(g_knobfunction, knob);
    EXPECT_EQ(g_swlpanel->step, step);
    // Never keyed on the way.
    EXPECT_EQ(s.radio.transmitting(), 0);
}

TEST(FunctionButtonsFrames, ReinitializeRunsOnTheNextPush) {
    Station s;
    s.click(IDC_REINIT);
    EXPECT_EQ(g_reinitrequest, 0);
    s.run(3000);
    // The initialisation sends the radio the program's state again.
    EXPECT_GT(s.all().size(), 10u);
}

namespace {
// The program closed with a transmit button latched on.
void CloseKeyed(int id) {
    Station s;
    s.click(id);
    ASSERT_EQ(s.radio.transmitting(), 1) << id;
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(1500);
    EXPECT_TRUE(g_mainwin->Closed());
    EXPECT_EQ(s.radio.transmitting(), 0) << id;
}
}  // namespace

TEST(FunctionButtonsFrames, ClosingWithPttLatchedUnkeysTheRadio) { CloseKeyed(IDC_PTT); }
TEST(FunctionButtonsFrames, ClosingWithTuneLatchedUnkeysTheRadio) { CloseKeyed(IDC_TUNE); }

// '+' and '-' typed on the radio window turn the speaker volume, as the Hot
// Keys box says; typed on the main frame they tune. "Mute" silences the
// radio and gives it its volume back.
TEST(FunctionButtonsFrames, VolumeKeysOnTheRadioWindowAndTheMuteButton) {
    Station s;
    const long long hz = s.radio.frequency();
    const int volume = g_volume + 3;
    plat::synth::Type(g_radiowindow, "++-");
    s.run(1000);
    EXPECT_EQ(s.radio.level(0x01), AfGainLevel(volume));
    EXPECT_EQ(s.radio.frequency(), hz);
    s.click(IDC_MUTE);
    EXPECT_EQ(s.radio.level(0x01), AfGainLevel(0));
    EXPECT_EQ(g_radiowindow->Control(IDC_STATUS_LABEL)->GetWindowText(), "Mute");
    s.click(IDC_MUTE);
    EXPECT_EQ(s.radio.level(0x01), AfGainLevel(volume));
    plat::synth::Type(g_mainwin, "-");
    s.run(1000);
    EXPECT_LT(s.radio.frequency(), hz);
    EXPECT_EQ(s.radio.level(0x01), AfGainLevel(volume));
}
