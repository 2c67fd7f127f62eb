// A range scan started from the settings window and stopped from a control
// surface stays stopped: the window's start box is cleared with it, so the
// next change in the window does not start the scan again.
#include <gtest/gtest.h>

#include "base/memory_options.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "panel/knob_state.h"
#include "settings/settings_fixture.h"

namespace {
// The scan range the window is filled with.
struct ScanRange {
    ScanRange() {
        g_fscanstart = 7.000;
        g_fscanstop = 7.100;
        g_vfoafreq = 14.074;
        g_scanfreq = 0;
    }
};
struct ScanWindow : ScanRange, SettingsWindow {
    ScanWindow() : SettingsWindow(23, 4) {}
    void startScan() {
        w().CheckOf(2444)->Click();
        ASSERT_DOUBLE_EQ(g_scanfreq, 7.0);
        ASSERT_TRUE(win.HasTimer(TIMER_SCAN));
    }
    // Any other change in the window: the dwell time typed anew.
    void changeSomethingElse() { type(editNamed("Dwell Time (seconds 1-99)"), "7"); }
    void expectStoppedForGood() {
        EXPECT_EQ(g_scanfreq, 0);
        EXPECT_FALSE(win.HasTimer(TIMER_SCAN));
        EXPECT_EQ(w().CheckOf(2444)->GetCheck(), 0);
        const int before = frame.changes;
        changeSomethingElse();
        EXPECT_GT(frame.changes, before);
        EXPECT_EQ(g_scanfreq, 0) << "the scan started again";
        EXPECT_FALSE(win.HasTimer(TIMER_SCAN));
        EXPECT_EQ(w().CheckOf(2444)->GetCheck(), 0);
    }
};
}  // namespace

TEST(ScanStop, AKeypadKeyStopsTheScanAndTheWindowDoesNotRestartIt) {
    ScanWindow s;
    s.startScan();
    const std::uint8_t record[3] = {'U', 'A', '\r'};  // a key with no function
    ProcessKeyEvents(record, 3, 0);
    s.expectStoppedForGood();
}

TEST(ScanStop, AKnobStepStopsTheScanAndTheWindowDoesNotRestartIt) {
    ScanWindow s;
    s.startScan();
    g_knobfunction = 6;  // volume: the step itself tunes nothing
    ApplyTuneStep(MakeStepRecord(1));
    s.expectStoppedForGood();
}

TEST(ScanStop, AStartTickedAgainAfterTheSurfaceStopStartsANewScan) {
    ScanWindow s;
    s.startScan();
    ApplyTuneStep(MakeStepRecord(0));
    ASSERT_EQ(g_scanfreq, 0);
    g_vfoafreq = 7.05;  // inside the range: the scan goes on from here
    s.w().CheckOf(2444)->Click();
    EXPECT_DOUBLE_EQ(g_scanfreq, 7.05);
    EXPECT_TRUE(s.win.HasTimer(TIMER_SCAN));
}
