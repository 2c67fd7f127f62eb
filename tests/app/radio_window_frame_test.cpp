// The radio window in the whole program: created at start-up in its saved
// place, shown as saved, following the simulated radio, taking typed
// frequencies to it, and its place written at close.
#include <gtest/gtest.h>

#include <string>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "common/sim_station.h"
#include "common/test_dir.h"
#include "panel/controls/meter.h"
#include "panel/radio_window.h"
#include "platform/clock.h"
#include "platform/input_synth.h"
#include "platform/keys.h"

namespace {
std::string Digits(int first) {
    std::string s;
    for (int i = 0; i < kDigitBoxes; ++i) s += g_radiowindow->Control(first + i)->GetWindowText() + "|";
    return s;
}
}  // namespace

TEST(RadioWindowFrame, OpensInItsSavedPlaceAndSavesWhereItWasMoved) {
    TestDir dir;
    dir.write("qarv.ini", "[RADIO WINDOW]\nLOCATION=0120 0080\n");
    {
        StartedApp s;
        ASSERT_NE(g_radiowindow, nullptr);
        EXPECT_TRUE(g_radiowindow->IsWindowVisible());
        EXPECT_EQ(g_radiowindow->GetWindowText(), "Radio Window");
        EXPECT_EQ(g_radiowindow->GetNormalRect().left, 120);
        EXPECT_EQ(g_radiowindow->GetNormalRect().top, 80);
        // The saved VFO A is on the digits from the start.
        EXPECT_EQ(Digits(5155), "1|4.|0|2|5.|0|0|0|");
        const std::string log = dir.read("comms.txt");
        EXPECT_LT(log.find("Creating SWL"), log.find("Creating TxOps"));
        EXPECT_NE(log.find("ToolTip created"), std::string::npos);
        g_radiowindow->SetWindowPos(200, 150);
        g_mainwin->SendMessage(plat::WM_CLOSE);
        plat::manual_clock::Advance(600);
        EXPECT_TRUE(g_mainwin->Closed());
    }
    EXPECT_NE(dir.read("qarv.ini").find("LOCATION=0200 0150"), std::string::npos);
}

TEST(RadioWindowFrame, SavedHiddenStaysHiddenAndTheViewMenuShowsIt) {
    TestDir dir;
    dir.write("qarv.ini", "[RADIO WINDOW]\nVISIBLE=FALSE\n");
    StartedApp s;
    ASSERT_NE(g_radiowindow, nullptr);
    EXPECT_FALSE(g_radiowindow->IsWindowVisible());
    ShowRadioWindow(true);
    EXPECT_TRUE(g_radiowindow->IsWindowVisible());
    // The keys tune wherever the focus is: an arrow typed on the radio
    // window reaches the main frame's tuning.
    const double before = g_vfoafreq;
    plat::synth::Key(g_radiowindow, plat::VK_RIGHT);
    EXPECT_GT(g_vfoafreq, before);
    plat::synth::Key(g_radiowindow, plat::VK_LEFT);
    EXPECT_DOUBLE_EQ(g_vfoafreq, before);
}

TEST(RadioWindowFrame, FollowsTheRadioAndTunesItFromTheKeypad) {
    SimStation s("");
    s.initialise();
    // A turn of the radio's dial arrives as a transceive frame.
    s.radio.setFrequency(7123450, 0);
    s.radio.sendTransceiveFrequency();
    s.run(500);
    EXPECT_EQ(Digits(5155), "  |7.|1|2|3.|4|5|0|");
    // Typed on the digit boxes, a frequency reaches the radio.
    plat::Window* box = g_radiowindow->Control(5157);
    plat::synth::Type(box, "14.2\r");
    s.run(2000);
    EXPECT_EQ(s.radio.frequency(0), 14200000);
    EXPECT_EQ(Digits(5155), "1|4.|2|0|0.|0|0|0|");
    // The S meter the meter tick reads shows on the panel's meter.
    s.radio.setMeter(0x02, 120);
    s.run(3000);
    auto* meter = dynamic_cast<CMeter*>(g_radiowindow->Control(9200));
    ASSERT_NE(meter, nullptr);
    EXPECT_GT(meter->Value(4), 10);
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, dir + "/radio_running.png"));
}

namespace {
bool TunerOnShownForType(const char* type) {
    TestDir dir;
    dir.write("qarv.ini", std::string("[OPERATING STATUS]\nQARV=") + type + "\n");
    StartedApp s;
    if (g_radiowindow == nullptr || g_radiowindow->Control(564) == nullptr) {
        ADD_FAILURE() << "no radio window";
        return false;
    }
    return g_radiowindow->Control(564)->IsWindowVisible();
}
}  // namespace

// Types 1 and 12 have the internal tuner again after the layout; 11 never.
TEST(RadioWindowFrame, TheTunerButtonsShowOnType1) { EXPECT_TRUE(TunerOnShownForType("1")); }
TEST(RadioWindowFrame, TheTunerButtonsShowOnType12) { EXPECT_TRUE(TunerOnShownForType("12")); }
TEST(RadioWindowFrame, TheTunerButtonsStayHiddenOnType11) { EXPECT_FALSE(TunerOnShownForType("11")); }
