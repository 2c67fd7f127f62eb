#include "devices/rotator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/device_options.h"
#include "base/settings_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "devices/device_port.h"
#include "devices/remote_link.h"
#include "devices/tcp_accessory.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"

plat::PortHandle g_rotorport = plat::kInvalidPort;
int g_rotorconnected = 0;
int g_rotormoving = 0;
int g_rotorreportpending = 0;
std::uint8_t g_rotorbuffer[3] = {'Z', 0, 0};
char g_rotorbearing[4] = "000";
char g_rotorshown[4] = "";

namespace {

DeviceCarry g_rotorrx;
int g_bearingheard = 0;

bool TextProtocol() { return g_m2rotor != 0; }

bool Digit(std::uint8_t c) { return c >= '0' && c <= '9'; }

void SendText(const char* text) { SendToRotor(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text))); }

// The moving state is shown and, as server, reported.
void ReportMoving() {
    SettingsWindow().ShowRotorState();
    if (!g_radioserver) return;
    const std::uint8_t m = std::uint8_t(g_rotormoving);
    sendtopartner(&m, 1, 10);
}

// A bearing heard from the rotor: stored, shown and, as server, reported.
void Heard(int degrees, const char* traceFormat) {
    if (degrees < 0 || degrees > 360) return;
    char text[8];
    std::snprintf(text, sizeof text, "%03d", degrees);
    const int change = std::strcmp(text, g_rotorshown) != 0;
    if (change) {
        std::memcpy(g_rotorshown, text, 4);
        std::memcpy(g_rotorbuffer, text, 3);
        SettingsWindow().ShowRotorState();
        if (g_radioserver) sendtopartner(g_rotorbuffer, 3, 8);
    }
    WriteTracef(traceFormat, text, change);
}

// The bearing the rotor was last sent becomes the typed target: the settings
// window's "Rotor Bearing" edit and the radio panel's bearing show it.
void ShowRotorTarget() {
    std::memcpy(g_rotortarget, g_rotorbearing, sizeof g_rotortarget);
    g_rotortarget[sizeof g_rotortarget - 1] = '\0';
    SettingsWindow().ShowRotorTarget();
    if (g_swlpanel) g_swlpanel->ShowBearing();
}

int Number(const std::uint8_t* p, int n) {
    int v = 0, k = 0;
    while (k < n && Digit(p[k]) && k < 4) v = v * 10 + (p[k++] - '0');
    return k ? v : -1;
}

// One line of the text protocol.
void TextLine(const std::uint8_t* line, int len) {
    const std::string s(reinterpret_cast<const char*>(line), std::size_t(len));
    g_rotormoving = s.find(" M") != std::string::npos;
    WriteTrace(g_rotormoving ? "rotor moving" : "rotor stopped");
    ReportMoving();
    int bearing = -1;
    std::size_t at = s.find("A=");
    if (at != std::string::npos) {
        bearing = Number(line + at + 2, len - int(at) - 2);
    } else if ((at = s.find("P=")) != std::string::npos) {
        std::size_t k = at + 2;
        while (k < s.size() && s[k] == ' ') ++k;
        bearing = Number(line + k, len - int(k));
    }
    if (bearing < 0) return;
    if (!g_bearingheard) {
        g_bearingheard = 1;
        SendText("U\r");
    }
    Heard(bearing, "received 3 rotor bearing %s, change %d");
}

constexpr TcpAccessoryTexts kRgTexts{
    "ConnectToTavn_rg start", "Tavn rg ip %08x, port %d", "Tavn rg socket failed", "Tavn rg ioctlsocket 0 rc %d",
    "starting connect", "back from connect", "Trying to Connect to TAVN RG",
    "Waiting for Connect to Complete to TAVN RG", "Tavn rg connect waiting rc %d, lasterror %d",
    "Tavn rg connect complete lasterror %d, wParam %d, lParam %d", "Tavn rg Connect complete", "Connected RG",
    "setsockopt rc %d", "RG_Tavn_ReadData", "Tavn rg recv length %d", "From Tavn rg Ethernet asc ",
    "From Tavn rg ethernet hex ", "Tavn rg Read Data end", "Send to Tavn RG ", "good Tavn RG send",
    "bad Tavn RG send rc %d, length %d", "Lost Connection RG", true};

// A rotor switch record ends at its line end, whatever the reads' sizes.
int LineRecord(const std::uint8_t* data, int length) {
    for (int i = 0; i < length; ++i)
        if (data[i] == '\n' || data[i] == '\r') return i + 1;
    return 0;
}

void RgRecord(const std::uint8_t* data, int length) {
    std::uint8_t rec[TcpAccessory::kBufferSize];
    int n = 0;
    for (int i = 0; i < length; ++i)
        if (data[i] != '\r' && data[i] != '\n' && data[i] != 0) rec[n++] = data[i];
    if (n > 0) ParseTavnRG(rec, n);
}

void RgConnected() { g_rotorconnected = 1; }

TcpAccessory MakeRgLink() {
    TcpAccessory link(kRgTexts, kMsgRgConnect, kMsgRgRead, TIMER_RG_TIMEOUT, 5000);
    link.frame = LineRecord;
    link.onRecord = RgRecord;
    link.onConnected = RgConnected;
    return link;
}
TcpAccessory g_rglink = MakeRgLink();

void SendToTavnRG(const char* text) {
    g_rglink.Send(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text)));
}

}  // namespace

plat::PortHandle OpenRotorPort(long baud) { return OpenDevicePort(g_rotorport, "Rotor ", g_rotorcomport, baud); }

void SendToRotor(const std::uint8_t* data, int length) {
    WriteDevice(g_rotorport, "Send to Rotor ", "Send failed to Rotor %d %d\n", data, length);
}

bool SetRotorBearing(int degrees) {
    // Three digits is all the field and the rotor take.
    if (degrees < 0 || degrees > 360) return false;
    std::snprintf(g_rotorbearing, sizeof g_rotorbearing, "%03d", degrees);
    return true;
}

void StartRotor() {
    if (g_client && !g_tavnrg) {
        sendtopartner(reinterpret_cast<const std::uint8_t*>(g_rotorbearing), 3, 8);
        ShowRotorTarget();
        return;
    }
    if (g_rotorport == plat::kInvalidPort && !g_rotorconnected) return;
    WriteTrace("Rotor started");
    char cmd[16];
    if (g_rotorconnected) {
        std::snprintf(cmd, sizeof cmd, "|A%c%.3s\n", char('0' + g_rotortavn % 10), g_rotorbearing);
        SendToTavnRG(cmd);
    } else if (TextProtocol()) {
        g_rotormoving = 1;
        ReportMoving();
        std::snprintf(cmd, sizeof cmd, g_m2rotor == 2 ? "A%.3s\r" : "%.3s\r", g_rotorbearing);
        SendText(cmd);
    } else {
        std::snprintf(cmd, sizeof cmd, "AP1%.3s;", g_rotorbearing);
        SendText(cmd);
        plat::SleepMs(20);
        SendText(";");
        plat::SleepMs(20);
        SendText("AM1;");
    }
    ShowRotorTarget();
    if (g_radioserver) sendtopartner(reinterpret_cast<const std::uint8_t*>(g_rotorbearing), 3, 8);
}

void StopRotor() {
    if (g_client && !g_tavnrg) {
        const std::uint8_t one = 1;
        sendtopartner(&one, 1, 9);
        return;
    }
    if (g_rotorconnected) {
        SendToTavnRG("|S\n");
        return;
    }
    SendText(TextProtocol() ? "S\r" : ";");
}

void ReadRotorPort() {
    for (;;) {
        const int n = g_rotorrx.ReadFrom(g_rotorport);
        if (n <= 0) return;
        g_rotorrx.len = ParseRotor(g_rotorrx.buf, g_rotorrx.len + n);
    }
}

int ParseRotor(std::uint8_t* buf, int len) {
    if (g_trace > 0) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "From Rotorcount %02X ", len);
        TraceHex(prefix, buf, len);
    }
    int start = 0;
    if (TextProtocol()) {
        // Every CR ends a line, wherever it falls in the read.
        for (int i = 0; i < len; ++i) {
            if (buf[i] != '\r') continue;
            TextLine(buf + start, i - start);
            start = i + 1;
        }
    } else {
        // Four-byte records, ";ddd" or "ddd" and one more byte; anything
        // else is noise, skipped a byte at a time.
        while (len - start >= 4) {
            const std::uint8_t* r = buf + start;
            if (r[0] == ';' && Digit(r[1]) && Digit(r[2]) && Digit(r[3])) {
                Heard(Number(r + 1, 3), "received 1 rotor bearing %s, change %d");
                start += 4;
            } else if (Digit(r[0]) && Digit(r[1]) && Digit(r[2])) {
                Heard(Number(r, 3), "received 2 rotor bearing %s, change %d");
                start += 4;
            } else {
                ++start;
            }
        }
    }
    std::memmove(buf, buf + start, std::size_t(len - start));
    return len - start;
}

void ParseTavnRG(const std::uint8_t* r, int len) {
    // The heading record carries both rotors; a shorter one is not it.
    if (len < 47 || r[1] != 'h') return;
    auto bearing = [&](int at) { return Number(r + at, 3); };
    const int b1 = bearing(3), b2 = bearing(36);
    const int m1 = r[13] - '0', m2 = r[46] - '0';
    const char t1[2] = {char(r[12]), 0}, t2[2] = {char(r[45]), 0};
    WriteTracef("Tavn bearing 1 %d, bearing 2 %d, moving1 %d, moving2 %d, type1 %s, type2 %s", b1, b2, m1, m2, t1,
                t2);
    const bool second = g_rotortavn == 2;
    Heard(second ? b2 : b1, "Tavn rotor bearing %s, change %d");
    g_rotormoving = (second ? m2 : m1) == 1;
    WriteTrace(g_rotormoving ? "rotor moving" : "rotor not moving");
    ReportMoving();
}

void ConnectToTavn_rg() { g_rglink.Connect(g_tavniprg, g_tavnrgport); }

void PollRotorHeading() {
    if (!g_rglink.Connected()) return;
    SendToTavnRG("|h\n");
}

void RG_Tavn_TimeOut() {
    WriteTrace("RG_Tavn_TimeOut");
    g_rglink.Lost();
    g_rotorconnected = g_rglink.Connected();
}

bool OnRotorSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    const bool mine = g_rglink.OnMessage(msg, wParam, lParam);
    g_rotorconnected = g_rglink.Connected();
    return mine;
}
