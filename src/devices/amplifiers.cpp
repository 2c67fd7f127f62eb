#include "devices/amplifiers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/settings_options.h"
#include "base/settings_view.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/radio_models.h"
#include "devices/device_port.h"
#include "devices/remote_link.h"
#include "devices/tcp_accessory.h"
#include "platform/socket.h"

plat::PortHandle g_a87port = plat::kInvalidPort;
plat::PortHandle g_acomport = plat::kInvalidPort;
plat::PortHandle g_pw1port = plat::kInvalidPort;
plat::PortHandle g_om4port = plat::kInvalidPort;
plat::PortHandle g_palstarport = plat::kInvalidPort;
int g_acompending = 0;
int g_acomsegment = -1;
int g_a87lastkhz = 0;
int g_pw1reportstate = 0;
int g_om4reportstate = 0;
int g_pgxlconnected = 0;
int g_pgxlstatuschange = 0;
int g_pgxlchange[3] = {};
char g_amplifiertext[92] = "";
char g_pgxladdress[18] = "192.168.1.70";
int g_pgxlport = 9008;
int g_pgxlfan = 1;
int g_pgxlmeffanow = 1;
int g_pgxltemp = 0;
int g_pgxlwantedmeffa = 1;
int g_pgxlmeffarequest = 0;

namespace {

constexpr std::uint8_t kPw1Address = 0x54;
constexpr std::uint8_t kBroadcastTo = 0xE0;

DeviceCarry g_a87rx;
DeviceCarry g_pw1rx;
DeviceCarry g_om4rx;

// Reads until the port has nothing more, each batch through `parse`.
void ReadCarried(plat::PortHandle& port, DeviceCarry& rx, int (*parse)(std::uint8_t*, int)) {
    for (;;) {
        const int n = rx.ReadFrom(port);
        if (n <= 0) return;
        rx.len = parse(rx.buf, rx.len + n);
    }
}

// One reply line of the Alpha 87A: its first number goes to the amplifier
// text field, and to the client when we serve the radio.
void A87Line(const std::uint8_t* line, int len) {
    int i = 0;
    while (i < len && !(line[i] >= '0' && line[i] <= '9')) ++i;
    if (i < len) {
        char digits[12] = {};
        int k = 0;
        while (i < len && k < 10 && line[i] >= '0' && line[i] <= '9') digits[k++] = char(line[i++]);
        std::snprintf(g_amplifiertext, sizeof g_amplifiertext, "%d", std::atoi(digits));
        SettingsWindow().ShowAmplifierText();
    }
    if (g_radioserver) {
        std::uint8_t text[DeviceCarry::kSize + 1];
        std::memcpy(text, line, std::size_t(len));
        text[len] = 0;
        sendtopartner(text, len + 1, 11);
    }
}

// The CI-V scan the IC-PW1 and the OM4 share: frames FE FE to from ... FD
// between the amplifier's address and ours. `onFrame` gets each whole one.
int ScanCiv(std::uint8_t* buf, int len, std::uint8_t device, const char* good,
            void (*onFrame)(const std::uint8_t* frame, int length)) {
    const std::uint8_t own = std::uint8_t(g_myaddr);
    auto ours = [&](std::uint8_t a) { return a == device || a == own; };
    int i = 0;
    while (i + 1 < len) {
        if (buf[i] != kCivPreamble || buf[i + 1] != kCivPreamble) {
            ++i;
            continue;
        }
        // A preamble too near the end to show its addresses waits.
        if (i + 4 > len) break;
        if (!ours(buf[i + 2]) || !ours(buf[i + 3])) {
            i += 2;
            continue;
        }
        WriteTrace(good);
        const int n = FindCivEnd(buf + i, len - i);
        if (n == 0) break;  // the rest of the frame comes later
        onFrame(buf + i, n);
        i += n;
    }
    // Whatever stands before an unfinished preamble is noise.
    if (i >= len || (i == len - 1 && buf[i] != kCivPreamble)) return 0;
    std::memmove(buf, buf + i, std::size_t(len - i));
    return len - i;
}

void Pw1Frame(const std::uint8_t* f, int n) {
    const std::uint8_t own = std::uint8_t(g_myaddr);
    if (f[2] == kPw1Address && f[3] == own) {
        WriteTrace("PW1 Echoback");
        return;
    }
    if (f[2] != own || n < 6) return;
    if (f[4] == 0x03) SendFreqToPW1();
    if (f[4] == 0x04) SendModeToPW1();
}

void Om4Frame(const std::uint8_t* f, int) {
    if (f[2] == kBroadcastTo && f[3] == std::uint8_t(g_myaddr)) WriteTrace("OM4 Echoback");
}

void DumpRead(const char* head, int state, const std::uint8_t* buf, int len) {
    if (g_trace < 2) return;
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%sst %d count %d ", head, state, len);
    TraceHex(prefix, buf, len);
}

// FE FE to own cmd + VFO A in BCD + FD.
void SendFreqFrame(std::uint8_t to, std::uint8_t cmd, void (*send)(const std::uint8_t*, int)) {
    std::uint8_t f[11] = {kCivPreamble, kCivPreamble, to, std::uint8_t(g_myaddr), cmd};
    if (!FrequencyToBcd(g_vfoafreq, f + 5)) return;
    f[10] = kCivEnd;
    send(f, 11);
}

int g_pgxlmeffasync = 1;  // the next status reply checks the amplifier's MEFFA

constexpr TcpAccessoryTexts kPgxlTexts{
    "ConnectToPGXL", "PGXL ip %08x, port %d", "PGXL socket failed", "PGXL ioctlsocket 0 rc %d",
    "starting connect PGXL", "back from connectPGXL", "Trying to connect to PGXL",
    "PGXL connect waiting", "PGXL connect waiting rc %d, lasterror %d",
    "PGXL connect complete lasterror %d, wParam %d, lParam %d", "PGXL Connect complete", "Connection made to PGXL",
    "setsockopt PGXL rc %d", "PGXL Read data", "PGXL recv length %d", "From PGXL Ethernet asc ",
    "From PGXL Ethernet hex ", "PGXL Read Data end", "Send to PGXL Ethernet ", "good PGXL send",
    "bad PGXL send rc %d, length %d", "PGXL connection lost", false};

// The amplifier's replies end at LF.
int PgxlLine(const std::uint8_t* data, int length) {
    for (int i = 0; i < length; ++i)
        if (data[i] == '\n') return i + 1;
    return 0;
}

// A new connection may meet an amplifier that was switched off and on: its
// first status reply is checked against the saved MEFFA again.
void PgxlConnected() {
    g_pgxlconnected = 1;
    g_pgxlmeffasync = 1;
}

bool BandRowValid() { return g_bandrow >= 0 && g_bandrow < kBandRows; }

TcpAccessory MakePgxlLink() {
    TcpAccessory link(kPgxlTexts, kMsgPgxlConnect, kMsgPgxlRead, 0, 0);
    link.frame = PgxlLine;
    link.onRecord = ParsePgxlReply;
    link.onConnected = PgxlConnected;
    return link;
}
TcpAccessory g_pgxllink = MakePgxlLink();
plat::SocketHandle g_discovery[6] = {plat::kInvalidSocket, plat::kInvalidSocket, plat::kInvalidSocket,
                                     plat::kInvalidSocket, plat::kInvalidSocket, plat::kInvalidSocket};
int g_pgxlsequence = 0;
int g_pgxlhaveaddress = 0;
int g_pgxllastband = -1;

int NextPgxlSequence() {
    if (++g_pgxlsequence > 999) g_pgxlsequence = 1;
    return g_pgxlsequence;
}

}  // namespace

plat::PortHandle OpenA87Port() { return OpenDevicePort(g_a87port, "Alpha 87A ", g_alpha87acomport, g_alpha87abaud); }
plat::PortHandle OpenAcomPort() { return OpenDevicePort(g_acomport, "ACOM ", g_acomcomport, g_acombaud); }
plat::PortHandle OpenPalstarPort() {
    return OpenDevicePort(g_palstarport, "PALStar ", g_palstarcomport, g_palstarbaud);
}
plat::PortHandle OpenPw1Port() { return OpenDevicePort(g_pw1port, "PW1 ", g_pw1comport, g_pw1baud); }
plat::PortHandle OpenOm4Port() { return OpenDevicePort(g_om4port, "OM4 ", g_om4comport, g_om4baud); }

void SendToA87(const std::uint8_t* data, int length) {
    WriteDevice(g_a87port, "Send to A87 ", "Send failed to A87 %d %d\n", data, length);
}
void SendToAcom(const std::uint8_t* data, int length) {
    WriteDevice(g_acomport, "Send to ACOM ", "Send failed to Acom %d %d\n", data, length);
}
void SendToPALStar(const std::uint8_t* data, int length) {
    WriteDevice(g_palstarport, "Send to PALStar ", "Send failed to PALStar %d %d\n", data, length);
}
void SendToPW1(const std::uint8_t* data, int length) {
    WriteDevice(g_pw1port, "Send to PW1 ", "Send failed to PW1 %d %d\n", data, length);
}
void SendToOM4(const std::uint8_t* data, int length) {
    WriteDevice(g_om4port, "Send to OM4 ", "Send failed to OM4 %d %d\n", data, length);
}

int GetAcomSegment(double mhz) {
    char text[32];
    std::snprintf(text, sizeof text, "%09.0f", mhz * 1e6);
    const long f = std::atol(text) / 1000;
    int seg = 0;
    if (f < 1800)
        seg = 0;
    else if (f < 2150)
        seg = int((f - 1750) / 25);
    else if (f < 5000)
        seg = int((f - 2150) / 50 + 16);
    else if (f < 15000)
        seg = int((f - 5000) / 100 + 73);
    else if (f < 21900)
        seg = int((f - 15000) / 150 + 173);
    else if (f < 22500)
        seg = int((f - 21900) / 200 + 219);
    else if (f < 26500)
        seg = int((f - 22500) / 250 + 222);
    else if (f < 29900)
        seg = int((f - 26500) / 300 + 238);
    WriteTracef("acom freq %d, seg %d", int(f), seg);
    return seg;
}

int A87Khz(double mhz) { return int(std::lround(mhz * 1000.0)); }

void ReadA87Port() { ReadCarried(g_a87port, g_a87rx, ParseA87); }
void ReadPW1Port() { ReadCarried(g_pw1port, g_pw1rx, ParsePW1); }
void ReadOM4Port() { ReadCarried(g_om4port, g_om4rx, ParseOM4); }

int ParseA87(std::uint8_t* buf, int len) {
    if (g_trace > 0) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "From A87count %02X ", len);
        TraceHex(prefix, buf, len);
    }
    // Every CR ends a reply, wherever it falls in the read.
    int start = 0;
    for (int i = 0; i < len; ++i) {
        if (buf[i] != '\r') continue;
        A87Line(buf + start, i - start);
        start = i + 1;
    }
    if (start == 0) return len;
    std::memmove(buf, buf + start, std::size_t(len - start));
    return len - start;
}

int ParsePW1(std::uint8_t* buf, int len) {
    DumpRead("from PW1 ", g_pw1reportstate, buf, len);
    return ScanCiv(buf, len, kPw1Address, "Good PW1 Message", Pw1Frame);
}

int ParseOM4(std::uint8_t* buf, int len) {
    DumpRead("from OM4 ", g_om4reportstate, buf, len);
    return ScanCiv(buf, len, kBroadcastTo, "Good OM4 Message", Om4Frame);
}

std::uint8_t Pw1ModeByte(int modeChar) {
    switch (modeChar) {
    case '5':
    case 0x17: return 0x05;  // FM and DV
    case '2': return 0x07;
    case '3': return 0x03;
    case '4': return 0x02;
    case '0': return 0x01;
    case '1': return 0x00;
    default: return 0x08;
    }
}

void SendFreqToPW1() {
    // "OM AMP": the amplifier listens to transceive broadcasts instead.
    if (g_omamp)
        SendFreqFrame(kBroadcastTo, 0x00, SendToPW1);
    else
        SendFreqFrame(kPw1Address, 0x03, SendToPW1);
}

void SendFreqToOM4() { SendFreqFrame(kBroadcastTo, 0x00, SendToOM4); }

void SendModeToPW1() {
    const std::uint8_t f[8] = {kCivPreamble, kCivPreamble, kPw1Address, std::uint8_t(g_myaddr),
                               0x04,         Pw1ModeByte(g_vfoamode), 0x01, kCivEnd};
    SendToPW1(f, 8);
}

void SetAmplifierText(const std::uint8_t* text, int length) {
    int n = 0;
    for (int i = 0; i < length && text[i] != 0 && n < int(sizeof g_amplifiertext) - 1; ++i)
        if (text[i] >= 0x20 && text[i] < 0x7F) g_amplifiertext[n++] = char(text[i]);
    g_amplifiertext[n] = '\0';
    SettingsWindow().ShowAmplifierText();
}

void ReportAmplifierOpenFailure(const char* text) {
    WriteTrace(text);
    SetStatusBarText(text);
}

void ResetAmpSocket() {
    // The next send connects to the new address.
    g_pgxllink.Close();
    g_pgxlconnected = 0;
}

void ConnectToPGXL() {
    if (g_pgxllink.Connected()) return;
    g_pgxllink.Connect(g_pgxladdress, g_pgxlport);
}

bool OnPgxlSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (msg >= kMsgPgxlDiscovery && msg < kMsgPgxlDiscovery + 6) {
        OnSockDiscoveryN(int(msg - kMsgPgxlDiscovery), wParam);
        return true;
    }
    const bool mine = g_pgxllink.OnMessage(msg, wParam, lParam);
    g_pgxlconnected = g_pgxllink.Connected();
    return mine;
}

void SendToPGXL(const char* text, int length) {
    if (g_trace > 1) WriteTracef("Send to PGXL Ethernet count %d %.*s", length, length, text);
    if (!g_pgxllink.Connected()) {
        WriteTrace("PGXL not connected");
        return;
    }
    g_pgxllink.Send(reinterpret_cast<const std::uint8_t*>(text), length);
    g_pgxlconnected = g_pgxllink.Connected();
}

void SetPGXLfan(int mode) {
    static constexpr const char* kModes[] = {"STANDARD ", "CONTEST  ", "BROADCAST"};
    if (mode < 1 || mode > 3) return;
    WriteTracef("SetPGXLfan %d", mode);
    char text[40];
    const int n = std::snprintf(text, sizeof text, "C%03d|setup fanmode=%s\n", NextPgxlSequence(), kModes[mode - 1]);
    SendToPGXL(text, n);
    g_pgxlfan = mode;
}

void SetPGXLmeffa(int on) {
    WriteTracef("SetPGXLmeffa %d", on);
    char text[40];
    const int n = std::snprintf(text, sizeof text, "C%03d|setup meffa=%s\n", NextPgxlSequence(), on ? "AUTO" : "OFF ");
    SendToPGXL(text, n);
    g_pgxlmeffanow = on ? 1 : 0;
    if (BandRowValid()) g_bandmeffa[std::size_t(g_bandrow)] = g_pgxlmeffanow;
    g_pgxlstatuschange = 1;
    WriteTrace("turn on statuschange meffa");
    SetCivTimer(TIMER_PGXL_STATUS, 200);
}

void SendPGXLStatus() {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "C%03d|status\n", NextPgxlSequence());
    WriteTrace("PGXL Status");
    SendToPGXL(text, n);
    g_pgxlstatuschange = 1;
    WriteTrace("turn on statuschange");
    SetCivTimer(TIMER_PGXL_STATUS, 200);
}

void ProcessAmpWindow() {
    WriteTrace("ProcessAmpWindow");
    if (g_pgxlwantedmeffa != g_pgxlmeffanow) SetPGXLmeffa(g_pgxlwantedmeffa);
    SetPGXLfan(g_pgxlfan);
    g_pgxlchange[0] = g_pgxlchange[1] = g_pgxlchange[2] = 0;
    g_pgxlmeffarequest = 0;
}

void PgxlOptionChanged() {
    // Status replies wait until the change went out: they would otherwise
    // overwrite the band's MEFFA with what the amplifier had before.
    g_pgxlchange[0] = 1;
    g_pgxlwantedmeffa = BandRowValid() ? g_bandmeffa[std::size_t(g_bandrow)] : g_pgxlmeffanow;
    g_pgxlmeffarequest = 1;
}

void PgxlBandChanged() {
    if (!g_usingpgxlamp || !BandRowValid()) return;
    // The amplifier may report its old band's MEFFA for a while: the first
    // report of the new band is checked against the saved value, not taken.
    g_pgxlmeffasync = 1;
    if (g_pgxlstatuschange) return;  // the status reply due syncs it
    WriteTracef("thplog current band %d", g_bandrow);
    SetPGXLmeffa(g_bandmeffa[std::size_t(g_bandrow)]);
}

void ParsePgxlReply(const std::uint8_t* data, int length) {
    const std::string r(reinterpret_cast<const char*>(data), std::size_t(length));
    if (r.find("state=") == std::string::npos) return;
    WriteTracef("status message opchange %d, onchange %d, statuschange %d", g_pgxlchange[0], g_pgxlchange[1],
                g_pgxlstatuschange);
    bool match = false;
    std::size_t at = r.find("bandA=");
    if (at != std::string::npos && at + 6 < r.size()) {
        const int ampBand = std::atoi(r.substr(at + 6, 3).c_str());
        const int band = BandMeters(g_vfoafreq);
        WriteTracef("bandA %d, band %d, freq %08f, swlfreq %08f", ampBand, band, g_vfoafreq, g_vfoafreq);
        match = ampBand == band;
        if (ampBand != g_pgxllastband) {
            g_pgxllastband = ampBand;
            match = false;
            // On a new band the amplifier reports its own MEFFA for it: the
            // first report is checked against the band's saved value.
            g_pgxlmeffasync = 1;
        }
    }
    if (!match || g_pgxlchange[0]) return;
    if ((at = r.find(" temp=")) != std::string::npos) {
        g_pgxltemp = std::atoi(r.c_str() + at + 6);
        WriteTracef("PGXL temp %d", g_pgxltemp);
    }
    if ((at = r.find("meffa=")) != std::string::npos) {
        const int meffa = (at + 6 < r.size() && r[at + 6] == 'O') ? 0 : 1;
        const bool row = BandRowValid();
        bool sent = false;
        if (g_pgxlmeffasync) {
            g_pgxlmeffasync = 0;
            if (row && g_bandmeffa[std::size_t(g_bandrow)] != meffa) {
                WriteTrace("sync up meffa");
                SetPGXLmeffa(g_bandmeffa[std::size_t(g_bandrow)]);
                sent = true;
            }
        }
        // A report the sync has just corrected is not the band's setting.
        if (row && !sent) g_bandmeffa[std::size_t(g_bandrow)] = meffa;
        WriteTracef("PGXL meffa %d", meffa);
    }
    if ((at = r.find("fanmode=")) != std::string::npos && at + 8 < r.size()) {
        const char c = r[at + 8];
        if (c == 'S') g_pgxlfan = 1;
        if (c == 'C') g_pgxlfan = 2;
        if (c == 'B') g_pgxlfan = 3;
    }
    if (g_pgxlautotemp && g_pgxlfan != 3) {
        if (g_pgxltemp > 59 && g_pgxlfan == 1)
            SetPGXLfan(2);
        else if (g_pgxltemp <= 49)
            SetPGXLfan(1);
    }
}

void StartPGXLDiscovery() {
    // One socket on every local address at the amplifier's port hears its
    // broadcast; the platform gives no list of this host's addresses.
    WriteTracef("inaddr_any g_lastsk %d", 0);
    OpenDiscoverySocket("", 0);
}

void OpenDiscoverySocket(const char* address, int slot) {
    if (slot < 0 || slot >= 6) return;
    WriteTracef("discovery socket start ip %08lx, sn %d", 0ul, slot);
    plat::SocketClose(g_discovery[slot]);
    g_discovery[slot] = plat::UdpSocket();
    if (g_discovery[slot] == plat::kInvalidSocket) {
        WriteTrace("discovery socket failed");
        return;
    }
    WriteTracef("discovery socket start port %d", g_pgxlport);
    if (!plat::SocketBind(g_discovery[slot], address, g_pgxlport)) {
        WriteTracef(" bind failed %d", plat::SocketLastError());
        plat::SocketClose(g_discovery[slot]);
        return;
    }
    plat::SocketSelect(g_discovery[slot], g_timerwindow, kMsgPgxlDiscovery + unsigned(slot), plat::kSockRead);
    WriteTrace("discovery socket end");
}

void OnSockDiscoveryN(int slot, std::uintptr_t wParam) {
    WriteTracef("OnSockDiscoveryN socket %d, sn %d", int(wParam), slot);
    plat::SocketHandle& s = g_discovery[slot];
    if (s == plat::kInvalidSocket || int(wParam) != s) return;
    std::uint8_t buf[1025];
    if (g_pgxlhaveaddress) {
        const int n = plat::SocketRecvFrom(s, buf, 1024);
        WriteTracef("recv length %d", n);
        plat::SocketClose(s);
        WriteTrace("Already have ip");
        return;
    }
    for (;;) {
        const int n = plat::SocketRecvFrom(s, buf, 1024);
        if (n < 0) break;
        if (n < 71) continue;
        if (g_trace > 1) TraceHex("From Ethernet PGXL count ", buf, n);
        const std::string d(reinterpret_cast<const char*>(buf), std::size_t(n));
        const std::size_t at = d.find("ip=");
        if (at == std::string::npos) continue;
        std::string ip = d.substr(at + 3, 17);
        ip = ip.substr(0, ip.find_first_of(" \r\n\0"));
        std::uint32_t addr = 0;
        // Only an address is taken: a datagram cannot make us look up a name.
        if (ip.empty() || !plat::ResolveHost(ip, &addr) || plat::AddressText(addr) != ip) continue;
        std::snprintf(g_pgxladdress, sizeof g_pgxladdress, "%s", ip.c_str());
        WriteTracef("radio ip %s", g_pgxladdress);
        g_pgxlhaveaddress = 1;
        ConnectToPGXL();
        plat::SocketClose(s);
        break;
    }
    WriteTrace("OnSockDiscovery exited");
}
