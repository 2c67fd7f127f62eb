#include "devices/key_events.h"

#include <cstdio>
#include <string>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_view.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "base/version.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/tuning_state.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyboard.h"
#include "devices/function_table.h"
#include "devices/keying.h"
#include "devices/keypad_pod.h"
#include "devices/surface_keys.h"
#include "panel/filter_table.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "platform/window.h"

int g_keypadtyping = 0;
int g_numericpending = 0;
int g_podpttlatched = 0;
int g_xfcswapped = 0;
int g_midifunctionknob = 0;

namespace {
constexpr unsigned kGuardMs = 50;
constexpr int kScanStartBox = 2444;  // the settings window's "Start Frequency Scan"
constexpr unsigned kHoldoffMs = 800;
constexpr unsigned kCmdSplit = 122;
constexpr unsigned kCmdAEqualsB = 225;
constexpr unsigned kCmdTune = 430;
constexpr unsigned kCmdTunerOn = 564;
constexpr unsigned kCmdTunerOff = 566;

bool SplitOn() { return g_swlpanel ? g_swlpanel->split != 0 : g_split != 0; }
bool RitOn() { return g_swlpanel ? g_swlpanel->rit != 0 : g_riton != 0; }

void SetVfoA(double mhz) { SetVfoAFrequency(mhz); }

// VFO B takes VFO A's frequency, mode and filter.
void SaveAAsB() {
    SetVfoBFrequency(g_vfoafreq);
    g_vfobmode = g_vfoamode;
    g_vfobrxfilter = g_rxfilter;
    if (g_swlpanel) g_swlpanel->vfoBMode = char(g_vfoamode);
}

int KnobFunctionFor(int action) {
    switch (action) {
    case kActVfoA: return kKnobVfoA;
    case kActPbt: return kKnobPbt;
    case kActPower: return kKnobPower;
    case kActVolume: return kKnobVolume;
    case kActVfoB: return kKnobVfoB;
    case kActRfGain: return kKnobRfGain;
    case kActKeyerSpeed: return kKnobKeyerSpeed;
    case kActFilterTune: return kKnobFilter;
    default: return 0;
    }
}

void UpB(int khz, std::uint8_t key) {
    if (SplitOn()) {
        TuneVfoB(khz * 1000);
    } else {
        SaveAAsB();
        HoldFrequencyReports(kHoldoffMs);
        SetVfoA(g_vfoafreq + khz / 1000.0);
        {
            PanelChangeScope change;
            if (g_swlpanel) g_swlpanel->SwapAB();
        }
        PostPanelCommand(kCmdSplit);
    }
    if (!g_usetmate2) {
        g_knobfunction = kKnobVfoB;
        if (key) ShowPodKnob();
    }
}

void NumericOffset(int pending, std::uint8_t key) {
    const int n = key == '0' ? 10 : key - '0';
    SaveAAsB();
    SetVfoA(g_vfoafreq + (pending == 2 ? -n : n) / 1000.0);
    {
        PanelChangeScope change;
        if (g_swlpanel) g_swlpanel->SwapAB();
        OnSwl();
        SendFreqToRX340();
    }
    if (!SplitOn()) PostPanelCommand(kCmdSplit);
}

void StepFilter(int delta) {
    if (!g_swlpanel) return;
    int f = g_swlpanel->filter + delta;
    if (f < 1) f = g_filtercount;
    if (f > g_filtercount) f = 1;
    g_swlpanel->SelectFilter(f);
}

void AccessoryTransmit() {
    char title[96];
    if (!g_podpttlatched) {
        keyon();
        g_podpttlatched = 1;
        g_accxmit = 1;
        if (g_swlpanel && !g_swlpanel->fn.monitor) {
            g_swlpanel->fn.monitor = 1;
            g_swlpanel->NotifyMainWin();
        }
        std::snprintf(title, sizeof title, "AccTX %6.3f %s ", g_vfoafreq, RadioModelName());
    } else {
        keyoff();
        g_podpttlatched = 0;
        g_accxmit = 0;
        if (g_swlpanel && g_swlpanel->fn.monitor) {
            g_swlpanel->fn.monitor = 0;
            g_swlpanel->NotifyMainWin();
        }
        std::snprintf(title, sizeof title, "%6.3f %s ", g_vfoafreq, RadioModelName());
    }
    if (g_swlpanel && g_swlpanel->Parent()) g_swlpanel->Parent()->SetWindowText(std::string(title) + kVersionText);
}

void RunPair(std::uint8_t code) {
    const std::uint8_t rec[6] = {kKeyEventStart, code, kKeyEventEnd,
                                 kKeyEventStart, std::uint8_t(code | kKeyRelease), kKeyEventEnd};
    ProcessKeyEvents(rec, 6, 0);
}
}  // namespace

void PostPanelCommand(unsigned id) {
    if (g_swlpanel && g_swlpanel->Parent()) g_swlpanel->Parent()->PostMessage(plat::WM_COMMAND, id, 0);
}

PanelChangeScope::PanelChangeScope() : saved_(g_inpodkey) { g_inpodkey = 1; }

PanelChangeScope::~PanelChangeScope() {
    g_inpodkey = saved_;
    if (!g_inpodkey && !g_inreader && g_swlpending) OnSwl();
}

void StopScansForSurface() {
    if (g_memscan) {
        if (g_swlpanel) g_swlpanel->SetMemoryScanButton(0);
        g_memscan = 0;
    }
    if (g_scanfreq > 0.01) {
        // A ticked start box would start the scan again at the next
        // settings change.
        SettingsWindow().SetCheck(kScanStartBox, false);
        KillCivTimer(TIMER_SCAN);
        g_scanfreq = 0;
    }
}

void ExecuteFunction(int action, std::uint8_t key) {
    const int pending = g_numericpending;
    g_numericpending = 0;
    if (g_keypadtyping == 1)
        action = key >= 0x2C && key <= '9' ? int(kActTypeKey) : int(kActNoOp);
    else if (pending && key >= '0' && key <= '9')  // only digits make an offset
        action = kActNumericOffset;

    const int knob = KnobFunctionFor(action);
    if (knob) {
        g_knobfunction = knob;
        if (key) ShowPodKnob();
        return;
    }
    switch (action) {
    case kActNoOp: break;
    case kActTuningSelections: CyclePodKnob(); break;
    case kActKnobAbToggle:
        g_knobfunction = g_knobfunction == kKnobVfoA ? kKnobVfoB : kKnobVfoA;
        if (key) ShowPodKnob();
        break;
    case kActRit:
        // A knob selecting RIT (key 0) must not clear the offset on every poll.
        if (g_knobfunction == kKnobRit && key != 0 && !g_midifunctionknob && RitOn()) {
            g_ritoffset = 0;
            if (g_swlpanel) {
                g_swlpanel->ritOffset = 0;
                g_swlpanel->ShowRitXit();
            }
            SetRadioFrequencies();
        }
        g_knobfunction = kKnobRit;
        if (key) ShowPodKnob();
        break;
    case kActPtt:
        if (!g_podptttoggle) {
            keyon();
        } else if (!g_podpttlatched) {
            keyon();
            g_podpttlatched = 1;
        } else {
            keyoff();
            g_podpttlatched = 0;
        }
        break;
    case kActBreakIn:
        if (g_swlpanel && !g_swlpanel->fn.vox) g_swlpanel->CycleBreakIn();
        break;
    case kActVox:
        if (g_swlpanel) g_swlpanel->ToggleVox();
        break;
    case kActCwMem1: mem1(); break;
    case kActCwMem1 + 1: mem2(); break;
    case kActCwMem1 + 2: mem3(); break;
    case kActCwMem1 + 3: mem4(); break;
    case kActCwMem1 + 4: mem5(); break;
    case kActEscape: DoEscape(); break;
    case kActXfc:
        if (SplitOn() && g_swlpanel) {
            g_swlpanel->SwapAB();
            g_xfcswapped = !g_xfcswapped;
        }
        break;
    case kActSplit: PostPanelCommand(kCmdSplit); break;
    case kActBandBottom:
        if (g_bandrow != kGenBandRow && g_bandrow >= 0 && g_bandrow < kBandRows) {
            SetVfoA(g_bandstack[g_bandrow].low);
            SetRadioFrequencies();
            if (g_swlpanel) g_swlpanel->SetPanelTuning(g_vfoafreq, 0, 0, 0, 0, 0);
        }
        break;
    case kActDualReceive: {
        PanelChangeScope change;
        if (g_swlpanel) g_swlpanel->ToggleDual();
        SendFreqToRX340();
        break;
    }
    case kActTypeKey:
        if (g_keypadtyping == 0) {
            FocusMainWindow();
            g_keypadtyping = 1;
        }
        if (plat::Window* w = plat::FocusedWindow()) w->PostMessage(plat::WM_CHAR, key);
        break;
    case kActNumericOffset:
        if (key >= '0' && key <= '9') NumericOffset(pending, key);
        break;
    case kActAEqualsB: PostPanelCommand(kCmdAEqualsB); break;
    case kActUpNumeric: g_numericpending = 1; break;
    case kActDownNumeric: g_numericpending = 2; break;
    case kActUpFilter: StepFilter(-1); break;
    case kActDownFilter: StepFilter(+1); break;
    case kActAccTransmit: AccessoryTransmit(); break;
    case kActMute: ToggleMute(); break;
    case kActStoreSp1:
        if (g_swlpanel) g_swlpanel->StoreScratchPad();
        break;
    case kActRecallSp1StoreSp2:
        if (g_swlpanel) {
            g_swlpanel->StoreScratchPad3();
            g_swlpanel->RecallScratchPad();
        }
        break;
    case kActRecallSp2:
        if (g_swlpanel) g_swlpanel->RecallScratchPad3();
        break;
    case kActUpB1: UpB(1, key); break;
    case kActUpB2: UpB(2, key); break;
    case kActUpB5: UpB(5, key); break;
    case kActTune: PostPanelCommand(kCmdTune); break;
    case kActAntenna:
        if (g_swlpanel) g_swlpanel->CycleAntenna();
        break;
    case kActRxAntenna:
        if (g_swlpanel) g_swlpanel->ToggleRxAntenna();
        break;
    case kActTpf:
        if (g_swlpanel) g_swlpanel->ToggleTpf();
        break;
    case kActTunerOn: PostPanelCommand(kCmdTunerOn); break;
    case kActTunerOff: PostPanelCommand(kCmdTunerOff); break;
    case kActPreamp:
        if (g_swlpanel) g_swlpanel->CyclePreamp();
        break;
    default: PostPanelCommand(unsigned(action)); break;
    }
}

void PostKnobButton(int action) {
    if (g_keypadtyping) return;
    if (action == kActHoldRelease) PostPanelCommand(kActHoldRelease);
    if (action == kActPtt && !g_podptttoggle) keyoff();
}

int ProcessKeyEvents(const std::uint8_t* buf, int length, int start) {
    int pos = start < 0 ? 0 : start;
    while (buf && pos + 3 <= length && buf[pos] == kKeyEventStart) {
        StopScansForSurface();
        const std::uint8_t code = buf[pos + 1];
        pos += 3;
        const bool release = (code & kKeyRelease) != 0;
        if (!release && g_keyguard) continue;
        g_keyguard = 1;
        SetCivTimer(TIMER_KEY_GUARD, kGuardMs);
        if (code == 13) {
            if (g_keypadtyping == 0) {
                g_keypadtyping = 1;
            } else {
                g_keypadtyping = 0;
                g_keyentry = 13;
                if (g_swlpanel) g_swlpanel->KeyDigitA();
            }
            continue;
        }
        const int slot = SlotForKey(code);
        if (slot < 0) continue;
        if (release)
            PostKnobButton(SlotAction(slot));
        else
            ExecuteFunction(SlotAction(slot), code);
    }
    return pos;
}

void PressKey(std::uint8_t code) { RunPair(code); }

void PressPodButton(std::uint8_t code) {
    if (g_griffinpowermate) RunPair(code);
}

void OnKeyF(int n) {
    static const std::uint8_t kCodes[11] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 17};
    if (n < 1 || n > 11) return;
    if (n <= 5 && g_keyerstate && g_cwmacro[n - 1][0]) {
        ExecuteFunction(kActCwMem1 + n - 1, 0);
        return;
    }
    PressPodButton(kCodes[n - 1]);
}

void OnPodPeriodKey() { RunPair('.'); }

void OnPodZeroKey() { RunPair('0'); }
