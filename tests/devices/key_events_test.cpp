// Key events and the function dispatcher.
#include <gtest/gtest.h>

#include <cmath>

#include "base/device_options.h"
#include "civ/band_table.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "devices/keypad_pod.h"
#include "panel/filter_table.h"
#include "surface_fixture.h"

namespace {
struct KeyEvents : SurfaceFixture {};

double Khz(double mhz) { return std::round(mhz * 1000.0); }
}  // namespace

TEST_F(KeyEvents, APressWithinTheGuardIsDroppedButItsReleasePasses) {
    SelectSlotText(0, "Knob A/B Toggle");
    const std::uint8_t recs[9] = {'U', 17, '\r', 'U', 17, '\r', 'U', 17 | 0x80, '\r'};
    EXPECT_EQ(ProcessKeyEvents(recs, 9, 0), 9);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);  // one toggle, the second press was dropped
    EXPECT_EQ(g_keyguard, 1);
    plat::manual_clock::Advance(60);
    EXPECT_EQ(g_keyguard, 0);
    key(17);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    EXPECT_EQ(panel.podKnobCaption, "VFOA");
}

TEST_F(KeyEvents, RecordsCutShortAreNotRead) {
    SelectSlotText(0, "Knob A/B Toggle");
    const std::uint8_t recs[5] = {'U', 17, '\r', 'U', 17};
    EXPECT_EQ(ProcessKeyEvents(recs, 5, 0), 3);
    const std::uint8_t noise[3] = {'X', 17, '\r'};
    EXPECT_EQ(ProcessKeyEvents(noise, 3, 0), 0);
}

TEST_F(KeyEvents, EnterStartsTypingAndFunctionKeysRestUntilTheSecondEnter) {
    SelectSlotText(0, "Knob A/B Toggle");
    key(13);
    EXPECT_EQ(g_keypadtyping, 1);
    key(17);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    key('5');  // typed: goes to the focused window as a character
    key(13);
    EXPECT_EQ(g_keypadtyping, 0);
    key(17);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
}

TEST_F(KeyEvents, UpNumericThenZeroPutsVfoBTenKilohertzAway) {
    g_vfoafreq = panel.vfoAFreq = 14.2;
    key('1');  // "Up Numeric"
    EXPECT_EQ(g_numericpending, 1);
    key('0');
    EXPECT_EQ(std::abs(Khz(g_vfoafreq) - Khz(g_vfobfreq)), 10);
    EXPECT_TRUE(frame.posted(122));
    g_vfoafreq = panel.vfoAFreq = 7.1;
    key('2');  // "Down Numeric"
    key('3');
    EXPECT_EQ(std::abs(Khz(g_vfoafreq) - Khz(g_vfobfreq)), 3);
}

TEST_F(KeyEvents, OnlyDigitsMakeAnOffset) {
    g_vfoafreq = panel.vfoAFreq = 14.2;
    g_vfobfreq = 21.0;
    ExecuteFunction(5007, '1');
    ExecuteFunction(5002, ',');  // ',' is no digit: the offset is not made
    EXPECT_DOUBLE_EQ(g_vfobfreq, 21.0);
    EXPECT_EQ(g_numericpending, 0);
}

TEST_F(KeyEvents, RitTwiceClearsTheOffsetButAKnobSelectingRitNever) {
    panel.rit = 1;
    panel.ritOffset = 350;
    g_ritoffset = 350;
    ExecuteFunction(243, '5');
    EXPECT_EQ(panel.ritOffset, 350);
    ExecuteFunction(243, 0);  // a knob selecting its function
    EXPECT_EQ(panel.ritOffset, 350);
    ExecuteFunction(243, '5');
    EXPECT_EQ(panel.ritOffset, 0);
    EXPECT_EQ(g_knobfunction, kKnobRit);
}

TEST_F(KeyEvents, BandBottomTunesTheBandEdgeExceptOnTheGeneralRow) {
    g_bandrow = kGenBandRow;
    g_vfoafreq = 14.2;
    ExecuteFunction(5002, '.');
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.2);
    g_bandrow = 5;
    g_bandstack[5].low = 14.0;
    ExecuteFunction(5002, '.');
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.0);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.0);
}

TEST_F(KeyEvents, XfcWithSplitOffLeavesNoState) {
    panel.split = 0;
    ExecuteFunction(5000, 17);
    EXPECT_EQ(g_xfcswapped, 0);
    panel.split = 1;
    ExecuteFunction(5000, 17);
    EXPECT_EQ(g_xfcswapped, 1);
    ExecuteFunction(5000, 17);
    EXPECT_EQ(g_xfcswapped, 0);
}

TEST_F(KeyEvents, PttTogglesOnlyInToggleMode) {
    SelectSlotText(0, "PTT");
    g_podptttoggle = 0;
    key(17);
    EXPECT_EQ(g_podpttlatched, 0);
    g_podptttoggle = 1;
    key(17);
    EXPECT_EQ(g_podpttlatched, 1);
    key(17);
    EXPECT_EQ(g_podpttlatched, 0);
}

TEST_F(KeyEvents, UpBWithSplitOffMakesTheSplitAndTheKnobTunesVfoB) {
    panel.split = 0;
    g_vfoafreq = panel.vfoAFreq = 14.2;
    ExecuteFunction(5087, 17);
    EXPECT_EQ(std::abs(Khz(g_vfoafreq) - Khz(g_vfobfreq)), 5);
    EXPECT_TRUE(frame.posted(122));
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    EXPECT_EQ(panel.podKnobCaption, "VFOB");
}

TEST_F(KeyEvents, FunctionKeysNeedThePowerMateOption) {
    SelectSlotText(0, "Knob A/B Toggle");
    g_griffinpowermate = 0;
    OnSurfaceCommand(640);  // F11
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    g_griffinpowermate = 1;
    OnSurfaceCommand(640);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
}

TEST_F(KeyEvents, TuningSelectionsWalksTheKnobCycle) {
    const int expected[] = {7, 2, 3, 5, 11, 6, 9, 10, 1};
    for (int f : expected) {
        ExecuteFunction(234, 17);
        EXPECT_EQ(g_knobfunction, f);
    }
    g_knobfunction = 4;
    CyclePodKnob();
    EXPECT_EQ(g_knobfunction, 1);
}

TEST_F(KeyEvents, FilterKeysWrapAroundTheFilterCount) {
    panel.filter = 1;
    ExecuteFunction(5012, 17);
    EXPECT_EQ(panel.filter, g_filtercount);
    ExecuteFunction(5013, 17);
    EXPECT_EQ(panel.filter, 1);
}
