// The state push: OnSwl compares the panel's values with the copies last
// sent and calls the setter of each value that changed, in a fixed order.
#include <cstdint>

#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "civ/tuning_state.h"
#include "platform/window.h"

namespace {
constexpr int kUnsentB = 100;       // VFO B copies after a re-initialisation
constexpr int kUnsentRfGainB = 500;
constexpr int kUnsentCut = 10000;
constexpr unsigned kTunerStartMs = 8000;
constexpr unsigned kTunerRunMs = 20000;
constexpr unsigned kTunerStepMs = 600;
constexpr unsigned kSplitHoldoffMs = 500;
constexpr unsigned kBandReportMs = 1400;
int g_firstpush = 1;  // the first push of a run always sends VFO A's mode

// One compare-and-send step: a changed (or forced) value is stored in its
// copy and handed to its setter.
template <typename Setter>
bool Push(int value, int& copy, Setter setter) {
    if (value == copy && !g_forcepush) return false;
    copy = value;
    setter(value);
    return true;
}

void ReinitRadio() {
    TuningState& p = Tuning();
    OpenRadioPort();
    const int wasDual = g_dual;
    if (wasDual) {
        p.dual = 0;
        SendFreqToRX340();
        WriteTrace("scr 15");
        SelectVfo('A');
    }
    InitRadio();
    PushCopies& c = g_pushcopy;
    for (int* v : {&c.preampB, &c.attenuatorB, &c.noiseReductionB, &c.agcVrB, &c.apfB, &c.digiSelB, &c.twinPeakB,
                   &c.noiseBlankerB, &c.autoNotchB, &c.manualNotchB, &c.nbLevelB, &c.agcVrLevelB, &c.notchPositionB,
                   &c.apfLevelB, &c.digiSelLevelB, &c.nrLevelB, &c.squelchB})
        *v = kUnsentB;
    c.rfGainB = kUnsentRfGainB;
    if (wasDual) {
        p.dual = 1;
        SendFreqToRX340();
    }
    g_reinitrequest = 0;
    WriteTrace("OnSwl exit 1");
}

// Step 5: VFO A's functions and levels, the power and the keyer speed.
void PushFunctions(TuningState& p) {
    PanelFunctions& f = p.fn;
    PushCopies& c = g_pushcopy;
    Push(f.noiseBlanker, g_hardwarenoisesetting, SetNoiseBlankerA);
    Push(f.autoNotch, g_anotch, SetAutoNotchA);
    if (ModelCap(g_hasipplus)) Push(f.ipPlus, c.ipPlus, SetFunction1A07);
    if (ModelCap(g_hasnotchwidth)) Push(f.notchWidth, c.notchWidth, SetFunction1657);
    Push(f.manualNotch, g_mnotch, SetManualNotchA);
    Push(f.noiseReduction, g_noise, SetNoiseReductionA);
    Push(f.agcVr, g_agcvr, SetAgcVrA);
    Push(f.apf, g_apf, SetApfA);
    Push(f.digiSel, c.digiSel, SetDigiSelA);
    Push(f.twinPeak, g_tpf, SetTwinPeakA);
    Push(f.nbLevel, g_nbval, SetNbLevelA);
    Push(f.agcVrLevel, g_agcvrval, SetAgcVrLevelA);
    Push(f.notchPosition, g_manntval, SetNotchPositionA);
    Push(f.apfLevel, g_apfval, SetApfLevelA);
    Push(f.digiSelLevel, c.digiSelLevel, SetDigiSelLevelA);
    Push(f.nrLevel, g_nrval, SetNrLevelA);
    Push(f.vox, g_voxstate, SetVox);
    if (g_powerchanged || g_forcepush) {
        SetTxPower(g_power);
        g_powerchanged = 0;
    }
    if (g_keyerspeedchanged) {
        g_cwspeed = g_keyerks + g_keyercw + 10;
        Announce().KeyerSpeed(g_cwspeed, g_keyerweight);
        g_keyerspeedchanged = 0;
    }
}

int TxMode(const TuningState& p) { return p.split ? p.vfoBMode : p.vfoAMode; }

// Step 7: receive and transmit settings; true when a frequency-relevant
// value (RIT, XIT, PBT) changed.
bool PushReceiver(TuningState& p) {
    PanelFunctions& f = p.fn;
    PushCopies& c = g_pushcopy;
    bool changed = false;
    Push(p.preamp, c.preamp, [](int v) {
        if (!g_rfstarthold) SetPreampA(v);
    });
    const bool digisel = ModelCap(g_hasdigisel) != 0;
    const bool antennaChanged = p.antenna != c.antenna || p.rxAntenna != c.rxAntenna ||
                                (digisel && (f.antennaB != c.antennaB || f.rxAntennaB != c.rxAntennaB));
    if (antennaChanged || g_forcepush) {
        c.antenna = p.antenna;
        c.rxAntenna = p.rxAntenna;
        if (digisel) {
            c.antennaB = f.antennaB;
            c.rxAntennaB = f.rxAntennaB;
        }
        SetAntenna(p.antenna, p.rxAntenna);
    }
    if (g_allowed) Push(f.afGain, g_volume, SetVolume);
    Push(p.agc, g_agcmodea, SetAgcA);
    Push(p.attenuator, c.attenuator, [](int v) {
        if (!g_rfstarthold) SetAttenuatorA(v);
    });
    Push(f.monitor, c.monitor, SetMonitor);
    Push(f.breakIn, g_spotvolume, SetBreakIn);
    // Tune mode keys the transmitter: only a real change switches it.
    if (f.tuneRequest != g_tunemodeon) SetTuneMode(f.tuneRequest);
    Push(f.pttRequest, c.ptt, [](int on) { Announce().PttRequest(on); });
    Push(f.rfGain, g_rfgain, SetRfGain);
    if (p.ritOffset != g_ritoffset) {
        g_ritoffset = p.ritOffset;
        changed = true;
    }
    if (p.xitOffset != g_xitoffset) {
        g_xitoffset = p.xitOffset;
        changed = true;
    }
    if (p.xit != g_xiton || p.rit != g_riton || p.pbt != g_pbton) changed = true;
    if (g_perseus) {
        g_pbton = p.pbt;
        const int shift = p.pbt ? p.pbtShift : 0;
        if (shift != c.passbandShift) {
            c.passbandShift = shift;
            g_passbandshift = shift;
            SetPerseusPassband();
        }
    }
    g_riton = p.rit;
    g_xiton = p.xit;
    g_pbton = p.pbt;
    return changed;
}

// Step 8: split.
bool PushSplit(TuningState& p) {
    if (p.split == g_split && !g_forcepush) return false;
    g_split = p.split;
    if (g_sweeprunning && p.split) {
        Announce().SweepKeepsVfoB(p.vfoBFreq, p.vfoBMode, g_vfobrxfilter);
        Announce().StopSweep();
    }
    if (g_lppandirect && g_thp && !g_sweeprunning && !g_sweepbrunning) {
        const std::uint8_t text[] = {'F', 'T', std::uint8_t(p.split ? '1' : '0'), ';'};
        Announce().CatOutText(text, int(sizeof text), true);
        Announce().SecondReceiverChanged();
    }
    if (g_perseuspan && g_thp) {
        WriteTracef("Invalidate split X1 %d", p.split);
        HoldFrequencyReports(kSplitHoldoffMs);
    }
    SetModeA(p.vfoAMode, TxMode(p));
    return true;
}

// Step 9: transmit enable, VFO A's filter and the twin-PBT cuts.
void PushFilter(TuningState& p) {
    PushCopies& c = g_pushcopy;
    Push(p.fn.txEnabled, g_txenable, SetTxEnable);
    if (p.filter != g_rxfilter || g_forcepush) {
        SetFilterWidthA(p.filter);
        c.loCut = kUnsentCut;
        c.hiCut = kUnsentCut;
    }
    Push(p.pbtInner, c.loCut, SetLoCut);
    Push(p.pbtOuter, c.hiCut, SetHiCut);
}

// Step 11.2: a tune requested from the panel.
void StartInternalTuner() {
    Announce().TuneStarting();
    if (g_internaltuner == 4) {
        // With its RTS line pulsed the LDG tuner keys the radio itself.
        if (!Ask().TunerKeysRadio()) Announce().KeyOn();
        g_tunerstate = 2;
        SetCivTimer(TIMER_AUTOTUNE, kTunerRunMs);
        SetCivTimer(TIMER_TUNER_STEP, kTunerStepMs);
        return;
    }
    if (ModelCap(g_tunerstart) == 1)
        SendCiv({0x1A, 0x05, 0x28, std::uint8_t(g_tuneraction ? 1 : 0)});
    else if (ModelCap(g_tunerstart) == 2)
        SendCiv({0x1A, 0x05, 0x00, 0x20, 0x01});
    else
        SendCiv({0x1C, 0x01, std::uint8_t(g_tuneraction)});
    g_tunerstate = 0;
}

// Step 11.3: the sub receiver of model 5.
void PushVfoBGroup(TuningState& p) {
    PanelFunctions& f = p.fn;
    PushCopies& c = g_pushcopy;
    Push(f.preampB, c.preampB, SetPreampB);
    Push(f.attenuatorB, c.attenuatorB, SetAttenuatorB);
    Push(f.noiseReductionB, c.noiseReductionB, SetNoiseReductionB);
    Push(f.agcVrB, c.agcVrB, SetAgcVrB);
    Push(f.apfB, c.apfB, SetApfB);
    Push(f.digiSelB, c.digiSelB, SetDigiSelB);
    Push(f.twinPeakB, c.twinPeakB, SetTwinPeakB);
    Push(f.noiseBlankerB, c.noiseBlankerB, SetNoiseBlankerB);
    Push(f.autoNotchB, c.autoNotchB, SetAutoNotchB);
    Push(f.manualNotchB, c.manualNotchB, SetManualNotchB);
    Push(f.nbLevelB, c.nbLevelB, SetNbLevelB);
    Push(f.agcVrLevelB, c.agcVrLevelB, SetAgcVrLevelB);
    Push(f.notchPositionB, c.notchPositionB, SetNotchPositionB);
    Push(f.apfLevelB, c.apfLevelB, SetApfLevelB);
    Push(f.digiSelLevelB, c.digiSelLevelB, SetDigiSelLevelB);
    Push(f.nrLevelB, c.nrLevelB, SetNrLevelB);
    Push(f.rfGainB, c.rfGainB, SetRfGainB);
    Push(f.squelchB, c.squelchB, SetSquelchB);
}

// A tuning send is pending exactly while its timer is armed, so the tuning
// code's own sends and these share one pace.
bool TimerArmed(unsigned id) { return g_timerwindow && g_timerwindow->HasTimer(id); }

void SendFrequencies() {
    if (g_frequencydelay != 0 && !g_vfoadelaypending) {
        g_vfoadelaypending = 1;
        SetCivTimer(TIMER_VFOA_DELAY, unsigned(g_frequencydelay));
    }
    if (!TimerArmed(TIMER_NEW_TUNING)) {
        SetRadioFrequencies();
        g_newtuningpending = 1;
        SetCivTimer(TIMER_NEW_TUNING, unsigned(g_tuningdelay > 0 ? g_tuningdelay : 1));
    }
}
}  // namespace

void OnSwl() {
    WriteTrace("OnSwl");
    if (g_reinitrequest) {
        ReinitRadio();
        return;
    }
    TuningState& p = Tuning();
    if (g_timerwindow) g_timerwindow->BringWindowToTop();

    // Step 3: the frequencies themselves go in step 10.
    bool changed = false;
    if (CompareFrequencies(p.vfoAFreq, g_vfoafreq) != 0 || g_forcepush) {
        g_vfoafreq = p.vfoAFreq;
        changed = true;
    }
    if (CompareFrequencies(p.vfoBFreq, g_vfobfreq) != 0 || g_forcepush) {
        g_vfobfreq = p.vfoBFreq;
        if (!g_rawmode) changed = true;
    }
    if (!changed && !g_client) {
        WriteTrace("scr 16");
        SelectVfo('A');
    }
    // A step of 0 (edited by hand) would divide by zero where VFO A is rounded.
    const double step = p.step < 1 ? 1 : p.step;
    if (step != g_step) g_step = step;

    // Step 4: pending actions.
    if (g_tunerstate == 6) {
        g_tunerstate = 2;
        SetCivTimer(TIMER_AUTOTUNE, kTunerStartMs);
        SetCivTimer(TIMER_TUNER_STEP, 0);
    }
    if (g_userbutton >= 1 && g_userbutton <= 4) {
        SendUserCommand(g_userbuttonvalue[g_userbutton - 1]);
        g_userbutton = 0;
    }

    if (!g_rawmode) PushFunctions(p);

    // Step 6: modes, only while the transmitter is not in tune mode.
    bool pushRest = !g_rawmode;
    if (!g_tunemodeon) {
        if (p.vfoAMode != g_vfoamode || g_firstpush || g_forcepush) {
            g_firstpush = 0;
            g_vfoamode = p.vfoAMode;
            changed = true;
            SetModeA(p.vfoAMode, TxMode(p));
            if (!g_rawmode) SetFilterWidthA(p.filter);
        }
        if (!g_rawmode) {
            if (p.vfoBMode != g_vfobmode || g_forcepush) {
                g_vfobmode = p.vfoBMode;
                changed = true;
                SetModeA(p.vfoAMode, TxMode(p));
                SetFilterWidthA(p.filter);
            }
            Push(p.dataMode, g_datamode, SetDataMode);
            Push(p.vsc, g_vsc, SetVsc);
        }
    }

    if (pushRest) {
        if (PushReceiver(p)) changed = true;
        if (PushSplit(p)) changed = true;
        PushFilter(p);
    }

    // Step 10.
    if (changed) SendFrequencies();
    if (p.fn.tuneRequest != g_tunemodeon) {
        SetTuneMode(p.fn.tuneRequest);
        SetRadioFrequencies();
    }

    // Step 11.
    if (!g_rawmode) {
        Push(p.fn.squelch, g_squelch, SetSquelchA);
        if (g_tunerstate == 1) StartInternalTuner();
        if (ModelCap(g_hassubreceiver) && (g_dual || g_forcepush)) PushVfoBGroup(p);
        if (ModelCap(g_hassubrfgain)) Push(p.fn.rfGainB, g_pushcopy.rfGainB, SetRfGainB);
    }

    // Step 12.
    if (g_bandchanged && g_lppandirect && !g_bandreportpending) {
        g_bandreportpending = 1;
        SetCivTimer(TIMER_THP_FREQ, kBandReportMs);
        WriteTrace("g_bb need send back");
    }
    g_bandchanged = 0;
    g_swlpending = 0;
    g_forcepush = 0;
    WriteTrace("OnSwl exit 2");
}
