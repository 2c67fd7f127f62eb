// The main frame's timer loop: every periodic or delayed piece of work is a
// window timer of the main frame, and OnTimer dispatches them all.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/app_options.h"
#include "app/commands.h"
#include "app/cw_sender.h"
#include "app/main_frame.h"
#include "app/one_second.h"
#include "base/device_options.h"
#include "base/settings_options.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/reply_processing.h"
#include "civ/send_queue.h"
#include "civ/setter_frames.h"
#include "devices/amplifiers.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/external_meters.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/program_links.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "devices/switches.h"
#include "devices/tuner.h"
#include "memories/radio_memories.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"

double g_titlefreq = 0;
double g_markerfreq = 0;
int g_swrshown = 0;
int g_ctssplit = 0;
int g_pttcts = 0;
int g_transverterhold = 0;
int g_propagatepending = 0;

unsigned TimerMs(long ms) { return ms < 10 ? 10u : unsigned(ms); }

void CMainWin::OnTimer(unsigned id) {
    if (g_trace) WriteTracef("OnTimer called %d", int(id));
    if (g_spvisible) {
        plat::Window* sp = ChildById(IDW_SP_MEMORY);
        if (sp && sp != g_lasttoggled) sp->BringWindowToTop();
    }
    if (id == TIMER_DEVICE_POLL) {
        DevicePoll();
        return;
    }
    if (g_ldgmemclear == 2) {
        g_ldgbusy = 1;
        const std::uint8_t star = '*', plus = '+';
        sendtoldg(&star, 1);
        sendtoldg(&plus, 1);
        g_ldgmemclear = 1;
        g_ldgbusy = 0;
    }
    if (g_ontoppending) {
        g_ontoppending = 0;
        SetTopMost(true);
    }
    if (!g_indexvalid) {
        BuildStationIndex();
        ShowStationName(g_vfoafreq);
    }
    if (g_transverterhold) {
        // Only the meter poll runs while the transverter question is open.
        if (id == TIMER_METER_CYCLE && !g_metersuspend && !(g_sweeprunning || g_sweepbrunning)) PollMeters();
        return;
    }
    DispatchTimer(id);
}

void CMainWin::DispatchTimer(unsigned id) {
    switch (id) {
    case TIMER_NEW_TUNING: RunTuningTick(); break;
    case TIMER_METER_CYCLE: {
        // The housekeeping runs with the tick nearest its second, so both
        // share a wake-up.
        OnMeterTick();
        if (OneSecondRidesTick(plat::TimerDueIn(this, TIMER_ONE_SECOND), plat::TimerPeriod(this, TIMER_ONE_SECOND),
                               plat::TimerPeriod(this, TIMER_METER_CYCLE)))
            OnTimer(TIMER_ONE_SECOND);
        break;
    }
    case TIMER_ONE_SECOND: OnOneSecond(); break;
    case TIMER_POPUP_TEXT: RemovePopupText(); break;
    case TIMER_SWEEP_STEP:
        KillTimer(id);
        PollMeters();
        break;
    case TIMER_KEY_GUARD:
        KillTimer(id);
        g_keyguard = 0;
        break;
    case TIMER_SCAN: OnScanStep(); break;
    case TIMER_EXIT: OnExitTimer(); break;
    case TIMER_SWEEP_RETRY:
        KillTimer(id);
        if ((g_sweeprunning || g_sweepbrunning)) PollMeters();
        break;
    case TIMER_SENDQ:
        // The send pump traces, clears its armed flag and writes (one routine).
        OnSendQueueTimer();
        break;
    case TIMER_TUNER_STEP:
        KillTimer(id);
        RunTunerSequence();
        break;
    case TIMER_KEYING_LOOP: OnKeyingLoop(); break;
    case TIMER_SWEEP_RESUME:
        KillTimer(id);
        g_sweeppause = 0;
        if (g_sweeppanel) g_sweeppanel->StartSweep();
        break;
    case TIMER_DEFERRED_ONSWL:
        KillTimer(id);
        g_deferredonswl = 0;
        OnSwl();
        break;
    case TIMER_MEM_TRANSFER: RadioMemoryStep(); break;
    case TIMER_CW_ELEMENT: RunCwElementSender(); break;
    case TIMER_SCAN_RESUME:
        KillTimer(id);
        ResumeMemoryScan();
        break;
    case TIMER_VFOB_DELAY: OnVfoBDelayTimer(); break;
    case TIMER_VFOB_SEND: OnVfoBSendTimer(); break;
    case TIMER_AF_GAIN: OnAfGainTimer(); break;
    case TIMER_SUB_AF_GAIN: OnSubAfGainTimer(); break;
    case TIMER_SELECT_VFO: OnSelectVfoTimer(); break;  // traces "scr 8" itself
    case TIMER_EQUALIZE_SUB: OnEqualizeTimer(); break;
    case TIMER_CLOSE2:
        KillTimer(id);
        close2();
        break;
    case TIMER_VFOA_DELAY: OnVfoADelayTimer(); break;
    case TIMER_AUTOTUNE: OnTunerWatchdog(); break;
    case TIMER_AG_TIMEOUT:
        KillTimer(id);
        AG_Tavn_TimeOut(0);
        break;
    case TIMER_RG_TIMEOUT:
        KillTimer(id);
        RG_Tavn_TimeOut();
        break;
    case TIMER_KEYON_DELAY: OnKeyonDelay(); break;
    case TIMER_SWEEP_END:
        KillTimer(id);
        if (g_sweeppanel) g_sweeppanel->StopSweep();
        break;
    case TIMER_TUNER_RECALL:
        KillTimer(id);
        TunerRecall();
        break;
    case TIMER_KNOB_SPEED:
        KillTimer(id);
        g_knobhighspeed = 0;
        break;
    case TIMER_KNOB_WINDOW:
        g_knobsteps = 0;
        SetTimer(id, 150);
        break;
    case TIMER_ACOM_SEND: {
        KillTimer(id);
        g_acompending = 0;
        const std::uint8_t cmd[4] = {'A', 'q', 'F', '\r'};
        SendToAcom(cmd, 4);
        break;
    }
    case TIMER_FREQ_HOLDOFF: OnFreqHoldoffTimer(); break;
    case TIMER_SOCK_TIMEOUT:
        KillTimer(id);
        OnSockTimeout();
        break;
    case TIMER_PASSBAND: OnPassbandTimer(); break;
    case TIMER_RX2_MUTE:
        KillTimer(id);
        if (!g_transmitting) MuteSecondReceiver(1);
        break;
    case TIMER_POLL_SEQUENCE:
        SetTimer(id, TimerMs(g_mirrorpoll));
        PollRadio();
        break;
    case TIMER_SLIDER_POLL:
        KillTimer(id);
        WriteTrace("scr 88");
        if (g_subsliders && g_swlpanel) g_swlpanel->ToggleMainSubSliders();
        break;
    case TIMER_AUTOBAUD: RadioSearchStep(); break;
    case TIMER_THP_FREQ: OnThpFreqTimer(); break;
    case TIMER_PGXL_STATUS:
        KillTimer(id);
        WriteTrace("turn off statuschange");
        g_pgxlstatuschange = 0;
        if (g_pgxlchange[0] || g_pgxlchange[1] || g_pgxlchange[2]) ProcessAmpWindow();
        break;
    default: break;  // 6310 and unknown ids: nothing
    }
}

namespace {
// The device poll's steps that are running now. A box opened by a step runs
// a nested loop in which the poll goes on (the radio must still be read);
// the step that opened it waits for its own answer and is skipped there.
unsigned g_pollsteps = 0;

template <class Step>
void PollStep(unsigned bit, Step step) {
    if (g_pollsteps & bit) return;
    g_pollsteps |= bit;
    step();
    g_pollsteps &= ~bit;
}
}  // namespace

void CMainWin::DevicePoll() {
    // Kept running, not killed, while the readers work: a box one of them
    // opens (a lost port) runs its own loop, and a poll stopped for its
    // duration would leave the radio written to and never read.
    SetTimer(TIMER_DEVICE_POLL, TimerMs(g_readtimer));
    // The radio reader guards its own scan.
    if (g_radioport != plat::kInvalidPort) ReadRadioPort();
    PollStep(1u << 0, [] { if (g_pegasusport != plat::kInvalidPort) ReadPegPort(); });
    PollStep(1u << 1, [] { if (g_yaltport != plat::kInvalidPort) ReadYaltPort(); });
    PollStep(1u << 2, [] { if (g_ldgport != plat::kInvalidPort) ReadLdgPort(); });
    PollStep(1u << 3, [] { if (g_ldgcoaxport != plat::kInvalidPort && g_ldgcoax) ReadLdg6(); });
    PollStep(1u << 4, [] { if (g_flexopen) ReadFlexKnob(); });
    PollStep(1u << 5, [] { if (g_powermeterport != plat::kInvalidPort) ReadPowerMeter(); });
    PollStep(1u << 6, [] { if (g_usetmate2) ReadTMate2(); });
    PollStep(1u << 7, [] {
        if (g_thp == 1 && !(g_sweeprunning || g_sweepbrunning) && !g_bandchanged) {
            for (int n = 1; n <= 5; ++n) {
                if (n > 1 && (g_thpxcomport[n - 2][0] == '\0' || g_thpxcomport[n - 2][0] == '0')) continue;
                g_activethp = n;
                ReadTHPPort(n);
            }
            g_activethp = 0;
            FollowFrequency();
        }
    });
    PollStep(1u << 8, [] { if (g_a87port != plat::kInvalidPort) ReadA87Port(); });
    PollStep(1u << 9, [] { if (g_pw1port != plat::kInvalidPort) ReadPW1Port(); });
    PollStep(1u << 10, [] { if (g_om4port != plat::kInvalidPort) ReadOM4Port(); });
    PollStep(1u << 11, [] { if (g_zunport != plat::kInvalidPort) ReadZunMeter(); });
    PollStep(1u << 12, [] { if (g_rotorport != plat::kInvalidPort) ReadRotorPort(); });
    PollStep(1u << 13, [] {
        if (g_pttport == plat::kInvalidPort || g_radioserver) return;
        bool cts = false;
        if (!plat::SerialGetCTS(g_pttport, &cts)) {
            WriteTrace("PTT modem status failed");
        } else if (int(cts) != g_pttcts) {
            if (g_client) {
                const std::uint8_t b = cts ? 1 : 0;
                sendtopartner(&b, 1, 6);
            }
            if (cts)
                keyon();
            else
                keyoff();
            g_pttcts = int(cts);
        }
    });
    if (RadioStateChanged()) ExchangePegasusFiles();
    // Unless an accessory needs the poll's rate, the poll sleeps: the radio's
    // bytes wake it once the line has been quiet a few character times, and a
    // write brings it forward to when the answer should be in (ExpectRadioAnswer).
    const bool idle = plat::app::Started() && !plat::manual_clock::Enabled() && !AccessoryPollNeeded();
    SetTimer(TIMER_DEVICE_POLL, DevicePollPeriod(idle, g_readtimer));
    if (idle && g_radioport != plat::kInvalidPort) {
        plat::WakeTimerOnReadable(g_radioport, this, TIMER_DEVICE_POLL, LineQuietMs());
        KeepAnswerExpected();
    }
}

unsigned DevicePollPeriod(bool idle, long readTimer) {
    const unsigned ms = TimerMs(readTimer);
    return idle ? std::max(ms, kIdlePollMs) : ms;
}

bool AccessoryPollNeeded() {
    for (plat::PortHandle h : {g_pegasusport, g_yaltport, g_ldgport, g_ldgcoaxport, g_powermeterport, g_a87port,
                               g_pw1port, g_om4port, g_zunport, g_rotorport, g_pttport})
        if (h != plat::kInvalidPort) return true;
    return g_flexopen || g_usetmate2 || g_thp == 1;
}

void CMainWin::OnMeterTick() {
    KillTimer(TIMER_METER_CYCLE);
    if (g_radioport != plat::kInvalidPort && g_rawmode && g_pegasustransferfile[0]) {
        bool cts = false;
        if (!plat::SerialGetCTS(g_radioport, &cts)) {
            WriteTrace("SW modem status failed");
        } else if (int(cts) != g_ctssplit) {
            if (cts) {
                if (g_dual && g_swlpanel) g_swlpanel->ToggleDual();
            } else if (!(g_dual && g_swlpanel && g_swlpanel->diversity)) {
                if (g_swlpanel) g_swlpanel->SetDiversity(1);
            }
            g_ctssplit = int(cts);
        }
    }
    SetTimer(TIMER_METER_CYCLE, TimerMs(g_metercycle));
    if (!(g_sweeprunning || g_sweepbrunning) && g_vfoafreq != g_markerfreq) {
        if (g_sweeppanel) g_sweeppanel->SetMarker(g_vfoafreq);
        g_markerfreq = g_vfoafreq;
    }
    if (g_extswr != g_swrshown && g_swlpanel && !g_swlpanel->swrAlternate && g_extswr != 10000) {
        char text[16];
        std::snprintf(text, sizeof text, "%2.2f", g_extswr / 100.0);
        g_swlpanel->ShowSwr(text);
        g_swrshown = g_extswr;
    }
    if (g_propagatepending) {
        SetRadioFrequencies();
        g_propagatepending = 0;
    }
    if (!g_metersuspend && !(g_sweeprunning || g_sweepbrunning)) PollMeters();
}

void RunTuningTick() {
    KillCivTimer(TIMER_NEW_TUNING);
    if (g_newtuningpending == 2) {
        EndSweep();
        if (g_newtuningpending == 2) g_newtuningpending = 0;
        return;
    }
    if (g_newtuningpending != 1) return;
    const int row = g_bandrow;
    SetRadioFrequencies();
    if (g_newtuningpending != 1) return;
    g_newtuningpending = 0;
    UpdateBandStack(g_vfoafreq, 0);
    // Tuning into another band ends split: the old transmit frequency
    // belongs to the band left behind.
    if (g_bandrow != row && g_split && g_swlpanel) g_swlpanel->ToggleSplit();
}

void CMainWin::OnScanStep() {
    KillTimer(TIMER_SCAN);
    if (g_memscan) {
        TuneNextStation(0);
        return;
    }
    if (g_scanfreq <= 0.01) return;
    g_scanfreq = NextScanFrequency(g_scanfreq, g_fscanincr, g_fscandirection, g_fscanstart, g_fscanstop);
    g_vfoafreq = g_scanfreq;
    SetRadioFrequencies();
    if (g_swlpanel) g_swlpanel->SetPanelTuning(g_vfoafreq, 0, 0, 0, 0, 0);
    SetTimer(TIMER_SCAN, TimerMs(long(g_fscandwell) * 1000));
}

double NextScanFrequency(double mhz, int stepKhz, int up, double start, double stop) {
    const double step = stepKhz / 1000.0;
    if (up) {
        mhz += step;
        if (mhz > stop) mhz = start;
    } else {
        mhz -= step;
        if (mhz < stop) mhz = start;
    }
    return mhz;
}

void CMainWin::OnKeyingLoop() {
    // Without both conditions the timer keeps its period, so the keying
    // resumes by itself.
    if (PulseKeyingTick()) SetTimer(TIMER_KEYING_LOOP, 20);
}

void CMainWin::OnTunerWatchdog() {
    if (g_tunerstate == 0) return;
    if (g_internaltuner == 3) {
        g_tunerstate = 2;
        g_tunerpending = 10;
        SetTimer(TIMER_TUNER_STEP, 20);
        return;
    }
    autotunerexit();
}
