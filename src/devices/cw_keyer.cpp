#include "devices/cw_keyer.h"

#include <algorithm>
#include <cstdio>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/radio_models.h"
#include "civ/setter_frames.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "panel/swl_panel.h"

int g_speeddisplay = 0;
int g_sendspeed = 20;

namespace {
constexpr int kUnitMs = 1212;  // one dit at 1 WPM (PARIS timing, rounded)
constexpr int kRadioMinWpm = 6;
constexpr int kRadioMaxValue = 255;

void ShowSpeed(bool shown, int speed) {
    if (!g_swlpanel) return;
    char text[16] = "  ";
    if (shown) std::snprintf(text, sizeof text, "%d", speed);
    g_swlpanel->ShowCwSpeed(text);
}
}  // namespace

CwTiming CwElementTimes(int speed, int weight, int ditRatio, int spaceFactor) {
    const int unit = kUnitMs / std::clamp(speed, kMinWpm, kMaxWpm);
    return {unit, unit * ditRatio / 100, unit * 3 * weight / 100, unit * spaceFactor * 2 / 10};
}

int RadioKeySpeedValue(int speed) {
    if (speed < kRadioMinWpm) speed = kRadioMinWpm;
    if (speed > 66) speed = 56;
    // 57..66 WPM would give more than the radio's 255.
    return std::min((speed - kRadioMinWpm) * 5, kRadioMaxValue);
}

void ShowKeyerFactors(int weight) {
    char text[64];
    std::snprintf(text, sizeof text, "Weight %1.2f  Dit %1.2f  Space %1.2f", weight / 100.0,
                  g_keyerditweight / 100.0, g_keyerspcweight / 10.0);
    SettingsWindow().ShowRowText(kKeyerFactorsLabelId, text);
}

void kstats(int speed, int weight) {
    if (g_yaltkeyer) {
        // With a pot the keyer's own knob rules.
        if (!g_nospeedpot) return;
        SetKeyerSpeed(0);
        ShowSpeed(true, g_cwspeed);
        return;
    }
    g_sendspeed = std::clamp(speed, kMinWpm, kMaxWpm);
    ShowSpeed(g_speeddisplay || CwKeyboardOn(), g_sendspeed);
    ShowKeyerFactors(weight);
    const CwTiming t = CwElementTimes(g_sendspeed, weight, g_keyerditweight, g_keyerspcweight);
    g_spc = g_spcbase = t.spc;
    g_dit = g_ditbase = t.dit;
    g_dah = g_dahbase = t.dah;
    g_bspc = g_bspcbase = t.bspc;
    WriteTracef("kstats wt %f baud %f speed %d g_spc %d g_dit %d g_dah %d g_bspc %d", weight / 100.0,
                double(kUnitMs) / g_sendspeed, g_sendspeed, g_spc, g_dit, g_dah, g_bspc);
    if (ModelCap(g_haslevels)) SendCivLevel({0x14, 0x0C}, RadioKeySpeedValue(speed));
}
