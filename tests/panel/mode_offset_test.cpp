// The radio panel's mode, filter and AGC buttons and its RIT, XIT and PBT
// controls, widget-free: what each command does to the panel's state, its
// displays and the main frame.
#include <gtest/gtest.h>

#include <map>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "panel/function_buttons.h"
#include "panel/knob_state.h"
#include "panel/swl_panel.h"
#include "panel_recorder.h"

namespace {
struct ButtonView : RecordingView {
    std::map<unsigned, int> lit;
    std::map<unsigned, std::string> text;
    std::map<unsigned, int> drag;
    std::string modeCaption[2];
    int pbtShown = -99999;
    void LightButton(unsigned id, int on) override { lit[id] = on; }
    void SetControlText(unsigned id, const std::string& t) override { text[id] = t; }
    void SetDragValue(unsigned id, int value) override { drag[id] = value; }
    void ShowPbt(int shift) override { pbtShown = shift; }
    void ShowModeCaption(int vfo, char mode) override { modeCaption[vfo] = CSwlPanel::ModeName(mode); }
};

struct ModePanel : ::testing::Test {
    RecordingFrame frame;
    ButtonView view;
    CSwlPanel panel{&frame};
    ModePanel() {
        panel.SetView(&view);
        panel.SetPanelTuning(0, 0, 0, 0, 0, 0);  // enabled
        frame.commands.clear();
    }
    void Tune(double mhz, char mode) {
        panel.vfoAFreq = mhz;
        panel.vfoAMode = mode;
    }
    bool Do(unsigned id) { return panel.OnCommand(id); }
};
}  // namespace

// ---- Modes ----------------------------------------------------------------------

TEST_F(ModePanel, CwFromSidebandMovesByTheBfoAndBack) {
    Tune(14.2, '0');
    Do(103);
    EXPECT_EQ(panel.vfoAMode, '3');
    EXPECT_NEAR(panel.vfoAFreq, 14.2007, 1e-9);
    EXPECT_EQ(view.modeCaption[0], "CW");
    Do(101);
    EXPECT_EQ(panel.vfoAMode, '0');
    EXPECT_NEAR(panel.vfoAFreq, 14.2, 1e-9);
    Tune(7.1, '1');
    Do(103);
    EXPECT_NEAR(panel.vfoAFreq, 7.0993, 1e-9);
    // CW-R (the right click) takes the same offset; LSB from CW-R goes back.
    Tune(7.1, '1');
    Do(174);
    EXPECT_EQ(panel.vfoAMode, '2');
    EXPECT_NEAR(panel.vfoAFreq, 7.0993, 1e-9);
    Do(102);
    EXPECT_NEAR(panel.vfoAFreq, 7.1, 1e-9);
    EXPECT_GE(frame.Count(IDC_RADIO_WINDOW), 1);
}

TEST_F(ModePanel, AmTakesTheStepOfWhereItIs) {
    Tune(1.0, '0');
    Do(100);
    EXPECT_EQ(panel.step, g_mwstep);
    Tune(14.3, '0');
    Do(100);
    EXPECT_EQ(panel.step, g_ssbstep);
    Tune(6.0, '0');
    Do(100);
    EXPECT_EQ(panel.step, g_amstep);
}

TEST_F(ModePanel, ModeDefaultsAgcStepFilterAndDataMode) {
    g_radiotype = 23;  // DSP filters: the buttons hold width-table entries
    g_cwagc = '1';   // as the settings page stores "Slow"
    g_ssbagc = 0;    // "Do Not Use Auto AGC"
    g_cwstep = 50;
    g_cwfilterposition = 2;  // button 2: filter 17
    panel.dataMode = 1;
    Tune(14.0, '0');
    panel.agc = '3';
    Do(103);
    EXPECT_EQ(panel.agc, '1');
    EXPECT_EQ(view.lit[40036], 1);
    EXPECT_EQ(view.lit[40034], 0);
    EXPECT_EQ(panel.step, 50);
    EXPECT_EQ(panel.filter, 17);
    EXPECT_EQ(view.lit[402], 1);
    EXPECT_EQ(view.lit[401], 0);
    EXPECT_EQ(panel.dataMode, 0);
    // SSB leaves the AGC where it is.
    Do(101);
    EXPECT_EQ(panel.agc, '1');
    // "MANUAL DATAMODE" keeps the data mode on.
    g_manualdatamode = 1;
    panel.dataMode = 1;
    Do(103);
    EXPECT_EQ(panel.dataMode, 1);
}

TEST_F(ModePanel, FilterPositionsOutsideTheModelsFiltersTakeTheNearestButton) {
    // The default CW position is button 9, whose default filter 45 is beyond
    // the model's 41: CW takes button 8 (450 Hz), lit, with its readout.
    g_radiotype = 23;
    panel.filter = 16;
    Tune(14.0, '0');
    Do(103);
    EXPECT_EQ(panel.filter, 33);
    EXPECT_EQ(view.lit[408], 1);
    EXPECT_EQ(view.lit[409], 0);
    // The button itself still selects nothing.
    Do(409);
    EXPECT_EQ(panel.filter, 33);
    // Positions outside 1..12 come to the nearest end.
    g_cwfilterposition = 13;
    g_ssbfilterposition = 0;
    Do(101);
    EXPECT_EQ(panel.filter, 16);
    Do(103);
    EXPECT_EQ(panel.filter, 33);
    g_filterbuttons[0] = -3;
    Do(401);
    EXPECT_EQ(panel.filter, 33);
    // No button with a filter of the model: the filter stays.
    for (int& b : g_filterbuttons) b = 50;
    Do(101);
    EXPECT_EQ(panel.filter, 33);
}

TEST_F(ModePanel, ManualModeChangesOnlyTheModeAndVox) {
    Do(238);
    EXPECT_EQ(g_manualmode, 1);
    EXPECT_EQ(view.lit[238], 1);
    g_cwagc = '1';
    g_cwstep = 50;
    panel.step = 1000;
    panel.agc = '3';
    panel.fn.vox = 1;
    Tune(14.2, '0');
    Do(103);
    EXPECT_EQ(panel.vfoAMode, '3');
    EXPECT_EQ(panel.agc, '3');
    EXPECT_EQ(panel.step, 1000);
    EXPECT_EQ(panel.fn.vox, 0);  // VOX still goes off for CW
    Do(238);
    EXPECT_EQ(g_manualmode, 0);
    EXPECT_EQ(view.lit[238], 0);
}

TEST_F(ModePanel, TuneModeRefusesEveryModeButton) {
    g_tunemodeon = 1;
    Tune(14.2, '0');
    Do(103);
    Do(100);
    panel.HotKeyMode('3');
    EXPECT_EQ(panel.vfoAMode, '0');
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 0);
}

TEST_F(ModePanel, VoxSpeechProcessorAndCwKeyboardFollowTheMode) {
    panel.fn.vox = 1;
    g_keyerstate = 1;  // the CW keyboard is open
    Tune(14.0, '3');
    Do(101);  // USB: the keyboard closes
    EXPECT_EQ(frame.Count(5019), 1);
    EXPECT_EQ(g_keyerforcedoff, 1);
    g_keyerstate = 0;
    Do(103);  // CW: it opens again, VOX goes off
    EXPECT_EQ(frame.Count(5019), 2);
    EXPECT_EQ(g_keyerforcedoff, 0);
    EXPECT_EQ(panel.fn.vox, 0);
    EXPECT_EQ(g_voxchange, 1);
    // RTTY: VOX back on, the speech processor off and remembered.
    g_speech = 1;
    Do(106);
    EXPECT_EQ(panel.fn.vox, 1);
    EXPECT_EQ(g_voxchange, 0);
    EXPECT_EQ(frame.Count(509), 1);
    EXPECT_EQ(g_speechsav, 1);
    g_speech = 0;  // the main frame switched it off
    Do(102);       // LSB switches it on again
    EXPECT_EQ(frame.Count(509), 2);
    EXPECT_EQ(g_speechsav, 0);
    // A VOX that was off before CW stays off afterwards.
    panel.fn.vox = 0;
    Do(103);
    Do(101);
    EXPECT_EQ(panel.fn.vox, 0);
}

TEST_F(ModePanel, HotKeysModeCycleAndNames) {
    Tune(14.2, '0');
    panel.HotKeyMode('3');  // Alt+C is the CW button, offset included
    EXPECT_NEAR(panel.vfoAFreq, 14.2007, 1e-9);
    Tune(7.1, '1');
    const char cycle[] = {'0', '3', '5', '9', '7', '4', '1'};
    for (char m : cycle) {
        Do(235);
        EXPECT_EQ(panel.vfoAMode, m);
    }
    panel.vfoAMode = '2';  // CW-R does not cycle
    Do(235);
    EXPECT_EQ(panel.vfoAMode, '2');
    EXPECT_EQ(CSwlPanel::ModeName(0x17), "DV");
    EXPECT_EQ(CSwlPanel::ModeName('8'), "RTYR");
    EXPECT_EQ(CSwlPanel::ModeName('9'), "FT8");
    EXPECT_EQ(CSwlPanel::ModeName('x'), "AM");
}

TEST_F(ModePanel, VfoBModeFromARightClick) {
    g_radiotype = 23;
    g_stepb = 1;
    g_cwstep = 50;
    g_cwfilterposition = 1;
    g_cwagc = '2';
    Do(5036);
    EXPECT_EQ(panel.vfoBMode, '3');
    EXPECT_EQ(g_stepb, 50);
    EXPECT_EQ(g_vfobrxfilter, 16);
    EXPECT_EQ(g_agcmodevfob, '2');
    EXPECT_EQ(view.modeCaption[1], "CW");
    EXPECT_EQ(view.text[9104], "2.1");
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    EXPECT_EQ(panel.vfoAMode, '0');
}

TEST_F(ModePanel, DataModeButtonOnlyWhereTheRadioHasIt) {
    g_radiotype = 0;  // no menu dialect
    Do(597);
    EXPECT_EQ(panel.dataMode, 0);
    g_radiotype = 23;
    g_datamode = 0;
    Do(597);
    EXPECT_EQ(panel.dataMode, 1);
    EXPECT_EQ(g_datamode, 0);
    EXPECT_EQ(view.lit[597], 1);
    Do(597);
    EXPECT_EQ(panel.dataMode, 0);
    EXPECT_EQ(g_datamode, 1);  // so the push sends the off
}

// ---- Filters ----------------------------------------------------------------------

TEST_F(ModePanel, FilterToolsWrapAtBothEnds) {
    panel.filter = 1;
    Do(2408);
    EXPECT_EQ(panel.filter, g_filtercount);
    Do(2414);
    EXPECT_EQ(panel.filter, 1);
    g_oldradio = 2;
    panel.filter = 2;
    Do(2408);
    EXPECT_EQ(panel.filter, g_filtercount);
    Do(2414);
    EXPECT_EQ(panel.filter, 2);
    // An index beyond the table (a damaged setting) comes back inside.
    panel.filter = 60;
    Do(2408);
    EXPECT_EQ(panel.filter, g_filtercount);

    g_vfobrxfilter = 1;
    Do(2409);
    EXPECT_EQ(g_vfobrxfilter, g_filtercount);
    Do(2415);
    EXPECT_EQ(g_vfobrxfilter, 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 2);
}

TEST_F(ModePanel, VfoBFilterLabel) {
    g_radiotype = 0;  // no filter table
    g_vfobrxfilter = 2;
    panel.ShowFilterNameB();
    EXPECT_EQ(view.text[9104], "FIL2");
    g_radiotype = 23;
    g_vfobrxfilter = 32;
    panel.ShowFilterNameB();
    EXPECT_EQ(view.text[9104], "500");
}

// ---- AGC ---------------------------------------------------------------------------

TEST_F(ModePanel, AgcButtons) {
    g_radiotype = 23;
    Do(40035);
    EXPECT_EQ(panel.agc, '2');
    EXPECT_EQ(view.lit[40035], 1);
    EXPECT_EQ(view.lit[40034], 0);
    Do(2489);  // "Off" on the IC-7300
    EXPECT_EQ(panel.agc, '6');
    EXPECT_EQ(view.lit[2489], 1);
    EXPECT_EQ(view.lit[40035], 0);
    Do(40034);
    EXPECT_EQ(view.lit[2489], 0);
    // Models 5 and 16: "Man" is the variable-rate flag, the code stays.
    g_radiotype = 5;
    Do(2489);
    EXPECT_EQ(panel.fn.agcVr, 1);
    EXPECT_EQ(panel.agc, '3');
    Do(40036);
    EXPECT_EQ(panel.fn.agcVr, 0);
    // Right clicks set the VFO B code.
    panel.fn.agcVrB = 1;
    Do(5038);
    EXPECT_EQ(g_agcmodevfob, '2');
    EXPECT_EQ(panel.fn.agcVrB, 0);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    // Model 4 has no Med: it shows as Fast.
    g_radiotype = 4;
    panel.ShowAgc('2');
    EXPECT_EQ(panel.agc, '3');
}

TEST_F(ModePanel, InitAgcShowsTheLoadedStateAndSendsNothing) {
    g_radiotype = 23;
    panel.agc = '1';
    panel.InitAgc();
    EXPECT_EQ(panel.agc, '1');
    EXPECT_EQ(view.lit[40036], 1);
    panel.agc = '6';
    panel.InitAgc();
    EXPECT_EQ(view.lit[2489], 1);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 0);
}

// ---- RIT and XIT -----------------------------------------------------------------

TEST_F(ModePanel, RitAndXitButtons) {
    Do(164);
    EXPECT_EQ(panel.rit, 1);
    EXPECT_EQ(view.lit[164], 1);
    EXPECT_EQ(panel.ritText, " +0");
    panel.ritOffset = 1234;
    panel.ShowRitXit();
    EXPECT_EQ(panel.ritText, "+1.234");
    EXPECT_EQ(view.drag[2382], 1234);
    panel.ritOffset = -999;
    panel.ShowRitXit();
    EXPECT_EQ(panel.ritText, "-999");
    // SPLIT keeps RIT from going on, never from going off.
    panel.split = 1;
    Do(164);
    EXPECT_EQ(panel.rit, 0);
    Do(164);
    EXPECT_EQ(panel.rit, 0);
    Do(165);
    EXPECT_EQ(panel.xit, 0);
    panel.split = 0;
    Do(165);
    EXPECT_EQ(panel.xit, 1);
    EXPECT_EQ(panel.xitText, " +0");
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 5);
    Do(165);
    EXPECT_EQ(panel.ritText, "  ");
    EXPECT_EQ(panel.xitText, "+0");
}

TEST_F(ModePanel, RitKnobStepsFollowTheVfoStep) {
    panel.rit = 1;
    g_knobfunction = 3;
    panel.step = 1000;
    panel.KnobUp();
    EXPECT_EQ(panel.ritOffset, 100);
    panel.step = 50;
    panel.KnobDown();
    EXPECT_EQ(panel.ritOffset, 50);
    panel.ritOffset = 9990;
    panel.KnobUp();
    EXPECT_EQ(panel.ritOffset, 9999);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 3);
}

TEST_F(ModePanel, RitScaleDragSwitchesRitOnAndClamps) {
    panel.OnScaleMessage(352, 2382, 12000);
    EXPECT_EQ(panel.rit, 1);
    EXPECT_EQ(panel.ritOffset, 9999);
    panel.OnScaleMessage(351, 2382, 0);  // a right click zeroes it
    EXPECT_EQ(panel.ritOffset, 0);
    panel.OnScaleMessage(352, 2400, -20000);
    EXPECT_EQ(panel.xitOffset, -9999);
}

TEST_F(ModePanel, FrequencyScalePicksAndDrags) {
    panel.OnScaleMessage(351, 2358, 14074.5);
    EXPECT_NEAR(panel.vfoAFreq, 14.0745, 1e-9);
    panel.OnScaleMessage(352, 2358, 7.05);
    EXPECT_NEAR(panel.vfoAFreq, 7.05, 1e-9);
    panel.OnScaleMessage(352, 2358, -1);  // outside coverage
    EXPECT_NEAR(panel.vfoAFreq, 7.05, 1e-9);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 2);
}

// ---- Passband tuning -------------------------------------------------------------

TEST_F(ModePanel, PbtPositionsGiveTheShiftAndLightPbt) {
    panel.SetPbtInner(138);
    EXPECT_EQ(panel.pbtShift, 50);
    EXPECT_EQ(panel.pbt, 1);
    EXPECT_EQ(view.lit[169], 1);
    EXPECT_EQ(view.pbtShown, 50);
    panel.SetPbtInner(128);
    EXPECT_EQ(panel.pbtShift, 0);
    EXPECT_EQ(panel.pbt, 0);
    EXPECT_EQ(view.lit[169], 0);
}

TEST_F(ModePanel, PbtKnobMovesBothPositions) {
    g_knobfunction = 2;
    panel.KnobUp();
    EXPECT_EQ(panel.pbtShift, 10);
    EXPECT_EQ(panel.pbtInner, 129);
    EXPECT_EQ(panel.pbtOuter, 129);
    // An absolute knob at its top asks for +1260 Hz.
    g_knobabsolute = 1;
    g_knobabsvalue = 127;
    panel.KnobUp();
    EXPECT_EQ(panel.pbtShift, 1260);
    EXPECT_EQ(panel.pbtInner, 254);
}

TEST_F(ModePanel, PbtShiftsAndPositionsStayInRange) {
    // The filter picture reports up to ±6000 Hz; the positions can carry
    // ±1280 Hz and stay 0..255.
    panel.OnScaleMessage(352, 2401, 6000);
    EXPECT_EQ(panel.pbtShift, 1280);
    EXPECT_EQ(panel.pbtInner, 255);
    EXPECT_EQ(panel.pbtOuter, 255);
    EXPECT_EQ(panel.pbt, 1);
    panel.OnScaleMessage(352, 2386, -8000);
    EXPECT_EQ(panel.pbtShift, -1280);
    EXPECT_EQ(panel.pbtInner, 0);
    EXPECT_EQ(panel.pbtOuter, 0);
    // A position handed in out of range is cut.
    panel.SetPbtOuter(300);
    EXPECT_EQ(panel.pbtOuter, 255);
    panel.SetPbtInner(-4);
    EXPECT_EQ(panel.pbtInner, 0);
    // The cut buttons stop at the ends.
    panel.SetPbtInner(253);
    Do(2419);
    EXPECT_EQ(panel.pbtInner, 255);
    Do(2418);
    EXPECT_EQ(panel.pbtInner, 250);
    panel.SetPbtOuter(2);
    Do(2490);
    EXPECT_EQ(panel.pbtOuter, 0);
    Do(2504);
    Do(2503);
    EXPECT_EQ(panel.pbtInner, 128);
    EXPECT_EQ(panel.pbtOuter, 128);
    EXPECT_EQ(panel.pbt, 0);
}

TEST_F(ModePanel, WheelOverTheScalesSwitchesOnAndNeverOff) {
    panel.step = 1000;
    panel.WheelOverScale(2382, 1);
    EXPECT_EQ(panel.rit, 1);
    EXPECT_EQ(panel.ritOffset, 100);
    panel.WheelOverScale(2382, -3);  // a second event leaves RIT on
    EXPECT_EQ(panel.rit, 1);
    EXPECT_EQ(panel.ritOffset, -200);
    EXPECT_EQ(g_knobfunction, 1);  // restored
    // Not allowed with SPLIT: RIT stays off.
    panel.rit = 0;
    panel.ritOffset = 0;
    panel.split = 1;
    panel.WheelOverScale(2382, 1);
    EXPECT_EQ(panel.rit, 0);
    panel.split = 0;
    panel.WheelOverScale(2386, 1);
    EXPECT_EQ(panel.pbtShift, 10);
    EXPECT_EQ(panel.pbt, 1);
    panel.WheelOverScale(2386, 1);
    EXPECT_EQ(panel.pbtShift, 20);
    EXPECT_EQ(panel.pbt, 1);
    // No clicks: nothing moves.
    panel.WheelOverScale(2386, 0);
    EXPECT_EQ(panel.pbtShift, 20);
}

TEST(OffsetText, HzAndKhz) {
    EXPECT_EQ(OffsetText(0), " +0");
    EXPECT_EQ(OffsetText(999), "+999");
    EXPECT_EQ(OffsetText(-1000), "-1.000");
    EXPECT_EQ(ClampPbtShift(5000), 1280);
    EXPECT_EQ(ClampPbtShift(-1281), -1280);
}

// A preset or scheduled frequency brings its band's mode but leaves the CW
// keyboard as the operator has it.
TEST_F(ModePanel, APresetsModeLeavesTheCwKeyboardAlone) {
    g_swlpanel = &panel;
    WireTuningView();
    g_keyerstate = 1;
    Tune(14.02, '3');
    g_vfoafreq = 14.02;
    TuneToFrequency(14.2, 2);  // USB
    EXPECT_EQ(panel.vfoAMode, '0');
    EXPECT_EQ(frame.Count(5019), 0);
    EXPECT_EQ(g_keyerforcedoff, 0);
    EXPECT_EQ(panel.modeFromPreset, 0);
    // The operator's own mode button still closes it.
    Do(102);
    EXPECT_EQ(frame.Count(5019), 1);
    g_swlpanel = nullptr;
}

TEST_F(ModePanel, ManualAgcShowsUnknownUntilTheNextMuteReport) {
    Do(2489);
    EXPECT_EQ(view.text[IDC_STATUS_LABEL], "UNKNOWN");
    panel.ShowMute(0);
    EXPECT_EQ(view.text[IDC_STATUS_LABEL], "    ");
}
