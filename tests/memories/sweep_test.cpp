// The spectrum sweep: its step tables, the run against the simulated radio
// (put in CW, stepped, put back), the threshold stop and the drawn panel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/main_frame.h"
#include "app/tuning_wiring.h"
#include "base/memory_options.h"
#include "base/settings_options.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "common/sim_steps.h"
#include "memories/station_hooks.h"
#include "memories/sweep.h"
#include "panel/swl_panel.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"
#include "sim/sim_radio.h"

TEST(SweepTables, StepsStartAndValues) {
    SweepSteps s = SweepStepsFor(0, false, false, 0);
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.stepHz, 10000);
    EXPECT_NEAR(SweepStartFor(14.2, s.stepHz, s.count, 150), 13.45, 1e-9);
    s = SweepStepsFor(3, false, true, 0);
    EXPECT_EQ(s.count, 5);
    EXPECT_EQ(s.stepHz, 1200);
    s = SweepStepsFor(5, true, false, 0);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.stepHz, 100);
    s = SweepStepsFor(4, false, false, 3);  // a user count takes base step x n
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.stepHz, 750);
    EXPECT_EQ(SweepValue(160), 20);
    EXPECT_EQ(SweepValue(100), 200);
    EXPECT_EQ(SweepValue(9000), 5000);
    EXPECT_EQ(SweepPassLimit(5), 10);  // "Threshhold S9"
    EXPECT_EQ(SweepPassLimit(1), 10000);
}

namespace {
class SweepWindow : public EngineWindow {
public:
    bool Extra(unsigned id) override {
        if (id == TIMER_SWEEP_END) {
            KillTimer(id);
            if (g_sweeppanel) g_sweeppanel->StopSweep();
            return true;
        }
        if (id == TIMER_SWEEP_STEP) {
            KillTimer(id);
            return true;
        }
        return false;
    }
};

struct SimSweep : LinkBase {
    sim::SimRadio radio{0x94, 19200};
    SweepWindow engine;
    CSwlPanel panel;
    CSweepPanel sweep;
    std::uint16_t trace[kSweepSamples] = {};

    SimSweep() {
        g_timerwindow = &engine;
        g_radiotype = 23;
        g_7600fw2 = 1;
        g_baud = 19200;
        g_swlpanel = &panel;
        WireTuningView();
        g_sweeppanel = &sweep;
        g_sweeptrace = trace;
        g_vfoafreq = panel.vfoAFreq = 14.074;
        g_vfobfreq = panel.vfoBFreq = 14.074;
        g_vfoamode = '0';
        g_rxfilter = 1;
        g_muted = 1;
        g_sweepdelay = 0;
        radio.start();
        open(radio.slavePath());
    }
    ~SimSweep() {
        radio.stop();
        engine.KillTimer(TIMER_DEVICE_POLL);
        engine.KillTimer(TIMER_SENDQ);
        g_swlpanel = nullptr;
        g_sweeppanel = nullptr;
        g_sweeptrace = nullptr;
    }
    // A signal at 14.0750 MHz on the simulated radio's S meter; the sweep
    // reads it through the meter poll and the frame reader.
    void AddSignal() { radio.addSignal(14075000, 200, 50); }
    // Runs until the sweep ends (bounded) and the radio is put back, the
    // radio's line settled after every step.
    void Run() {
        simsteps::RunUntil([] { return !g_sweeprunning && !g_sweepbrunning; }, 200000, {&radio});
        Run(3000);
    }
    void Run(int ms) { simsteps::Run(ms, {&radio}); }
};
}  // namespace

TEST(SweepRun, OnePassStepsTheRadioAndPutsItBack) {
    SimSweep s;
    s.AddSignal();
    s.sweep.range = 8;  // 3 kHz: 30 steps of 100 Hz, 10 samples each
    s.sweep.StartSweep();
    ASSERT_EQ(g_sweeprunning, 1);
    const SweepRun& run = CurrentSweep();
    EXPECT_NEAR(run.start, 14.0725, 1e-9);
    EXPECT_NEAR(run.end, 14.0755, 1e-9);
    s.Run();
    EXPECT_EQ(g_sweeprunning, 0);
    EXPECT_EQ(run.maxIndex, 300);
    // The signal fills the samples of its step and stands above the floor.
    const int at = int(std::lround((14.075 - run.start) / 0.0001)) * 10;
    EXPECT_GT(s.trace[at], 2 * s.trace[5]);
    EXPECT_EQ(s.trace[at], s.trace[at + 9]);
    // The radio went to CW for the run and is back in USB on its frequency.
    bool cw = false;
    for (const auto& f : s.radio.frames())
        if (f.size() >= 6 && f[4] == 0x06 && f[5] == 0x03) cw = true;
    EXPECT_TRUE(cw);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    EXPECT_EQ(s.radio.frequency(0), 14074000);
    EXPECT_NEAR(g_vfoafreq, 14.074, 1e-9);
}

TEST(SweepRun, ThresholdStopsAtTheSignalAndTunesThere) {
    SimSweep s;
    s.AddSignal();
    s.sweep.range = 8;
    s.sweep.pass = 5;  // "Threshhold S9"
    s.sweep.StartSweep();
    s.Run();
    EXPECT_EQ(g_sweeprunning, 0);
    EXPECT_NEAR(g_vfoafreq, 14.075, 1e-6);
    EXPECT_EQ(s.radio.frequency(0), 14075000);
}

TEST(SweepRun, MaxHoldKeepsPeaksOverContinuousPasses) {
    SimSweep s;
    s.AddSignal();
    s.sweep.range = 8;
    s.sweep.display = 1;
    s.sweep.pass = 1;  // continuous: passes until stopped
    s.sweep.StartSweep();
    const SweepRun& run = CurrentSweep();
    const int at = int(std::lround((14.075 - run.start) / 0.0001)) * 10;
    // The first pass sees the signal, the second no longer: the peak is held.
    simsteps::RunUntil([&] { return !run.firstPass; }, 200000, {&s.radio});
    const int peak = s.trace[at];
    s.radio.addSignal(14075000, 0, 0);  // a weaker copy changes nothing: the table keeps the strongest
    s.Run(4000);
    EXPECT_EQ(g_sweeprunning, 1);
    EXPECT_GE(s.trace[at], peak);
    EXPECT_LE(run.maxIndex, kSweepSamples);
    s.sweep.StopSweep();
    EXPECT_EQ(g_sweeprunning, 0);
    s.Run();
    EXPECT_EQ(s.radio.frequency(0), 14074000);
}

TEST(SweepPanel, DrawsTheTraceAndKeepsItsOptions) {
    SimSweep s;
    s.AddSignal();
    g_sweeprange = 8;  // "3 kHz", as the operator left it
    s.sweep.LoadOptions();
    s.sweep.Create("SweepPanel", plat::WS_BORDER, {100, 100, 520, 340}, nullptr, 1213);
    s.sweep.ShowWindow(plat::SW_SHOW);
    s.sweep.range = 8;
    s.sweep.StartSweep();
    s.Run();
    EXPECT_TRUE(plat::SaveWindowImage(&s.sweep, std::string(QARV_BUILD_DIR) + "/sweep_panel.png"));
    // A pick in the graph tunes VFO A there.
    const double f = s.sweep.Graph().FrequencyAt(s.sweep.Graph().GetWindowRect().width() / 2);
    s.sweep.PickAt(s.sweep.Graph().GetWindowRect().width() / 2);
    EXPECT_NEAR(g_vfoafreq, f, 1e-9);
}

namespace {
std::string FreqText(double mhz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "F= %09.6f MHz", mhz);
    return buf;
}

// The panel as the operator left it: "3 kHz" (14.0725 .. 14.0755 MHz around
// VFO A), on a radio that takes frequencies.
void OpenPanel(SimSweep& s) {
    g_allowed = 1;
    g_sweeprange = 8;
    s.sweep.LoadOptions();
    s.sweep.Create("SweepPanel", plat::WS_BORDER, {100, 100, 520, 340}, nullptr, 1213);
}
// The panel over a station with a signal, shown; its graph.
CSweepWnd& OpenShownGraph(SimSweep& s) {
    s.AddSignal();
    OpenPanel(s);
    s.sweep.ShowWindow(plat::SW_SHOW);
    return s.sweep.Graph();
}
}  // namespace

TEST(SweepGraph, ClickTunesTheRadioWhereItWasClicked) {
    SimSweep s;
    CSweepWnd& graph = OpenShownGraph(s);
    const int w = graph.GetWindowRect().width();
    // Before any sweep the graph covers no frequencies: a click moves nothing.
    plat::synth::Click(&graph, plat::synth::Button::Left, {w / 2, 20});
    EXPECT_NEAR(g_vfoafreq, 14.074, 1e-9);
    s.sweep.StartSweep();
    s.Run();
    ASSERT_EQ(g_sweeprunning, 0);
    ASSERT_EQ(s.radio.frequency(0), 14074000);
    // A quarter of the way across is 750 Hz above the start.
    const double want = CurrentSweep().start + (CurrentSweep().end - CurrentSweep().start) * (w / 4) / w;
    plat::synth::Click(&graph, plat::synth::Button::Left, {w / 4, 20});
    s.Run();
    EXPECT_NEAR(g_vfoafreq, want, 1e-9);
    EXPECT_NEAR(s.panel.vfoAFreq, want, 1e-9);
    EXPECT_EQ(s.radio.frequency(0), int(std::lround(want * 1e6)));
    EXPECT_EQ(g_sweeprunning, 0);
}

TEST(SweepGraph, ClickDuringASweepStopsItAndGoesThere) {
    SimSweep s;
    g_sweepthresh = 1;  // continuous: runs until the click
    s.AddSignal();
    OpenPanel(s);
    s.sweep.ShowWindow(plat::SW_SHOW);
    s.sweep.StartSweep();
    s.Run(2000);
    ASSERT_EQ(g_sweeprunning, 1);
    CSweepWnd& graph = s.sweep.Graph();
    const int x = graph.GetWindowRect().width() * 3 / 4;
    const double want = graph.FrequencyAt(x);
    plat::synth::Click(&graph, plat::synth::Button::Left, {x, 10});
    EXPECT_EQ(g_sweeprunning, 0);
    s.Run();
    EXPECT_NEAR(g_vfoafreq, want, 1e-9);
    EXPECT_EQ(s.radio.frequency(0), int(std::lround(want * 1e6)));
    EXPECT_EQ(s.radio.mode(0), 0x01);  // back in USB
}

TEST(SweepGraph, PointerShowsTheReadoutAndItFitsThePanel) {
    SimSweep s;
    CSweepWnd& graph = OpenShownGraph(s);
    const int w = graph.GetWindowRect().width();
    plat::synth::Move(&graph, {w / 2, 30});
    EXPECT_EQ(s.sweep.ReadoutText(), "");  // nothing swept yet
    s.sweep.StartSweep();
    s.Run();
    // Over the signal at 14.075 MHz: its frequency and a level above the floor.
    const SweepRun& run = CurrentSweep();
    const int x = int((14.0751 - run.start) / (run.end - run.start) * w);
    plat::synth::Enter(&graph);
    plat::synth::Move(&graph, {x, 30});
    const std::string text = s.sweep.ReadoutText();
    EXPECT_EQ(text.rfind("Log Scale  F= ", 0), 0u) << text;
    EXPECT_NE(text.find(FreqText(graph.FrequencyAt(x))), std::string::npos) << text;
    EXPECT_EQ(text, SweepReadout(graph.FrequencyAt(x), graph.ValueAt(x), false));
    EXPECT_GT(graph.ValueAt(x), graph.ValueAt(2));
    EXPECT_TRUE(plat::SaveWindowImage(&s.sweep, std::string(QARV_BUILD_DIR) + "/sweep_panel_readout.png"));
    // The longest readout fits its row; the panel holds every control.
    s.sweep.linear = 1;
    plat::synth::Move(&graph, {w - 1, 30});
    EXPECT_EQ(s.sweep.ReadoutText().rfind("Linear Scale  F= ", 0), 0u);
    EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(&s.sweep)), "");
    plat::synth::Leave(&graph);
    EXPECT_EQ(s.sweep.ReadoutText(), "");
}

TEST(SweepSub, TheIc7800StepsItsSubReceiverAndPutsItBack) {
    SimSweep s;
    s.AddSignal();
    g_radiotype = 5;  // IC-7800: VFO B is the sub receiver
    g_7600fw2 = 0;
    g_rx320duringsweep = 1;
    g_vfobfreq = s.panel.vfoBFreq = 7.05;
    g_vfobmode = '0';
    g_vfobrxfilter = 2;
    s.sweep.range = 8;  // 14.0725 .. 14.0755, around VFO A
    s.sweep.StartSweep();
    ASSERT_EQ(g_sweepbrunning, 1);
    EXPECT_EQ(g_sweeprunning, 0);
    const SweepRun& run = CurrentSweep();
    EXPECT_TRUE(run.sub);
    s.Run();
    EXPECT_EQ(g_sweepbrunning, 0);
    EXPECT_EQ(run.maxIndex, 300);
    // The sub receiver heard the signal at 14.075 MHz: it was the one stepped
    // and read.
    const int at = int(std::lround((14.075 - run.start) / 0.0001)) * 10;
    EXPECT_GT(s.trace[at], 2 * s.trace[5]);
    // VFO B is back on its frequency and mode; VFO A never moved.
    EXPECT_EQ(s.radio.frequency(1), 7050000);
    EXPECT_EQ(s.radio.mode(1), 0x01);
    EXPECT_NEAR(g_vfobfreq, 7.05, 1e-9);
    EXPECT_NEAR(s.panel.vfoBFreq, 7.05, 1e-9);
    EXPECT_NEAR(g_vfoafreq, 14.074, 1e-9);
    EXPECT_NE(s.radio.mode(0), 0x03);
    bool aMoved = false;
    int selected = 0;
    for (const auto& f : s.radio.frames()) {
        if (f.size() >= 6 && f[4] == 0x07) selected = f[5] == 0xD1 || f[5] == 0x01;
        if (f.size() >= 6 && f[4] == 0x05 && !selected) aMoved = true;
    }
    EXPECT_FALSE(aMoved) << "a frequency went to VFO A";
}

TEST(SweepSub, WithTheSettingOffTheIc7800StepsVfoA) {
    SimSweep s;
    g_radiotype = 5;
    g_7600fw2 = 0;
    g_rx320duringsweep = 0;
    g_vfobfreq = s.panel.vfoBFreq = 7.05;
    s.sweep.range = 8;
    s.sweep.StartSweep();
    EXPECT_EQ(g_sweeprunning, 1);
    EXPECT_EQ(g_sweepbrunning, 0);
    EXPECT_FALSE(CurrentSweep().sub);
    s.Run();
    EXPECT_EQ(s.radio.frequency(0), 14074000);
    EXPECT_NEAR(g_vfobfreq, 7.05, 1e-9);
}

TEST(SweepSub, AThresholdStopTunesTheMainReceiverToTheSignal) {
    SimSweep s;
    s.AddSignal();
    g_radiotype = 5;
    g_7600fw2 = 0;
    g_rx320duringsweep = 1;
    g_vfobfreq = s.panel.vfoBFreq = 7.05;
    g_vfobmode = '0';
    s.sweep.range = 8;
    s.sweep.pass = 5;  // "Threshhold S9"
    g_allowed = 1;
    s.sweep.StartSweep();
    s.Run();
    EXPECT_EQ(g_sweepbrunning, 0);
    EXPECT_NEAR(g_vfoafreq, 14.075, 1e-6);
    EXPECT_EQ(s.radio.frequency(0), 14075000);
    EXPECT_EQ(s.radio.frequency(1), 7050000);
}

TEST(SweepGraph, APickOutsideTheRadiosCoverageMovesNothing) {
    SimSweep s;
    g_allowed = 1;
    OnSweepPick(45.0);  // between 33 and 49 MHz: no coverage
    s.Run();
    EXPECT_NEAR(g_vfoafreq, 14.074, 1e-9);
    EXPECT_EQ(s.radio.frequency(0), 14074000);
}
