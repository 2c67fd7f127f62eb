#include "civ/radio_init.h"

#include <cstdint>

#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"
#include "platform/clock.h"

int g_allowed = 0;
int g_swlpending = 0;
int g_firstpoll = 0;
int g_rfstarthold = 0;
int g_forcepush = 0;
int g_reinitrequest = 0;
int g_resendfreqs = 0;
int g_radioinitialised = 0;
int g_powerchanged = 0;
int g_keyerspeedchanged = 0;
int g_tunerstate = 0;
int g_tuneraction = 0;
int g_userbutton = 0;
int g_bandchanged = 0;
int g_vfoadelaypending = 0;
int g_bandreportpending = 0;
int g_mirrored1415 = 0;
PushCopies g_pushcopy;

namespace {
constexpr unsigned kClientPowerOnWaitMs = 800;

bool RawWithExchangeFile() { return g_rawmode && g_pegasustransferfile[0] != '\0'; }

// Step 8: the saved settings, each through its setter.
void PushSavedSettings() {
    TuningState& p = Tuning();
    if (ModelCap(g_hasritread)) RequestRit();
    SetVolume(0);  // the real level follows once the rest is in
    SetAntenna(p.antenna, p.rxAntenna);
    SetAgcA(g_agcmodea);
    SetTxPower(g_power);
    SetSidetoneLevel(g_sidetonevolume);
    SetMicGain(g_micgain);
    SetVoxGain(g_voxgain);
    SetVoxHang(g_voxhang);
    SetAntiVox(g_antivox);
    SetVox(g_voxstate);
    SetNoiseBlankerA(g_hardwarenoisesetting);
    SetNoiseReductionA(g_noise);
    SetAgcVrA(g_agcvr);
    SetApfA(g_apf);
    SetDigiSelA(p.fn.digiSel);
    SetTwinPeakA(g_tpf);
    SetAutoNotchA(g_anotch);
    SetManualNotchA(g_mnotch);
    SetDataMode(g_datamode);
    SetVsc(g_vsc);
    SetSquelchA(g_squelch);
    SetMonitor(p.fn.monitor);
    SetTxEnable(g_txenable);
    if (g_resendfreqs) SetRadioFrequencies();
    SetSpeech(g_speech, g_speechvalue);
    SetSsbTxFilter(g_ssbtxfilter);
    SetRadioKeyer(g_keyer);
    Announce().KeyerSpeed(g_cwspeed, g_keyerweight);
    SetQskDelay(g_cwqskdelay);
    SetCivTimer(TIMER_METER_CYCLE, unsigned(g_metercycle > 0 ? g_metercycle : 1));
    SetAuxTHang(1, g_auxthang);
    SetAuxTHang(2, g_auxt2hang);
    if (g_qarvstart)
        SendCiv({0x11});
    else
        SetAttenuatorA(p.attenuator);
    SetRfGain(g_rfgain);
    if (ModelCap(g_hassubrfgain)) SetRfGainB(p.fn.rfGainB);
    if (ModelCap(g_hastone)) SetCtcss(g_fmcts);
    if (g_pegportsel) Announce().BandChanged();
}

// Step 9: VFO A's state, the frequencies and the receive levels.
void PushVfoAState() {
    TuningState& p = Tuning();
    g_resendfreqs = 0;
    if (ModelCap(g_hasmainsub)) {
        WriteTrace("scr 11");
        SelectVfo('A');
        SetDualWatch(0);
        if (p.dual) TuningDisplay().Toggle(TuningToggle::Dual);
    }
    g_selvfo = 'A';
    g_allowed = 1;
    SetCwPitch(g_bfo);
    g_lastsenta = 0;
    p.vfoAMode = char(g_vfoamode);
    TuningDisplay().Show(TuningShow::Mode);
    SetModeA(g_vfoamode, g_vfoamode);
    if (g_perseus) {
        ForgetPerseusPassband();
        SetPerseusPassband();
    }
    if (!g_firstpoll) SetFilterWidthA(g_rxfilter);
    SetRadioFrequencies();
    SetVolume(g_volume);
    p.fn.afGain = g_volume;
    if (ModelCap(g_hasdualmenu)) SetMenuDualFlag();
    SetLoCut(g_locut);
    SetHiCut(g_hicut);
    g_pushcopy.loCut = g_locut;
    g_pushcopy.hiCut = g_hicut;
    TuningDisplay().SetPbt(PbtCut::Inner, g_locut);
    TuningDisplay().SetPbt(PbtCut::Outer, g_hicut);
    g_pushcopy.preamp = p.preamp;
    if (g_qarvstart)
        SendCiv({0x16, 0x02});
    else
        SetPreampA(p.preamp);
    SetBreakIn(g_spotvolume);
    SetNrLevelA(g_nrval);
    SetNbLevelA(g_nbval);
    SetAgcVrLevelA(g_agcvrval);
    SetNotchPositionA(g_manntval);
    SetApfLevelA(g_apfval);
    SetDigiSelLevelA(p.fn.digiSelLevel);
}
}  // namespace

void InitRadio() {
    if (g_client && !Ask().RemoteClientReady()) return;
    if (g_perseus) g_muted = 1;
    if (g_client && g_poweronoff) {
        plat::SleepMs(kClientPowerOnWaitMs);
        SetRadioPower(1);
    }
    ShowPopupText("Initializing Radio");
    g_rxreset = 1;
    if (g_mirror) SetCivTimer(TIMER_POLL_SEQUENCE, unsigned(g_mirrorpoll > 0 ? g_mirrorpoll : 1));
    if (g_savemem) {
        Announce().MemoryTransferEnds();
        g_savemem = 0;
    }
    if (g_lppandirect && g_thp) {
        static const std::uint8_t kPowerQuery[] = {'P', 'C', '0', '0', '0', ';'};
        Announce().CatOutText(kPowerQuery, int(sizeof kPowerQuery), false);
    }
    Announce().SecondReceiverMute(1);
    Announce().RadioInitialising();
    ForgetVfoBSent();

    if (g_rawmode) {
        SendCiv({0x03});
        SendCiv({0x04});
        g_radioheard = 2;
        SetCivTimer(TIMER_METER_CYCLE, unsigned(g_metercycle > 0 ? g_metercycle : 1));
        g_sweeprunning = 0;
        g_sweepbrunning = 0;
        g_allowed = 1;
        if (g_pegasustransferfile[0] && !g_dual) TuningDisplay().StartDiversity();
    } else {
        PushSavedSettings();
        PushVfoAState();
    }

    if (!RawWithExchangeFile()) {
        g_firstpoll = 0;
        WriteTrace("firstpoll 0 1");
    }
    if (g_rawmode) PollFreqMode();
    g_radioinitialised = 1;
    g_rfstarthold = 0;
}

void FirstPoll() { InitRadio(); }

void ContactRadioAgain() {
    g_radioheard = 0;
    // Whatever the radio had selected, VFO A is asked for, as at start-up.
    g_selvfo = 'C';
    SelectVfo('A');
    PollFreqMode();
}

void RemoteOnSwl() {
    // Outside the 0..255 of levels, so the next mirrored 14 15 is passed on.
    if (g_forcepush) g_mirrored1415 = 1000;
    OnSwl();
}
