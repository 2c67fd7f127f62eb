// VFO buttons, A=B, A/B, split, dual watch, diversity and the repeater offset.
#include <algorithm>
#include <cmath>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "panel/controls/bistate_button.h"
#include "panel/filter_table.h"
#include "panel/mirror_panel.h"
#include "panel/panel_requests.h"
#include "panel/swl_panel.h"

namespace {
constexpr unsigned IDC_VFOA_DOWN = 2406, IDC_VFOA_UP = 2412;
constexpr unsigned IDC_VFOB_DOWN = 2407, IDC_VFOB_UP = 2413;
constexpr unsigned IDC_FASTA_DOWN = 2410, IDC_FASTA_UP = 2416;
constexpr unsigned IDC_FASTB_DOWN = 2411, IDC_FASTB_UP = 2417;
constexpr unsigned IDC_LOCK = 107;
constexpr unsigned IDC_A_EQUALS_B = 225;
constexpr unsigned IDC_SWAP_AB = 229;
constexpr unsigned IDC_SWAP_IF_SPLIT = 236;  // key function: A / B in split
constexpr unsigned IDC_SWAP_KEY = 237;       // key function: A / B
constexpr unsigned IDC_SPLIT = 122;
constexpr unsigned IDC_DUAL = 439;
constexpr unsigned IDC_DIVERSITY = 177;
constexpr unsigned IDC_REPEATER = 178;
constexpr unsigned IDC_STEPB_SHOW = 5056;
constexpr unsigned IDC_MAIN_SUB_SLIDERS = 2508;
constexpr unsigned IDC_DUAL_LABEL = 9319;
constexpr int kVfoA = 0, kVfoB = 1;
constexpr char kDv = 0x17;

// Whole hertz: repeated steps must not drift by binary rounding.
double WholeHz(double mhz) { return std::round(mhz * 1000000.0) / 1000000.0; }

bool SweepRuns() { return g_sweeprunning || g_sweepbrunning; }

// The slider row back on the main receiver, its set button hidden.
void SlidersToMain(CSwlPanel& p) {
    if (p.View()) p.View()->ShowControl(IDC_MAIN_SUB_SLIDERS, false);
    if (g_subsliders) p.ToggleMainSubSliders();
}

}  // namespace

// ---- Pure rules -------------------------------------------------------------

double CSwlPanel::FastTuned(double mhz, double stepHz, int multiplier, int direction) {
    // "FAST TUNING MULT" is read without a check: below 1 it counts as 1.
    const double mult = multiplier < 1 ? 1 : multiplier;
    const double stepped = mhz + direction * std::max(stepHz, 1.0) * mult / 1000000.0;
    const double grid = std::max(std::floor(std::max(stepHz, 1.0)), 1.0) * mult;  // Hz
    const double perMhz = 1000000.0 / grid;
    // The same half-up rounding (and bias) as the step rounding.
    return std::floor((stepped + grid / 2000000.0) * perMhz + 1e-6) / perMhz;
}

double CSwlPanel::RepeaterShift(double mhz) {
    if (mhz >= 29.599 && mhz < 29.7) return -0.1;
    if (mhz >= 52.99 && mhz < 54) return -1;
    if (mhz >= 144.9 && mhz < 147) return -0.6;
    if (mhz >= 147 && mhz < 148) return 0.6;
    return 0;
}

bool CSwlPanel::SameSplitBand(double a, double b) {
    // An unset VFO B, or one the radio cannot tune, is in no band at all.
    if (b <= 0 || CheckCoverage(b) != 0) return false;
    // The band in metres, with 2 m told apart from the frequencies outside
    // the amateur bands (both of which have no metres of their own).
    auto band = [](double f) {
        const int m = BandMeters(f);
        return m == 0 && f >= 144 && f <= 148 ? 2 : m;
    };
    return band(a) == band(b);
}

std::string CSwlPanel::StepDialogText(double stepHz) { return "Current Step = " + StepCaption(stepHz); }

// ---- Tuning buttons -----------------------------------------------------------

namespace {
// A VFO at `mhz` one (fast: "FAST TUNING MULT") step of `stepHz` on.
double Stepped(double mhz, double stepHz, int direction, bool fast) {
    if (fast) return CSwlPanel::FastTuned(mhz, stepHz, g_fasttuningmult, direction);
    return WholeHz(mhz + direction * std::max(stepHz, 1.0) / 1000000.0);
}
}  // namespace

void CSwlPanel::StepVfoA(int direction, bool fast) {
    if (g_tunea) {
        const double f = Stepped(vfoAFreq, step, direction, fast);
        if (CheckCoverage(f) == 0) {
            vfoAFreq = f;
            RefreshFrequency();
        }
        ReturnFocus();
    }
    NotifyMainWin();
}

void CSwlPanel::StepVfoB(int direction, bool fast) {
    if (g_tuneb) {
        const double f = Stepped(vfoBFreq, g_stepb, direction, fast);
        if (CheckCoverage(f) == 0) {
            vfoBFreq = f;
            SetFrequency2(f);
        }
        ReturnFocus();
    }
    NotifyMainWin();
    if (g_dual) NotifyVfoB();
}

void CSwlPanel::VfoDragStep(int code) {
    int steps = 0;
    switch (code) {
    case 1301: steps = 10; break;
    case 1302: steps = 1; break;
    case 1303: steps = -10; break;
    case 1304: steps = -1; break;
    default: return;
    }
    // The drag tool tunes even with VFO A locked.
    const double f = Stepped(vfoAFreq, step, steps, false);
    if (CheckCoverage(f) == 0) vfoAFreq = f;
    RefreshFrequency();
    NotifyMainWin();
}

void CSwlPanel::ToggleLock() {
    g_tunea = g_tunea ? 0 : 1;
    if (View()) View()->LightButton(IDC_LOCK, g_tunea ? 0 : 1);
    ReturnFocus();
}

// ---- A = B, A / B -------------------------------------------------------------

void CSwlPanel::CopyAToB() {
    vfoBFreq = vfoAFreq;
    vfoBMode = vfoAMode;
    g_vfobrxfilter = filter;
    g_agcmodevfob = agc;
    ShowFilterNameB();
    if (View()) View()->ShowModeCaption(kVfoB, vfoBMode);
    SetFrequency(vfoAFreq);
    SetFrequency2(vfoBFreq);
    g_stepb = step;
    ShowStepB();
    if (SweepRuns()) Requests().SweepKeepVfoB(vfoBFreq, vfoBMode, g_vfobrxfilter);
    ReturnFocus();
    NotifyMainWin();
    NotifyVfoB();
}

void CSwlPanel::SwapAB() {
    {
        NotifyHold hold(*this);
        // A VFO B filter the model does not have would become VFO A's.
        g_vfobrxfilter = UsableFilterB(filter, char(vfoBMode));
        std::swap(vfoAFreq, vfoBFreq);
        std::swap(vfoAMode, vfoBMode);
        std::swap(step, g_stepb);
        step = std::max(step, 1.0);
        std::swap(agc, g_agcmodevfob);
        std::swap(filter, g_vfobrxfilter);
        if (View()) {
            View()->ShowModeCaption(kVfoA, vfoAMode);
            View()->ShowModeCaption(kVfoB, vfoBMode);
        }
        ShowMode();
        ShowFilterNameB();
        SetFrequency(vfoAFreq);
        if (View()) View()->MoveFrequencyScale(vfoAFreq);
        SetFrequency2(vfoBFreq);
        SetFilter(filter);
        ShowFilterButtons(filter);
        ShowAgc(agc);
        ShowStep(step);
        ShowStepB();
        if (g_tunea != g_tuneb) {
            std::swap(g_tunea, g_tuneb);
            if (View()) View()->LightButton(IDC_LOCK, g_tunea ? 0 : 1);
        }
        // The other VFO may have other settings on the radio: send both again.
        g_pushcopy.preamp = 9;
        g_pushcopy.attenuator = 9;
        if (SweepRuns()) Requests().SweepKeepVfoB(vfoBFreq, vfoBMode, g_vfobrxfilter);
        ReturnFocus();
    }
    // A control surface's dispatcher pushes the state itself when it ends.
    if (g_inpodkey) return;
    NotifyMainWin();
    NotifyVfoB();
}

// ---- Split, dual watch, diversity ----------------------------------------------

void CSwlPanel::ToggleSplit() {
    if (SweepRuns()) return;
    PanelView* v = View();
    if (split) {
        split = 0;
        if (v) v->LightButton(IDC_SPLIT, 0);
        if (g_mirror) {
            MirrorShowSplit(0);
            if (!dual) {
                SlidersToMain(*this);
                MirrorShowSliders(0);
            }
        }
    } else if (g_crossband || SameSplitBand(vfoAFreq, vfoBFreq)) {
        SwitchRitXitOff();
        split = 1;
        if (v) v->LightButton(IDC_SPLIT, 1);
        if (dual || g_mirror) {
            if (v) v->ShowControl(IDC_MAIN_SUB_SLIDERS, true);
            FillSliderRow();
            if (g_mirror) {
                MirrorShowSplit(1);
                // Mirror mode polls the side the sliders show: VFO B now.
                if (!g_subsliders) ToggleMainSubSliders();
            }
        }
    }
    ReturnFocus();
    NotifyMainWin();
}

void CSwlPanel::ToggleDual() {
    PanelView* v = View();
    g_diversity = 0;
    diversity = 0;
    if (v) v->SetControlText(IDC_DUAL_LABEL, g_rawmode ? "Split" : " ");
    const bool subReceiver = ModelCap(g_hasdigisel) != 0 && !(split && g_mirror);
    if (dual) {
        if (v) v->LightButton(IDC_DUAL, 0);
        MirrorShowDual(0);
        dual = 0;
        if (subReceiver) SlidersToMain(*this);
    } else {
        if (SweepRuns()) return;
        SwitchRitXitOff();
        // The sub receiver gets VFO B's filter: one the model has.
        g_vfobrxfilter = UsableFilterB(filter, char(vfoBMode));
        dual = 1;
        if (subReceiver) {
            FillSliderRow();
            if (ModelCap(g_hassubreceiver)) {
                if (v) v->ShowControl(IDC_MAIN_SUB_SLIDERS, true);
                ShowRfStatusLine();
                ShowDspStatusLine();
            }
        }
        if (v) v->LightButton(IDC_DUAL, 1);
        MirrorShowDual(1);
    }
    if (!g_inpodkey) NotifyVfoB();
}

void CSwlPanel::SetDiversity(int on) {
    if (!on) {
        g_diversity = 0;
        diversity = 0;
        return;
    }
    if (!dual) ToggleDual();
    g_diversity = 1;
    diversity = 1;
    if (View()) View()->SetControlText(IDC_DUAL_LABEL, g_rawmode ? "Simplex" : "DIV");
    CopyAToB();
}

void CSwlPanel::RepeaterOffset() {
    if (vfoAMode != '5' && vfoAMode != kDv) return;
    const double shift = RepeaterShift(vfoAFreq);
    if (shift == 0) return;
    {
        NotifyHold hold(*this);
        vfoBFreq = WholeHz(vfoAFreq + shift);
        vfoBMode = vfoAMode;
        g_vfobrxfilter = filter;
        g_agcmodevfob = agc;
        if (View()) View()->ShowModeCaption(kVfoB, vfoBMode);
        ShowFilterNameB();
        SetFrequency2(vfoBFreq);
        if (!split) ToggleSplit();
    }
    NotifyMainWin();
    NotifyVfoB();
}

// ---- Steps ----------------------------------------------------------------------

void CSwlPanel::StepDialog() {
    double chosen = step;
    plat::Window* owner = dynamic_cast<plat::Window*>(View());
    // A step below 1 Hz would stop the tuning (and divide by it).
    if (Requests().RunTuneSel(owner ? owner : Parent(), StepDialogText(step), chosen) && chosen >= 1) {
        step = chosen;
        ShowStep(step);
    }
    ReturnFocus();
}

bool CSwlPanel::OnVfoCommand(unsigned id) {
    switch (id) {
    case IDC_VFOA_DOWN: StepVfoA(-1, false); return true;
    case IDC_VFOA_UP: StepVfoA(1, false); return true;
    case IDC_FASTA_DOWN: StepVfoA(-1, true); return true;
    case IDC_FASTA_UP: StepVfoA(1, true); return true;
    case IDC_VFOB_DOWN: StepVfoB(-1, false); return true;
    case IDC_VFOB_UP: StepVfoB(1, false); return true;
    case IDC_FASTB_DOWN: StepVfoB(-1, true); return true;
    case IDC_FASTB_UP: StepVfoB(1, true); return true;
    case IDC_LOCK: ToggleLock(); return true;
    case IDC_A_EQUALS_B: CopyAToB(); return true;
    case IDC_SWAP_AB:
    case IDC_SWAP_KEY: SwapAB(); return true;
    case IDC_SWAP_IF_SPLIT:
    case IDC_HOLD_PRESS:
    case IDC_HOLD_RELEASE:
        // Held, the swap button shows the other VFO until it is let go.
        if (split) SwapAB();
        return true;
    case IDC_SPLIT: ToggleSplit(); return true;
    case IDC_DUAL: ToggleDual(); return true;
    case IDC_DIVERSITY: SetDiversity(1); return true;
    case IDC_REPEATER: RepeaterOffset(); return true;
    case IDC_STEPB_SHOW: ShowStepB(); return true;
    case IDC_STEP_LABEL: StepDialog(); return true;
    default: return false;
    }
}
