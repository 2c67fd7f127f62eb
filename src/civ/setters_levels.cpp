// Level setters: 14 xx with a 2-byte BCD level, and the AF debounces.
#include <cstdio>

#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/setter_frames.h"
#include "civ/tuning_view.h"

int g_muted = 0;
int g_submuted = 0;

namespace {
constexpr unsigned kAfDebounceMs = 200;
int g_pendingaf = 0;     // AF gain waiting for TIMER_AF_GAIN
int g_pendingsubaf = 0;  // sub AF gain waiting for TIMER_SUB_AF_GAIN

constexpr int kSpeechSlider = 2472;     // the settings window's "Speech Process" slider

bool HasLevels() { return ModelCap(g_haslevels) != 0; }

void LevelOnVfo(char vfo, std::uint8_t sub, int level) {
    SelectVfo(vfo);
    SendCivLevel({0x14, sub}, level);
}
}  // namespace

void SendAfGain(int a) {
    if (!HasLevels()) return;
    if (g_perseus) {
        SendPerseus(0x0A, std::uint8_t(ClampLevel(a)));
        return;
    }
    WriteTrace("scr 9");
    LevelOnVfo('A', 0x01, AfGainLevel(a));
}

void SendSubAfGain(int a) {
    if (!HasLevels()) return;
    if (ModelCap(g_subafonvfob)) {
        WriteTrace("scr 12");
        LevelOnVfo('B', 0x01, AfGainLevel(a));
    } else {
        SendCivLevel({0x14, 0x10}, a);
    }
}

void SetRfGain(int percent) {
    if (HasLevels()) LevelOnVfo('A', 0x02, RfGainLevel(percent));
}

void SetRfGainB(int percent) {
    if (!HasLevels()) return;
    WriteTrace("scr 10");
    LevelOnVfo('B', 0x02, RfGainLevel(percent));
}

void SetSquelchA(int level) {
    if (!HasLevels()) return;
    WriteTrace("scr 21");
    LevelOnVfo('A', 0x03, level);
}

void SetSquelchB(int level) {
    if (!HasLevels()) return;
    WriteTrace("scr 22");
    LevelOnVfo('B', 0x03, level);
}

namespace {
// The twin-PBT cuts follow the VFO the mirror poll is on.
void SelectCutVfo() {
    if (g_mirror) SelectVfo(g_pollvfoa ? 'A' : 'B');
}
}  // namespace

void SetLoCut(int level) {
    if (!HasLevels()) return;
    g_locut = level;
    SelectCutVfo();
    SendCivLevel({0x14, std::uint8_t(ModelCap(g_hastwinpbt) ? 0x08 : 0x04)}, level);
}

void SetHiCut(int level) {
    if (!HasLevels() || !ModelCap(g_hastwinpbt)) return;
    g_hicut = level;
    SelectCutVfo();
    SendCivLevel({0x14, 0x07}, level);
}

void SetNrLevelA(int level) {
    if (!HasLevels()) return;
    if (g_perseus) {
        SendPerseus(0x0C, std::uint8_t(ClampLevel(level)));
        return;
    }
    LevelOnVfo('A', 0x06, level);
}

void SetNrLevelB(int level) {
    if (HasLevels()) LevelOnVfo('B', 0x06, level);
}

void SetNbLevelA(int level) {
    if (g_perseus) {
        SendPerseus(0x0B, std::uint8_t(ClampLevel(level)));
        return;
    }
    if (ModelCap(g_hasnblevel)) LevelOnVfo('A', 0x12, level);
}

void SetNbLevelB(int level) {
    if (ModelCap(g_hassubreceiver)) LevelOnVfo('B', 0x12, level);
}

void SetAgcVrLevelA(int level) {
    if (ModelCap(g_hasagcvr)) LevelOnVfo('A', 0x11, level);
}

void SetAgcVrLevelB(int level) {
    if (ModelCap(g_hassubreceiver)) LevelOnVfo('B', 0x11, level);
}

void SetNotchPositionA(int level) {
    if (ModelCap(g_hasnotch)) LevelOnVfo('A', 0x0D, level);
}

void SetNotchPositionB(int level) {
    if (ModelCap(g_hassubreceiver)) LevelOnVfo('B', 0x0D, level);
}

void SetApfLevelA(int level) {
    if (ModelCap(g_hasapflevel)) LevelOnVfo('A', 0x05, level);
}

void SetApfLevelB(int level) {
    if (ModelCap(g_hassubreceiver)) LevelOnVfo('B', 0x05, level);
}

void SetDigiSelLevelA(int level) {
    if (!ModelCap(g_hasdigisel)) return;
    WriteTrace("digi val A");
    LevelOnVfo('A', 0x13, level);
}

void SetDigiSelLevelB(int level) {
    if (!ModelCap(g_hassubreceiver)) return;
    WriteTrace("digi val B");
    LevelOnVfo('B', 0x13, level);
}

void SetCwPitch(int hz) {
    if (HasLevels()) LevelOnVfo('A', 0x09, CwPitchLevel(hz));
}

int PowerWatts(int percent, int radiotype) { return percent * ModelCap(g_txwatts, radiotype) / 100; }

void SetTxPower(int percent) {
    if (!HasLevels() || g_firstpoll) return;
    if (ModelCap(g_txpowerprefix)) SendCiv({0x1A, 0x05, 0x00, 0x37, 0x34});
    SendCivLevel({0x14, 0x0A}, g_txenable ? PercentLevel(percent) : 0);
    char text[16];
    std::snprintf(text, sizeof text, "%dW", PowerWatts(percent, g_radiotype));
    TuningDisplay().ShowPowerText(text);
}

// The power slider follows both keys, so it never shows a power that is
// not the one in force.
void PowerUp() {
    g_power = g_power + 5 > 100 ? 100 : g_power + 5;
    SetTxPower(g_power);
    TuningDisplay().Show(TuningShow::Power);
}

void PowerDown() {
    g_power = g_power - 5 < 0 ? 0 : g_power - 5;
    SetTxPower(g_power);
    TuningDisplay().Show(TuningShow::Power);
}

void SetVolume(int a) {
    if (!HasLevels() || g_sweeprunning) return;
    if (g_muted && a > 0) g_muted = 0;
    if (a <= 0) {
        KillCivTimer(TIMER_AF_GAIN);
        SendAfGain(a);
        return;
    }
    g_pendingaf = a;
    SetCivTimer(TIMER_AF_GAIN, kAfDebounceMs);
}

void OnAfGainTimer() {
    KillCivTimer(TIMER_AF_GAIN);
    SendAfGain(g_pendingaf);
}

void SetSubVolume(int a) {
    if (g_sweepbrunning) return;
    g_pendingsubaf = a;
    SetCivTimer(TIMER_SUB_AF_GAIN, kAfDebounceMs);
}

void OnSubAfGainTimer() {
    KillCivTimer(TIMER_SUB_AF_GAIN);
    SendSubAfGain(g_pendingsubaf);
}

void ToggleSubMute() {
    g_submuted = !g_submuted;
    if (ModelCap(g_hasdigisel)) SendSubAfGain(g_submuted ? 0 : g_volumeb);
}

void ToggleMute() {
    if (g_perseus) {
        g_muted = !g_muted;
        SendPerseus(0x05, g_muted ? 0x00 : 0x01);
        return;
    }
    if (g_muted) {
        g_muted = 0;
        SetVolume(g_volume);
    } else {
        SetVolume(0);
        g_muted = 1;
    }
}

void SetMicGain(int percent) {
    if (HasLevels()) SendCivLevel({0x14, 0x0B}, PercentLevel(percent));
}

void SetSpeech(int on, int level) {
    static int lastLevel = -1;
    SendCiv({0x16, 0x44, std::uint8_t(on ? 1 : 0)});
    {
        char text[16];
        std::snprintf(text, sizeof text, "Sp %d", level);
        SettingsWindow().SetValueLabel(kSpeechSlider, text);
    }
    if (!ModelCap(g_hasspeechqsk) || !on || level == lastLevel) return;
    lastLevel = level;
    if (ModelCap(g_speechbymenu))
        SendCiv({0x1A, 0x05, 0x38, ByteToBcd(level)});
    else
        SendCivLevel({0x14, 0x0E}, level * 25);
}

void SetQskDelay(int value) {
    if (!ModelCap(g_hasspeechqsk)) return;
    SendCivLevel({0x14, 0x0F}, ModelCap(g_speechbymenu) ? value * 110 / 255 + 20 : value);
}

namespace {
// The 1A 05 item of dialect 1: the older models 1 and 12 number it apart.
std::uint8_t Dialect1Item(std::uint8_t item, std::uint8_t oldItem) { return ModelCap(g_oldmenuitems) ? oldItem : item; }
bool HasVoxMenu() { return ModelCap(g_menudialect) != 0; }
bool NewVoxCommands() { return ModelCap(g_newvox) != 0; }
}  // namespace

void SetVoxGain(int percent) {
    if (!HasVoxMenu()) return;
    if (NewVoxCommands())
        SendCivLevel({0x14, 0x16}, PercentLevel(percent));
    else
        SendCivLevel({0x1A, 0x05, Dialect1Item(0x73, 0x58)}, PercentLevel(percent));
}

void SetAntiVox(int percent) {
    if (!HasVoxMenu()) return;
    if (NewVoxCommands())
        SendCivLevel({0x14, 0x17}, PercentLevel(percent));
    else
        SendCivLevel({0x1A, 0x05, Dialect1Item(0x74, 0x59)}, PercentLevel(percent));
}

void SetVoxHang(int value) {
    if (!HasVoxMenu()) return;
    const std::uint8_t hang = ByteToBcd(value * 20 / 100);
    if (NewVoxCommands()) {
        if (g_skipvoxdelay) return;
        const int item = g_model7610 ? 0x0292 : ModelCap(g_voxdelayitem);
        SendCiv({0x1A, 0x05, std::uint8_t(item >> 8), std::uint8_t(item & 0xFF), hang});
    } else {
        SendCiv({0x1A, 0x05, Dialect1Item(0x75, 0x60), hang});
    }
}

void SetSidetoneLevel(int value) {
    if (!HasVoxMenu()) return;
    const int item = g_model7610 ? 0x0225 : ModelCap(g_sidetoneitem);
    const std::uint8_t hi = std::uint8_t(item >> 8), lo = std::uint8_t(item & 0xFF);
    if (ModelCap(g_sidetoneraw)) {
        SendCivLevel({0x1A, 0x05, hi, lo}, value);
    } else if (ModelCap(g_menudialect) == 2) {
        SendCivLevel({0x1A, 0x05, hi, lo}, PercentLevel(value));
    } else {
        const std::uint8_t oneByte = ModelCap(g_speechbymenu) ? 0x55 : Dialect1Item(0x00, 0x04);
        SendCivLevel({0x1A, 0x05, oneByte}, PercentLevel(value));
    }
}
