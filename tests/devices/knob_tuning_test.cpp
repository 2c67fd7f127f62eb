// Knob tuning: counts, acceleration, desense and the knob functions.
#include <gtest/gtest.h>

#include <cmath>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/engine_options.h"
#include "panel/filter_table.h"
#include "surface_fixture.h"

namespace {
struct KnobTuning : SurfaceFixture {
    KnobTuning() {
        g_vfoafreq = panel.vfoAFreq = 14.2;
        g_step = 1000;
        g_podthreshold = 500;
        g_poddesense = 1;
        g_highspeedsensitivity = 10;
        g_highspeedtuningfactor = 1;
    }
    static long long Hz(double mhz) { return std::llround(mhz * 1e6); }
    void turn(int count) { ApplyTuneStep(MakeStepRecord(count)); }
};
}  // namespace

TEST_F(KnobTuning, StepRecordsCarryTheWholeSixteenBitCount) {
    EXPECT_EQ(StepRecordCount(MakeStepRecord(256)), 256);
    EXPECT_EQ(StepRecordCount(MakeStepRecord(300)), 300);
    EXPECT_EQ(StepRecordCount(MakeStepRecord(-300)), -300);
    EXPECT_EQ(StepRecordCount(MakeStepRecord(100000)), 32767);
    EXPECT_EQ(StepRecordCount(MakeStepRecord(-100000)), -32767);
    EXPECT_EQ(ClampCount(32767LL * 10), 32767);
}

TEST_F(KnobTuning, DesenseMovesOnceEveryFewCounts) {
    g_poddesense = 3;
    const long long start = Hz(g_vfoafreq);
    turn(1);
    turn(1);
    EXPECT_EQ(Hz(g_vfoafreq), start);
    turn(1);
    EXPECT_EQ(Hz(g_vfoafreq), start + 1000);
    // A desense of 0 is taken as 1.
    g_poddesense = 0;
    turn(2);
    EXPECT_EQ(Hz(g_vfoafreq), start + 3000);
    // Below the threshold every count is a step.
    g_step = 100;
    g_poddesense = 3;
    turn(-4);
    EXPECT_EQ(Hz(g_vfoafreq), start + 2600);
}

TEST_F(KnobTuning, LockedVfoDoesNotMove) {
    g_tunea = 0;
    const long long start = Hz(g_vfoafreq);
    turn(5);
    EXPECT_EQ(Hz(g_vfoafreq), start);
    g_tunea = 1;
}

TEST_F(KnobTuning, FastTurnsUseTheHighSpeedFactorUntilTheKnobRests) {
    g_highspeedtuningfactor = 5;
    const long long start = Hz(g_vfoafreq);
    AccumulateTuneStep(4);
    EXPECT_EQ(Hz(g_vfoafreq), start + 4000);
    AccumulateTuneStep(8);  // 12 in the window: above the sensitivity
    EXPECT_EQ(Hz(g_vfoafreq), start + 44000);
    EXPECT_EQ(g_knobhighspeed, 1);
    plat::manual_clock::Advance(400);
    EXPECT_EQ(g_knobhighspeed, 0);
    EXPECT_EQ(g_knobsteps, 0);
    AccumulateTuneStep(1);
    EXPECT_EQ(Hz(g_vfoafreq), start + 45000);
}

TEST_F(KnobTuning, ShiftPageUpIsTenCountsWithoutHighSpeed) {
    g_highspeedtuningfactor = 5;
    g_step = 10;
    const long long start = Hz(g_vfoafreq);
    OnShiftPageUp();
    EXPECT_EQ(Hz(g_vfoafreq), start + 100);
    EXPECT_EQ(g_knobhighspeed, 0);
    OnPageDown();
    EXPECT_EQ(Hz(g_vfoafreq), start + 90);
}

TEST_F(KnobTuning, LevelsStopAtTheirLimits) {
    g_knobfunction = kKnobVolume;
    g_volume = 250;
    turn(1);
    turn(1);
    EXPECT_EQ(g_volume, 255);
    EXPECT_EQ(panel.fn.afGain, 255);
    g_knobfunction = kKnobPower;
    g_power = 99;
    turn(1);
    turn(1);
    EXPECT_EQ(g_power, 100);  // a percent
    g_knobfunction = kKnobRfGain;
    g_rfgain = 1;
    turn(1);
    turn(1);
    EXPECT_EQ(g_rfgain, 0);
    g_knobabsolute = 1;
    g_knobabsvalue = 127;
    turn(0);
    EXPECT_EQ(g_rfgain, 0);
    g_knobfunction = kKnobPower;
    g_knobabsvalue = 64;
    turn(0);
    EXPECT_EQ(g_power, 50);
    g_knobabsolute = 0;
}

TEST_F(KnobTuning, FilterMovesOnTheEighthCountInOneDirection) {
    g_knobfunction = kKnobFilter;
    g_griffinpowermate = 0;
    g_cmdmicro = 0;
    panel.filter = 3;
    for (int i = 0; i < 7; ++i) turn(1);
    EXPECT_EQ(panel.filter, 3);
    turn(-1);  // a change of direction starts the count again
    for (int i = 0; i < 7; ++i) turn(1);
    EXPECT_EQ(panel.filter, 3);
    turn(1);
    EXPECT_EQ(panel.filter, 4);
    g_griffinpowermate = 1;  // the PowerMate's every click is a filter
    turn(-1);
    EXPECT_EQ(panel.filter, 3);
}

TEST_F(KnobTuning, KeyerSpeedMovesEverySixCounts) {
    g_knobfunction = kKnobKeyerSpeed;
    g_keyercw = 7;
    g_keyerks = 8;
    for (int i = 0; i < 5; ++i) turn(1);
    EXPECT_EQ(g_keyerks, 8);
    turn(1);
    EXPECT_EQ(g_keyerks, 9);
    EXPECT_EQ(g_keyercw, 7);
    EXPECT_EQ(g_cwspeed, 26);
}

TEST_F(KnobTuning, RitKnobSwitchesRitOnAndNeverOffAgain) {
    g_knobfunction = kKnobRit;
    panel.rit = 0;
    panel.ritOffset = 0;
    panel.step = 100;
    // Two quick steps: a posted toggle would switch RIT on and off again.
    turn(1);
    turn(1);
    EXPECT_EQ(panel.rit, 1);
    EXPECT_FALSE(frame.posted(164));
    EXPECT_TRUE(frame.HasTimer(TIMER_DEFERRED_ONSWL));
    // With SPLIT on RIT is not allowed: the knob leaves it off.
    panel.rit = 0;
    panel.split = 1;
    turn(1);
    EXPECT_EQ(panel.rit, 0);
    panel.split = 0;
    g_knobfunction = kKnobPbt;
    turn(-1);
    EXPECT_FALSE(frame.posted(169));
}

TEST_F(KnobTuning, WheelNotchesAndTouchpadDeltas) {
    g_mousewheel = 1;
    g_wheelctrl = 0;
    const long long start = Hz(g_vfoafreq);
    OnMouseWheel(0);  // nothing, and no division by it
    OnMouseWheel(120);
    EXPECT_EQ(g_wheelunit, 120);
    EXPECT_EQ(Hz(g_vfoafreq), start + 1000);
    // Small deltas add up to whole notches.
    OnMouseWheel(40);
    OnMouseWheel(40);
    EXPECT_EQ(Hz(g_vfoafreq), start + 1000);
    OnMouseWheel(40);
    EXPECT_EQ(Hz(g_vfoafreq), start + 2000);
    EXPECT_EQ(g_wheelunit, 120);
    g_mousewheel = 2;
    g_volume = 238;
    OnMouseWheel(240);
    EXPECT_EQ(g_volume, 239);
}
