// The band buttons and the VFO controls of the radio window in the whole
// program against the simulated IC-7300: clicked as the operator clicks
// them, checked by the frames that leave for the radio and by qarv.ini.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/frequency_state.h"
#include "common/sim_station.h"
#include "common/test_dir.h"
#include "memories/small_dialogs.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/input_synth.h"

namespace {
using plat::synth::Button;

// A frame's command and data as hex ("25 00 00 50 19 14 00").
std::string Body(const sim::Bytes& f) {
    std::string s;
    for (std::size_t i = 4; i + 1 < f.size(); ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%s%02X", s.empty() ? "" : " ", f[i]);
        s += b;
    }
    return s;
}

struct Sent {
    std::vector<std::string> bodies;
    explicit Sent(const std::vector<sim::Bytes>& frames) {
        for (const sim::Bytes& f : frames) bodies.push_back(Body(f));
    }
    int Count(const std::string& body) const {
        int n = 0;
        for (const std::string& b : bodies) n += b == body;
        return n;
    }
    // Frames whose body starts with `prefix`.
    int Starting(const std::string& prefix) const {
        int n = 0;
        for (const std::string& b : bodies) n += b.rfind(prefix, 0) == 0;
        return n;
    }
    // Frames other than the meter tick's reads (S meter, selected-VFO
    // frequency, transmit state).
    std::vector<std::string> Settings() const {
        std::vector<std::string> out;
        for (const std::string& b : bodies)
            if (b != "15 02" && b != "25 00" && b != "1C 00") out.push_back(b);
        return out;
    }
    std::string All() const {
        std::string s;
        for (const std::string& b : bodies) s += b + "\n";
        return s;
    }
};

void Click(int id, Button b = Button::Left) {
    plat::Window* w = g_radiowindow->Control(id);
    ASSERT_NE(w, nullptr) << id;
    plat::synth::Click(w, b, {5, 5});
}

// The radio's dial put on 7.2 MHz LSB, as the program follows it.
void OnFortyMetres(SimStation& s) {
    s.radio.setFrequency(7200000, 0);
    s.radio.sendTransceiveFrequency();
    s.radio.setMode(0x00, 0x02, 0);
    s.radio.sendTransceiveMode();
    s.run(1500);
    ASSERT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 7.2);
    ASSERT_EQ(g_swlpanel->vfoAMode, '1');
}
}  // namespace

TEST(BandVfoFrames, BandButtonSendsTheWholeRowInOnePush) {
    SimStation s("[20 Meters SSB]\nPower=40\nLocut=100\nHicut=150\n");
    s.initialise();
    OnFortyMetres(s);
    s.radio.clearLog();
    Click(40126);  // "20" in the phone column
    s.run(1500);
    const Sent sent(s.radio.frames());
    EXPECT_EQ(sent.Count("25 00 00 50 19 14 00"), 1) << sent.All();
    EXPECT_EQ(sent.Count("06 01 02"), 1) << sent.All();
    // The power (40 %) leaves with the row, and again with every mode change.
    EXPECT_GE(sent.Count("14 0A 01 02"), 1) << sent.All();
    EXPECT_EQ(sent.Count("14 08 01 00"), 1) << sent.All();  // PBT positions
    EXPECT_EQ(sent.Count("14 07 01 50"), 1) << sent.All();
    // The row's filter width and the preamp and attenuator sent again.
    EXPECT_EQ(sent.Starting("1A 03"), 1) << sent.All();
    EXPECT_EQ(sent.Count("16 02 00"), 1) << sent.All();
    EXPECT_EQ(sent.Count("11 00"), 1) << sent.All();
    EXPECT_EQ(s.radio.frequency(0), 14195000);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    EXPECT_EQ(g_bandrow, 13);
    // 40 m kept what was left there.
    EXPECT_DOUBLE_EQ(g_bandstack[12].last, 7.2);
    EXPECT_EQ(g_bandstack[12].mode, '1');
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, std::string(QARV_BUILD_DIR) + "/radio_window/band_20m.png"));
    // Back to 40 m: the radio returns there.
    s.radio.clearLog();
    Click(40124);
    s.run(1500);
    EXPECT_EQ(s.radio.frequency(0), 7200000);
    EXPECT_EQ(s.radio.mode(0), 0x00);
}

TEST(BandVfoFrames, VfoAndFastButtonsTuneTheRadio) {
    SimStation s("");
    s.initialise();
    const double start = g_swlpanel->vfoAFreq;
    const int stepHz = int(g_swlpanel->step);
    s.radio.clearLog();
    Click(2406);  // VFO A down
    s.run(600);
    EXPECT_EQ(s.radio.frequency(0), (long long)(start * 1e6 + 0.5) - stepHz);
    Click(2406, Button::Right);  // up again
    s.run(600);
    EXPECT_EQ(s.radio.frequency(0), (long long)(start * 1e6 + 0.5));
    // FAST A: ten steps, on the grid of ten steps.
    Click(2410, Button::Right);
    s.run(600);
    const long long grid = 10LL * stepHz;
    const long long fast = s.radio.frequency(0);
    EXPECT_EQ(fast % grid, 0);
    EXPECT_GT(fast, (long long)(start * 1e6));
    EXPECT_LE(fast, (long long)(start * 1e6) + grid);
    // Every step left once.
    const Sent sent(s.radio.frames());
    EXPECT_EQ(sent.Starting("25 00 "), 3) << sent.All();
    // Held, the button repeats: first after 150 ms, then every 10 ms.
    const double before = g_swlpanel->vfoAFreq;
    plat::synth::Press(g_radiowindow->Control(2406), Button::Left, {5, 5});
    s.run(200);
    plat::synth::Release(g_radiowindow->Control(2406), Button::Left, {5, 5});
    const double held = (before - g_swlpanel->vfoAFreq) * 1e6 / stepHz;
    EXPECT_GE(held, 4.5);
    EXPECT_LE(held, 7.5);
    s.run(600);
    EXPECT_EQ(s.radio.frequency(0), (long long)(g_swlpanel->vfoAFreq * 1e6 + 0.5));
    // Locked, VFO A stays.
    Click(107);
    s.radio.clearLog();
    Click(2406);
    s.run(600);
    EXPECT_EQ(s.radio.frequency(0), (long long)(g_swlpanel->vfoAFreq * 1e6 + 0.5));
    EXPECT_TRUE(Sent(s.radio.frames()).Settings().empty());
}

TEST(BandVfoFrames, SplitNeedsOneBand) {
    SimStation s("");
    s.initialise();
    Click(225);  // A = B
    s.run(600);
    s.radio.clearLog();
    Click(122);  // SPLIT
    s.run(1500);
    EXPECT_EQ(Sent(s.radio.frames()).Count("0F 01"), 1) << Sent(s.radio.frames()).All();
    EXPECT_TRUE(s.radio.split());
    // VFO B 1 kHz up; held, XFC shows it on VFO A until it is let go.
    g_stepb = 1000;
    Click(2407, Button::Right);
    s.run(600);
    const double a = g_swlpanel->vfoAFreq, b = g_swlpanel->vfoBFreq;
    EXPECT_NEAR(b - a, 0.001, 1e-9);
    plat::synth::Press(g_radiowindow->Control(108), Button::Left, {5, 5});
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, b);
    plat::synth::Release(g_radiowindow->Control(108), Button::Left, {5, 5});
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, a);
    s.run(600);
    Click(122);
    s.run(1500);
    EXPECT_FALSE(s.radio.split());
    // VFO A on 40 m, VFO B still on 20 m: SPLIT is refused and nothing leaves.
    Click(40124);
    s.run(1500);
    s.radio.clearLog();
    Click(122);
    s.run(1500);
    EXPECT_EQ(g_swlpanel->split, 0);
    EXPECT_TRUE(Sent(s.radio.frames()).Settings().empty()) << Sent(s.radio.frames()).All();
}

TEST(BandVfoFrames, StepLabelOpensTheStepDialog) {
    SimStation s("");
    s.initialise();
    plat::dialog_script::Enable();
    std::string shown;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& t = static_cast<CTuneSel&>(d);
        shown = t.Control(IDC_CURRENT_STEP)->GetWindowText();
        dynamic_cast<plat::Button*>(t.Control(3218))->Click();  // "5 kHz"
    });
    Click(9105);
    EXPECT_EQ(shown, "Current Step = 1.0 kHz");
    EXPECT_DOUBLE_EQ(g_swlpanel->step, 5000);
    EXPECT_EQ(g_radiowindow->Control(9105)->GetWindowText(), "5.0 kHz");
}

TEST(BandVfoFrames, BandRowsAndTheScratchPadSurviveARestart) {
    std::string ini;
    {
        SimStation s("");
        s.initialise();
        OnFortyMetres(s);
        Click(124);  // "Sto SP" at 7.2 LSB
        Click(40126);
        s.run(1500);
        g_mainwin->SendMessage(plat::WM_CLOSE);
        s.run(1000);
        ASSERT_TRUE(g_mainwin->Closed());
        ini = s.dir.read("qarv.ini");
    }
    EXPECT_NE(ini.find("[40 Meters SSB]\nFrequency=07.200000\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[SCRATCH PAD]\nFrequency=07.200000\n"), std::string::npos);
    TestDir dir;
    dir.write("qarv.ini", ini);
    StartedApp app;
    EXPECT_DOUBLE_EQ(g_bandstack[12].last, 7.2);
    EXPECT_EQ(g_bandstack[12].mode, '1');
    EXPECT_DOUBLE_EQ(g_bandstack[31].last, 7.2);
    // The next start goes back to them.
    Click(123);  // "Rcl SP"
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 7.2);
    EXPECT_EQ(g_swlpanel->vfoAMode, '1');
    Click(40126);
    Click(40124);
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 7.2);
}
