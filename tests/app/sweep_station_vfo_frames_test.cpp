// The sweep's receiver settings, a station kept in a digital mode, A / B with
// a VFO B filter the model lacks and the close of a dual-receiver radio, in
// the whole program against the simulated radio: the frames it gets.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "common/sim_station.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "memories/sweep_panel.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/dialog.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"

namespace {
// Every frame's command and data as hex, one frame a line.
std::string Bodies(const std::vector<sim::Bytes>& frames) {
    std::string s;
    for (const sim::Bytes& f : frames) {
        for (std::size_t i = 4; i + 1 < f.size(); ++i) {
            char b[4];
            std::snprintf(b, sizeof b, i > 4 ? " %02X" : "%02X", f[i]);
            s += b;
        }
        s += "\n";
    }
    return s;
}

void Click(plat::Window* w) {
    ASSERT_NE(w, nullptr);
    plat::synth::Click(w, plat::synth::Button::Left, {4, 4});
    plat::DeliverPosted();
}
void Click(int id) { Click(g_radiowindow->Control(id)); }
}  // namespace

TEST(SweepStationVfoFrames, SweepRunsAtFullRfGainAndGivesTheOperatorsBack) {
    SimStation s("RF GAIN=40\n");
    s.initialise();
    s.radio.clearLog();
    g_sweeppanel->SendMessage(plat::WM_COMMAND, 3002, 0);  // "Sweep"
    s.run(300);
    ASSERT_EQ(g_sweeprunning, 1);
    EXPECT_EQ(s.radio.level(0x02), 255) << Bodies(s.radio.frames());
    g_sweeppanel->SendMessage(plat::WM_COMMAND, 3003, 0);  // "Stop"
    s.run(500);
    EXPECT_EQ(s.radio.level(0x02), 153);  // 40 % down from full
    EXPECT_EQ(Bodies(s.radio.frames()).find("14 02 00 00"), std::string::npos);
}

TEST(SweepStationVfoFrames, StationStoredInPskIsRecalledInPsk) {
    SimStation s("");
    s.initialise();
    Click(109);  // PSK
    s.run(500);
    ASSERT_EQ(g_swlpanel->vfoAMode, '9');
    plat::dialog_script::Enable();
    std::string shown;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& sheet = static_cast<CEditStationDialog&>(d);
        shown = sheet.mode.GetSelectedText();
        sheet.ok.Click();
    });
    Click(419);  // Store
    EXPECT_EQ(shown, "PSK");
    ASSERT_EQ(g_stationlist.size(), 1u);
    EXPECT_EQ(g_stationlist[0].mode, "PSK");
    Click(103);  // CW
    s.run(500);
    ASSERT_EQ(s.radio.mode(0), 0x03);
    g_stationwnd->list.SetCurSel(0);
    Click(&g_stationwnd->tune);
    s.run(1000);
    // PSK: USB on the wire for a radio without a PSK mode of its own.
    EXPECT_EQ(g_swlpanel->vfoAMode, '9');
    EXPECT_EQ(s.radio.mode(0), 0x01) << Bodies(s.radio.frames());
}

TEST(SweepStationVfoFrames, SwapWithAnUnsetVfoBFilterKeepsAValidFilter) {
    SimStation s("");  // "VFO-B RX FILTER" left at its default, 45
    s.initialise();
    const int filterA = g_swlpanel->filter;
    const std::string readout = g_radiowindow->Control(9103)->GetWindowText();
    ASSERT_FALSE(readout.empty());
    EXPECT_FALSE(g_radiowindow->Control(9104)->GetWindowText().empty());
    s.radio.clearLog();
    Click(229);  // A / B
    s.run(1000);
    EXPECT_EQ(g_swlpanel->filter, filterA);
    EXPECT_EQ(g_vfobrxfilter, filterA);
    EXPECT_EQ(g_radiowindow->Control(9103)->GetWindowText(), readout);
    EXPECT_EQ(Bodies(s.radio.frames()).find("1A 03 00\n"), std::string::npos) << Bodies(s.radio.frames());
}

TEST(SweepStationVfoFrames, ClosingWithDualWatchOnSwitchesItOffAndKeepsTheSubMuted) {
    TestDir dir;
    sim::SimRadio radio{0x6A, 19200};  // IC-7800
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=5\n");
    radio.start();
    {
        CApp app;
        ASSERT_TRUE(app.InitInstance());
        for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) simsteps::Run(500, {&radio});
        simsteps::Run(2000, {&radio});
        Click(439);  // DUAL
        simsteps::Run(1000, {&radio});
        ASSERT_EQ(g_dual, 1);
        radio.clearLog();
        g_mainwin->SendMessage(plat::WM_CLOSE);
        simsteps::Run(3000, {&radio});
        const std::string sent = Bodies(radio.frames());
        EXPECT_NE(sent.find("07 C0\n"), std::string::npos) << sent;
        // Both receivers muted (AF level 1), neither turned up again.
        EXPECT_EQ(sent.find("07 D1\n14 01 00 01\n"), sent.rfind("07 D1\n14 01")) << sent;
        app.ExitInstance();
    }
    radio.stop();
}
