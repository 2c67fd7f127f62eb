// The settings window in the whole program against the simulated IC-7300:
// opened from the main window, a change made in it reaches the radio at
// once and qarv.ini at close, and an apply with nothing changed sends
// nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "common/sim_station.h"
#include "panel/radio_window.h"
#include "platform/clock.h"
#include "platform/input_synth.h"
#include "settings/trans_ops.h"
#include "sim/sim_radio.h"

namespace {
struct Station : SimStation {
    explicit Station(const std::string& settings = "") : SimStation("BFO=700\n" + settings) {}
    // Frames that set something: the meter and mirror polls only read.
    int setterFrames() {
        int n = 0;
        for (const sim::Bytes& f : radio.frames())
            if (f.size() > 7) ++n;
        return n;
    }
    int pitchFrames() {
        int n = 0;
        for (const sim::Bytes& f : radio.frames())
            if (f.size() >= 6 && f[4] == 0x14 && f[5] == 0x09) ++n;
        return n;
    }
};
}  // namespace

TEST(SettingsWindowApp, OpensFromTheMainWindowAndAChangeReachesRadioAndFile) {
    Station s("SELECTION=14\n");
    s.initialise();
    ASSERT_NE(g_transops, nullptr);
    EXPECT_EQ(g_mainwin->ChildById(IDW_SETTINGS), g_transops);
    EXPECT_EQ(g_settingspage, 14);
    // Nothing changed: nothing leaves.
    s.radio.clearLog();
    g_mainwin->SendMessage(plat::WM_COMMAND, IDC_TRANSCEIVER_SETTINGS, 0);
    s.run(1000);
    EXPECT_EQ(s.setterFrames(), 0);
    // CW pitch 600 through its edit.
    plat::Edit* pitch = g_transops->EditOf(2369);
    ASSERT_TRUE(pitch->IsWindowVisible());
    pitch->TypeText("600");
    pitch->KillFocus();
    s.run(1000);
    EXPECT_EQ(s.pitchFrames(), 1);
    bool exact = false;
    for (const sim::Bytes& f : s.radio.frames())
        exact = exact || (f.size() == 9 && f[4] == 0x14 && f[5] == 0x09 && f[6] == 0x01 && f[7] == 0x28);
    EXPECT_TRUE(exact);
    // The toggle hides and shows the window.
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SETTINGS, 0);
    const bool visible = g_transops->IsWindowVisible();
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SETTINGS, 0);
    EXPECT_NE(g_transops->IsWindowVisible(), visible);
    // Three pages as pictures.
    for (int page : {14, 21, 17, 5}) {
        g_transops->ShowWindow(plat::SW_SHOW);
        g_transops->PageList()->Choose(page);
        EXPECT_TRUE(plat::SaveWindowImage(g_transops, std::string(QARV_BUILD_DIR) + "/settings_page" +
                                                          std::to_string(page) + ".png"));
    }
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(3000);
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("BFO=600"), std::string::npos);
    EXPECT_NE(ini.find("SELECTION=5"), std::string::npos);
}

TEST(SettingsWindowApp, TheFt8SetChosenInTheWindowIsKeptAtClose) {
    Station s("SELECTION=12\n");
    s.initialise();
    s.radio.clearLog();
    g_transops->ShowWindow(plat::SW_SHOW);
    plat::synth::Click(g_transops->CheckOf(1552), plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(g_radiowindow->Control(40137)->GetWindowText(), "20");
    g_radiowindow->ShowWindow(plat::SW_SHOW);
    EXPECT_TRUE(plat::SaveWindowImage(g_radiowindow, std::string(QARV_BUILD_DIR) + "/radio_window_ft8.png"));
    s.run(1000);
    EXPECT_EQ(s.setterFrames(), 0);  // a band set is no radio setting
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(3000);
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("FT8 BANDS=1"), std::string::npos);
    EXPECT_NE(ini.find("caption 5=20"), std::string::npos);
    EXPECT_NE(ini.find("caption 11=FT8"), std::string::npos);
}

TEST(SettingsWindowApp, AfterARestartTheFt8BandsHaveTheirEdges) {
    Station s("FT8 BANDS=1\ncaption 3=40\n");
    s.initialise();
    EXPECT_EQ(g_radiowindow->Control(40135)->GetWindowText(), "40");
    EXPECT_EQ(g_transops->CheckOf(1552)->GetCheck(), 1);
    // The band button's row holds the FT8 segment, so choosing it lands on
    // the dial frequency, its low edge.
    EXPECT_DOUBLE_EQ(g_bandstack[23].low, 7.074);
    EXPECT_EQ(PanelBandRow(7.075, kNoBandRow), 23);  // broadcast rows are searched first
    // A click on it tunes the radio there.
    plat::synth::Click(g_radiowindow->Control(40135), plat::synth::Button::Left, {4, 4});
    s.run(1000);
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 7.074);
    EXPECT_EQ(s.radio.frequency(0), 7074000);
}
