// The receiver and transmitter function buttons and the labels they drive.
// Each handler changes a panel flag or level, shows it and notifies the main
// frame, whose state push sends what changed; nothing here builds a frame.
#include "panel/function_buttons.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/cw_id.h"
#include "panel/knob_functions.h"
#include "panel/knob_state.h"
#include "panel/mirror_panel.h"
#include "panel/station_caption.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "platform/window.h"

// ---- Rules -------------------------------------------------------------------------

namespace {
// One attenuator series: the values in order, the first always 0.
struct AttenuatorSeries {
    int count;
    int values[9];
};
constexpr AttenuatorSeries kSixDb = {4, {0, 6, 12, 18}};
constexpr AttenuatorSeries kPerseusDb = {4, {0, 10, 20, 30}};
constexpr AttenuatorSeries kTwentyDb = {2, {0, 20}};
constexpr AttenuatorSeries kTwelveDb = {2, {0, 12}};
constexpr AttenuatorSeries kSteps7 = {8, {0, 1, 2, 3, 4, 5, 6, 7}};
constexpr AttenuatorSeries kSteps8 = {9, {0, 1, 2, 3, 4, 5, 6, 7, 8}};

const AttenuatorSeries* SeriesOf(const FunctionModel& m) {
    // The Perseus runs as type 13 and the IC-7610 as type 18: they come first.
    if (m.perseus) return &kPerseusDb;
    if (m.model7610) return &kSteps8;
    switch (m.radiotype) {
    case 0: case 1: case 12: case 18: return &kSixDb;
    case 2: case 3: case 4: case 7: case 11: case 17: case 21: case 23: return &kTwentyDb;
    case 13: return &kTwelveDb;
    case 5: case 16: return &kSteps7;
    default: return nullptr;
    }
}

bool StepsOfThreeDb(const FunctionModel& m) { return m.model7610 || m.radiotype == 5 || m.radiotype == 16; }

void Put(std::string& line, int column, const char* text) {
    for (int i = 0; text[i] && column + i < int(line.size()); ++i) line[std::size_t(column + i)] = text[i];
}
}  // namespace

int NextAttenuator(int value, const FunctionModel& m) {
    const AttenuatorSeries* s = SeriesOf(m);
    if (!s) return value;
    for (int i = 0; i < s->count; ++i)
        if (s->values[i] == value) return i + 1 < s->count ? s->values[i + 1] : 0;
    // A value outside the series (a reply from another setting) starts it over.
    return 0;
}

std::string AttenuatorCaption(int value, const FunctionModel& m) {
    if (value == 0) return "Attn";
    char text[16];
    std::snprintf(text, sizeof text, "Atn-%2d", StepsOfThreeDb(m) ? value * 3 : value);
    return text;
}

int NextPreamp(int level, int maxLevel) { return level + 1 > maxLevel ? 0 : level + 1; }

std::string PreampCaption(int level) { return level == 2 ? "PreAm2" : "PreAmp"; }

int NextAntenna(int antenna, int radiotype) {
    const int last = radiotype == 5 || radiotype == 16 ? 4 : 2;
    return antenna + 1 > last || antenna < 1 ? 1 : antenna + 1;
}

std::string AntennaCaption(int antenna) {
    char text[16];
    std::snprintf(text, sizeof text, "Ant %1d", antenna);
    return text;
}

std::string ApfCaption(int setting) {
    switch (setting) {
    case 1: return "APF320";
    case 2: return "APF160";
    case 3: return "APF80";
    default: return "APF";
    }
}

std::string BreakInCaption(int value) {
    switch (value) {
    case 1: return "BSemi";
    case 2: return "BFull";
    default: return "Bk-In";
    }
}

int NextBreakIn(int value) {
    // A stored value outside 0..2 (the settings key's default is 20) is off.
    return value == 0 || value == 1 ? value + 1 : value == 2 ? 0 : 1;
}

std::string NotchWidthCaption(int width) {
    switch (width) {
    case 1: return "Mn Mid";
    case 2: return "Mn Nar";
    default: return "Mn Wid";
    }
}

bool IsVscMode(char mode) { return mode == '0' || mode == '1' || mode == '4' || mode == '5'; }

int ClampKeyerKs(int ks, int delta) { return std::clamp(ks + delta, 0, kKeyerKsMax); }

std::string DspStatusLine(const PanelFunctions& f, int agcCodeB) {
    std::string line(kStatusLineLength, ' ');
    if (f.noiseReductionB) Put(line, 0, "nr");
    if (f.noiseBlankerB) Put(line, 3, "nb");
    if (f.autoNotchB) Put(line, 6, "an");
    if (f.agcVrB)
        Put(line, 9, "magc");
    else if (agcCodeB == '1')
        Put(line, 9, "agcs");
    else if (agcCodeB == '2')
        Put(line, 9, "agcm");
    else if (agcCodeB == '3')
        Put(line, 9, "agcf");
    if (f.manualNotchB) Put(line, 14, "mn");
    if (f.twinPeakB) Put(line, 17, "tp");
    return line;
}

std::string RfStatusLine(const PanelFunctions& f) {
    std::string line(kStatusLineLength, ' ');
    char text[16];
    if (f.antennaB) {
        std::snprintf(text, sizeof text, "ant%1d", f.antennaB % 10);
        Put(line, 0, text);
    }
    if (f.rxAntennaB) Put(line, 5, "rx");
    if (f.attenuatorB) {
        std::snprintf(text, sizeof text, "at%2d", (f.attenuatorB * 3) % 100);
        Put(line, 8, text);
    }
    if (f.preampB) {
        std::snprintf(text, sizeof text, "pa%1d", f.preampB % 10);
        Put(line, 13, text);
    }
    if (f.apfB >= 1 && f.apfB <= 3) Put(line, 17, f.apfB == 1 ? "af320" : f.apfB == 2 ? "af160" : "af80");
    return line;
}

// ---- The panel's handlers ----------------------------------------------------------

namespace {
FunctionModel RunningModel() { return {g_radiotype, g_perseus != 0, g_model7610 != 0}; }

// On model 5 with the slider row on the sub receiver, the DSP buttons work
// the sub receiver's copy of their flag.
bool SubDsp() { return ModelCap(g_hassubreceiver) && g_subsliders && g_dual; }

int Toggled(int v) { return v ? 0 : 1; }

constexpr unsigned kCwMemoryButton = 589;    // 589..593
constexpr unsigned kCwMemoryCommand = 5020;  // 5020..5024, F1..F5

void SendToMainFrame(CSwlPanel& p, unsigned command) {
    if (p.Parent()) p.Parent()->SendMessage(plat::WM_COMMAND, command, 0);
}
}  // namespace

void CSwlPanel::ShowAntenna() {
    if (View()) View()->SetControlText(IDC_ANTENNA, AntennaCaption(antenna));
}

void CSwlPanel::ShowRxAntenna() { LightFunctionButton(IDC_RXANT, rxAntenna); }

void CSwlPanel::ShowAttenuator() {
    if (!View()) return;
    View()->SetControlText(IDC_ATTN, AttenuatorCaption(attenuator, RunningModel()));
    View()->LightButton(IDC_ATTN, attenuator != 0);
}

void CSwlPanel::ShowPreamp() {
    if (!View()) return;
    View()->SetControlText(IDC_PREAMP, PreampCaption(preamp));
    View()->LightButton(IDC_PREAMP, preamp != 0);
}

void CSwlPanel::ShowApf() {
    if (!View()) return;
    View()->SetControlText(IDC_APF, ApfCaption(fn.apf));
    View()->LightButton(IDC_APF, fn.apf != 0);
}

void CSwlPanel::ShowBreakIn(int value) {
    fn.breakIn = value;
    if (!View()) return;
    View()->SetControlText(IDC_BREAKIN, BreakInCaption(value));
    View()->LightButton(IDC_BREAKIN, value == 1 || value == 2);
}

void CSwlPanel::ShowMeterSetting() {
    if (View()) View()->SetControlText(IDC_METER_SEL, MeterSettingCaption(g_metersetting));
}

void CSwlPanel::ShowVox(int on) {
    // The start-up shows the radio's VOX: the panel's flag follows, so the
    // first push does not switch it off again.
    vox = on;
    fn.vox = on;
    LightFunctionButton(IDC_VOX, on);
}

void CSwlPanel::ShowTransmitButton(int on) { LightFunctionButton(IDC_PTT, on); }
void CSwlPanel::SetTuneButton(int on) { LightFunctionButton(IDC_TUNE, on); }
void CSwlPanel::SetMemoryScanButton(int on) { LightFunctionButton(IDC_MEMSCAN, on); }

void CSwlPanel::ShowSwr(const char* text) {
    if (View()) View()->SetControlText(IDC_SWR_LABEL, text ? text : "");
}

void CSwlPanel::ShowClocks(const char* local, const char* utc) {
    if (!View()) return;
    View()->SetControlText(IDC_LOCAL_CLOCK, local ? local : "");
    View()->SetControlText(IDC_UTC_CLOCK, utc ? utc : "");
    ShowRadioContact();
    // The settings window and the station lookups change these without a
    // word to the panel: the clock tick keeps them current.
    ShowStationCaption();
    ShowCallSign();
    ShowBearing();
}

void CSwlPanel::ShowRadioContact() {
    // Never heard, or heard once and silent since (polls unanswered).
    const int silent = g_radioheard == 0 || RadioFellSilent() ? 1 : 0;
    if (!View() || silent == silentShown) return;
    silentShown = silent;
    char text[96];
    std::snprintf(text, sizeof text, "No answer from the radio\n%s at address %02X", RadioModelName(),
                  unsigned(g_radioadr) & 0xFFu);
    View()->ShowRadioSilent(silent != 0, text);
}

void CSwlPanel::ShowMute(int muted) {
    statusText = muted ? "Mute" : "    ";
    if (View()) View()->SetControlText(IDC_STATUS_LABEL, statusText);
    LightFunctionButton(IDC_MUTE, muted);
}

void CSwlPanel::ShowIdLabel() {
    if (!View()) return;
    View()->SetControlText(IDC_CWID, "I D");
    View()->SetButtonOnColour(IDC_CWID, g_buttonselectedtextcolor);
}

void CSwlPanel::ShowIdFlash(int selected) {
    const plat::Colour c = selected ? g_specialbuttonselectedtextcolor : g_buttonselectedtextcolor;
    if (View()) View()->SetButtonOnColour(IDC_CWID, c);
}

void CSwlPanel::ShowIdReminder(const char* call) {
    LightFunctionButton(IDC_CWID, 1);
    if (View()) View()->SetControlText(IDC_STATUS_LABEL, call ? call : "");
}

void CSwlPanel::ShowStationCaption() {
    if (View()) View()->SetControlText(kStationLabel, g_stationcaption);
}

void CSwlPanel::ShowCallSign() {
    if (!View()) return;
    View()->SetCallSignStyle(g_callsize, g_callcolor);
    View()->SetControlText(kCallSignLabel, std::string(g_callsign, strnlen(g_callsign, sizeof g_callsign)));
}

// The typed bearing as the settings window shows it: three characters, none
// while the rotor has no target ('Z').
void CSwlPanel::ShowBearing() {
    if (!View()) return;
    const std::size_t n = g_rotortarget[0] == 'Z' ? 0 : strnlen(g_rotortarget, 3);
    View()->SetControlText(kBearingLabel, std::string(g_rotortarget, n));
}

void CSwlPanel::ShowCwSpeed(const char* text) {
    if (View()) View()->SetControlText(IDC_SPEED_LABEL, text ? text : "");
}

void CSwlPanel::SetCwCaption(const char* text) {
    if (View()) View()->SetControlText(IDC_CWKB_LABEL, text ? text : "");
}

void CSwlPanel::ShowCwKeyboardButtons(int on) { cwKeyboard = on; }

void CSwlPanel::ShowRfStatusLine() {
    if (!ModelCap(g_hassubreceiver) || !View()) return;
    View()->SetControlText(IDC_RF_STATUS, RfStatusLine(fn));
}

void CSwlPanel::ShowDspStatusLine() {
    if (!ModelCap(g_hassubreceiver) || !View()) return;
    View()->SetControlText(IDC_DSP_STATUS, DspStatusLine(fn, g_agcmodevfob));
}

void CSwlPanel::LightFunctionButton(unsigned command, int on) {
    if (View()) View()->LightButton(command, on);
}

namespace {
// The on/off buttons that show a main-receiver flag as it stands.
struct FlagButton {
    unsigned button;
    int PanelFunctions::*flag;
};
constexpr FlagButton kFlagButtons[] = {
    {IDC_NB, &PanelFunctions::noiseBlanker},     {IDC_NR, &PanelFunctions::noiseReduction},
    {IDC_ANOTCH, &PanelFunctions::autoNotch},    {IDC_MNOTCH, &PanelFunctions::manualNotch},
    {IDC_TPF, &PanelFunctions::twinPeak},        {IDC_DIGISEL, &PanelFunctions::digiSel},
    {IDC_IPPLUS, &PanelFunctions::ipPlus},       {IDC_MONITOR, &PanelFunctions::monitor},
    {IDC_PTT, &PanelFunctions::pttRequest},      {IDC_TUNE, &PanelFunctions::tuneRequest},
};
}  // namespace

void CSwlPanel::ShowFunctionButtons() {
    if (!View()) return;
    for (const FlagButton& b : kFlagButtons) LightFunctionButton(b.button, fn.*b.flag != 0);
    ShowVox(fn.vox);
    LightFunctionButton(IDC_VSC, vsc);
    LightFunctionButton(IDC_TX_DISABLE, !fn.txEnabled);
    LightFunctionButton(IDC_AMTN, g_amtnactive);
    LightFunctionButton(IDC_CWID, g_idarmed);
    View()->SetControlText(IDC_NOTCH_WIDTH, NotchWidthCaption(fn.notchWidth));
    ShowAntenna();
    ShowRxAntenna();
    ShowAttenuator();
    ShowPreamp();
    ShowApf();
    ShowBreakIn(fn.breakIn);
    ShowMeterSetting();
    ShowDspStatusLine();
    ShowRfStatusLine();
}

// ---- Actions (also run by the keys and the control surfaces) ------------------------

void CSwlPanel::CycleAttenuator() {
    const int next = NextAttenuator(attenuator, RunningModel());
    if (next == attenuator) return;
    attenuator = next;
    ShowAttenuator();
    // The attenuator and the preamp work against each other.
    if (attenuator != 0 && preamp != 0) {
        preamp = 0;
        ShowPreamp();
    }
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::CyclePreamp() {
    preamp = NextPreamp(preamp, ModelCap(g_preampcount));
    ShowPreamp();
    if (preamp != 0 && attenuator != 0) {
        attenuator = 0;
        ShowAttenuator();
    }
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::CycleAntenna() {
    antenna = NextAntenna(antenna, g_radiotype);
    ShowAntenna();
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::ToggleRxAntenna() {
    rxAntenna = Toggled(rxAntenna);
    ShowRxAntenna();
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::ToggleTpf() {
    if (SubDsp()) {
        fn.twinPeakB = Toggled(fn.twinPeakB);
        LightFunctionButton(IDC_TPF, fn.twinPeakB);
        ShowDspStatusLine();
    } else {
        fn.twinPeak = Toggled(fn.twinPeak);
        LightFunctionButton(IDC_TPF, fn.twinPeak);
    }
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::ToggleVox() {
    ShowVox(Toggled(fn.vox));
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::CycleBreakIn() {
    ShowBreakIn(NextBreakIn(fn.breakIn));
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::ToggleSquelch() {
    vsc = Toggled(vsc);
    LightFunctionButton(IDC_VSC, vsc);
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::OnAmTn() {
    if (!g_amtnactive) {
        amtnStep = int(step);
        LightFunctionButton(IDC_AMTN, 1);
        g_amtnactive = 1;
        SaveTuneState();
        if (split) ToggleSplit();
        // Like every tuning path, only where the radio can be tuned.
        if (CheckCoverage(vfoAFreq + 0.005) == 0) vfoAFreq += 0.005;
        SetFrequency(vfoAFreq);
        if (View()) View()->MoveFrequencyScale(vfoAFreq);
        if (vfoAMode != '4') PressModeButton(g_rttytunemode ? '7' : '3');
        StepButton(4);
        OnPanelCommand(406);  // filter button 6
        amtnKnob = g_knobfunction;
        g_knobfunction = kKnobPower;
        // The row comes from the settings file: a percentage outside 0..100
        // would reach the radio as a level it cannot take.
        if (g_bandrow >= 0 && g_bandrow < kBandRows)
            g_power = std::clamp(g_bandstack[g_bandrow].alcsetting, 0, 100);
        ShowPower();
        g_powerchanged = 1;
        NotifyMainWin();
    } else {
        g_amtnactive = 0;
        LightFunctionButton(IDC_AMTN, 0);
        SetStep(amtnStep);
        RestoreTuneState();
        // The power used for tuning is kept as the band's amplifier-tune power.
        if (g_bandrow >= 0 && g_bandrow < kBandRows) g_bandstack[g_bandrow].alcsetting = g_power;
        g_knobfunction = amtnKnob;
    }
    SendToMainFrame(*this, ID_PANEL_AMTN_CHANGED);
    NotifyMainWin();
    ReturnFocus();
}

// ---- The command group --------------------------------------------------------------

bool CSwlPanel::OnFunctionCommand(unsigned id) {
    PanelFunctions& f = fn;
    // A flag of the main receiver, or with SubDsp() its sub receiver copy.
    auto dspToggle = [&](int PanelFunctions::*main, int PanelFunctions::*sub, unsigned button, int onValue) {
        const bool toSub = SubDsp() && sub;
        int& flag = f.*(toSub ? sub : main);
        flag = flag ? 0 : onValue;
        LightFunctionButton(button, flag);
        if (toSub) ShowDspStatusLine();
        NotifyMainWin();
        ReturnFocus();
    };
    auto subChange = [&](bool rfLine) {
        if (rfLine)
            ShowRfStatusLine();
        else
            ShowDspStatusLine();
        NotifyMainWin();
        ReturnFocus();
    };
    // CW memory buttons 589..593 play memories 1..5: the main frame's F1..F5
    // commands, which send them through the CW keyboard or the pod function.
    if (id >= kCwMemoryButton && id < kCwMemoryButton + 5) {
        SendToMainFrame(*this, kCwMemoryCommand + (id - kCwMemoryButton));
        ReturnFocus();
        return true;
    }
    if (id >= IDC_USER1 && id < IDC_USER1 + 4) {
        g_userbutton = int(id - IDC_USER1) + 1;
        NotifyMainWin();
        ReturnFocus();
        return true;
    }
    switch (id) {
    case IDC_ATTN: CycleAttenuator(); return true;
    case IDC_PREAMP: CyclePreamp(); return true;
    case IDC_ATTN_SUB:
        f.attenuatorB = f.attenuatorB >= 7 || f.attenuatorB < 0 ? 0 : f.attenuatorB + 1;
        subChange(true);
        return true;
    case IDC_PREAMP_SUB:
        f.preampB = NextPreamp(f.preampB, ModelCap(g_preampcount));
        subChange(true);
        return true;
    case IDC_NB:
        dspToggle(&PanelFunctions::noiseBlanker, &PanelFunctions::noiseBlankerB, IDC_NB, g_perseus ? 2 : 1);
        return true;
    case IDC_NR:
        dspToggle(&PanelFunctions::noiseReduction, &PanelFunctions::noiseReductionB, IDC_NR, 1);
        return true;
    case IDC_ANOTCH: dspToggle(&PanelFunctions::autoNotch, &PanelFunctions::autoNotchB, IDC_ANOTCH, 1); return true;
    case IDC_ANOTCH_SUB:
        f.autoNotchB = Toggled(f.autoNotchB);
        subChange(false);
        return true;
    case IDC_MNOTCH:
        dspToggle(&PanelFunctions::manualNotch, &PanelFunctions::manualNotchB, IDC_MNOTCH, 1);
        return true;
    case IDC_NOTCH_WIDTH:
        f.notchWidth = f.notchWidth >= 2 || f.notchWidth < 0 ? 0 : f.notchWidth + 1;
        if (View()) View()->SetControlText(IDC_NOTCH_WIDTH, NotchWidthCaption(f.notchWidth));
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_APF:
        f.apf = f.apf >= 3 || f.apf < 0 ? 0 : f.apf + 1;
        ShowApf();
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_APF_SUB:
        f.apfB = f.apfB >= 3 || f.apfB < 0 ? 0 : f.apfB + 1;
        subChange(true);
        return true;
    case IDC_TPF: ToggleTpf(); return true;
    case IDC_TPF_SUB:
        f.twinPeakB = Toggled(f.twinPeakB);
        subChange(false);
        return true;
    case IDC_DIGISEL:
        dspToggle(&PanelFunctions::digiSel, &PanelFunctions::digiSelB, IDC_DIGISEL, 1);
        return true;
    case IDC_IPPLUS: dspToggle(&PanelFunctions::ipPlus, nullptr, IDC_IPPLUS, 1); return true;
    case IDC_AGCVR_SUB:
        f.agcVrB = 1;
        subChange(false);
        return true;
    case IDC_ANTENNA: CycleAntenna(); return true;
    case IDC_RXANT: ToggleRxAntenna(); return true;
    case IDC_ANTENNA_SUB:
        f.antennaB = f.antennaB >= 4 || f.antennaB < 1 ? 1 : f.antennaB + 1;
        subChange(true);
        return true;
    case IDC_RXANT_SUB:
        f.rxAntennaB = Toggled(f.rxAntennaB);
        subChange(true);
        return true;
    case IDC_METER_SEL:
        g_metersetting = NextMeterSetting(g_metersetting, g_radiotype);
        g_metertype = MeterTypeOfSetting(g_metersetting);
        ShowMeterSetting();
        if (g_mirror) MirrorShowMeter(g_metersetting);
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_PTT:
        f.pttRequest = Toggled(f.pttRequest);
        ShowTransmitButton(f.pttRequest);
        if (g_mirror) MirrorShowTransmit(f.pttRequest);
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_TUNE:
        f.tuneRequest = Toggled(f.tuneRequest);
        SetTuneButton(f.tuneRequest);
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_MONITOR: dspToggle(&PanelFunctions::monitor, nullptr, IDC_MONITOR, 1); return true;
    case IDC_VOX: ToggleVox(); return true;
    case IDC_BREAKIN: CycleBreakIn(); return true;
    case IDC_TX_DISABLE:
        f.txEnabled = Toggled(f.txEnabled);
        LightFunctionButton(IDC_TX_DISABLE, !f.txEnabled);
        NotifyMainWin();
        ReturnFocus();
        return true;
    case IDC_AMTN: OnAmTn(); return true;
    case IDC_CWID:
        if (!g_idarmed) {
            g_idarmed = 1;
            g_idjustarmed = 1;
            LightFunctionButton(IDC_CWID, 1);
        } else {
            g_idarmed = 0;
            g_idflash = 0;
            LightFunctionButton(IDC_CWID, 0);
            ShowIdLabel();
            if (View()) View()->SetControlText(IDC_STATUS_LABEL, statusText);
        }
        ReturnFocus();
        return true;
    case IDC_CWID_NOW: SendToMainFrame(*this, ID_PANEL_CW_ID_NOW); ReturnFocus(); return true;
    case IDC_MUTE: SendToMainFrame(*this, IDC_MUTE); ReturnFocus(); return true;
    case IDC_TIME: SendToMainFrame(*this, ID_PANEL_CLOCK_TOGGLE); ReturnFocus(); return true;
    case IDC_VSC:
        // Voice squelch only where the radio has it, and only switched on in
        // the phone modes.
        if (ModelCap(g_hasvsc) && (vsc || IsVscMode(vfoAMode))) {
            ToggleSquelch();
        } else {
            LightFunctionButton(IDC_VSC, vsc);
            ReturnFocus();
        }
        return true;
    case IDC_KS_DOWN:
    case IDC_KS_UP:
        // The keyer's own speed pot rules while it is in use.
        if (!(g_yaltkeyer && !g_nospeedpot)) {
            g_keyerks = ClampKeyerKs(g_keyerks, id == IDC_KS_UP ? 1 : -1);
            ShowKeyerSpeed();
            g_keyerspeedchanged = 1;
            NotifyMainWin();
        }
        ReturnFocus();
        return true;
    case IDC_REINIT:
        g_reinitrequest = 1;
        NotifyMainWin();
        ReturnFocus();
        return true;
    default: return false;
    }
}
