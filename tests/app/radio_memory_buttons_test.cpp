// The radio window's memory buttons clicked in the whole program: Store
// keeps VFO A as a station, Recall brings the station window up, Scan
// starts and stops the memory scan.
#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "civ/frequency_options.h"
#include "civ/radio_init.h"
#include "common/test_dir.h"
#include "devices/tuner.h"
#include "memories/recall_panels.h"
#include "memories/station_recall.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "panel/radio_window.h"
#include "platform/dialog.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/message_box.h"

namespace {
void ClickButton(int id) {
    plat::Window* b = g_radiowindow->Control(id);
    ASSERT_NE(b, nullptr) << id;
    plat::synth::Click(b, plat::synth::Button::Left, {4, 4});
    plat::DeliverPosted();
}
}  // namespace

TEST(RadioMemoryButtons, StoreRecallAndScanActOnTheStationList) {
    TestDir dir;
    StartedApp s;
    ASSERT_NE(g_radiowindow, nullptr);
    // Scan with no stations tells the operator and starts nothing.
    plat::message_box_script::Clear();
    ClickButton(422);
    ASSERT_FALSE(plat::message_box_script::History().empty());
    EXPECT_EQ(plat::message_box_script::History().back().text, "No Memory File is Open");
    EXPECT_EQ(g_memscan, 0);

    plat::dialog_script::Enable();
    std::string freq;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& dlg = static_cast<CEditStationDialog&>(d);
        freq = dlg.frequency.GetText();
        dlg.name.TypeText("Net");
        dlg.ok.Click();
    });
    ClickButton(419);
    EXPECT_EQ(freq, "14.025000");
    ASSERT_EQ(g_stationlist.size(), 1u);
    EXPECT_EQ(g_stationlist[0].name, "Net");

    ASSERT_NE(g_stationwnd, nullptr);
    g_stationwnd->ShowWindow(plat::SW_HIDE);
    ClickButton(420);
    EXPECT_TRUE(g_stationwnd->IsWindowVisible());

    ClickButton(422);
    EXPECT_NE(g_memscan, 0);
    ClickButton(422);
    EXPECT_EQ(g_memscan, 0);
}

// The scratch-pad panel's buttons store and recall through the radio window
// and its fields show what each scratch pad holds.
TEST(RadioMemoryButtons, ScratchPadPanelShowsWhatItStores) {
    TestDir dir;
    StartedApp s;
    ASSERT_NE(g_spmemory, nullptr);
    ASSERT_NE(g_swlpanel, nullptr);
    g_swlpanel->vfoAFreq = 7.1;
    plat::synth::Click(&g_spmemory->buttons[4], plat::synth::Button::Left, {4, 4});  // "Sto 1"
    plat::DeliverPosted();
    EXPECT_EQ(g_spmemory->fields[1].GetWindowText(), "1:  7.100000");
    g_swlpanel->vfoAFreq = 14.2;
    plat::synth::Click(&g_spmemory->buttons[0], plat::synth::Button::Left, {4, 4});  // "Rcl 1"
    plat::DeliverPosted();
    EXPECT_NEAR(g_swlpanel->vfoAFreq, 7.1, 1e-9);
    EXPECT_EQ(g_spmemory->fields[0].GetWindowText(), "X: 14.200000");  // the undo row
}

// The LDG tuner's buttons on the radio window start their tuner actions;
// the antenna and impedance buttons show what is in use.
TEST(RadioTunerButtons, LdgButtonsQueueTheirActions) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nINTERNAL TUNER=4\nVFO-A FREQUENCY=14.2\n");
    StartedApp s;
    ASSERT_NE(g_radiowindow, nullptr);
    plat::Window* cap = g_radiowindow->Control(567);
    ASSERT_NE(cap, nullptr);
    ASSERT_TRUE(cap->IsWindowVisible());
    plat::synth::Click(cap, plat::synth::Button::Left, {4, 4});
    plat::DeliverPosted();
    EXPECT_EQ(g_tuneraction, 2);
    EXPECT_NE(g_tunerstate, 0);
    // The right click is the second capacitor step.
    g_tunerstate = 0;
    plat::synth::Click(cap, plat::synth::Button::Right, {4, 4});
    plat::DeliverPosted();
    EXPECT_EQ(g_tuneraction, 3);
    g_tunerstate = 0;
    ClickButton(6120);
    EXPECT_EQ(g_radiowindow->Control(6120)->GetWindowText(), "Ant2");
    g_tunerstate = 0;
    ClickButton(595);
    EXPECT_EQ(g_radiowindow->Control(595)->GetWindowText(), "HiZ");
}
