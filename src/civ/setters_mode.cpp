// Mode, filter width, Perseus passband and the D-STAR call signs.
#include <cctype>
#include <cstring>

#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "civ/tuning_state.h"

int g_passbandpending = 0;

namespace {
constexpr int kDv = 0x17;
constexpr unsigned kPassbandMs = 300;
int g_lastpassbandfilter = -1;  // filter index of the last passband sent
int g_lastpassbandshift = 0;    // PBT shift of the last passband sent

bool IsRtty(int mode) { return mode == '7' || mode == '8'; }
bool IsPsk(int mode) { return mode == '9' || mode == ':'; }
bool IsAmFmDv(int mode) { return mode == '4' || mode == '5' || mode == kDv; }
}  // namespace

void SetRadioMode(int mode, int filter) {
    if (!g_firstpoll) {
        const std::uint8_t modeByte = CivModeByte(mode);
        ModeFilterState s;
        s.radioType = g_radiotype;
        s.closing = g_closing != 0;
        s.savemem = g_savemem != 0;
        s.vfoB = g_selvfo == 'B';
        s.oldRadio = g_oldradio;
        s.ic765 = g_ic765 != 0;
        for (int k = 0; k < 3; ++k) s.buttons[k] = g_filterbuttons[k];
        std::uint8_t buf[8];
        const int n = BuildModeFrame(buf, modeByte, ModeFilterByte(modeByte, filter, s));
        if (!g_passive) sendtoradio(buf, n);
        if (g_rawmode) {
            if (g_vfoamode == '1' && ModelCap(g_hasdigisel) && !g_passive)
                SendCiv({0x1A, 0x06, std::uint8_t(g_radiodatamode), 0x01});
            WriteTracef("datamode set in radio %d", g_radiodatamode);
        }
    }
    if (mode == kDv) SendDstarCalls();
}

void SetModeA(int mode, int txMode) {
    if (g_firstpoll) return;
    WriteTracef("scr 17 tx %c", txMode);
    SelectVfo('A');
    SetRadioMode(mode, g_rxfilter);
    g_datamode = Tuning().dataMode;
    if (g_datamode) SetDataMode(g_datamode);
    SetTxPower(g_power);
}

void SetModeB(int mode) {
    WriteTrace("scr 18");
    SelectVfo('B');
    SetRadioMode(mode, g_rxfilter);
}

namespace {
// The filter-width table in force for a width command: the panel
// shows the AM table while VFO A is in AM, FM or SAM on two-table models;
// a VFO B width with VFO A in AM and VFO B not comes from the other table.
bool WidthFromAmTable() {
    if (!ModelCap(g_hasamfmwidth)) return false;
    const bool shown = UsesAmTable(g_vfoamode);
    if (g_selvfo == 'B' && g_vfoamode == '4' && g_vfobmode != '4') return !shown;
    return shown;
}

int RoofingByte(int widthHz) {
    switch (g_roof) {
        case 1: return 2;
        case 2: return 1;
        case 3: return 0;
        default: break;
    }
    if (widthHz > 5700) return 2;
    if (widthHz <= g_3khzline) return 0;
    return 1;
}
}  // namespace

void SetFilterWidth(int index, int mode) { SetFilterWidthFromTable(index, mode, WidthFromAmTable()); }

void SetFilterWidthFromTable(int index, int mode, bool amTable) {
    if (!ModelCap(g_hasfilterwidth) || g_passive) return;
    if (IsAmFmDv(mode) && !ModelCap(g_hasamfmwidth)) return;
    if ((IsRtty(mode) || (ModelCap(g_hasdigisel) && IsPsk(mode))) && index < 10) index = 10;
    const FilterWidth& entry = FilterEntry(index, amTable);
    SendCiv({0x1A, std::uint8_t(ModelCap(g_lowerwidthcmds) ? 0x02 : 0x03), ByteToBcd(entry.code)});
    if (ModelCap(g_hassubreceiver) && mode == 'S') {
        SendCiv({0x1A, 0x09, 0x02});
    } else if (ModelCap(g_hasdigisel) && !g_model7610 && g_roof != 4) {
        SendCiv({0x1A, 0x09, std::uint8_t(RoofingByte(entry.hz))});
    }
}

void SetFilterWidthA(int index) {
    g_rxfilter = index;
    if (g_firstpoll) return;
    WriteTrace("scr 1");
    if (g_perseus) {
        SetPerseusPassband();
        return;
    }
    SelectVfo('A');
    // Where the mode command carries the filter, a new filter is a new mode
    // command: otherwise a filter button would never reach the radio.
    if (!ModelCap(g_hasfilterwidth) || (IsAmFmDv(g_vfoamode) && !ModelCap(g_hasamfmwidth))) {
        SetRadioMode(g_vfoamode, index);
        return;
    }
    SetFilterWidth(index, g_vfoamode);
}

void SetFilterWidthB(int index) {
    if (!ModelCap(g_hassubreceiver)) return;
    WriteTrace("scr 13");
    SelectVfo('B');
    SetFilterWidth(index, g_vfobmode);
}

namespace {
int PassbandClass(int w) {
    if (w >= 5400) return 2;
    if (w >= 2400) return 3;
    if (w >= 1200) return 4;
    if (w >= 400) return 5;
    return 6;
}

// "%06d" as three BCD bytes, least significant pair first.
int PutBcd3(std::uint8_t* out, int value) {
    std::uint8_t two[2];
    LevelToBcd(value / 100, two);  // the top four digits
    out[0] = ByteToBcd(value % 100);
    out[1] = two[1];
    out[2] = two[0];
    return 3;
}
}  // namespace

void SetPerseusPassband() {
    if (!g_perseus || g_passbandpending) return;
    const int shift = g_pbton ? g_passbandshift : 0;
    if (g_rxfilter == g_lastpassbandfilter && shift == g_lastpassbandshift) return;
    g_lastpassbandfilter = g_rxfilter;
    g_lastpassbandshift = shift;

    const int w = FilterEntry(g_rxfilter, false).hz;
    std::uint8_t buf[16];
    BuildPerseusHeader(buf);
    int n = kCivHeaderLen;
    buf[n++] = 0x70;
    buf[n++] = 0x04;
    buf[n++] = std::uint8_t(PassbandClass(w));
    if (g_vfoamode == '0' || g_vfoamode == '1') {
        n += PutBcd3(buf + n, 200 + shift < 0 ? 0 : 200 + shift);
        buf[n++] = 0xAA;
        n += PutBcd3(buf + n, 200 + w + shift < 0 ? 0 : 200 + w + shift);
    } else {
        n += PutBcd3(buf + n, w);
        buf[n++] = 0xAA;
        if (shift < 0) buf[n++] = 0x2D;
        const int mag = shift < 0 ? -shift : shift;
        std::uint8_t two[2];
        LevelToBcd(mag, two);
        buf[n++] = two[1];
        buf[n++] = two[0];
    }
    buf[n++] = kCivEnd;
    sendtoradio(buf, n);
    g_passbandpending = 1;
    SetCivTimer(TIMER_PASSBAND, kPassbandMs);
}

void OnPassbandTimer() {
    KillCivTimer(TIMER_PASSBAND);
    g_passbandpending = 0;
    SetPerseusPassband();
}

void ForgetPerseusPassband() { g_lastpassbandfilter = 50000; }

namespace {
// Upper-cases the stored call sign and copies it into a blank-filled field.
int PutCallField(std::uint8_t* out, char* text, int width) {
    for (char* p = text; *p; ++p) *p = char(std::toupper(static_cast<unsigned char>(*p)));
    const int len = int(std::strlen(text));
    for (int k = 0; k < width; ++k) out[k] = std::uint8_t(k < len ? text[k] : ' ');
    return width;
}
}  // namespace

void SendDstarUrRpt() {
    std::uint8_t buf[32];
    BuildCivHeader(buf);
    int n = kCivHeaderLen;
    buf[n++] = 0x1F;
    buf[n++] = 0x01;
    n += PutCallField(buf + n, g_dstarur, 8);
    n += PutCallField(buf + n, g_dstarrpt[0], 8);
    n += PutCallField(buf + n, g_dstarrpt[1], 8);
    buf[n++] = kCivEnd;
    sendtoradio(buf, n);
}

void SendDstarMy() {
    std::uint8_t buf[32];
    BuildCivHeader(buf);
    int n = kCivHeaderLen;
    buf[n++] = 0x1F;
    buf[n++] = 0x00;
    n += PutCallField(buf + n, g_dstarmy, 12);
    buf[n++] = kCivEnd;
    sendtoradio(buf, n);
}

void SendDstarCalls() {
    SendDstarUrRpt();
    SendDstarMy();
}
