#include "devices/knob_tuning.h"

#include <cstdlib>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyer.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "panel/filter_table.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "platform/window.h"

int g_wheelunit = 1000;

namespace {
constexpr int kMaxCount = 32767;
constexpr int kLargeCount = 200;
constexpr unsigned kWindowMs = 150;
constexpr unsigned kHighSpeedMs = 300;
constexpr unsigned kDeferredOnSwlMs = 50;
constexpr int kWheelNotch = 120;
constexpr int kVolumeWheelMax = 239;

int g_windowarmed = 0;
int g_desenseA = 0;
int g_desenseB = 0;
int g_filtersteps = 0;
int g_keyersteps = 0;
int g_wheelrest = 0;  // wheel delta short of a whole count

int Sign(int n) { return n > 0 ? 1 : n < 0 ? -1 : 0; }

int ClampInt(long long v) {
    if (v > 2147483647LL) return 2147483647;
    if (v < -2147483647LL) return -2147483647;
    return int(v);
}

// Tunes by `count` steps of `stepHz`; with a step at or above "POD
// THRESHOLD" the counts are divided by "POD DESENSE" and the rest kept.
long long DesensedHz(int count, double stepHz, int& remainder) {
    const long long step = (long long)(stepHz);
    if (stepHz < g_podthreshold) return step * count;
    const int desense = g_poddesense < 1 ? 1 : g_poddesense;
    remainder += count;
    const long long moves = remainder / desense;
    remainder %= desense;
    return step * moves;
}

void ArmDeferredOnSwl() {
    if (g_deferredonswl) return;
    g_deferredonswl = 1;
    SetCivTimer(TIMER_DEFERRED_ONSWL, kDeferredOnSwlMs);
}

void StepPbtOrRit(int d, bool rit) {
    ArmDeferredOnSwl();
    if (!g_swlpanel) return;
    // Switched on directly: a posted toggle would switch it off again on
    // the next step that came before it was delivered.
    if (rit)
        g_swlpanel->SwitchRitOnForStep();
    else
        g_swlpanel->SwitchPbtOnForStep();
    if (d > 0 || g_knobabsolute)
        g_swlpanel->KnobUp();
    else if (d < 0)
        g_swlpanel->KnobDown();
}

void StepPower(int d) {
    if (g_knobabsolute)
        g_power = g_knobabsvalue * 100 / 127;
    else
        g_power += Sign(d);
    // The setter takes a percent.
    if (g_power < 0) g_power = 0;
    if (g_power > 100) g_power = 100;
    SetTxPower(g_power);
}

void StepVolume(int d) {
    if (g_knobabsolute)
        g_volume = g_knobabsvalue * 255 / 127;
    else
        g_volume += 3 * Sign(d);
    if (g_volume < 0) g_volume = 0;
    if (g_volume > 255) g_volume = 255;
    SetVolume(g_volume);
    if (g_swlpanel) {
        g_swlpanel->fn.afGain = g_volume;  // so the next state push keeps it
        g_swlpanel->SetVolumeA(g_volume);
    }
}

void StepRfGain(int d) {
    if (g_knobabsolute)
        g_rfgain = 100 - g_knobabsvalue * 100 / 127;
    else
        g_rfgain -= Sign(d);
    if (g_rfgain < 0) g_rfgain = 0;
    if (g_rfgain > 100) g_rfgain = 100;
    if (g_swlpanel) {
        g_swlpanel->fn.rfGain = g_rfgain;
        // The slider stands upside down (100 is full gain); with the sub
        // sliders up it shows the sub receiver, which the knob leaves alone.
        if (!g_swlpanel->SubSliders()) g_swlpanel->SetSlider(IDC_SLIDER_RF_GAIN, 100 - g_rfgain);
    }
    SetRfGain(g_rfgain);
}

// The knob moves the pot offset ("KEYER KS", 0..15) over the base ("KEYER
// CW"), as the keyer's own speed pot does; the base is the operator's
// setting and stays as it is.
void StepKeyerSpeed(int d) {
    if (g_yaltkeyer && !g_nospeedpot) return;  // the keyer's own pot rules
    if (g_knobabsolute) {
        g_keyerks = g_knobabsvalue * 15 / 127;
    } else {
        if (Sign(d) != Sign(g_keyersteps)) g_keyersteps = 0;
        g_keyersteps += Sign(d);
        if (g_keyersteps >= 6 || g_keyersteps <= -6) {
            g_keyerks += Sign(g_keyersteps);
            g_keyersteps = 0;
        }
    }
    if (g_keyerks < 0) g_keyerks = 0;
    if (g_keyerks > 15) g_keyerks = 15;
    g_cwspeed = g_keyercw + g_keyerks + 10;
    kstats(g_cwspeed, g_keyerweight);
    if (g_swlpanel) g_swlpanel->ShowKeyerSpeed();
}

void StepFilter(int d) {
    if (!g_swlpanel || d == 0) return;
    if (Sign(d) != Sign(g_filtersteps)) g_filtersteps = 0;
    g_filtersteps += g_griffinpowermate ? 10 * Sign(d) : Sign(d);
    int f = g_swlpanel->filter;
    if (g_filtersteps > 7 || (g_cmdmicro && g_filtersteps > 0)) {
        f = f + 1 > g_filtercount ? 1 : f + 1;
    } else if (g_filtersteps < -7 || (g_cmdmicro && g_filtersteps < 0)) {
        f = f - 1 < 1 ? g_filtercount : f - 1;
    } else {
        return;
    }
    g_filtersteps = 0;
    g_swlpanel->SelectFilter(f);
}
}  // namespace

int ClampCount(long long n) {
    if (n > kMaxCount) return kMaxCount;
    if (n < -kMaxCount) return -kMaxCount;
    return int(n);
}

StepRecord MakeStepRecord(int count) {
    const auto v = std::uint16_t(std::int16_t(ClampCount(count)));
    StepRecord r;
    r.bytes[1] = std::uint8_t(v >> 8);
    r.bytes[2] = std::uint8_t(v & 0xFF);
    return r;
}

int StepRecordCount(const StepRecord& r) { return std::int16_t(std::uint16_t(r.bytes[1] << 8 | r.bytes[2])); }

void AccumulateTuneStep(int n) {
    n = ClampCount(n);
    bool large = false;
    if (!g_usetmate2 && (n > kLargeCount || n < -kLargeCount)) {
        n /= 100;
        large = true;
    }
    if (!g_windowarmed) {
        SetCivTimer(TIMER_KNOB_WINDOW, kWindowMs);
        g_windowarmed = 1;
    }
    g_knobsteps = ClampCount((long long)g_knobsteps + n);
    if ((g_knobfunction == kKnobVfoA || g_knobfunction == kKnobVfoB) && !large) {
        if (std::abs(g_knobsteps) > g_highspeedsensitivity || g_knobhighspeed) {
            n = ClampCount((long long)n * g_highspeedtuningfactor);
            g_knobhighspeed = 1;
            SetCivTimer(TIMER_KNOB_SPEED, kHighSpeedMs);
        }
    }
    if (n == 0) return;
    ApplyTuneStep(MakeStepRecord(n));
}

void ApplyTuneStep(const StepRecord& record) {
    StopScansForSurface();
    const int d = StepRecordCount(record);
    g_wheelmult = d;
    switch (g_knobfunction) {
    case kKnobVfoA:
        if (g_tunea && d != 0) {
            const long long hz = DesensedHz(d, g_step, g_desenseA);
            if (hz != 0) TuneVfoA(ClampInt(hz));
        }
        break;
    case kKnobVfoB:
        if (g_tuneb && d != 0) {
            const long long hz = DesensedHz(d, g_stepb, g_desenseB);
            if (hz != 0) TuneVfoB(ClampInt(hz));
        }
        break;
    case kKnobPbt: StepPbtOrRit(d, false); break;
    case kKnobRit: StepPbtOrRit(d, true); break;
    case kKnobPower: StepPower(d); break;
    case kKnobVolume: StepVolume(d); break;
    case kKnobRfGain: StepRfGain(d); break;
    case kKnobKeyerSpeed: StepKeyerSpeed(d); break;
    case kKnobFilter: StepFilter(d); break;
    default: break;
    }
}

void OnMouseWheel(int delta) {
    WriteTracef("mouse %d", delta);
    // Touchpads and horizontal scrolls send 0 or small deltas: a 0 is
    // nothing, and small ones add up to whole notches.
    if (delta == 0) return;
    const int mag = std::abs(delta);
    const int unit = mag < kWheelNotch ? kWheelNotch : mag;
    if (unit < g_wheelunit) {
        g_wheelunit = unit;
        WriteTracef("mouse step adjusted to %d", g_wheelunit);
    }
    g_wheelrest += delta;
    const int counts = g_wheelrest / g_wheelunit;
    g_wheelrest -= counts * g_wheelunit;
    if (counts == 0) return;
    const int mode = g_mousewheel;
    const unsigned ctrl = unsigned(g_wheelctrl);
    if (mode != 0 && ctrl >= IDC_DIGITS_A + 1 && ctrl <= IDC_DIGITS_A + 7) {
        TuneDigitA(ctrl, counts);
        return;
    }
    if (mode != 0 && ctrl >= IDC_DIGITS_B + 1 && ctrl <= IDC_DIGITS_B + 7) {
        TuneDigitB(ctrl, counts);
        return;
    }
    switch (mode) {
    case 1:
        if (g_tunea) TuneVfoA(ClampInt((long long)counts * (long long)g_step));
        break;
    case 2:
        g_volume += counts;
        if (g_volume < 0) g_volume = 0;
        if (g_volume > kVolumeWheelMax) g_volume = kVolumeWheelMax;
        SetVolume(g_volume);
        if (g_swlpanel) {
            g_swlpanel->fn.afGain = g_volume;
            g_swlpanel->SetVolumeA(g_volume);
        }
        break;
    case 3: AccumulateTuneStep(counts); break;
    case 4:
        WriteTracef("slider %d", g_wheelctrl);
        if (g_wheelctrl && g_swlpanel)
            g_swlpanel->MouseWheel(counts);
        else
            TuneVfoA(ClampInt((long long)counts * (long long)g_step));
        break;
    case 5:
        WriteTracef("slider pod knob %d", g_wheelctrl);
        if (g_wheelctrl && g_swlpanel)
            g_swlpanel->MouseWheel(counts);
        else
            AccumulateTuneStep(counts);
        break;
    default: break;
    }
}

void OnPageUp() { AccumulateTuneStep(1); }
void OnPageDown() { AccumulateTuneStep(-1); }
void OnShiftPageUp() { AccumulateTuneStep(1000); }
void OnShiftPageDown() { AccumulateTuneStep(-1000); }
