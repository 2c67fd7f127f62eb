#include "devices/keyer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_keyer.h"
#include "devices/remote_link.h"
#include "panel/swl_panel.h"
#include "platform/profile.h"
#include "platform/serial_port.h"

int g_keyertype = 0;
int g_yaltcount = 0;
int g_yaltversion = 0;
int g_yaltextended = 0;
char g_yaltversiontext[32] = "";
int g_yaltinflight = 0;
int g_yaltthreshold = 3;
int g_yaltpause = 0;
int g_yaltbreakin = 0;
int g_spc = 60, g_dit = 60, g_dah = 180, g_bspc = 100;
int g_spcbase = 60, g_ditbase = 60, g_dahbase = 180, g_bspcbase = 100;

namespace {
constexpr int kReadMax = 100;
constexpr unsigned kEchoStepMs = 20;

// Keyer commands.
constexpr std::uint8_t kAdmin = 0x00, kSpeed = 0x02, kWeight = 0x03, kLeadTail = 0x04, kPotSetup = 0x05,
                       kPotRead = 0x07, kPins = 0x09, kMode = 0x0E, kDefaults = 0x0F, kFirstExt = 0x10,
                       kComp = 0x11, kRatio = 0x17;
constexpr std::uint8_t kAdminExtended = 0x0B;
constexpr int kPotRange = 15;

bool Running() { return g_keyertype == 2; }

void Send(std::initializer_list<std::uint8_t> bytes) {
    std::uint8_t buf[16];
    int n = 0;
    for (std::uint8_t b : bytes) buf[n++] = b;
    SendToYalt(buf, n);
}

void SendIfRunning(std::initializer_list<std::uint8_t> bytes) {
    if (Running()) Send(bytes);
}

std::uint8_t Byte(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

// Push-button report of an extended keyer: the highest button wins.
int PushButtonFunction(std::uint8_t status) {
    if (status & 0x10) return g_yaltf4;
    if (status & 0x04) return g_yaltf3;
    if (status & 0x02) return g_yaltf2;
    return g_yaltf1;
}

// The keyer echoes the prosign characters as it takes them; an operator
// client passes them on as the prosign characters of the settings' defaults.
char ClientProsign(char c) {
    switch (c) {
    case ':': return '^';
    case ';': return '*';
    case '<': return '+';
    case '=': return '-';
    case '>': return '$';
    default: return c;
    }
}

void AppendPaddleFile(char c) {
    if (g_cwfilename[0] == '\0') return;
    if (std::FILE* f = plat::OpenRegularFile(g_cwfilename, plat::OpenFor::Append)) {
        std::fputc(c, f);
        std::fclose(f);
    }
}

void PaddleCharacter(std::uint8_t b) {
    if (b < 32 || b > 127) return;
    char c = char(b);
    if (!g_client) {
        AppendPaddleFile(c);
        if (c >= 'A' && c <= 'Z') c = char(std::tolower(static_cast<unsigned char>(c)));
        AddPaddleEcho(c);
    } else if (CwKeyboardOn()) {
        CwKeyboardChar(static_cast<unsigned char>(ClientProsign(c)));
    }
}

void Echo() {
    if (g_yaltpause) {
        // A timed pause of a repeating memory: nothing is in flight.
        g_yaltinflight = 0;
        return;
    }
    if (g_yaltinflight > 0) --g_yaltinflight;
    if (g_cwput != g_cwget && g_cwsendenabled && CwRingHasWordBreak() && g_yaltinflight <= g_yaltthreshold)
        SetCivTimer(TIMER_CW_ELEMENT, kEchoStepMs);
}

void Status(std::uint8_t b) {
    if (g_yaltextended && (b & 0x08)) {
        RunMacroKey(PushButtonFunction(b));
        return;
    }
    if (b & 0x02) {
        g_yaltinflight = 0;
        if (g_cwclearonbreakin) {
            g_cwget = g_cwput;
            ShowCwRing();
        }
        g_yaltbreakin = 1;
    } else {
        g_yaltbreakin = 0;
    }
}

void SpeedPot(std::uint8_t b) {
    if (g_nospeedpot) return;
    g_keyerks = b & 0x3F;
    g_cwspeed = g_keyercw + g_keyerks + 10;
    if (g_swlpanel) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", g_cwspeed);
        g_swlpanel->ShowKeyerSpeed();
        g_swlpanel->ShowCwSpeed(text);
    }
}
}  // namespace

std::uint8_t BuildKeyerMode() {
    std::uint8_t m = std::uint8_t(((g_iambica & 0x03) << 4) | 0x44);
    if (g_reversepaddle) m |= 0x08;
    if (g_autospace) m |= 0x02;
    if (g_contestspace) m |= 0x01;
    return m;
}

std::uint8_t KeyerPinByte() {
    if (g_yaltextended) return g_client ? 15 : Byte(g_yaltpin5 + 8);
    return g_client ? 6 : Byte(g_yaltpin5);
}

std::string KeyerVersionText(int version) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "YALT VERSION %c", char(version + 48));
    return buf;
}

void SendToYalt(const std::uint8_t* data, int length) {
    if (g_trace) {
        std::string line = "Send to YALT ";
        char hex[8];
        for (int i = 0; i < length; ++i) {
            std::snprintf(hex, sizeof hex, "%02hX ", static_cast<unsigned short>(data[i]));
            line += hex;
        }
        WriteTrace(line);
    }
    if (g_yaltport == plat::kInvalidPort) return;
    const int rc = plat::SerialWrite(g_yaltport, data, length);
    if (rc < 0) WriteTracef("YALT WriteFile error %ld", long(rc));
    if (g_trace) WriteTracef("YALT write rc=%d, length=%d", rc, length);
}

void SetKeyerSpeed(int speed) {
    int s = speed;
    if (speed == 0) {
        if (g_nospeedpot)
            s = g_radioserver && g_linkstate == 3 ? g_cwspeed : g_keyercw + g_keyerks + 10;
    }
    // 0 lets the pot rule; any other value stays inside what the keyer takes.
    if (s != 0) s = std::clamp(s, kMinWpm, kMaxWpm);
    Send({kSpeed, Byte(s)});
}

void SetKeyerWeight() { SendIfRunning({kWeight, Byte(g_yaltweight)}); }
void SetKeyerLead() { SendIfRunning({kLeadTail, Byte(g_yaltlead), Byte(g_yalttail)}); }
void SetKeyerTail() { SendIfRunning({kLeadTail, Byte(g_yaltlead), Byte(g_yalttail)}); }
void SetupKeyerPot() { SendIfRunning({kPotSetup, Byte(g_keyercw + 10), Byte(kPotRange), 0xFF}); }
void ReadKeyerPot() { SendIfRunning({kPotRead}); }
void SetKeyerPins() { SendIfRunning({kPins, KeyerPinByte()}); }
void SetKeyerMode() { Send({kMode, BuildKeyerMode()}); }
void SetKeyerFirstExt() { SendIfRunning({kFirstExt, Byte(g_yalt1st)}); }
void SetKeyerComp() { SendIfRunning({kComp, Byte(g_yaltkeycomp)}); }
void SetKeyerRatio() { SendIfRunning({kRatio, Byte(g_yaltditdah)}); }

void InitKeyer() {
    if (g_yaltextended) Send({kAdmin, kAdminExtended});
    Send({kDefaults, BuildKeyerMode(), 0x00, 0x06, 0x32, 0x00, 0x00, Byte(g_keyercw + 10), Byte(kPotRange), 0x00, 0x00,
          0x0A, Byte(g_yaltswitchpoint), 0x32, KeyerPinByte(), 0x0F});
    SetupKeyerPot();
    SetKeyerSpeed(0);
    SetKeyerLead();
    SetKeyerTail();
    SetKeyerFirstExt();
    SetKeyerWeight();
    SetKeyerComp();
    SetKeyerRatio();
    ReadKeyerPot();
    SetKeyerMode();
}

void ProcessKeyerBytes(const std::uint8_t* data, int length) {
    if (length <= 0) return;
    if (g_keyertype == 1) {
        // The answer to the host open: its first byte is the version.
        g_yaltversion = data[0];
        g_yaltextended = g_yaltversion > 19;
        std::snprintf(g_yaltversiontext, sizeof g_yaltversiontext, "%s", KeyerVersionText(g_yaltversion).c_str());
        g_keyertype = 2;
        InitKeyer();
        return;
    }
    if (g_keyertype != 2) return;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t b = data[i];
        if (b >= 0xC0)
            Status(b);
        else if (b >= 0x80)
            SpeedPot(b);
        else if (g_yaltbreakin)
            PaddleCharacter(b);  // every paddle character of the read counts
        else
            Echo();
    }
}

void ReadYaltPort() {
    std::uint8_t data[kReadMax];
    const int n = plat::SerialRead(g_yaltport, data, kReadMax);
    if (n < 0) {
        // An unplugged keyer: close it and say so once; the keying it may
        // hold is released by the port-loss hook. Waiting for a host-open
        // answer again lets the one-second upkeep reopen it.
        ReportDefectivePort(g_yaltport);
        g_keyertype = 1;
        g_yaltcount = 0;
        return;
    }
    if (n == 0) return;
    if (g_trace) {
        std::string line = "From YALT ";
        char hex[16];
        std::snprintf(hex, sizeof hex, "count %02X ", unsigned(n));
        line += hex;
        for (int i = 0; i < n; ++i) {
            std::snprintf(hex, sizeof hex, "%02X ", unsigned(data[i]));
            line += hex;
        }
        WriteTrace(line);
    }
    ProcessKeyerBytes(data, n);
}

void CloseKeyerPort() { plat::SerialClose(g_yaltport); }
