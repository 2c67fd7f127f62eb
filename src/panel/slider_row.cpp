// The slider row (main and sub receiver) and the mouse wheel over the panel.
#include <cstdio>

#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/mirror_panel.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "platform/window.h"

namespace {
// The row's controls besides the sliders: the switch between the main and
// sub receiver and the labels and buttons that name the DSP sliders.
constexpr unsigned kSliderSetButton = 2508;
constexpr unsigned kNbButton = 2364, kNrButton = 2505, kDigiSelButton = 2526, kNotchButton = 2518;
constexpr unsigned kAgcLabel = 9315, kNotchLabel = 9316, kApfLabel = 9317, kNbLabel = 9318;
constexpr unsigned kApfHzLabel = IDC_APF_HZ_LABEL, kNbLevelLabel = IDC_NB_LEVEL_LABEL;
constexpr int kRitScale = 2382, kPbtScale = 2386;
constexpr unsigned kStepRefresh = 365;         // the step dialog asks for the step display

// The power slider's units per percent of power.
constexpr int kPowerSliderScale = 1;

// Slider value for a percentage level shown upside down (RF gain).
int Inverted(int percent) { return 100 - percent; }

bool IsRfGain(int id) { return id == IDC_SLIDER_RF_GAIN || id == IDC_SLIDER_RF_GAIN_B; }

// The receiver level a slider sets, and for the sub receiver the setting
// saved at close (the main receiver's is the copy the state push keeps).
struct ReceiverLevel {
    int* level = nullptr;
    int* savedSub = nullptr;
};

// `sub`: the sub receiver's copy; `subModel`: the same for the notch and
// digital selector, which have one on a single model only.
ReceiverLevel LevelOf(PanelFunctions& f, int id, bool sub, bool subModel) {
    switch (id) {
    case IDC_SLIDER_RF_GAIN: return sub ? ReceiverLevel{&f.rfGainB, &g_rfgainb} : ReceiverLevel{&f.rfGain};
    case IDC_SLIDER_RF_GAIN_B: return {&f.rfGainB, &g_rfgainb};
    case IDC_SLIDER_SQUELCH: return {sub ? &f.squelchB : &f.squelch};
    case IDC_SLIDER_NB: return sub ? ReceiverLevel{&f.nbLevelB, &g_nbvalb} : ReceiverLevel{&f.nbLevel};
    case IDC_SLIDER_NR: return sub ? ReceiverLevel{&f.nrLevelB, &g_nrvalb} : ReceiverLevel{&f.nrLevel};
    case IDC_SLIDER_AGC_VR: return sub ? ReceiverLevel{&f.agcVrLevelB, &g_agcvrvalb} : ReceiverLevel{&f.agcVrLevel};
    case IDC_SLIDER_NOTCH:
        return subModel ? ReceiverLevel{&f.notchPositionB, &g_manntvalb} : ReceiverLevel{&f.notchPosition};
    case IDC_SLIDER_APF: return sub ? ReceiverLevel{&f.apfLevelB, &g_apfvalb} : ReceiverLevel{&f.apfLevel};
    case IDC_SLIDER_DIGISEL:
        return subModel ? ReceiverLevel{&f.digiSelLevelB, &g_digivalb} : ReceiverLevel{&f.digiSelLevel};
    default: return {};
    }
}

constexpr int kReceiverSliders[] = {IDC_SLIDER_NB,    IDC_SLIDER_NR,      IDC_SLIDER_AGC_VR,  IDC_SLIDER_NOTCH,
                                    IDC_SLIDER_APF,   IDC_SLIDER_DIGISEL, IDC_SLIDER_RF_GAIN, IDC_SLIDER_SQUELCH};
}  // namespace

// ---- Pure rules ---------------------------------------------------------------

int VolumeFromSlider(int value) { return value < kVolumeFloor ? 0 : value; }

int PowerFromSlider(int value) {
    const int power = value / kPowerSliderScale;
    return power > 96 ? 100 : power;
}

int PowerSliderValue(int power) { return power * kPowerSliderScale; }

std::string ApfHzText(int position) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", int((position - 128) * 4.3));
    return text;
}

SliderLimits SliderLimitsOf(int id) {
    switch (id) {
    case IDC_SLIDER_POWER: case IDC_SLIDER_RF_GAIN: case IDC_SLIDER_RF_GAIN_B: return {0, 100};
    case IDC_SLIDER_KEYER: return {0, 15};
    default: return {0, 255};
    }
}

namespace {
// How one wheel click moves a slider. A value already at a snap threshold
// jumps to the end on the next click that way, so the last few percent of
// power or RF gain are one click away.
struct WheelRule {
    int id;
    int step;
    int upSnapFrom, upSnapTo;  // going up from at least `From` gives `To` (0: none)
    int downSnapFrom;          // going down from at most this gives 0 (-1: none)
    int ceiling;               // never above (0: the slider's top)
};
constexpr WheelRule kWheelRules[] = {
    {IDC_SLIDER_VOLUME_B, 6, 0, 0, -1, 0},
    {IDC_SLIDER_NB, 6, 0, 0, -1, 0},
    {IDC_SLIDER_SQUELCH, 6, 0, 0, -1, 0},
    {IDC_SLIDER_AGC_VR, 6, 0, 0, -1, 0},
    {IDC_SLIDER_NOTCH, 6, 0, 0, -1, 0},
    {IDC_SLIDER_APF, 6, 0, 0, -1, 0},
    {IDC_SLIDER_DIGISEL, 6, 0, 0, -1, 0},
    {IDC_SLIDER_NR, 6, 240, 255, 7, 0},
    {IDC_SLIDER_POWER, 2, 96, 100, 2, 0},
    {IDC_SLIDER_RF_GAIN, 2, 96, 100, 2, 0},
    {IDC_SLIDER_RF_GAIN_B, 2, 96, 100, -1, 0},
    {IDC_SLIDER_KEYER, 1, 0, 0, -1, 0},
    // The wheel keeps the volume below the top, as the wheel's volume mode does.
    {IDC_SLIDER_VOLUME_A, 5, 0, 0, -1, 239},
};
}  // namespace

int WheelSliderValue(int id, int value, int clicks) {
    const WheelRule* rule = nullptr;
    for (const WheelRule& r : kWheelRules)
        if (r.id == id) rule = &r;
    const SliderLimits range = SliderLimitsOf(id);
    if (!rule || clicks == 0) return value;
    int v;
    if (clicks > 0 && rule->upSnapTo && value >= rule->upSnapFrom)
        v = rule->upSnapTo;
    else if (clicks < 0 && rule->downSnapFrom >= 0 && value <= rule->downSnapFrom)
        v = 0;
    else
        v = value + rule->step * clicks;
    const int top = rule->ceiling ? rule->ceiling : range.high;
    if (v > top) v = top;
    if (v < range.low) v = range.low;
    return v;
}

// ---- The row --------------------------------------------------------------------

bool CSwlPanel::SubSliders() const { return g_subsliders && g_dual; }

void CSwlPanel::SetSlider(unsigned id, int value) {
    if (View()) View()->SetSliderValue(id, value);
}

void CSwlPanel::SetVolumeA(int gain) { SetSlider(IDC_SLIDER_VOLUME_A, gain); }

void CSwlPanel::ShowPower() { SetSlider(IDC_SLIDER_POWER, PowerSliderValue(g_power)); }

void CSwlPanel::ShowKeyerSpeed() { SetSlider(IDC_SLIDER_KEYER, g_keyerks); }

void CSwlPanel::FillSliderRow() {
    SetVolumeA(fn.afGain);
    SetSlider(IDC_SLIDER_VOLUME_B, g_volumeb);
    ShowPower();
    ShowKeyerSpeed();
    SetSlider(IDC_SLIDER_RF_GAIN_B, LevelPosition(IDC_SLIDER_RF_GAIN_B, true, true));
    ShowReceiverSliders(g_subsliders);
}

void CSwlPanel::ShowReceiverSliders(int side) {
    WriteTrace("SQ CH");
    const bool sub = side == 1 && ModelCap(g_hassubreceiver);
    PanelView* v = View();
    const PanelFunctions& f = fn;
    if (v) {
        // Elsewhere the NB switch is "NBlk" beside the row and keeps its caption.
        if (ModelCap(g_hasdigisel)) v->SetControlText(kNbButton, sub ? "nb" : "NB");
        v->SetControlText(kAgcLabel, sub ? "ag" : "AG");
        v->SetControlText(kNotchLabel, sub ? "no" : "NO");
        v->SetControlText(kDigiSelButton, sub ? "ds" : "DS");
        v->SetControlText(kApfLabel, sub ? "af" : "AF");
        v->SetControlText(kNrButton, sub ? "nr" : "NR");
        v->LightButton(kNbButton, sub ? f.noiseBlankerB : f.noiseBlanker);
        v->LightButton(kNotchButton, sub ? f.manualNotchB : f.manualNotch);
        v->LightButton(kDigiSelButton, sub ? f.digiSelB : f.digiSel);
        v->LightButton(kNrButton, sub ? f.noiseReductionB : f.noiseReduction);
    }
    for (int id : kReceiverSliders) SetSlider(unsigned(id), LevelPosition(id, sub, sub));
    if (v) {
        v->SetControlText(kApfHzLabel, ApfHzText(LevelPosition(IDC_SLIDER_APF, sub, sub)));
        v->SetControlText(kNbLevelLabel, std::to_string(LevelPosition(IDC_SLIDER_NB, sub, sub)));
    }
}

void CSwlPanel::ToggleMainSubSliders() {
    g_subsliders = g_subsliders ? 0 : 1;
    if (View()) View()->SetControlText(kSliderSetButton, g_subsliders ? "S Sliders" : "M Sliders");
    ShowReceiverSliders(g_subsliders);
    if (g_mirror) MirrorShowSliders(g_subsliders);
}

bool CSwlPanel::OnSliderCommand(unsigned id) {
    if (id != kSliderSetButton) return false;
    ToggleMainSubSliders();
    ReturnFocus();
    return true;
}

bool CSwlPanel::OnPanelMessage(unsigned msg) {
    if (msg != kStepRefresh) return false;
    ShowStep(step);
    return true;
}

bool CSwlPanel::OnSliderMessage(int id, int value) {
    PanelFunctions& f = fn;
    const bool sub = SubSliders();
    // The notch and digital-selector levels have a sub copy on one model only.
    const bool subModel = sub && ModelCap(g_hassubreceiver);
    switch (id) {
    case IDC_SLIDER_VOLUME_A:
        // The sweep runs with the audio it set itself.
        if (g_sweeprunning) return true;
        f.afGain = VolumeFromSlider(value);
        break;
    case IDC_SLIDER_VOLUME_B:
        g_volumeb = VolumeFromSlider(value);
        // Only the sub receiver has a volume of its own to send.
        if (g_dual && Parent()) Parent()->SendMessage(plat::WM_COMMAND, IDC_SUB_VOLUME, 0);
        return true;
    case IDC_SLIDER_POWER:
        g_power = PowerFromSlider(value);
        g_powerchanged = 1;
        break;
    case IDC_SLIDER_KEYER:
        g_keyerks = value < 0 ? 0 : value > 15 ? 15 : value;
        g_keyerspeedchanged = 1;
        break;
    default: {
        const ReceiverLevel r = LevelOf(f, id, sub, subModel);
        if (!r.level) return false;
        const int level = IsRfGain(id) ? Inverted(value) : value;
        *r.level = level;
        if (r.savedSub) *r.savedSub = level;
        if (id == IDC_SLIDER_NB && View()) View()->SetControlText(kNbLevelLabel, std::to_string(value));
        if (id == IDC_SLIDER_APF && View()) View()->SetControlText(kApfHzLabel, ApfHzText(value));
        break;
    }
    }
    NotifyMainWin();
    return true;
}

// ---- The wheel ------------------------------------------------------------------

int CSwlPanel::SliderPosition(int id) {
    if (View()) {
        const int shown = View()->SliderValue(unsigned(id));
        if (shown >= 0) return shown;
    }
    // Without the window the level itself stands for the slider.
    switch (id) {
    case IDC_SLIDER_VOLUME_A: return fn.afGain;
    case IDC_SLIDER_VOLUME_B: return g_volumeb;
    case IDC_SLIDER_POWER: return PowerSliderValue(g_power);
    case IDC_SLIDER_KEYER: return g_keyerks;
    default: {
        const bool sub = SubSliders();
        return LevelPosition(id, sub, sub && ModelCap(g_hassubreceiver));
    }
    }
}

int CSwlPanel::LevelPosition(int id, bool sub, bool subModel) {
    const ReceiverLevel r = LevelOf(fn, id, sub, subModel);
    if (!r.level) return -1;
    return IsRfGain(id) ? Inverted(*r.level) : *r.level;
}

void CSwlPanel::MouseWheel(int delta) {
    const int id = g_wheelctrl;
    if (id == 0 || delta == 0) return;
    const unsigned ctrl = unsigned(id);
    if (ctrl > IDC_DIGITS_A && ctrl < IDC_DIGITS_A + kDigitBoxes) {
        TuneDigitA(ctrl, delta);
        return;
    }
    if (ctrl > IDC_DIGITS_B && ctrl < IDC_DIGITS_B + kDigitBoxes) {
        TuneDigitB(ctrl, delta);
        return;
    }
    if (id == kRitScale || id == kPbtScale) {
        WheelOverScale(id, delta);
        return;
    }
    const int now = SliderPosition(id);
    if (now < 0) return;
    int value = WheelSliderValue(id, now, delta);
    SetSlider(ctrl, value);
    // The level rule reads what the slider took.
    if (View()) {
        const int shown = View()->SliderValue(ctrl);
        if (shown >= 0) value = shown;
    }
    OnSliderMessage(id, value);
}
