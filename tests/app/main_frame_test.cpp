// The main frame: start-up order, the timer loop's dispatch, the close
// sequence and the frame's commands, driven by the manual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/close_sequence.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/radio_port.h"
#include "common/test_dir.h"
#include "devices/wave_panel.h"
#include "memories/stations.h"
#include "memories/sweep_panel.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"

namespace {
// True when `lines` stand in the trace in this order; a missing or
// misplaced one fails the test.
bool InOrder(const std::string& log, const std::vector<std::string>& lines) {
    std::size_t at = 0;
    for (const std::string& l : lines) {
        std::size_t p = log.find(l, at);
        if (p == std::string::npos) {
            ADD_FAILURE() << "missing or out of order: " << l;
            return false;
        }
        at = p + l.size();
    }
    return true;
}
}  // namespace

TEST(MainFrame, StartupTracesEveryStepInOrder) {
    TestDir dir;
    {
        StartedApp s;
        const std::string log = dir.read("comms.txt");
        EXPECT_TRUE(InOrder(log, {"startup 2", "startup 3", "Creating SWL", "Creating TxOps", "Creating station panel",
                                  "Creating CW panel", "Creating SP panel", "major ", "Create progress 1\r\n",
                                  "Create progress 1.1\r\n", "Create progress 1.1.1", "Create progress 1.1.2",
                                  "Create progress 1.1.3", "Create progress 1.1.4", "Create progress 1.2", "scr 2",
                                  "Create progress 2", "Create progress 3\r\n", "Create progress 3.1",
                                  "Create progress 3.2", "Create progress 4", "Create progress 5", "OnCreate exit"}));
        // The device poll runs also without a radio port, the one-second tick
        // from the settings load on; the meter tick waits for radio initialisation.
        EXPECT_TRUE(g_mainwin->HasTimer(TIMER_DEVICE_POLL));
        EXPECT_TRUE(g_mainwin->HasTimer(TIMER_ONE_SECOND));
        EXPECT_FALSE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
        ASSERT_NE(g_mainwin->ControlBar(), nullptr);
        EXPECT_TRUE(g_mainwin->ControlBar()->IsWindowVisible());
        EXPECT_FALSE(plat::FindWindowByName(g_mainwin->ControlBar(), "Mirror")->IsWindowEnabled());  // no mirroring
        EXPECT_FALSE(g_mainwin->MonitorBar()->IsWindowVisible());
    }
}

TEST(MainFrame, ChildPlacementClampsAndKeepsTheSize) {
    const plat::Rect def{100, 100, 480, 340};
    EXPECT_EQ(PlaceChildWindow(def, "", 1870, 1000), def);
    EXPECT_EQ(PlaceChildWindow(def, "-500 0100", 1870, 1000), (plat::Rect{0, 100, 380, 340}));
    // Five-character values are read whole.
    EXPECT_EQ(PlaceChildWindow(def, "-0399 -0229", 1870, 1000), (plat::Rect{-399, -229, -19, 11}));
    EXPECT_EQ(PlaceChildWindow(def, "-1920 0050", 1870, 1000).left, 0);
    EXPECT_EQ(PlaceChildWindow(def, "1871 1001", 1870, 1000), (plat::Rect{0, 0, 380, 240}));
    EXPECT_EQ(PlaceChildWindow(def, "garbage", 1870, 1000), def);
}

TEST(MainFrame, InternalTunerRuleByRadioType) {
    bool buttons = false, traced = false;
    EXPECT_EQ(InternalTunerRule(23, 0, &buttons, &traced), 1);
    EXPECT_TRUE(buttons);
    EXPECT_FALSE(traced);
    EXPECT_EQ(InternalTunerRule(1, 1, &buttons, &traced), 0);  // in the first list, not the second
    EXPECT_TRUE(traced);
    EXPECT_EQ(InternalTunerRule(7, 1, &buttons, &traced), 0);
    EXPECT_TRUE(traced);
    EXPECT_EQ(InternalTunerRule(7, 4, &buttons, &traced), 4);  // the LDG tuner stays
    EXPECT_FALSE(traced);
}

TEST(MainFrame, StartupTakesAnyCaseOfNoneAsNoPort) {
    TestDir dir;
    dir.write("qarv.ini", "[INTERFACE]\nPW1 COMPORT=none\nOM4 COMPORT=Com0\n");
    StartedApp s;
    const std::string log = dir.read("comms.txt");
    EXPECT_EQ(log.find("PW1 open failed"), std::string::npos);
    EXPECT_EQ(log.find("OM4 open failed"), std::string::npos);
}

TEST(TimerLoop, DevicePollAndOneSecondRearmAtTheirPeriods) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nREAD TIMER=25\nQARV=23\n");
    StartedApp s;
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_DEVICE_POLL), 25u);
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_DEVICE_POLL), 25u);
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_ONE_SECOND), 1000u);
    // The title follows VFO A on the next second.
    g_vfoafreq = 7.074;
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(g_mainwin->GetWindowText(), " 7.074 IC-7300 V3.52  ");
    EXPECT_EQ(g_titlefreq, 7.074);
}

TEST(TimerLoop, ZeroPeriodsFromTheSettingsDoNotSpin) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nREAD TIMER=0\nMETER CYCLE=0\nFSCAN DWELL=0\n");
    StartedApp s;
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_DEVICE_POLL), 10u);
    EXPECT_EQ(TimerMs(0), 10u);
    EXPECT_EQ(TimerMs(-5), 10u);
    // "METER CYCLE" is raised to its floor of 50 ms on load.
    EXPECT_EQ(g_metercycle, 50);
    g_mainwin->SetTimer(TIMER_METER_CYCLE, 200);
    plat::manual_clock::Advance(200);
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_METER_CYCLE), 50u);
    // A range scan with a dwell of 0 steps every 10 ms, not in a loop.
    g_scanfreq = 7.000;
    g_fscanincr = 5;
    g_fscandirection = 1;
    g_fscanstart = 7.0;
    g_fscanstop = 7.3;
    g_mainwin->SetTimer(TIMER_SCAN, 10);
    plat::manual_clock::Advance(10);
    EXPECT_NEAR(g_scanfreq, 7.005, 1e-9);
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_SCAN), 10u);
}

TEST(TimerLoop, ScanWrapsToItsStartPastTheEnd) {
    EXPECT_NEAR(NextScanFrequency(7.299, 5, 1, 7.0, 7.3), 7.0, 1e-9);
    EXPECT_NEAR(NextScanFrequency(7.100, 5, 0, 7.3, 7.0), 7.095, 1e-9);
    EXPECT_NEAR(NextScanFrequency(7.001, 5, 0, 7.3, 7.0), 7.3, 1e-9);
}

TEST(TimerLoop, UnknownIdsAndTheLogoffTimerChangeNothing) {
    TestDir dir;
    StartedApp s;
    g_mainwin->SetTimer(TIMER_REMOTE_LOGOFF, 30000);
    plat::manual_clock::Advance(30000);
    // Nothing kills it: it keeps expiring every 30 s.
    EXPECT_TRUE(g_mainwin->HasTimer(TIMER_REMOTE_LOGOFF));
    EXPECT_NE(dir.read("comms.txt").find("OnTimer called 6310"), std::string::npos);
}

TEST(TimerLoop, TransverterHoldLetsOnlyTheMeterTickRun) {
    TestDir dir;
    StartedApp s;
    g_transverterhold = 1;
    g_vfoafreq = 3.5;
    plat::manual_clock::Advance(1000);
    // The one-second work waits (no new title); the device poll goes on.
    EXPECT_EQ(g_titlefreq, 0.0);
    EXPECT_TRUE(g_mainwin->HasTimer(TIMER_DEVICE_POLL));
    g_transverterhold = 0;
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(g_titlefreq, 3.5);
}

TEST(CloseSequence, RunsInOrderSavesAndEnds) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\n");
    StartedApp s;
    g_mainwin->SetTimer(TIMER_METER_CYCLE, 200);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    EXPECT_FALSE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
    EXPECT_TRUE(g_mainwin->Closing());
    plat::manual_clock::Advance(10);
    EXPECT_TRUE(g_mainwin->HasTimer(TIMER_EXIT));
    EXPECT_EQ(plat::TimerPeriod(g_mainwin, TIMER_EXIT), 500u);
    EXPECT_FALSE(g_mainwin->Closed());
    plat::manual_clock::Advance(500);
    EXPECT_TRUE(g_mainwin->Closed());
    EXPECT_TRUE(plat::message_box_script::History().empty());
    const std::string log = dir.read("comms.txt");
    EXPECT_TRUE(InOrder(log, {"close1", "close1 set timer", "close2", "calling saveoper", "back from saveoper",
                              "Close 1", "Log File End"}));
    EXPECT_NE(dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
}

TEST(CloseSequence, CancelKeepsTheProgramAndItsMeterTickRunning) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=2\n");
    StartedApp s;
    g_mainwin->SetTimer(TIMER_METER_CYCLE, 200);
    plat::message_box_script::PushAnswer(plat::IDCANCEL);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].text, " Mute Receiver Audio on Exit ?");
    EXPECT_EQ(plat::message_box_script::History()[0].caption, "Exit");
    EXPECT_FALSE(g_mainwin->Closing());
    EXPECT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
    plat::manual_clock::Advance(2000);
    EXPECT_FALSE(g_mainwin->Closed());
}

TEST(CloseSequence, ASignalAsksNobodyAndKeepsAModifiedList) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=2\n");
    StartedApp s;
    g_memmodified = 1;
    g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
    EXPECT_TRUE(plat::message_box_script::History().empty());
    EXPECT_TRUE(g_mainwin->Closing());
    plat::manual_clock::Advance(600);
    EXPECT_TRUE(g_mainwin->Closed());
}

TEST(CloseSequence, DecisionsAndDelays) {
    auto yes = [] { return plat::IDYES; };
    EXPECT_EQ(MuteDecision(0, false, plat::IDNO, +yes), 1);
    EXPECT_EQ(MuteDecision(1, false, plat::IDNO, +yes), 0);
    EXPECT_EQ(MuteDecision(2, false, plat::IDNO, +yes), 1);
    EXPECT_EQ(MuteDecision(2, true, plat::IDNO, +yes), 0);  // a server asks nothing
    EXPECT_EQ(MuteDecision(2, true, plat::IDYES, +yes), 1);
    EXPECT_EQ(RestoreSlotCount(5), 10);
    EXPECT_EQ(RestoreSlotCount(16), 5);
    EXPECT_EQ(RestoreSlotCount(23), 2);
    EXPECT_EQ(RestoreSlotMode(4), '4');
    EXPECT_EQ(RestoreSlotMode(5), '0');
    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(RestoreSlotUsesAmTable(slot), slot == 4 || slot == 9) << slot;
    EXPECT_EQ(ExitDelayMs(true, true), 2000u);
    EXPECT_EQ(ExitDelayMs(false, true), 1200u);
    EXPECT_EQ(ExitDelayMs(false, false), 500u);
}

TEST(Commands, QuitPostsTheCloseAndControlBarToggleIsSaved) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\n");
    StartedApp s;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_CONTROL_BAR);
    EXPECT_FALSE(g_mainwin->ControlBar()->IsWindowVisible());
    EXPECT_EQ(g_controlbar, 0);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_CIV_MONITOR);
    EXPECT_TRUE(g_mainwin->MonitorBar()->IsWindowVisible());
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_QUIT);
    plat::manual_clock::Advance(600);
    EXPECT_TRUE(g_mainwin->Closed());
    EXPECT_NE(dir.read("qarv.ini").find("CONTROLBAR=0"), std::string::npos);
    EXPECT_NE(dir.read("comms.txt").find("Close 2"), std::string::npos);
}

TEST(Commands, HotKeysBoxAndVolumeLimits) {
    TestDir dir;
    StartedApp s;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HOT_KEYS);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].caption, "Hot Keys");
    g_volume = 254;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VOLUME_UP_KEY);
    EXPECT_EQ(g_volume, 255);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VOLUME_UP);
    EXPECT_EQ(g_volume, 255);
    g_volume = 2;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VOLUME_DOWN_KEY);
    EXPECT_EQ(g_volume, 0);
}

TEST(Commands, HomeAlternatesFocusAndEnter) {
    TestDir dir;
    StartedApp s;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HOME_KEY);
    EXPECT_EQ(plat::PostedCount(), 0u);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HOME_KEY);
    EXPECT_EQ(plat::PostedCount(), 1u);  // Enter to the focused window
    plat::DeliverPosted();
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HOME_KEY);
    EXPECT_EQ(plat::PostedCount(), 0u);
}

TEST(Commands, MonitorClearEmptiesBothLists) {
    TestDir dir;
    StartedApp s;
    plat::Window* bar = g_mainwin->MonitorBar();
    ASSERT_NE(bar, nullptr);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_CIV_MONITOR);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_MONITOR_CLEAR);
    EXPECT_TRUE(bar->IsWindowVisible());
}

namespace {
// Quits as File > Quit does and returns `section` of the saved qarv.ini.
std::string SectionSavedAtQuit(TestDir& dir, const std::string& section) {
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_QUIT);
    plat::manual_clock::Advance(600);
    EXPECT_TRUE(g_mainwin->Closed());
    const std::string ini = dir.read("qarv.ini");
    const std::size_t at = ini.find("[" + section + "]");
    if (at == std::string::npos) return {};
    return ini.substr(at, ini.find('[', at + 1) - at);
}
}  // namespace

TEST(Commands, TheSweepPanelsPlaceAndVisibilityAreSavedAtClose) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\nQARV=23\n[SWEEP WINDOW]\nVISIBLE=FALSE\n");
    StartedApp s;
    ASSERT_NE(g_sweeppanel, nullptr);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SPECTRUM);
    ASSERT_TRUE(g_sweeppanel->IsWindowVisible());
    g_sweeppanel->SetWindowPos(123, 234);
    const std::string section = SectionSavedAtQuit(dir, "SWEEP WINDOW");
    EXPECT_NE(section.find("VISIBLE=TRUE"), std::string::npos) << section;
    EXPECT_NE(section.find("LOCATION=0123 0234"), std::string::npos) << section;
}

TEST(Commands, TheWaveNodePanelOpensAtItsSavedPlaceAndKeepsWhereItWasMoved) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nMUTE ALWAYS=1\nWAVENODE=1\nWAVE VISIBLE=1\n[WAVE WINDOW]\nLOCATION=1300 0100\n");
    // A screen with room beside the radio window: the saved place covers nothing.
    plat::app::SetHeadlessDesktop({0, 0, 1920, 1080});
    StartedApp s;
    plat::app::SetHeadlessDesktop({});
    ASSERT_NE(g_wavepanel, nullptr);
    EXPECT_EQ(g_wavepanel->GetWindowRect().left, 1300);
    EXPECT_EQ(g_wavepanel->GetWindowRect().top, 100);
    g_wavepanel->SetWindowPos(150, 160);
    const std::string section = SectionSavedAtQuit(dir, "WAVE WINDOW");
    EXPECT_NE(section.find("LOCATION=0150 0160"), std::string::npos) << section;
}
