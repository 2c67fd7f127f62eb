// The band buttons, the band stack and the VFO controls of the radio panel,
// widget-free: what each leaves on the panel, in the band rows and how
// often it tells the main frame.
#include <gtest/gtest.h>

#include <map>

#include "app/panel_requests_wiring.h"
#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/transverters.h"
#include "memories/small_dialogs.h"
#include "panel/swl_panel.h"
#include "panel_recorder.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace {
struct View : RecordingView {
    std::map<unsigned, int> lit;
    std::map<unsigned, std::string> text;
    std::map<unsigned, bool> shown;
    void LightButton(unsigned id, int on) override { lit[id] = on; }
    void SetControlText(unsigned id, const std::string& t) override { text[id] = t; }
    void ShowControl(unsigned id, bool show) override { shown[id] = show; }
};

struct BandVfo : ::testing::Test {
    RecordingFrame frame;
    View view;
    CSwlPanel panel{&frame};
    BandVfo() {
        WirePanelRequests();  // the step picker opens as in the program
        panel.SetView(&view);
        panel.SetPanelTuning(0, 0, 0, 0, 0, 0);  // enabled
        frame.commands.clear();
    }
    void Tune(double a, char mode, double b = 0) {
        panel.vfoAFreq = a;
        panel.vfoAMode = mode;
        if (b != 0) panel.vfoBFreq = b;
    }
    int Pushes() const { return frame.Count(IDC_RADIO_WINDOW); }
    void Command(unsigned id) { EXPECT_TRUE(panel.OnCommand(id)) << id; }
};
}  // namespace

TEST(VfoRules, FastTuningRoundsToTheMultipliedStep) {
    EXPECT_DOUBLE_EQ(CSwlPanel::FastTuned(14.0253, 100, 10, -1), 14.024);
    EXPECT_DOUBLE_EQ(CSwlPanel::FastTuned(14.0253, 100, 10, 1), 14.026);
    // A multiplier of 0 or below (no load check) works as 1.
    EXPECT_DOUBLE_EQ(CSwlPanel::FastTuned(14.0253, 100, 0, 1), 14.0254);
    EXPECT_DOUBLE_EQ(CSwlPanel::FastTuned(14.0253, 100, -5, -1), 14.0252);
}

TEST(VfoRules, RepeaterShiftsAndSplitBands) {
    EXPECT_DOUBLE_EQ(CSwlPanel::RepeaterShift(146.94), -0.6);
    EXPECT_DOUBLE_EQ(CSwlPanel::RepeaterShift(147.3), 0.6);
    EXPECT_DOUBLE_EQ(CSwlPanel::RepeaterShift(29.62), -0.1);
    EXPECT_DOUBLE_EQ(CSwlPanel::RepeaterShift(53.5), -1);
    EXPECT_DOUBLE_EQ(CSwlPanel::RepeaterShift(148), 0);
    EXPECT_TRUE(CSwlPanel::SameSplitBand(14.2, 14.25));
    EXPECT_FALSE(CSwlPanel::SameSplitBand(14.2, 21.2));
    // Both outside the amateur bands: one band.
    EXPECT_TRUE(CSwlPanel::SameSplitBand(10.0, 15.0));
    // 2 m has no metres of its own yet is no general-coverage frequency.
    EXPECT_FALSE(CSwlPanel::SameSplitBand(144.2, 10.0));
    EXPECT_TRUE(CSwlPanel::SameSplitBand(146.94, 146.34));
    // An unset or untunable VFO B is in no band.
    EXPECT_FALSE(CSwlPanel::SameSplitBand(10.0, 0));
    EXPECT_FALSE(CSwlPanel::SameSplitBand(10.0, 60.0));
    EXPECT_EQ(CSwlPanel::StepDialogText(500), "Current Step = 500 Hz");
    EXPECT_EQ(CSwlPanel::StepDialogText(2500), "Current Step = 2.5 kHz");
}

TEST(BandRows, EveryBandButtonHasItsRow) {
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40022), 0);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40028), 8);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40125), 18);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40031), 9);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40126), 13);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40141), 29);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40142), 30);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40144), 32);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40149), 37);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(40032), 39);
    EXPECT_EQ(CSwlPanel::BandRowOfCommand(122), -1);
}

TEST_F(BandVfo, BandButtonStoresTheOldBandLoadsTheNewAndNotifiesOnce) {
    Tune(7.2, '1');
    g_bandrow = 12;
    g_power = 40;
    panel.filter = 3;
    Command(40126);  // "20" phone
    EXPECT_EQ(g_bandrow, 13);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.195);
    EXPECT_EQ(panel.vfoAMode, '0');
    EXPECT_EQ(panel.filter, 29);
    EXPECT_EQ(g_bandchanged, 1);
    EXPECT_EQ(g_prevbandrow, 13);
    EXPECT_EQ(Pushes(), 1);
    // 40 m keeps what was left there.
    EXPECT_DOUBLE_EQ(g_bandstack[12].last, 7.2);
    EXPECT_EQ(g_bandstack[12].mode, '1');
    EXPECT_EQ(g_bandstack[12].filter, 3);
    EXPECT_EQ(g_bandpower[12], 40);
    EXPECT_EQ(g_pushcopy.preamp, 9);
    EXPECT_EQ(g_pushcopy.attenuator, 9);
}

TEST_F(BandVfo, RowFrequencyOutsideTheEdgesLoadsTheLowEdge) {
    g_bandstack[12].last = 7.35;
    panel.SelectBand(12);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.15);
    g_bandstack[12].last = 7.15;
    panel.SelectBand(12);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.15);
    // The scratch pad has no edges: its frequency loads as it stands.
    panel.SelectBand(31);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.01);
}

TEST_F(BandVfo, UncoveredRowsKeepVfoA) {
    Tune(14.2, '0');
    g_bandstack[31].last = 0;  // damaged
    g_bandstack[31].mode = 'x';
    panel.SelectBand(31);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    EXPECT_EQ(panel.vfoAMode, '0');
    // A disabled transverter row would load its low edge, 90000 MHz.
    g_bandrow = 33;
    panel.SelectBand(33);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    // An enabled one tunes.
    g_transverter[0].lower = 430;
    g_transverter[0].upper = 450;
    ApplyTransverterEdges();
    g_bandstack[33].last = 432.1;
    panel.SelectBand(33);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 432.1);
    // Band bottom refuses the same way.
    g_bandrow = 35;
    panel.OnCommand(2479);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 432.1);
    g_bandrow = 13;
    panel.OnCommand(2479);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.15);
    g_bandrow = 32;
    panel.OnCommand(2479);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.15);
}

TEST_F(BandVfo, SplitFollowsTheRow) {
    Tune(14.2, '0', 14.25);
    g_bandstack[15].second = 21.3;
    g_bandstack[15].filter = 5;
    panel.SelectBand(15);
    EXPECT_EQ(panel.split, 1);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 21.3);
    EXPECT_EQ(panel.vfoBMode, '0');
    EXPECT_EQ(g_vfobrxfilter, 5);
    EXPECT_EQ(view.lit[122], 1);
    panel.SelectBand(13);
    EXPECT_EQ(panel.split, 0);
    // Stored with SPLIT on, 15 m kept VFO B.
    EXPECT_DOUBLE_EQ(g_bandstack[15].second, 21.3);
}

TEST_F(BandVfo, CompanionValuesLoadUnlessMarkedNone) {
    // VFO A on 40 m, so that the load stores there, not into the row loaded.
    auto load = [&](int row) {
        panel.vfoAFreq = 7.2;
        panel.SelectBand(row);
    };
    g_power = 77;
    g_bandpower[13] = 0;
    load(13);
    EXPECT_EQ(g_power, 77);
    g_powerchanged = 0;
    g_bandpower[13] = 35;
    g_bandmainant[13] = 2;
    g_bandsubant[13] = 9;
    panel.rxAntenna = 1;
    g_bandlocut[13] = 100;
    g_bandhicut[13] = 355;
    g_bandpreamp[13] = 1;
    g_bandattn[13] = 20;
    load(13);
    EXPECT_EQ(g_power, 35);
    EXPECT_EQ(g_powerchanged, 1);
    EXPECT_EQ(panel.antenna, 2);
    EXPECT_EQ(view.text[2493], "Ant 2");
    EXPECT_EQ(panel.rxAntenna, 1);
    EXPECT_EQ(panel.pbtInner, 100);
    EXPECT_EQ(panel.pbtOuter, 128);
    EXPECT_EQ(panel.preamp, 1);
    EXPECT_EQ(panel.attenuator, 20);
    // With "USE AMP TUNE POWER" the row's amplifier-tune power.
    g_useamptunepower = 1;
    load(13);
    EXPECT_EQ(g_power, 50);
    // Row 38 never sets the power.
    g_bandpower[38] = 90;
    load(38);
    EXPECT_EQ(g_power, 50);
}

TEST_F(BandVfo, FilterIndexWithoutATableKeepsTheFilter) {
    panel.filter = 7;
    panel.vfoAFreq = 7.2;
    panel.SelectBand(4);  // "20 Meters CW": filter 45
    EXPECT_EQ(panel.filter, 7);
}

TEST_F(BandVfo, ScratchPadStoreRecallAndUndo) {
    Tune(10.123, '3');
    Command(124);  // "Sto SP"
    EXPECT_DOUBLE_EQ(g_bandstack[31].last, 10.123);
    EXPECT_EQ(Pushes(), 0);
    Tune(14.2, '0');
    Command(123);  // "Rcl SP"
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 10.123);
    EXPECT_EQ(panel.vfoAMode, '3');
    EXPECT_DOUBLE_EQ(g_bandstack[43].last, 14.2);
    EXPECT_EQ(Pushes(), 1);
    Command(6132);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    // Recalled twice, the undo row holds the scratch pad itself.
    Command(123);
    Command(123);
    Command(6132);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 10.123);
    // The other pads.
    Tune(18.1, '0');
    Command(6129);
    Tune(21.1, '0');
    Command(6131);
    Command(6128);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 18.1);
    Command(6130);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 21.1);
    panel.vfoAFreq = 3.6;
    panel.StoreScratchPad3();
    panel.vfoAFreq = 7.0;
    panel.RecallScratchPad3();
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 3.6);
}

TEST_F(BandVfo, TuneStateIsSavedOnceAndRestored) {
    Tune(7.05, '3');
    panel.SaveTuneState();
    EXPECT_EQ(g_manualmode, 1);
    EXPECT_EQ(g_manualmodesaved, 0);
    // A tune started during the first: its save is ignored.
    Tune(7.1, '0');
    panel.SaveTuneState();
    EXPECT_EQ(g_manualmodesaved, 0);
    EXPECT_DOUBLE_EQ(g_bandstack[38].last, 7.05);
    panel.RestoreTuneState();
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.05);
    EXPECT_EQ(panel.vfoAMode, '3');
    EXPECT_EQ(g_manualmode, 0);
    EXPECT_EQ(Pushes(), 1);
    // Nothing held: nothing to restore.
    Tune(14.2, '0');
    panel.RestoreTuneState();
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
}

TEST_F(BandVfo, SixtyMetreChannelsStepAndWrap) {
    Tune(5.3305, '0');
    g_bandrow = 11;
    const double usb[] = {5.3305, 5.3465, 5.357, 5.3715, 5.4035};
    for (double f : usb) {
        Command(5043);
        EXPECT_DOUBLE_EQ(panel.vfoAFreq, f);
        EXPECT_EQ(g_bandrow, 39);
    }
    EXPECT_EQ(Pushes(), 5);
    panel.vfoAMode = '3';
    for (double f : usb) {
        Command(5043);
        EXPECT_DOUBLE_EQ(panel.vfoAFreq, f + 0.0015);
    }
    // A plain click with 60 m current steps down (4 -> 3).
    panel.vfoAMode = '1';
    Command(40032);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 5.3715);
    EXPECT_EQ(panel.vfoAMode, '0');
    // Split goes off.
    panel.split = 1;
    Command(5043);
    EXPECT_EQ(panel.split, 0);
}

TEST_F(BandVfo, MediumWaveTakesItsStepUnlessManualMode) {
    g_mwstep = 9000;
    Command(40142);
    EXPECT_DOUBLE_EQ(panel.step, 9000);
    EXPECT_NEAR(panel.vfoAFreq, 1.026, 1e-9);  // 1.03 on the 9 kHz grid
    EXPECT_EQ(Pushes(), 1);
    panel.step = 1000;
    g_manualmode = 1;
    Command(40142);
    EXPECT_DOUBLE_EQ(panel.step, 1000);
}

TEST_F(BandVfo, VfoButtonsStepWithinCoverageAndTheLockStopsThem) {
    Tune(14.2, '0');
    panel.step = 100;
    g_fasttuningmult = 10;
    Command(2406);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.1999);
    Command(2412);
    Command(2412);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2001);
    Command(2410);  // FAST A: 1 kHz, on the 1 kHz grid
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.199);
    Command(2416);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    EXPECT_EQ(Pushes(), 5);
    // Locked: nothing moves but the main frame still hears of it.
    Command(107);
    EXPECT_EQ(g_tunea, 0);
    EXPECT_EQ(view.lit[107], 1);
    Command(2412);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    EXPECT_EQ(Pushes(), 6);
    // The drag tool is not locked.
    panel.VfoDragStep(1301);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.201);
    panel.VfoDragStep(1304);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2009);
    Command(107);
    EXPECT_EQ(view.lit[107], 0);
    // Outside the coverage the step is refused.
    Tune(32.99995, '0');
    Command(2412);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 32.99995);
}

TEST_F(BandVfo, VfoBButtonsUseTheirOwnStep) {
    Tune(14.2, '0', 14.21);
    g_stepb = 1000;
    Command(2413);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 14.211);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 0);
    g_dual = 1;
    g_fasttuningmult = 5;
    Command(2411);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 14.205);  // -5 kHz, on the 5 kHz grid
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    g_tuneb = 0;
    Command(2407);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 14.205);
}

TEST_F(BandVfo, SplitNeedsOneBandUnlessCrossband) {
    Tune(14.2, '0', 21.2);
    Command(122);
    EXPECT_EQ(panel.split, 0);
    g_crossband = 1;
    Command(122);
    EXPECT_EQ(panel.split, 1);
    Command(122);
    EXPECT_EQ(panel.split, 0);
    g_crossband = 0;
    Tune(10.0, '4', 15.0);
    panel.rit = 1;
    Command(122);
    EXPECT_EQ(panel.split, 1);
    EXPECT_EQ(panel.rit, 0);
    EXPECT_EQ(view.lit[122], 1);
    Command(122);
    // An unset VFO B never joins.
    panel.vfoBFreq = 0;
    Command(122);
    EXPECT_EQ(panel.split, 0);
    // Nothing while the sweep runs.
    panel.vfoBFreq = 10.5;
    g_sweeprunning = 1;
    Command(122);
    EXPECT_EQ(panel.split, 0);
}

TEST_F(BandVfo, SplitInMirrorModeMovesTheSlidersToTheSubReceiver) {
    g_mirror = 1;
    Tune(14.2, '0', 14.21);
    Command(122);
    EXPECT_EQ(g_subsliders, 1);
    EXPECT_TRUE(view.shown[2508]);
    EXPECT_EQ(view.text[2508], "S Sliders");
    Command(122);
    EXPECT_EQ(g_subsliders, 0);
    EXPECT_FALSE(view.shown[2508]);
}

TEST_F(BandVfo, RepeaterOffsetSetsVfoBAndSplit) {
    Tune(146.94, '5', 146.94);
    Command(178);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 146.34);
    EXPECT_EQ(panel.vfoBMode, '5');
    EXPECT_EQ(panel.split, 1);
    EXPECT_EQ(Pushes(), 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    Command(122);
    Tune(147.3, '5');
    Command(178);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 147.9);
    Command(122);
    Tune(146.94, '0', 146.94);
    Command(178);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 146.94);
    EXPECT_EQ(panel.split, 0);
}

TEST_F(BandVfo, SwapTwiceRestoresBothVfosAndLocks) {
    Tune(14.2, '0', 7.1);
    panel.vfoBMode = '1';
    panel.step = 100;
    g_stepb = 1000;
    panel.filter = 3;
    g_vfobrxfilter = 9;
    g_tunea = 0;
    Command(229);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.1);
    EXPECT_EQ(panel.vfoAMode, '1');
    EXPECT_DOUBLE_EQ(panel.step, 1000);
    EXPECT_DOUBLE_EQ(g_stepb, 100);
    EXPECT_EQ(panel.filter, 9);
    EXPECT_EQ(g_tunea, 1);
    EXPECT_EQ(g_tuneb, 0);
    EXPECT_EQ(g_pushcopy.preamp, 9);
    EXPECT_EQ(Pushes(), 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    Command(229);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 7.1);
    EXPECT_EQ(panel.filter, 3);
    EXPECT_EQ(g_tunea, 0);
    EXPECT_EQ(g_tuneb, 1);
    // The hold button swaps only in split, on the press and the release.
    Command(1405);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    panel.split = 1;
    Command(1405);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.1);
    Command(1406);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    // Run by a control surface, the dispatcher pushes when it ends.
    frame.commands.clear();
    g_inpodkey = 1;
    Command(237);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(BandVfo, CopyDualAndDiversity) {
    Tune(21.2, '3', 14.0);
    panel.filter = 32;
    panel.agc = '1';
    panel.step = 10;
    Command(225);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 21.2);
    EXPECT_EQ(panel.vfoBMode, '3');
    EXPECT_EQ(g_vfobrxfilter, 32);
    EXPECT_EQ(g_agcmodevfob, '1');
    EXPECT_DOUBLE_EQ(g_stepb, 10);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    panel.xit = 1;
    Command(439);
    EXPECT_EQ(panel.dual, 1);
    EXPECT_EQ(panel.xit, 0);
    EXPECT_EQ(view.lit[439], 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 2);
    Command(439);
    EXPECT_EQ(panel.dual, 0);
    Tune(9.5, '4');
    Command(177);  // right click on DUAL: diversity
    EXPECT_EQ(panel.dual, 1);
    EXPECT_EQ(g_diversity, 1);
    EXPECT_EQ(view.text[9319], "DIV");
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 9.5);
    Command(439);
    EXPECT_EQ(g_diversity, 0);
    // Dual watch does not start during a sweep.
    g_sweeprunning = 1;
    Command(439);
    EXPECT_EQ(panel.dual, 0);
}

TEST_F(BandVfo, StepDialogShowsTheStepAndRefusesBelowOneHertz) {
    plat::dialog_script::Enable();
    panel.step = 2500;
    std::string shown;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& t = static_cast<CTuneSel&>(d);
        shown = t.Control(IDC_CURRENT_STEP)->GetWindowText();
        dynamic_cast<plat::Button*>(t.Control(3214))->Click();  // "100 Hz"
    });
    Command(IDC_STEP_LABEL);
    EXPECT_EQ(shown, "Current Step = 2.5 kHz");
    EXPECT_DOUBLE_EQ(panel.step, 100);
    EXPECT_EQ(view.stepCaption, "100 Hz");
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        static_cast<CTuneSel&>(d).step = 0.5;
        d.EndDialog(plat::IDOK);
    });
    Command(IDC_STEP_LABEL);
    EXPECT_DOUBLE_EQ(panel.step, 100);
    plat::dialog_script::PushHandler([&](plat::Dialog& d) { d.EndDialog(plat::IDCANCEL); });
    Command(IDC_STEP_LABEL);
    EXPECT_DOUBLE_EQ(panel.step, 100);
}
