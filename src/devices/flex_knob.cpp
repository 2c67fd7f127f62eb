#include "devices/flex_knob.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "devices/surface_keys.h"
#include "panel/swl_panel.h"
#include "platform/message_box.h"

plat::PortHandle g_flexport = plat::kInvalidPort;
char g_flexportname[64] = "";

namespace {
constexpr int kReadMax = 300;
constexpr int kScanWaitMs = 200;
constexpr int kIdLength = 6;
constexpr unsigned kHighSpeedMs = 300;
FlexParser g_flexparser;
int g_lastleds[3] = {5, 5, 5};

bool Digit(std::uint8_t b) { return b >= '0' && b <= '9'; }

std::uint8_t PressCode(std::uint8_t kind) {
    switch (kind) {
    case 'S': return '.';
    case 'C': return '0';
    case 'L': return '1';
    default: return 0;
    }
}

// X1S..X3L: single 17..19, double '4'..'6', long '7'..'9'.
std::uint8_t AuxCode(std::uint8_t button, std::uint8_t kind) {
    const int b = button - '1';
    switch (kind) {
    case 'S': return std::uint8_t(17 + b);
    case 'C': return std::uint8_t('4' + b);
    case 'L': return std::uint8_t('7' + b);
    default: return 0;
    }
}

enum class Match { Token, Partial, Invalid };

// Matches one token at p (n bytes available): its length and effect.
Match MatchToken(const std::uint8_t* p, int n, int& length, int& turn, std::uint8_t& key) {
    turn = 0;
    key = 0;
    auto need = [&](int k) { return n >= k; };
    switch (p[0]) {
    case 'U':
    case 'D': {
        const int sign = p[0] == 'U' ? 1 : -1;
        if (!need(2)) return Match::Partial;
        if (p[1] == ';') {
            length = 2;
            turn = sign;
            return Match::Token;
        }
        if (!Digit(p[1])) return Match::Invalid;
        if (!need(3)) return Match::Partial;
        if (!Digit(p[2])) return Match::Invalid;
        if (!need(4)) return Match::Partial;
        if (p[3] != ';') return Match::Invalid;
        length = 4;
        turn = sign * ((p[1] - '0') * 10 + (p[2] - '0'));
        return Match::Token;
    }
    case 'S':
    case 'C':
    case 'L':
        if (!need(2)) return Match::Partial;
        if (p[1] != ';') return Match::Invalid;
        length = 2;
        key = PressCode(p[0]);
        return Match::Token;
    case 'X':
        if (!need(2)) return Match::Partial;
        if (p[1] < '1' || p[1] > '3') return Match::Invalid;
        if (!need(3)) return Match::Partial;
        if (p[2] != 'S' && p[2] != 'C' && p[2] != 'L') return Match::Invalid;
        if (!need(4)) return Match::Partial;
        if (p[3] != ';') return Match::Invalid;
        length = 4;
        key = AuxCode(p[1], p[2]);
        return Match::Token;
    default: return Match::Invalid;
    }
}

void OpenFailedBox() {
    plat::MessageBox(nullptr, "FlexControl Knob not found\n", "qarv", plat::MB_OK);
}

// Ports the settings give to other devices: the search leaves them alone.
bool AssignedElsewhere(const std::string& name) {
    for (const SettingKey& row : SettingsCatalogue()) {
        if (row.kind != SettingKind::Text || row.s == nullptr || std::strstr(row.key, "PORT") == nullptr) continue;
        if (PortIsOff(row.s)) continue;
        if (plat::SamePortDevice(row.s, name)) return true;
    }
    return !PortIsOff(g_wattmeterport) && plat::SamePortDevice(g_wattmeterport, name);
}

bool TryFlexPort(const std::string& name) {
    plat::SerialConfig cfg;
    cfg.baud = 1200;
    // A device that stops reading must not hold up the UI thread.
    cfg.noWaitWrites = true;
    plat::PortHandle h = plat::SerialOpen(name, cfg);
    if (h == plat::kInvalidPort) return false;
    WriteTracef("%s, valid", name.c_str());
    plat::SerialWaitForInput(h, kIdLength, kScanWaitMs);
    std::uint8_t data[33] = {};
    const int n = plat::SerialRead(h, data, 32);
    if (n > 0) {
        data[n] = 0;
        WriteTracef("data %s found", reinterpret_cast<const char*>(data));
    }
    if (n > 0 && IsFlexIdentification(data, n)) {
        g_flexport = h;
        std::snprintf(g_flexportname, sizeof g_flexportname, "%s", name.c_str());
        RegisterPortOwner(&g_flexport, g_flexportname);
        return true;
    }
    plat::SerialClose(h);
    return false;
}
}  // namespace

void FlexParser::Feed(const std::uint8_t* data, int length, FlexTokens& out) {
    std::uint8_t buf[sizeof carry_ + kReadMax];
    while (data && length > 0) {
        const int take = length < kReadMax ? length : kReadMax;
        std::memcpy(buf, carry_, std::size_t(carryLen_));
        int n = carryLen_;
        carryLen_ = 0;
        std::memcpy(buf + n, data, std::size_t(take));
        n += take;
        data += take;
        length -= take;
        int pos = 0;
        while (pos < n) {
            int len = 0, turn = 0;
            std::uint8_t key = 0;
            const Match m = MatchToken(buf + pos, n - pos, len, turn, key);
            if (m == Match::Invalid) {
                ++pos;
                continue;
            }
            if (m == Match::Partial) {
                carryLen_ = n - pos;
                std::memcpy(carry_, buf + pos, std::size_t(carryLen_));
                break;
            }
            out.count = ClampCount((long long)out.count + turn);
            if (key) out.keys.push_back(key);
            pos += len;
        }
    }
}

bool IsFlexIdentification(const std::uint8_t* data, int length) {
    return length >= kIdLength && data[0] == 'F' && data[5] == ';';
}

int GetFlexLedStates(int action) {
    switch (action) {
    case kActSplit: return (g_swlpanel ? g_swlpanel->split : g_split) ? 1 : 0;
    case kActRit: return (g_swlpanel ? g_swlpanel->rit : g_riton) ? 1 : 0;
    case kActPbt: return (g_swlpanel ? g_swlpanel->pbt : g_pbton) ? 1 : 0;
    case kActDualReceive: return g_dual || (g_swlpanel && g_swlpanel->dual) || g_subsliders ? 1 : 0;
    default: return 0;
    }
}

void SendToFlexKnob(const std::uint8_t* data, int length) {
    WriteTrace(TraceBytes("Send to Flex Knob", data, length, "%04X "));
    const int n = plat::SerialWrite(g_flexport, data, length);
    if (n != length) WriteTracef("Send failed to Flex Knob %d %d\n", n, length);
}

void SetFlexKnobLeds() {
    int leds[3];
    bool changed = false;
    for (int i = 0; i < 3; ++i) {
        leds[i] = GetFlexLedStates(SlotAction(i));
        changed = changed || leds[i] != g_lastleds[i];
    }
    if (!changed) return;
    const std::uint8_t cmd[5] = {'I', std::uint8_t('0' + leds[0]), std::uint8_t('0' + leds[1]),
                                 std::uint8_t('0' + leds[2]), ';'};
    SendToFlexKnob(cmd, 5);
    for (int i = 0; i < 3; ++i) g_lastleds[i] = leds[i];
}

void FindFlexKnob() {
    if (!g_flexknob) return;
    plat::SerialClose(g_flexport);
    g_flexopen = 0;
    g_flexparser.Reset();
    for (const std::string& name : plat::SerialSearchNames()) {
        if (AssignedElsewhere(name)) continue;
        if (TryFlexPort(name)) break;
    }
    if (g_flexport == plat::kInvalidPort) {
        OpenFailedBox();
        SetupPodSlots();
        return;
    }
    g_flexopen = 1;
    for (int& led : g_lastleds) led = 5;
    SetupFlexSlots();
}

void ReadFlexKnob() {
    const int carried = g_flexparser.Carried();
    if (carried) WriteTracef("Flex Knob ST is %d", carried);
    std::uint8_t data[kReadMax];
    const int n = plat::SerialRead(g_flexport, data, kReadMax - carried);
    if (n < 0) {
        // Unplugged: the poll skips the knob from now on.
        g_flexopen = 0;
        g_flexparser.Reset();
        ReportDefectivePort(g_flexport);
        return;
    }
    if (n == 0) return;
    if (g_trace > 1) {
        WriteTracef("before Flex Knob");
        WriteTracef("count %d %.*s", n, n, reinterpret_cast<const char*>(data));
    }
    FlexTokens tokens;
    g_flexparser.Feed(data, n, tokens);
    for (std::uint8_t key : tokens.keys) PressKey(key);
    int count = tokens.count;
    if (count == 0) {
        SetFlexKnobLeds();
        return;
    }
    WriteTracef("hispeed %d, del %d, ck %d", g_knobhighspeed, count, std::abs(count));
    if ((std::abs(count) > g_highspeedsensitivity || g_knobhighspeed) && g_step < g_podthreshold) {
        count = ClampCount((long long)count * g_highspeedtuningfactor);
        g_knobhighspeed = 1;
        SetCivTimer(TIMER_KNOB_SPEED, kHighSpeedMs);
    }
    ApplyTuneStep(MakeStepRecord(count));
}
