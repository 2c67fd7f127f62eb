#include "devices/switches.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "devices/device_port.h"
#include "devices/remote_link.h"
#include "devices/station_outputs.h"
#include "devices/tcp_accessory.h"
#include "devices/tuner.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/station_io.h"

int g_relayboards = 0;
int g_porttalkok = 0;
int g_bandparallel = 0;
int g_denkoviopen = 0;
int g_delcomopen = 0;
plat::PortHandle g_bcdport[2] = {plat::kInvalidPort, plat::kInvalidPort};
int g_adrport = 1;
int g_useantb = 0;
int g_tavnagconnected = 0;
int g_radioTavn = 1;

namespace {

constexpr int kDataRegister = 888;
constexpr int kControlRegister = 890;  // CW keying
constexpr const char kParallelDevice[] = "/dev/parport0";
constexpr const char kDenkoviDescription[] = "FT245R USB FIFO";
constexpr std::uint16_t kDelcomVendor = 0x0FC5;
constexpr std::uint16_t kDelcomProduct = 0xB080;

std::unique_ptr<plat::ParallelPort> g_parallel;
std::unique_ptr<plat::FtdiDevice> g_denkoviboard;
std::unique_ptr<plat::HidDevice> g_delcom;
int g_denkovilast = -1;
int g_lastsetting[2] = {0, 0};
int g_ldg6last = 0;
int g_tavnlastsetting = 0;
int g_tavnlastband = 0;

constexpr std::uint8_t kDelcomRelayBit[4] = {1, 4, 16, 64};
constexpr std::uint8_t kDelcomPortBit[4] = {1, 2, 4, 8};
constexpr std::uint8_t kDelcomBoard[9] = {5, 0, 16, 32, 48, 64, 80, 96, 112};

// The Delcom board's write of both ports: an 8-byte feature report.
int DelcomWrite(std::uint8_t p0, std::uint8_t p1) {
    if (!g_delcom) return -1;
    const std::uint8_t report[8] = {101, 12, p0, p1, 0, 0, 0, 0};
    return g_delcom->SendFeature(report, 8);
}

constexpr TcpAccessoryTexts kAgTexts{
    "ConnectToTavn_ag start", "Tavn ag ip %08x, port %d", "Tavn ag socket failed", "Tavn ag ioctlsocket 0 rc %d",
    "starting connect", "back from connect", "Trying to Connect to TAVN AG",
    "Waiting for Connect to Complete to TAVN AG", "Tavn ag connect waiting rc %d, lasterror %d",
    "Tavn ag connect complete lasterror %d, wParam %d, lParam %d", "Tavn ag Connect complete", "Connected AG",
    "setsockopt rc %d", "AG_Tavn_ReadData", "Tavn ag recv length %d", "From Tavn ag Ethernet asc ",
    "From Tavn ag ethernet hex ", "Tavn ag Read Data end", "Send to Tavn AG ", "good Tavn AG send",
    "bad Tavn AG send rc %d, length %d", "Lost Connection AG", true};

// The switch's answers are only traced; any data shows the link alive.
int WholeRead(const std::uint8_t*, int length) { return length; }

void AgConnected() {
    g_tavnagconnected = 1;
    // Forces the antenna out again on the new link.
    g_tavnlastsetting = 50000;
    if (!g_radioserver) SelectAntennaForFreq(g_vfoafreq);
}

TcpAccessory MakeAgLink() {
    TcpAccessory link(kAgTexts, kMsgAgConnect, kMsgAgRead, TIMER_AG_TIMEOUT, 5000);
    link.frame = WholeRead;
    link.onConnected = AgConnected;
    return link;
}
TcpAccessory g_tavnag_link = MakeAgLink();

}  // namespace

bool OpenPortTalk() {
    g_parallel = plat::OpenParallelPort(kParallelDevice);
    if (!g_parallel) {
        WriteTrace("PortTalk: Couldn't access PortTalk Driver, Please ensure driver is loaded.\n\n");
        return false;
    }
    return true;
}

void outportb(int port, std::uint8_t value) {
    if (!g_parallel) return;
    bool ok = false;
    if (port == kDataRegister)
        ok = g_parallel->WriteData(value);
    else if (port == kControlRegister)
        ok = g_parallel->WriteControl(value);
    else
        return;
    if (!ok) WriteTracef("Error occured during outportb while talking to PortTalk driver %d\n", port);
}

int ParallelDescriptor() { return g_parallel ? g_parallel->Descriptor() : -1; }

void setadr(int setting) {
    const int slot = g_adrport == 2 ? 1 : 0;
    WriteTracef("setadr setting %04x, last_setting %04x, adrport %d", unsigned(setting),
                unsigned(g_lastsetting[slot]), g_adrport);
    if (g_pelx) {
        if (!(setting & 0x10) && !(setting & 0x20)) setting |= 0x08;
        const double f = g_split ? g_vfobfreq : g_vfoafreq;
        if (f < 11.0) setting |= 0x40;
        WriteTracef("Pelx setting %04x", unsigned(setting));
        WriteDenkoviActual(std::uint8_t(setting));
        return;
    }
    if (g_denkovi) WriteDenkovi(setting);
    if (g_bandparallel && g_porttalkok) {
        outportb(kDataRegister, 0);
        outportb(kDataRegister, std::uint8_t(setting));
    }
    if (setting != g_lastsetting[slot] && setting >= 1 && setting <= 8) {
        char text[13];
        RelayText(setting, g_relayboards == 2 ? (slot ? 'B' : 'A') : 'K', text);
        SendToLdgCoax(text);
    }
    g_lastsetting[slot] = setting;
}

void RelayText(int setting, char letter, char* out13) {
    std::snprintf(out13, 13, "SP%c00000000\r", letter);
    if (setting >= 1 && setting <= 8) out13[11 - setting] = '1';
}

void SendToLdgCoax(const char* text) {
    SendToLdg6(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text)));
}

int GetTavnBand(double f) {
    struct Band {
        double low, high;
        int band;
    };
    static constexpr Band kBands[] = {
        {1.7, 2.1, 1},   {3.4, 4.1, 2},  {6.9, 7.4, 3},   {10.05, 10.9, 4}, {13.9, 14.4, 5}, {18.0, 18.4, 6},
        {20.9, 21.6, 7}, {24.7, 25.0, 8}, {27.9, 30.0, 9}, {49.9, 55.0, 10}, {5.0, 5.9, 11},
    };
    for (const Band& b : kBands)
        if (f > b.low && f < b.high) return b.band;
    return 0;
}

void setTavn(int setting) {
    WriteTracef("setTavn setting %d, last_setting %d", setting, g_tavnlastsetting);
    if (g_client) {
        // The switch is at the radio server.
        const std::uint8_t msg[2] = {std::uint8_t(setting), std::uint8_t(g_radioTavn)};
        sendtopartner(msg, 2, 16);
        return;
    }
    if (!g_tavnagconnected) {
        WriteTrace("not connected");
        return;
    }
    const double f = g_split ? g_vfobfreq : g_vfoafreq;
    const int band = GetTavnBand(f);
    WriteTracef("setTavn band %d, last_band %d", band, g_tavnlastband);
    char text[17];
    std::snprintf(text, sizeof text, "!000a!00cc80!%c;%c", char('0' + g_radioTavn % 10), char('0' + band));
    g_tavnag_link.Send(reinterpret_cast<const std::uint8_t*>(text), 16);
    g_tavnlastsetting = setting;
    g_tavnlastband = band;
}

void ConnectToTavn_ag() { g_tavnag_link.Connect(g_tavnipag, g_tavnagport); }

void AG_Tavn_TimeOut(int reason) {
    WriteTrace("AG_Tavn_TimeOut");
    if (reason == 0 && g_tavnag_link.Connected()) {
        setTavn(0);
        SetCivTimer(TIMER_AG_TIMEOUT, 5000);
        return;
    }
    // Lost, or never connected: a new connection.
    g_tavnag_link.Lost();
    g_tavnagconnected = g_tavnag_link.Connected();
}

bool OnAntennaSwitchMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    const bool mine = g_tavnag_link.OnMessage(msg, wParam, lParam);
    g_tavnagconnected = g_tavnag_link.Connected();
    return mine;
}

void OpenDenkovi() {
    WriteTrace("Denkovi Open");
    g_denkoviboard = plat::OpenFtdiByDescription(kDenkoviDescription);
    if (!g_denkoviboard) {
        WriteTrace("Denkovi Open failed");
        plat::MessageBox(nullptr, "Denkovi device not Found", "No Denkovi", plat::MB_OK);
        return;
    }
    WriteTrace("Back from open denkovi");
    g_denkoviboard->SetTimeouts(5000, 0);
    g_denkoviboard->SetBaud(9600);
    g_denkoviboard->SetBitMode(0xFF, 1);
    g_denkoviopen = 1;
    g_denkovilast = -1;
    WriteTrace("Denkovi now Open");
}

void WriteDenkovi(int setting) {
    WriteTracef("WriteDenkovi value %d", setting);
    WriteDenkoviActual(setting >= 1 && setting <= 8 ? std::uint8_t(1u << (setting - 1)) : 0);
}

void WriteDenkoviActual(std::uint8_t value) {
    WriteTracef("WriteDenkoviActual value %04x", unsigned(value));
    if (!g_denkoviboard || value == g_denkovilast) return;
    if (g_denkoviboard->Write(&value, 1) != 1) {
        WriteTrace("Denkovi write failed");
        return;
    }
    g_denkovilast = value;
}

void CloseDenkovi() {
    g_denkoviboard.reset();
    g_denkoviopen = 0;
}

bool OpenDelcom() {
    if (g_delcom) return true;
    g_delcom = plat::OpenHid(kDelcomVendor, kDelcomProduct);
    if (!g_delcom) {
        WriteTrace("Delcom UCS not found");
        return false;
    }
    WriteTracef("Delcom devices %d", 1);
    WriteTracef("Delcom handle %d", 1);
    g_delcomopen = 1;
    return true;
}

bool WriteDelcom(int board, int relay, int on) {
    // The remote link hands these numbers over as they came.
    if (board < 0 || board >= int(std::size(kDelcomBoard)) || relay < 1 || relay > 16) {
        WriteTracef("SetRelay refused Board %d, Relay %d", board, relay);
        return false;
    }
    std::uint8_t r = kDelcomRelayBit[(relay - 1) % 4];
    // Each latching relay has an on coil and, one bit higher, an off coil.
    if (!on) r = std::uint8_t(r << 1);
    const std::uint8_t p1 = std::uint8_t(kDelcomPortBit[(relay - 1) / 4] | kDelcomBoard[board]);
    const std::uint8_t p0 = std::uint8_t(~r);
    int rc = DelcomWrite(p0, p1 | 0x80);
    WriteTracef("Send strobe off,  rc %d, p0 %d, p1 %d ", rc, p0, p1 | 0x80);
    plat::SleepMs(5);
    rc = DelcomWrite(p0, p1 & 0x7F);
    WriteTracef("Send strobe on,  rc %d, p0 %d, p1 %d ", rc, p0, p1 & 0x7F);
    plat::SleepMs(5);
    rc = DelcomWrite(p0, p1 | 0x80);
    WriteTracef("Send strobe off,  rc %d, p0 %d, p1 %d ", rc, p0, p1 | 0x80);
    plat::SleepMs(5);
    WriteTracef("SetRelay Board %d, Relay %d, on %d, p0 %d, p1 %d ", board, relay, on, p0, p1);
    return true;
}

void SendHamShack(const std::uint8_t* record) {
    if (!OpenDelcom()) {
        WriteTrace("hamShack No Device");
        return;
    }
    if (WriteDelcom(record[0], record[1], record[2])) WriteTrace("hamShack Data Sent");
}

void CloseDelcom() {
    g_delcom.reset();
    g_delcomopen = 0;
}

void OpenBcdPorts(const char* abPort, const char* cdPort) {
    OpenDevicePort(g_bcdport[0], "Serial AB ", abPort, 9600);
    OpenDevicePort(g_bcdport[1], "Serial CD ", cdPort, 9600);
}

void OpenLdg6() {
    if (OpenDevicePort(g_ldgcoaxport, "LDG Coax Switch ", g_ldgcoaxcomport, 2400) == plat::kInvalidPort) return;
    g_ldgcoax = 1;
    SetRTS(0, g_ldgcoaxport);
    SetDTR(0, g_ldgcoaxport);
}

void SendToLdg6(const std::uint8_t* data, int length) {
    if (g_ldgcoaxport == plat::kInvalidPort) return;
    // The switch takes its command one byte at a time.
    for (int i = 0; i < length; ++i) {
        WriteTracef("Send to LDG6 %02hX ", static_cast<unsigned short>(data[i]));
        const int n = plat::SerialWrite(g_ldgcoaxport, data + i, 1);
        if (n == 1) {
            WriteTrace("Good Send to LDG6");
        } else {
            WriteTracef("Write to LDG6 error %ld, %04x", long(n), unsigned(n));
            return;
        }
    }
}

void ReadLdg6() {
    std::uint8_t buf[90];
    for (;;) {
        const int n = plat::SerialRead(g_ldgcoaxport, buf, int(sizeof buf));
        if (n < 0) {
            ReportDefectivePort(g_ldgcoaxport);
            return;
        }
        if (n == 0) return;
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "From LDG6 count %02X ", n);
        TraceHex(prefix, buf, n);
    }
}

void WriteAntennaFile(int setting) {
    if (setting != 1 && setting != 2) return;
    if (!plat::WriteFileAtomic(g_ldg1000antennafile, setting == 1 ? "antenna1\r\n" : "antenna2\r\n"))
        WriteTracef("antenna file %s not written", g_ldg1000antennafile);
}

void SelectLdg6Antenna(int setting) {
    // Without a switch port the antenna goes to the file another program reads.
    if (g_ldgcoaxport == plat::kInvalidPort) {
        WriteAntennaFile(setting);
        return;
    }
    if (setting == g_ldg6last) return;
    std::uint8_t cmd[2] = {'R', 0};
    if (setting >= 1 && setting <= 6)
        cmd[1] = std::uint8_t(setting + 1);
    else if (setting != 10)
        return;
    SendToLdg6(cmd, 2);
    g_ldg6last = setting;
}
