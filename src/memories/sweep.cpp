#include "memories/sweep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/memory_options.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/tuning_state.h"
#include "memories/station_hooks.h"
#include "panel/filter_table.h"
#include "panel/swl_panel.h"

std::uint16_t* g_sweeptrace = nullptr;

namespace {
constexpr int kMaxValue = 5000;
constexpr char kCw = '3';
constexpr int kNoLimit = 10000;
constexpr int kFullRfGain = 0;

struct Remembered {
    double freq = 0;
    char mode = '0';
    int filter = 2;
    int agc = '1';
    int preamp = 0;
    int rfGain = 0;
    int volume = 0;
};

SweepRun g_run;
Remembered g_saved;


bool Running() { return g_sweeprunning || g_sweepbrunning; }
void EndSubSweep();

// The receiver the run steps: VFO A, or VFO B on the sub-receiver path.
void TuneTo(double mhz) {
    if (g_run.sub) {
        g_vfobfreq = mhz;
        // The S meter reads the selected receiver: B stays selected while
        // it is stepped, also where its frequency goes without selecting.
        SelectVfo('B');
        SetCommonFrequencies(0, mhz, 'B');
        return;
    }
    g_vfoafreq = mhz;
    SetCommonFrequencies(0, mhz, 'A');
}

// Puts one receiver in the sweep settings, or back as it was.
void SetReceiver(bool sub, char mode, int filter, int agc, int preamp, int rfGain) {
    if (sub) {
        SelectVfo('B');
        SetRadioMode(mode, filter);
        SetAgcB(agc);
        SetPreampB(preamp);
        SetRfGainB(rfGain);
    } else {
        SetRadioMode(mode, filter);
        SetAgcA(agc);
        SetPreampA(preamp);
        SetRfGain(rfGain);
    }
}

// The frequency of measurement n, counted in whole steps so that a long run
// does not drift.
double StepFrequency(int n) { return g_run.start + double(n) * g_run.stepHz / 1000000.0; }

// The next reading: at once without a step delay, else after it.
void NextReading() {
    if (g_sweepdelay <= 0)
        PollMeters();
    else
        SetCivTimer(TIMER_SWEEP_STEP, unsigned(g_sweepdelay));
}

void Store(int value) {
    const int at = g_run.index;
    // The trace holds 700 samples; a longer run keeps its last sample.
    const int i = std::clamp(at, 0, kSweepSamples - 1);
    if (g_sweeptrace) {
        std::uint16_t& s = g_sweeptrace[i];
        const int d = g_sweepintegrate > 0 ? g_sweepintegrate : 4;
        switch (g_sweeppanel ? g_sweeppanel->display : 0) {
            case 1: s = std::uint16_t(std::max<int>(s, value)); break;
            case 2:
                if (g_run.firstPass)
                    s = std::uint16_t(value);
                else
                    s = std::uint16_t(value / d + s - s / d);
                break;
            default: s = std::uint16_t(value); break;
        }
    }
    if (at < kSweepSamples - 1) ++g_run.index;
    g_run.maxIndex = std::max(g_run.maxIndex, g_run.index);
}
}  // namespace

SweepSteps SweepStepsFor(int range, bool wide, bool highRes, int userCount) {
    static constexpr int kWideNormal[9] = {5000, 2500, 1000, 500, 250, 100, 40, 20, 10};
    static constexpr int kWideHigh[9] = {2500, 1200, 500, 250, 120, 50, 20, 10, 5};
    struct Row {
        int count, base, step;
    };
    static constexpr Row kNormal[9] = {{2, 5000, 10000}, {2, 2500, 5000}, {5, 1000, 5000}, {5, 500, 2500}, {4, 250, 1000},
                                       {5, 100, 500},    {5, 40, 200},    {5, 20, 100},    {10, 10, 100}};
    static constexpr Row kHigh[9] = {{2, 2500, 5000}, {2, 1250, 2500}, {5, 500, 2500}, {5, 250, 1200}, {4, 125, 500},
                                     {5, 50, 250},    {5, 20, 100},    {5, 10, 50},     {10, 5, 50}};
    range = std::clamp(range, 0, 8);
    if (wide) return {1, highRes ? kWideHigh[range] : kWideNormal[range]};
    const Row& r = highRes ? kHigh[range] : kNormal[range];
    if (userCount > 0) return {userCount, r.base * userCount};
    return {r.count, r.step};
}

double SweepStartFor(double centre, int stepHz, int count, int points) {
    return centre - double(stepHz) / (double(count) * 1000000.0) * points;
}

int SweepValue(int reading) {
    int v = 2 * reading;
    if (v > 299) v -= 300;
    return std::clamp(v, 0, kMaxValue);
}

int SweepPassLimit(int pass) {
    static constexpr int kLimits[8] = {kNoLimit, kNoLimit, 4, 6, 8, 10, 12, 14};
    return pass >= 0 && pass < 8 ? kLimits[pass] : kNoLimit;
}

const SweepRun& CurrentSweep() { return g_run; }

void ClearSweepTrace() {
    if (g_sweeptrace) std::fill(g_sweeptrace, g_sweeptrace + kSweepSamples, std::uint16_t(0));
    g_run.index = 0;
    g_run.maxIndex = 0;
}

void OnSweepStart(double start, int stepHz, int count, bool highRes) {
    WriteTrace("scr 27");
    ClearSweepTrace();
    g_run = {};
    // The IC-7800 can sweep with its sub receiver, leaving the main one alone.
    g_run.sub = ModelCap(g_hassubreceiver) && g_rx320duringsweep != 0;
    g_saved = {};
    if (g_run.sub) {
        g_saved.freq = g_vfobfreq;
        g_saved.mode = char(g_vfobmode);
        // The sub receiver sweeps and goes back with a filter it has.
        g_vfobrxfilter = UsableFilterB(g_rxfilter, char(g_vfobmode));
        g_saved.filter = g_vfobrxfilter;
        g_saved.agc = g_agcmodevfob;
        g_saved.preamp = Tuning().fn.preampB;
        g_saved.rfGain = Tuning().fn.rfGainB;
        SweepKeepVfoB(g_vfobfreq, g_vfobmode, g_vfobrxfilter);
    } else {
        g_saved.freq = g_vfoafreq;
        g_saved.mode = char(g_vfoamode);
        g_saved.filter = g_rxfilter;
        g_saved.agc = g_agcmodea;
        g_saved.preamp = Tuning().preamp;
        g_saved.rfGain = g_rfgain;
    }
    g_saved.volume = g_volume;
    g_run.stepHz = std::max(stepHz, 1);
    g_run.count = std::max(count, 1);
    g_run.start = g_run.current = start;
    g_run.steps = (highRes ? 600 : 300) / g_run.count;
    g_run.end = StepFrequency(g_run.steps);
    (g_run.sub ? g_sweepbrunning : g_sweeprunning) = 1;
    // The sweep settings: CW with the filter in use, fast AGC, no preamp,
    // full RF gain, the receiver muted. The RF gain setting counts down
    // from full gain: 0 is full, 100 the minimum.
    SetReceiver(g_run.sub, kCw, g_saved.filter, '1', 0, kFullRfGain);
    if (!g_muted) ToggleMute();
    TuneTo(g_run.current);
    PollMeters();
}

void SweepRetrigger(double mhz, int reading) {
    (void)mhz;
    if (!Running() || g_sweeppause) return;
    const int s = reading / 256;
    const int limit = SweepPassLimit(g_sweeppanel ? g_sweeppanel->pass : 0);
    if (g_run.step < g_run.steps && s < limit) {
        const int value = SweepValue(reading);
        for (int k = 0; k < g_run.count; ++k) Store(value);
        ++g_run.step;
        g_run.current = StepFrequency(g_run.step);
        TuneTo(g_run.current);
        NextReading();
        if (g_sweeppanel) g_sweeppanel->TraceChanged();
        return;
    }
    const int passMode = g_sweeppanel ? g_sweeppanel->pass : 0;
    if (passMode != 0 && s < limit) {
        g_run.current = g_run.start;
        g_run.step = 0;
        g_run.index = 0;
        g_run.firstPass = false;
        TuneTo(g_run.current);
        NextReading();
        return;
    }
    if (s >= limit) g_run.found = g_run.current;
    SetCivTimer(TIMER_SWEEP_END, 1);
}

void MoveSweepMarker(double mhz) {
    if (g_sweeppanel) g_sweeppanel->SetMarker(mhz);
}

void EndSweep() {
    if (!Running()) return;
    WriteTrace("scr 28");
    g_sweeprunning = 0;
    g_sweepbrunning = 0;
    KillCivTimer(TIMER_SWEEP_STEP);
    KillCivTimer(TIMER_SWEEP_RETRY);
    if (g_run.sub) {
        EndSubSweep();
        return;
    }
    double back = g_saved.freq;
    if (g_run.pick > 0)
        back = g_run.pick;
    else if (g_run.found > 0)
        back = g_run.found;
    SetReceiver(false, g_saved.mode, g_saved.filter, g_saved.agc, g_saved.preamp, g_saved.rfGain);
    if (g_muted) ToggleMute();
    SetVolume(g_saved.volume);
    // The sweep tuned the radio directly; it goes back the same way.
    g_lastsenta = 0;
    TuneTo(back);
    if (g_swlpanel) {
        g_swlpanel->vfoAFreq = back;
        g_swlpanel->SetFrequency(back);
    }
    g_run.pick = 0;
}

namespace {
// The sub receiver goes back to VFO B as kept with the run (A=B and A/B
// during the run update that copy), or to a frequency picked meanwhile; a
// signal a threshold stop found is tuned on VFO A, as on the main path.
void EndSubSweep() {
    const double back = g_run.pick > 0 ? g_run.pick : g_run.vfoBFreq;
    g_vfobmode = g_run.vfoBMode;
    g_vfobrxfilter = g_run.vfoBFilter;
    SetReceiver(true, char(g_run.vfoBMode), g_run.vfoBFilter, g_saved.agc, g_saved.preamp, g_saved.rfGain);
    if (g_muted) ToggleMute();
    SetVolume(g_saved.volume);
    g_lastsentb = 0;
    TuneTo(back);
    SetVfoBFrequency(back);
    if (g_swlpanel) g_swlpanel->SetFrequency2(back);
    if (g_run.found > 0) {
        g_vfoafreq = g_run.found;
        SetRadioFrequencies();
        if (g_swlpanel) g_swlpanel->SetPanelTuning(g_run.found, 0, 0, 0, 0, 0);
    }
    g_run.pick = 0;
}
}  // namespace

void OnSweepPick(double mhz) {
    // A frequency the radio cannot tune leaves everything as it is.
    if (CheckCoverage(mhz) != 0) return;
    if (Running()) {
        g_run.pick = mhz;
        if (g_sweeppanel)
            g_sweeppanel->StopSweep();
        else
            EndSweep();
        return;
    }
    // The band stack keeps where VFO A was before the pick moves it.
    UpdateBandStack(g_vfoafreq, 1);
    g_vfoafreq = mhz;
    SetRadioFrequencies();
    if (g_swlpanel) g_swlpanel->SetPanelTuning(mhz, 0, 0, 0, 0, 0);
}

std::string SweepReadout(double mhz, int value, bool linear) {
    char buf[96];
    if (linear)
        std::snprintf(buf, sizeof buf, "Linear Scale  F= %09.6f MHz    SS= %4.4f", mhz, value / double(kMaxValue));
    else
        std::snprintf(buf, sizeof buf, "Log Scale  F= %09.6f MHz    SS= %3d dB", mhz,
                      int(std::lround(20.0 * std::log10(1.0 + value))));
    return buf;
}

// VFO B's state kept with the run: the sub-receiver sweep puts it back at
// the end; split switched on during a VFO A sweep keeps it too.
void SweepKeepVfoB(double mhz, int mode, int filter) {
    g_run.vfoBFreq = mhz;
    g_run.vfoBMode = mode;
    g_run.vfoBFilter = filter;
}
