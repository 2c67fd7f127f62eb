// Mode, filter and AGC buttons: each mode with its defaults, the filter
// buttons and tools of both VFOs, the AGC buttons.
#include <algorithm>
#include <cstdio>
#include <string>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "panel/function_buttons.h"
#include "panel/swl_panel.h"
#include "platform/window.h"

namespace {
constexpr char kDv = 0x17;
constexpr unsigned kCwKeyboard = 5019;       // the main frame opens or closes the CW keyboard
constexpr unsigned kSpeechProcessor = 509;   // the main frame toggles the speech processor
constexpr unsigned kManualMode = 238, kDataMode = 597;
constexpr unsigned kAgcFast = 40034, kAgcMed = 40035, kAgcSlow = 40036, kAgcMan = 2489;
constexpr unsigned kFirstFilterButton = 401;
constexpr int kFilterButtons = 12;
constexpr unsigned kFmButton = 105, kPskButton = 109;
constexpr unsigned kVfoBFilterLabel = 9104;

enum class Speech { Keep, Off, Restore };
enum class Step { Am, Ssb, Cw, Fm, Rtty };

// One row per mode: its defaults and what it does to the speech processor.
struct ModeRow {
    char code;
    Step step;
    const int* filterPosition;  // null: the mode keeps its filter
    const int* agc;             // null: the mode keeps the AGC
    Speech speech;
};

constexpr ModeRow kModes[] = {
    {'4', Step::Am, &g_amfilterposition, &g_amagc, Speech::Keep},
    {';', Step::Am, &g_amfilterposition, &g_amagc, Speech::Keep},
    {'0', Step::Ssb, &g_ssbfilterposition, &g_ssbagc, Speech::Restore},
    {'1', Step::Ssb, &g_ssbfilterposition, &g_ssbagc, Speech::Restore},
    {kDv, Step::Ssb, &g_ssbfilterposition, nullptr, Speech::Keep},
    {'3', Step::Cw, &g_cwfilterposition, &g_cwagc, Speech::Keep},
    {'2', Step::Cw, &g_cwfilterposition, &g_cwagc, Speech::Keep},
    {'7', Step::Rtty, &g_rttyfilterposition, &g_rttyagc, Speech::Off},
    {'8', Step::Rtty, &g_rtty2filterposition, &g_rttyagc, Speech::Off},
    {'9', Step::Rtty, &g_rtty2filterposition, &g_rttyagc, Speech::Off},
    {':', Step::Rtty, &g_rtty2filterposition, &g_rttyagc, Speech::Off},
    {'5', Step::Fm, nullptr, &g_fmagc, Speech::Off},
    {'<', Step::Fm, nullptr, &g_fmagc, Speech::Off},
};

const ModeRow* RowFor(char mode) {
    for (const ModeRow& r : kModes)
        if (r.code == mode) return &r;
    return nullptr;
}

bool IsCw(char mode) { return mode == '3' || mode == '2'; }

int StepFor(const ModeRow& r, double mhz) {
    switch (r.step) {
    case Step::Am:
        if (IsHamBand(mhz)) return g_ssbstep;
        if (mhz > 0.53 && mhz < 1.7) return g_mwstep;
        return g_amstep;
    case Step::Ssb: return g_ssbstep;
    case Step::Cw: return g_cwstep;
    case Step::Fm: return g_fmstep;
    case Step::Rtty: return g_rttystep;
    }
    return g_ssbstep;
}

// The settings page stores an AGC default as '0' + its list entry; a
// hand-written 1..3 means the same. 0 (either way) leaves the AGC alone.
int AgcDefault(const ModeRow& r) {
    if (!r.agc) return 0;
    const int v = *r.agc;
    if (v >= 1 && v <= 3) return '0' + v;
    if (v == '1' || v == '2' || v == '3') return v;
    return 0;
}

bool AgcOffModel() { return ModelCap(g_hasagcoff) || g_model7610; }
bool AgcManModel() { return ModelCap(g_hasagcvr) != 0; }

bool KnownFilter(int index) { return IsModelFilter(index); }

bool HasWidthTable() { return ModelCap(g_hasfilterwidth) != 0 || g_perseus != 0; }
bool TwoTables() { return ModelCap(g_hasamfmwidth) != 0; }

bool OnAButton(int index, char mode) {
    for (int n = 1; n <= kFilterButtons; ++n)
        if (CSwlPanel::FilterButtonIndex(n, mode) == index) return true;
    return false;
}
}  // namespace

int ModeDefaultFilter(char mode) {
    const ModeRow* row = RowFor(mode);
    if (!row || !row->filterPosition) return 0;
    return CSwlPanel::FilterButtonIndex(CSwlPanel::NearestFilterButton(*row->filterPosition, mode), mode);
}

// ---- Names and captions -----------------------------------------------------------

std::string CSwlPanel::ModeName(int code) {
    switch (code) {
    case kDv: return "DV";
    case '0': return "USB";
    case '1': return "LSB";
    case '2': return "CWR";
    case '3': return "CW";
    case '5': return "FM";
    case '7': return "RTTY";
    case '8': return "RTYR";
    case '9': return g_rttylabel2;
    case ':': return "PSKR";
    case ';': return "SAM";
    case '<': return "WFM";
    default: return "AM";
    }
}

void CSwlPanel::SetModeCaption() {
    if (!View()) return;
    View()->ShowModeCaption(0, vfoAMode);
    View()->ShowModeCaption(1, vfoBMode);
}

void CSwlPanel::ShowFilterNameB() {
    // What VFO B will get, also while "VFO-B RX FILTER" names no filter of
    // the model yet (its first use takes the usable one).
    const int shown = UsableFilterB(filter, char(vfoBMode));
    std::string text;
    if (!ModelCap(g_hasfilterwidth) && !g_perseus) {
        // A filter the model does not have is no filter to show.
        char fil[16];
        std::snprintf(fil, sizeof fil, "FIL%1d", shown);
        if (IsModelFilter(shown)) text = fil;
    } else {
        const bool am = ModelCap(g_hasamfmwidth) && UsesAmTable(vfoBMode);
        text = FilterCaption(shown, am);
        text = text.substr(0, text.find(' '));
    }
    if (View()) View()->SetControlText(kVfoBFilterLabel, text);
}

// ---- The mode setters ---------------------------------------------------------------

namespace {
// The defaults of a mode change (step, filter) each tell the main frame;
// held back (CSwlPanel::NotifyHold), the radio gets the mode, the rounded
// frequency and the new filter in one push instead of the old filter and
// frequency first.

void ApplyMode(CSwlPanel& p, char mode) {
    if (g_tunemodeon) return;
    const char from = p.vfoAMode;
    const ModeRow* row = RowFor(mode);
    plat::Window* frame = p.Parent();
    const bool cw = IsCw(mode);

    // The CW keyboard follows the mode.
    if (!p.modeFromPreset) {
        if (!cw && g_keyerstate != 0) {
            if (frame) frame->SendMessage(plat::WM_COMMAND, kCwKeyboard, 0);
            g_keyerforcedoff = 1;
        } else if (cw) {
            if (g_keyerforcedoff && g_keyerstate == 0 && frame) frame->SendMessage(plat::WM_COMMAND, kCwKeyboard, 0);
            g_keyerforcedoff = 0;
        }
    }

    p.vfoAMode = mode;
    // Two-table models: the same index is another width in the other table,
    // so the radio is sent the filter again whatever the index.
    if (TwoTables() && UsesAmTable(from) != UsesAmTable(mode) && p.enabled) g_rxfilter = 0;
    if (p.View()) p.View()->ShowModeCaption(0, mode);
    p.ShowMode();

    const bool cwFlip = (mode == '3' && from == '2') || (mode == '2' && from == '3');
    if (!g_manualmode && !cwFlip && row) {
        CSwlPanel::NotifyHold hold(p);
        if (const int agc = AgcDefault(*row)) p.ShowAgc(agc);
        if (p.dataMode && !g_manualdatamode) {
            p.dataMode = 0;
            if (p.View()) p.View()->LightButton(kDataMode, 0);
        }
        p.SetStep(StepFor(*row, p.vfoAFreq));
        if (row->filterPosition && !p.bandLoading) {
            // A default position on a button without a filter of the model
            // takes the nearest button that has one.
            if (const int n = CSwlPanel::NearestFilterButton(*row->filterPosition, mode)) p.PressFilterButton(n);
        } else if (!row->filterPosition && !p.bandLoading && TwoTables() && UsesAmTable(from) != UsesAmTable(mode) &&
                   !OnAButton(p.filter, mode)) {
            // FM keeps its filter, but one from the other table is no filter
            // of FM's buttons: it takes the AM position's button of its table.
            if (const int n = CSwlPanel::NearestFilterButton(g_amfilterposition, mode)) p.PressFilterButton(n);
        }

        if (row->speech == Speech::Off) {
            g_speechsav = g_speech;
            if (g_speech && frame) frame->SendMessage(plat::WM_COMMAND, kSpeechProcessor, 0);
        } else if (row->speech == Speech::Restore && g_speechsav) {
            if (!g_speech && frame) frame->SendMessage(plat::WM_COMMAND, kSpeechProcessor, 0);
            g_speechsav = 0;
        }
        if (mode == '9' || mode == ':') p.dataMode = 0;
    }

    // VOX goes off for CW (unless a tune from the panel runs) and comes
    // back with the next other mode.
    if (cw) {
        if (p.fn.vox && g_tunerstate == 0) {
            p.fn.vox = 0;
            p.ShowVox(0);
            g_voxchange = 1;
        }
    } else if (g_voxchange) {
        g_voxchange = 0;
        if (!p.fn.vox) {
            p.fn.vox = 1;
            p.ShowVox(1);
        }
    }
    p.NotifyMainWin();
}
}  // namespace

void CSwlPanel::SetModeAM() { ApplyMode(*this, '4'); }
void CSwlPanel::SetModeSAM() { ApplyMode(*this, ';'); }
void CSwlPanel::SetModeUSB() { ApplyMode(*this, '0'); }
void CSwlPanel::SetModeLSB() { ApplyMode(*this, '1'); }
void CSwlPanel::SetModeCW() { ApplyMode(*this, '3'); }
void CSwlPanel::SetModeCWR() { ApplyMode(*this, '2'); }
void CSwlPanel::SetModeFM() { ApplyMode(*this, '5'); }
void CSwlPanel::SetModeWFM() { ApplyMode(*this, '<'); }
void CSwlPanel::SetModeRTTY() { ApplyMode(*this, '7'); }
void CSwlPanel::SetModeRTTYR() { ApplyMode(*this, '8'); }
void CSwlPanel::SetModePSK() { ApplyMode(*this, '9'); }
void CSwlPanel::SetModePSKR() { ApplyMode(*this, ':'); }
void CSwlPanel::SetModeDV() { ApplyMode(*this, kDv); }

void CSwlPanel::PressModeButton(char mode) {
    switch (mode) {
    case '0': SetModeUSB(); break;
    case '1': SetModeLSB(); break;
    case '2': SetModeCWR(); break;
    case '3': SetModeCW(); break;
    case '4': SetModeAM(); break;
    case '5': SetModeFM(); break;
    case '7': SetModeRTTY(); break;
    case '8': SetModeRTTYR(); break;
    case '9': SetModePSK(); break;
    case ':': SetModePSKR(); break;
    case ';': SetModeSAM(); break;
    case '<': SetModeWFM(); break;
    case kDv: SetModeDV(); break;
    default: break;
    }
}

void CSwlPanel::HotKeyMode(char mode) {
    switch (mode) {
    case '4': OnModeCommand(100); break;
    case '0': OnModeCommand(101); break;
    case '1': OnModeCommand(102); break;
    case '3': OnModeCommand(103); break;
    case '5': OnModeCommand(105); break;
    case '7': OnModeCommand(106); break;
    case '9': OnModeCommand(109); break;
    default: break;
    }
}

void CSwlPanel::ToggleDataMode() {
    dataMode = !dataMode;
    // The copy last sent is made to differ, so the push sends the new state.
    g_datamode = dataMode ? 0 : 1;
    if (View()) View()->LightButton(kDataMode, dataMode);
    NotifyMainWin();
}

// ---- Filters -----------------------------------------------------------------------

int CSwlPanel::FilterButtonIndex(int n, char mode) {
    if (n < 1 || n > kFilterButtons) return 0;
    if (!HasWidthTable()) {
        // Without DSP filters the buttons are the radio's own filters in order.
        const int index = LowestFilter() + n - 1;
        return IsModelFilter(index) ? index : 0;
    }
    const bool am = TwoTables() && UsesAmTable(mode);
    return am ? g_amfilterbuttons[n - 1] : g_filterbuttons[n - 1];
}

int CSwlPanel::NearestFilterButton(int n, char mode) {
    n = std::clamp(n, 1, kFilterButtons);
    for (int k = n; k >= 1; --k)
        if (IsModelFilter(FilterButtonIndex(k, mode))) return k;
    for (int k = n + 1; k <= kFilterButtons; ++k)
        if (IsModelFilter(FilterButtonIndex(k, mode))) return k;
    return 0;
}

void CSwlPanel::PressFilterButton(int n) {
    const int index = FilterButtonIndex(n, vfoAMode);
    // A button set to a filter the model does not have (a default of 45 on
    // a model of 41 filters) keeps the filter as it is.
    if (!KnownFilter(index)) {
        ReturnFocus();
        return;
    }
    SetFilter(index);
    if (View())
        for (int i = 1; i <= kFilterButtons; ++i) View()->LightButton(kFirstFilterButton + unsigned(i) - 1, i == n);
    NotifyMainWin();
}

// ---- AGC ---------------------------------------------------------------------------

void CSwlPanel::ShowAgc(int code) {
    if (ModelCap(g_agctwospeed) && code == '2') code = '3';
    agc = code;
    if (!View()) return;
    View()->LightButton(kAgcFast, code == '3');
    View()->LightButton(kAgcMed, code == '2');
    View()->LightButton(kAgcSlow, code == '1');
    if (AgcOffModel()) View()->LightButton(kAgcMan, code == '6');
    else if (AgcManModel()) View()->LightButton(kAgcMan, fn.agcVr);
}

void CSwlPanel::SelectAgc(int code) {
    agc = code;
    if (AgcManModel()) fn.agcVr = 0;
    if (View()) {
        View()->LightButton(kAgcFast, code == '3');
        View()->LightButton(kAgcMed, code == '2');
        View()->LightButton(kAgcSlow, code == '1');
        if (AgcOffModel() || AgcManModel()) View()->LightButton(kAgcMan, 0);
    }
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::AgcManual() {
    if (AgcOffModel())
        agc = '6';
    else
        fn.agcVr = 1;
    if (View()) {
        View()->LightButton(kAgcFast, 0);
        View()->LightButton(kAgcMed, 0);
        View()->LightButton(kAgcSlow, 0);
        View()->LightButton(kAgcMan, 1);
    }
    // The radio's mute report puts its own text back.
    statusText = "UNKNOWN";
    if (View()) View()->SetControlText(IDC_STATUS_LABEL, statusText);
    NotifyMainWin();
}

void CSwlPanel::SelectAgcB(int code) {
    g_agcmodevfob = code;
    if (fn.agcVrB) {
        fn.agcVrB = 0;
        NotifyMainWin();
    }
    ShowDspStatusLine();
    ReturnFocus();
    NotifyVfoB();
}

// The AGC row at start-up shows the loaded state: "Man" ("Off") lit when
// the AGC was left manual (off), else the loaded time constant. Nothing is
// changed or sent: the radio keeps the AGC it was saved with.
void CSwlPanel::InitAgc() {
    const bool manual = (AgcOffModel() && agc == '6') || (AgcManModel() && fn.agcVr);
    if (!manual) {
        ShowAgc(agc);
        return;
    }
    if (!View()) return;
    View()->LightButton(kAgcFast, 0);
    View()->LightButton(kAgcMed, 0);
    View()->LightButton(kAgcSlow, 0);
    View()->LightButton(kAgcMan, 1);
}

// ---- Commands ------------------------------------------------------------------------

namespace {
// The VFO B mode of a right click, with that mode's AGC, filter and step.
void SetVfoBMode(CSwlPanel& p, char mode) {
    p.vfoBMode = mode;
    const ModeRow* row = RowFor(mode);
    if (!g_manualmode && row) {
        if (const int agc = AgcDefault(*row)) g_agcmodevfob = agc;
        if (row->filterPosition) {
            const int index = ModeDefaultFilter(mode);
            if (KnownFilter(index)) g_vfobrxfilter = index;
        }
        g_stepb = StepFor(*row, p.vfoBFreq);
        p.ShowStepB();
    }
    if (p.View()) p.View()->ShowModeCaption(1, mode);
    p.ShowFilterNameB();
    p.NotifyVfoB();
}

// VFO A moves by the CW offset so the signal stays on the same tone.
void ShiftForMode(CSwlPanel& p, char to) {
    const double bfo = g_bfo / 1000000.0;
    const char from = p.vfoAMode;
    if (to == '0' && IsCw(from)) p.vfoAFreq -= bfo;
    else if (to == '1' && IsCw(from)) p.vfoAFreq += bfo;
    else if (IsCw(to) && from == '0') p.vfoAFreq += bfo;
    else if (IsCw(to) && from == '1') p.vfoAFreq -= bfo;
    else return;
    p.RefreshFrequency();
}
}  // namespace

bool CSwlPanel::OnModeCommand(unsigned id) {
    if (id >= kFirstFilterButton && id < kFirstFilterButton + kFilterButtons) {
        PressFilterButton(int(id - kFirstFilterButton) + 1);
        return true;
    }
    switch (id) {
    case 100: SetModeAM(); return true;
    case 6126: SetModeSAM(); return true;
    case 101: case 102: case 103: case 174: {
        if (g_tunemodeon) return true;
        const char mode = id == 101 ? '0' : id == 102 ? '1' : id == 103 ? '3' : '2';
        ShiftForMode(*this, mode);
        PressModeButton(mode);
        return true;
    }
    case 105: SetModeFM(); return true;
    case 106: SetModeRTTY(); return true;
    case 5035: SetModeRTTYR(); return true;
    case 109: SetModePSK(); return true;
    case 175: SetModePSKR(); return true;
    case 179: SetModeDV(); return true;
    case 5030: SetVfoBMode(*this, '4'); return true;
    case 5031: SetVfoBMode(*this, '1'); return true;
    case 5032: SetVfoBMode(*this, '0'); return true;
    case 5036: SetVfoBMode(*this, '3'); return true;
    case 5048: SetVfoBMode(*this, '7'); return true;
    case 5049: SetVfoBMode(*this, '9'); return true;
    case 5033:
        if (ModelCap(g_haswfm))
            SetModeWFM();
        else
            SetVfoBMode(*this, '5');
        return true;
    case kManualMode:
        g_manualmode = !g_manualmode;
        if (View()) View()->LightButton(kManualMode, g_manualmode);
        return true;
    case kDataMode:
        if (ModelCap(g_menudialect)) ToggleDataMode();
        return true;
    case 235:
        switch (vfoAMode) {
        case '1': SetModeUSB(); break;
        case '0': SetModeCW(); break;
        case '3': SetModeFM(); break;
        case '5': case '<': SetModePSK(); break;
        case '9': SetModeRTTY(); break;
        case '7': SetModeAM(); break;
        case '4': SetModeLSB(); break;
        default: break;
        }
        return true;
    case 2408: case 2414: {
        int f = filter + (id == 2408 ? -1 : 1);
        if (id == 2408 && (f < LowestFilter() || f > g_filtercount)) f = g_filtercount;
        if (id == 2414 && (f > g_filtercount || f < LowestFilter())) f = LowestFilter();
        SelectFilter(f);
        return true;
    }
    case 2409: case 2415: {
        int f = g_vfobrxfilter + (id == 2409 ? -1 : 1);
        if (f <= 0 || f > g_filtercount) f = id == 2409 ? g_filtercount : 1;
        g_vfobrxfilter = f;
        ShowFilterNameB();
        ReturnFocus();
        NotifyMainWin();
        NotifyVfoB();
        return true;
    }
    case kAgcFast: SelectAgc('3'); return true;
    case kAgcMed: SelectAgc('2'); return true;
    case kAgcSlow: SelectAgc('1'); return true;
    case kAgcMan: AgcManual(); return true;
    case 5037: SelectAgcB('3'); return true;
    case 5038: SelectAgcB('2'); return true;
    case 5039: SelectAgcB('1'); return true;
    default: return false;
    }
}
