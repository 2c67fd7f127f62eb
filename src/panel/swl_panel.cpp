#include "panel/swl_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/filter_widths.h"
#include "civ/frame_reader.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "panel/panel_requests.h"
#include "platform/types.h"
#include "platform/window.h"

int g_manualmode = 0;
int g_inpodkey = 0;
int g_keyentry = 0;
double g_keypadfreq = 0;
CSwlPanel* g_swlpanel = nullptr;

namespace {
constexpr int kVfoA = 0;
constexpr int kVfoB = 1;
constexpr int kEsc = 27;
constexpr int kEnter = 13;
constexpr double kMaxKeyedHz = 9999999999.0;
}  // namespace

// ---- Pure rules --------------------------------------------------------------

std::string FrequencyText(double mhz) {
    char text[32];
    std::snprintf(text, sizeof text, "%09.6f", mhz);
    if (text[0] == '0') text[0] = ' ';
    return text;
}

std::array<std::string, kDigitBoxes> FrequencyDigitBoxes(double mhz, bool removeExtraDecimal) {
    std::array<std::string, kDigitBoxes> boxes;
    const std::string text = FrequencyText(mhz);
    const std::size_t point = text.find('.');
    boxes[0] = text[0] == ' ' ? "  " : std::string(1, text[0]);
    int box = 1;
    for (std::size_t i = 1; i < text.size() && box < kDigitBoxes; ++i) {
        if (i == point) continue;
        std::string digit(1, text[i]);
        // The point follows the MHz digit, and unless switched off a second
        // one marks the kHz digit so that the Hz digits stand apart.
        if (i + 1 == point || (!removeExtraDecimal && point != std::string::npos && i == point + 3)) digit += '.';
        boxes[box++] = digit;
    }
    return boxes;
}

std::string StepCaption(double hz) {
    char text[32];
    if (hz < 1000)
        std::snprintf(text, sizeof text, "%3.0f Hz", hz);
    else
        std::snprintf(text, sizeof text, "%3.1f kHz", hz / 1000);
    return text;
}

std::string StepBCaption(double hz) {
    char text[32];
    if (hz < 1000)
        std::snprintf(text, sizeof text, "%3.0f", hz);
    else
        std::snprintf(text, sizeof text, "%2.1f", hz / 1000);
    return text;
}

double RoundToStep(double mhz, int stepHz) {
    // A step of 0 (a hand-edited setting) would divide by zero.
    const double step = stepHz < 1 ? 1.0 : double(stepHz);
    const double perMhz = 1000000.0 / step;
    // The tiny bias keeps a value that sits exactly on a half step (14.0255
    // at 1 kHz) from falling below it through binary rounding.
    const double units = std::floor((mhz + step / 2000000.0) * perMhz + 1e-6);
    return units / perMhz;
}

namespace {
std::array<int, kStepButtons> Sorted(std::array<int, kStepButtons> steps) {
    std::sort(steps.begin(), steps.end());
    return steps;
}
}  // namespace

int StepAbove(double step, const std::array<int, kStepButtons>& steps) {
    const auto s = Sorted(steps);
    for (int v : s)
        if (v > step) return v;
    return s.front();
}

int StepBelow(double step, const std::array<int, kStepButtons>& steps) {
    const auto s = Sorted(steps);
    for (auto it = s.rbegin(); it != s.rend(); ++it)
        if (*it < step) return *it;
    return s.back();
}

int StepButtonFor(double step, const std::array<int, kStepButtons>& steps) {
    const int whole = int(step);
    for (int i = 0; i < kStepButtons; ++i)
        if (steps[i] == whole) return i;
    return -1;
}

int ScaleResolution(double step, bool variableScale) {
    if (!variableScale) return 1;
    if (step < 100) return 100;
    if (step < 1000) return 10;
    return 1;
}

int FilterNameWidth(const char* name) {
    if (!name) return 0;
    const double value = std::atof(name);
    return value < 20 ? int(std::lround(value * 1000)) : int(value);
}

std::array<int, kStepButtons> ConfiguredSteps() { return {g_step1, g_step2, g_step3, g_step4, g_step5, g_step6}; }

// ---- Update operations -----------------------------------------------------------

void CSwlPanel::SetPanelTuning(double freqA, char modeA, double stepHz, int filterIndex, double freqB, char modeB) {
    enabled = 1;
    if (modeA) {
        vfoAMode = modeA;
        if (view_) view_->ShowModeCaption(kVfoA, modeA);
        ShowFilterNameB();
        ShowMode();
        ReturnFocus();
    }
    if (modeB) {
        vfoBMode = modeB;
        if (view_) view_->ShowModeCaption(kVfoB, modeB);
        ReturnFocus();
    }
    if (freqA != 0) {
        vfoAFreq = freqA;
        if (view_) view_->MoveFrequencyScale(freqA);
        SetFrequency(freqA);
    }
    if (filterIndex) SetFilter(filterIndex);
    if (stepHz != 0) SetStep(int(stepHz));
    if (freqB != 0) {
        vfoBFreq = freqB;
        SetFrequency2(freqB);
    }
    if (pbtShift != pbtShown) {
        pbtShown = pbtShift;
        if (view_) view_->ShowPbt(pbtShift);
    }
}

void CSwlPanel::SetFrequency(double mhz) {
    WriteTracef("SetFrequency %s", FrequencyText(mhz).c_str());
    if (mhz == 0 || keyA.hold) return;
    if (view_) view_->ShowDigits(kVfoA, FrequencyDigitBoxes(mhz, g_removeextradecimal != 0));
    // The control surface's LCD shows VFO A as the panel does.
    Requests().ShowTMate2Freq(mhz);
}

void CSwlPanel::SetFrequency2(double mhz) {
    WriteTracef("SetFrequency2 %s", FrequencyText(mhz).c_str());
    if (mhz == 0 || keyB.hold) return;
    if (view_) view_->ShowDigits(kVfoB, FrequencyDigitBoxes(mhz, g_removeextradecimal != 0));
}

void CSwlPanel::SetTransmitA(int on) {
    transmitA = on;
    if (view_) view_->SetTransmitColour(kVfoA, on != 0);
}

void CSwlPanel::SetTransmitB(int on) {
    transmitB = on;
    if (view_) view_->SetTransmitColour(kVfoB, on != 0);
}

void CSwlPanel::SetMode(char mode) {
    vfoAMode = mode;
    switch (mode) {
        case '0': case '1': case '2': case '3': case '4': case '5':
        case '7': case '8': case '9': case ':': case ';': case '<':
            PressModeButton(mode);
            break;
        default:
            break;
    }
}

void CSwlPanel::ShowMode() {
    Requests().ShowTMate2Mode(vfoAMode);
    if (!view_) return;
    view_->SetControlText(105, vfoAMode == '<' ? "WFM" : "FM");
    if (!g_perseus) view_->SetControlText(109, vfoAMode == ':' ? "PSKR" : g_rttylabel2);
    // The filter buttons and the readout may have changed tables with the mode.
    RefreshFilters();
}

void CSwlPanel::RefreshFilters() {
    if (!view_) return;
    view_->LightModeButton(vfoAMode);
    const std::string name = FilterReadout(filter, UsesAmTable(vfoAMode) && ModelCap(g_hasamfmwidth));
    view_->ShowFilterName(name);
    view_->SetFilterGraphicWidth(FilterNameWidth(name.c_str()));
    ShowFilterNameB();
    ShowFilterButtons(filter);
}

// The readout and the lit button always show the same filter.
void CSwlPanel::SetFilter(int index) {
    filter = index;
    const std::string name = FilterReadout(index, UsesAmTable(vfoAMode) && ModelCap(g_hasamfmwidth));
    if (view_) {
        view_->ShowFilterName(name);
        view_->SetFilterGraphicWidth(FilterNameWidth(name.c_str()));
    }
    ShowFilterButtons(index);
    ReturnFocus();
}

void CSwlPanel::SelectFilter(int index) {
    SetFilter(index);
    ShowFilterButtons(index);
    NotifyMainWin();
}

void CSwlPanel::ShowFilterButtons(int index) {
    if (view_) view_->LightFilterButtons(index);
}

void CSwlPanel::ShowBand() {
    if (view_) view_->LightBandButton(g_bandrow);
}

void CSwlPanel::SetStep(int stepHz) {
    step = stepHz < 1 ? 1 : stepHz;
    if (!g_manualmode) vfoAFreq = RoundToStep(vfoAFreq, int(step));
    NotifyMainWin();
    if (view_) view_->MoveFrequencyScale(vfoAFreq);
    SetFrequency(vfoAFreq);
    ShowStep(step);
    ReturnFocus();
}

void CSwlPanel::ShowStep(double stepHz) {
    stepHz = std::max(stepHz, 1.0);
    if (view_) {
        view_->ShowStepCaption(StepCaption(stepHz));
        view_->LightStepButton(StepButtonFor(stepHz, ConfiguredSteps()));
        view_->SetScaleResolution(ScaleResolution(stepHz, g_variablefrequencyscale != 0));
    }
    NotifyMainWin();
}

void CSwlPanel::ShowStepB() {
    if (view_) view_->ShowStepBCaption(StepBCaption(g_stepb));
}

void CSwlPanel::StepUp() { SetStep(StepAbove(step, ConfiguredSteps())); }

void CSwlPanel::StepDown() { SetStep(StepBelow(step, ConfiguredSteps())); }

void CSwlPanel::StepButton(int n) {
    const auto steps = ConfiguredSteps();
    if (n < 1 || n > kStepButtons) return;
    SetStep(steps[n - 1]);
    ReturnFocus();
}

bool CSwlPanel::OnCommand(unsigned id) {
    if (id >= IDC_STEP1 && id < IDC_STEP1 + kStepButtons) {
        StepButton(int(id - IDC_STEP1) + 1);
        return true;
    }
    switch (id) {
        case IDC_STEP_UP: StepUp(); return true;
        case IDC_STEP_DOWN: StepDown(); return true;
        case IDC_KEY_DIGIT_A: KeyDigitA(); return true;
        case IDC_KEY_DIGIT_B: KeyDigitB(); return true;
        default: return OnPanelCommand(id);
    }
}

void CSwlPanel::RefreshFrequency() {
    if (g_frequencydelay != 0) return;  // the main frame's delay timer shows it
    SetFrequency(vfoAFreq);
    if (view_) view_->MoveFrequencyScale(vfoAFreq);
}

void CSwlPanel::NotifyMainWin() {
    if (!enabled || notifyHold > 0) return;
    if (g_inreader || g_inpodkey) {
        g_swlpending = 1;
        return;
    }
    if (parent_) parent_->SendMessage(plat::WM_COMMAND, IDC_RADIO_WINDOW, 0);
}

void CSwlPanel::NotifyVfoB() {
    if (parent_) parent_->SendMessage(plat::WM_COMMAND, IDC_VFOB_CHANGED, 0);
}

void CSwlPanel::ReturnFocus() {
    if (g_inreader || g_inpodkey) return;
    if (parent_) parent_->SetFocus();
}

void CSwlPanel::ShowMeterReading(int value, int type) {
    meterValue = value;
    meterType = type;
    if (view_) view_->ShowMeter(value, type);
}

void CSwlPanel::ShowPowerReading(int forward, int reflected) {
    meterValue = forward;
    meterType = 1;
    if (view_) view_->ShowPowerMeter(forward, reflected);
}

void CSwlPanel::ShowStoreCaption(const std::string& text) {
    storeCaption = text;
    if (view_) view_->ShowStoreCaption(text);
}

void CSwlPanel::ShowMeterPeak(int peak, int type) {
    meterPeak = peak;
    if (view_) view_->ShowMeterPeak(peak, type);
}

void CSwlPanel::ShowTunerSwr(const std::string& text) {
    tunerSwr = text;
    if (view_) view_->SetControlText(kTunerSwrField, text);
}

void CSwlPanel::ShowTunerResult(const std::string& text) {
    tunerResult = text;
    if (view_) view_->SetControlText(kTunerField, text);
}

void CSwlPanel::ShowTunerCaptions(int antenna, int hiz) {
    tunerAntenna = antenna == 2 ? 2 : 1;
    tunerHiZ = hiz != 0;
    if (!view_) return;
    view_->SetControlText(kTunerAntennaButton, tunerAntenna == 2 ? "Ant2" : "Ant1");
    view_->SetControlText(kTunerImpedanceButton, tunerHiZ ? "HiZ" : "LoZ");
}

void CSwlPanel::ShowTuner() {
    ShowTunerSwr(tunerSwr);
    ShowTunerResult(tunerResult);
    ShowTunerCaptions(tunerAntenna, tunerHiZ);
}

// ---- Keypad entry ------------------------------------------------------------------

void CSwlPanel::KeyDigitA() { KeyDigit(kVfoA); }
void CSwlPanel::KeyDigitB() { KeyDigit(kVfoB); }

void CSwlPanel::ShowKeyedDigits(int vfo, double mhz) {
    KeyEntry& k = vfo == kVfoA ? keyA : keyB;
    k.hold = 0;
    if (vfo == kVfoA)
        SetFrequency(mhz);
    else
        SetFrequency2(mhz);
    k.hold = 1;
}

void CSwlPanel::KeyDigit(int vfo) {
    const int key = g_keyentry;
    g_keyentry = 0;
    KeyEntry& k = vfo == kVfoA ? keyA : keyB;
    WriteTracef(vfo == kVfoA ? "SWL key digit %d" : "SWL vfob key digit %d", key);
    auto showStored = [&] {
        if (vfo == kVfoA)
            SetFrequency(vfoAFreq);
        else
            SetFrequency2(vfoBFreq);
    };

    if (key == kEsc) {
        k.active = 0;
        k.hold = 0;
        showStored();
        ReturnFocus();
        return;
    }
    const bool digit = key >= '0' && key <= '9';
    if (!digit && key != '.' && key != kEnter) return;

    if (vfo == kVfoA && split) ToggleSplit();
    if (!k.active) {
        k.active = 1;
        k.accumulator = 0;
        k.fraction = 0;
        k.hold = 1;
        k.weight = 100000;
        if (vfo == kVfoA) {
            ShowBand();
            StoreCurrentBand(vfoAFreq);
        }
    }

    if (digit) {
        const int d = key - '0';
        // The boxes hold 9999.999999 MHz at most; digits past it are dropped.
        if (!k.fraction && k.accumulator * 10 + d > kMaxKeyedHz) return;
        if (k.fraction) {
            k.accumulator += double(d) * k.weight;
            k.weight /= 10;
        } else {
            k.accumulator = k.accumulator * 10 + d;
        }
        ShowKeyedDigits(vfo, k.accumulator / 1000000);
        return;
    }
    if (key == '.') {
        // A second point would scale the typed value once more.
        if (!k.fraction) {
            if (k.accumulator * 1000000 > kMaxKeyedHz) return;
            k.accumulator *= 1000000;
        }
        ShowKeyedDigits(vfo, k.accumulator / 1000000);
        k.fraction = 1;
        return;
    }

    // Enter.
    k.active = 0;
    k.hold = 0;
    const double f = k.accumulator / 1000000;
    if (CheckCoverage(f) != 0) {
        showStored();
        ReturnFocus();
        return;
    }
    if (vfo == kVfoA) {
        if (g_manualmode) {
            vfoAFreq = f;
            SetFrequency(f);
            if (view_) view_->MoveFrequencyScale(f);
            NotifyMainWin();
        } else {
            g_keypadfreq = f;
            if (parent_) parent_->SendMessage(plat::WM_COMMAND, ID_STORED_FREQ, 0);
        }
        ReturnFocus();
    } else {
        vfoBFreq = f;
        SetFrequency2(f);
        ReturnFocus();
        NotifyMainWin();
        NotifyVfoB();
    }
}
