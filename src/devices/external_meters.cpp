#include "devices/external_meters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/device_options.h"
#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/reply_processing.h"
#include "devices/device_port.h"
#include "devices/remote_link.h"
#include "devices/wave_panel.h"
#include "panel/swl_panel.h"
#include "platform/station_io.h"
#include "platform/types.h"
#include "platform/window.h"

namespace {
// A meter's number as an int: what a garbled record holds (far out of range,
// not a number) must not overflow the conversion. Readings are watts and SWR
// x 100; a million covers both.
int Reading(double v) {
    if (!(v > -1e6)) return v != v ? 0 : -1000000;  // NaN reads as 0
    if (v > 1e6) return 1000000;
    return int(v);
}
}  // namespace

plat::PortHandle g_powermeterport = plat::kInvalidPort;
plat::PortHandle g_zunport = plat::kInvalidPort;
int g_extswr = 10000;
int g_wavehold = 0;
WaveSensor g_wavesensors[4];
int g_wavepeak = 0;
float g_wavevalue89 = 0;
int g_wavestarted = 0;

namespace {

constexpr int kPowerMaster = 3;
constexpr std::uint8_t kStx = 0x02, kEtx = 0x03;
constexpr int kLp100Record = 43;
constexpr std::uint16_t kLp500Vendor = 0x04D8, kLp500Product = 0x0001;

DeviceCarry g_meterrx;
int g_flushpending = 1;
int g_lp100count = 0;
std::unique_ptr<plat::HidDevice> g_lp500;

// Zun keyer-command emulation state.
int g_zuncmd = -1;
int g_zunparams = 0;
int g_zunindex = 0;
int g_zunkeep = 0;

bool PowerMaster() { return g_wattmetertype == kPowerMaster; }

// The panel shows the readings as they are when this reading is done.
struct WavePanelRefresh {
    ~WavePanelRefresh() {
        if (g_wavepanel) g_wavepanel->Refresh();
    }
};

// Message 15: three "%04d" numbers at offsets 0, 6 and 12.
void ReportWattmeter(int a, int b, int c) {
    if (!g_radioserver) return;
    std::uint8_t msg[17];
    std::memset(msg, ' ', sizeof msg);
    const int v[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d", std::clamp(v[k], 0, 9999));
        std::memcpy(msg + 6 * k, text, 4);
    }
    sendtopartner(msg, 17, 15);
}

// A reading for the panel meter and, as server, for the client.
void ShowReading(int forward, int reflected, int swr100) {
    g_extswr = swr100;
    if (g_swlpanel) {
        if (g_metertype == 2)
            g_swlpanel->ShowMeterReading(reflected, 2);
        else if (g_metertype == 3)
            g_swlpanel->ShowMeterReading(swr100, 3);
        else
            g_swlpanel->ShowMeterReading(forward, 1);
    }
    ReportWattmeter(forward, reflected, swr100);
}

void PowerMasterMessage(const std::uint8_t* m, int n) {
    // STX 'D' ',' fwd ',' ref ',' swr ETX c c CR LF
    if (n < 8 || m[1] != 'D') return;
    std::string body(reinterpret_cast<const char*>(m + 2), std::size_t(n - 7));
    double v[3] = {0, 0, 0};
    if (std::sscanf(body.c_str(), ",%lf,%lf,%lf", &v[0], &v[1], &v[2]) != 3) return;
    WriteTracef("fwdpwrpm %02f", v[0]);
    WriteTracef("refpwrpm %02f", v[1]);
    WriteTracef("vswr %02f", v[2]);
    if (v[2] != 0 && g_transmitting) ShowReading(Reading(v[0]), Reading(v[1]), Reading(v[2] * 100));
}

void Lp100Record(const std::uint8_t* r) {
    const int forward = std::atoi(std::string(reinterpret_cast<const char*>(r + 1), 4).c_str());
    WriteTracef("fwdpwr %d", forward);
    const double swr = std::atof(std::string(reinterpret_cast<const char*>(r + 39), 4).c_str());
    const int s = Reading(100 * swr);
    ++g_lp100count;
    if (!(s > 100 || (s == 100 && g_lp100count % 10 == 0))) return;
    const double refl = double(s - 100) / double(s + 100);
    ShowReading(forward, int(refl * refl * forward + 0.5), s);
}

void ZunSend(const std::uint8_t* data, int n) { SendToZunMeter(data, n); }

void TypeChar(int c) {
    if (g_timerwindow) g_timerwindow->SendMessage(plat::WM_CHAR, plat::WPARAM(c));
}

int ParamCount(int cmd, int next) {
    switch (cmd) {
    case 0x04:
    case 0x1B: return 2;
    case 0x05: return 3;
    case 0x0F: return 15;
    case 0x16: return next == 2 ? 2 : 1;
    case 0x00: case 0x01: case 0x02: case 0x03: case 0x06: case 0x09: case 0x0B: case 0x0C: case 0x0D:
    case 0x0E: case 0x10: case 0x11: case 0x14: case 0x17: case 0x18: case 0x19: case 0x1A: case 0x1C:
    case 0x1D: return 1;
    default: return 0;
    }
}

}  // namespace

std::uint8_t Crc8Step(std::uint8_t crc, std::uint8_t byte) {
    static const auto kTable = [] {
        std::array<std::uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            std::uint8_t c = std::uint8_t(i);
            for (int b = 0; b < 8; ++b) c = std::uint8_t((c & 0x80) ? (c << 1) ^ 0xB1 : c << 1);
            t[std::size_t(i)] = c;
        }
        return t;
    }();
    return kTable[crc ^ byte];
}

std::uint8_t CheckPowerMasterCrc(const std::uint8_t* data, int length) {
    std::uint8_t crc = 0;
    for (int i = 0; i < length; ++i) crc = Crc8Step(crc, data[i]);
    return std::uint8_t(~crc);
}

char HexDigit(int nibble) { return "0123456789ABCDEF"[nibble & 0xF]; }

void OpenPowerMeterPort() {
    const bool pm = PowerMaster();
    OpenDevicePort(g_powermeterport, pm ? "PowerMaster " : "LP100A ", g_wattmeterport, pm ? 38400 : 115200);
    g_flushpending = 1;
    g_meterrx.len = 0;
}

void SendToPowerMeter(const std::uint8_t* data, int length) {
    if (g_powermeterport == plat::kInvalidPort) return;
    if (PowerMaster()) {
        if (g_trace > 0) TraceHex("Send to PowerMaster ", data, length);
    } else {
        WriteTracef("Send to LP100 %.*s", length, reinterpret_cast<const char*>(data));
    }
    const int n = plat::SerialWrite(g_powermeterport, data, length);
    WriteTracef(PowerMaster() ? "PowerMaster Write length %d" : "LP100 Write length %d", n);
}

void SendPowerMasterRequest() {
    std::uint8_t req[8] = {kStx, 'D', '2', kEtx, 0, 0, '\r', '\n'};
    const std::uint8_t crc = CheckPowerMasterCrc(req + 1, 2);
    req[4] = std::uint8_t(HexDigit(crc >> 4));
    req[5] = std::uint8_t(HexDigit(crc));
    SendToPowerMeter(req, 8);
}

void ReadPowerMeter() {
    if (PowerMaster() && g_flushpending) {
        g_flushpending = 0;
        std::uint8_t junk[200];
        while (plat::SerialRead(g_powermeterport, junk, int(sizeof junk)) > 0) {
        }
    }
    for (;;) {
        const int n = g_meterrx.ReadFrom(g_powermeterport);
        if (n <= 0) return;
        const int len = g_meterrx.len + n;
        if (PowerMaster()) {
            WriteTracef("From PowerMaster %.*s, count=%d", len, reinterpret_cast<const char*>(g_meterrx.buf), len);
            g_meterrx.len = ParsePowerMaster(g_meterrx.buf, len);
        } else {
            WriteTracef("From LP100 %.*s, count=%d", len, reinterpret_cast<const char*>(g_meterrx.buf), len);
            g_meterrx.len = ParseLp100(g_meterrx.buf, len);
        }
    }
}

int ParsePowerMaster(std::uint8_t* buf, int len) {
    if (g_trace > 1) TraceHex("From PowerMaster ", buf, len);
    int i = 0;
    for (;;) {
        // A message starts at STX: whatever comes before one is noise.
        while (i < len && buf[i] != kStx) ++i;
        if (i >= len) break;
        int etx = i + 1;
        while (etx < len && buf[etx] != kEtx && buf[etx] != kStx) ++etx;
        if (etx < len && buf[etx] == kStx) {
            i = etx;  // a new start before the end: the old one was cut off
            continue;
        }
        if (etx + 5 > len) break;  // the end comes later
        const int n = etx + 5 - i;
        if (n >= 6 && buf[i + n - 5] == kEtx && buf[i + n - 1] == '\n') {
            WriteTrace("PowerMaster Good Message");
            PowerMasterMessage(buf + i, n);
        }
        i += n;
    }
    std::memmove(buf, buf + i, std::size_t(len - i));
    return len - i;
}

int ParseLp100(std::uint8_t* buf, int len) {
    int i = 0;
    for (;;) {
        while (i < len && buf[i] != ';') ++i;
        if (len - i < kLp100Record) break;
        Lp100Record(buf + i);
        i += kLp100Record;
    }
    std::memmove(buf, buf + i, std::size_t(len - i));
    return len - i;
}

bool OpenLp500() {
    g_lp500 = plat::OpenHid(kLp500Vendor, kLp500Product);
    if (!g_lp500) return false;
    WriteTracef("VID %08x, PID %08x", unsigned(kLp500Vendor), unsigned(kLp500Product));
    WriteTrace("LP500 found");
    return true;
}

void CloseLp500() { g_lp500.reset(); }

void PollLP500() {
    if (!g_lp500 || !g_transmitting) return;
    std::uint8_t out[65] = {0, '0'};
    const int rc = g_lp500->Write(out, 65);
    if (rc != 65) {
        WriteTracef("LP500 Send Failed rc=%d, lasterror=%d", rc, 0);
        return;
    }
    // Byte positions count from the report id at byte 0.
    std::uint8_t in[65] = {};
    const int n = g_lp500->Read(in, 65, 50);
    if (n < 41) return;
    int power = 0;
    if (in[24] || in[25]) power = (in[24] * 256 + in[25]) / 5;
    const int swr = in[3] * 256 + in[38];
    g_extswr = swr;
    if (g_swlpanel) {
        if (g_metertype == 3)
            g_swlpanel->ShowMeterReading(swr, 3);
        else if (g_metertype == 1)
            g_swlpanel->ShowMeterReading(power, 1);
    }
    ReportWattmeter(power, 0, swr);
}

void OnWaveNodeMessage(std::uint32_t index, std::uint32_t bits) {
    if (g_radioserver) {
        std::uint8_t msg[32] = {};
        for (int k = 0; k < 4; ++k) {
            msg[k] = std::uint8_t(bits >> (8 * k));
            msg[16 + k] = std::uint8_t(index >> (8 * k));
        }
        sendtopartner(msg, 32, 16);
    }
    g_wavestarted = 1;
    const WavePanelRefresh refresh;
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (index >= 1 && index <= 12) {
        const int sensor = int((index - 1) % 4);
        WaveSensor& s = g_wavesensors[sensor];
        if (index >= 5 && index <= 8) {
            if (!(v > 0)) return;
            const int swr = Reading(100.0 * double(v));
            std::snprintf(s.swr, sizeof s.swr, "%2.2f", double(v));
            if (sensor + 1 == g_wavesensor) g_extswr = swr;
            return;
        }
        const bool peak = index <= 4;
        std::snprintf(peak ? s.peak : s.average, sizeof s.peak, "%d", Reading(double(v)));
        if (peak != (g_wavepeak != 0) || sensor + 1 != g_wavesensor || v == 0) return;
        if (g_metertype == 1 && g_swlpanel) g_swlpanel->ShowMeterReading(Reading(double(v)), 1);
        return;
    }
    if (index == 89) g_wavevalue89 = v;
}

void OpenZunPort() { OpenDevicePort(g_zunport, "ZUN SM ", g_zuncomport, 19200); }

void SendToZunMeter(const std::uint8_t* data, int length) {
    WriteDevice(g_zunport, "Send to Zun SM ", "Send failed to ZUN SM %d %d\n", data, length);
}

int ZunAnswer(const std::uint8_t* req, int len, std::uint8_t* out) {
    if (len < 5) return 0;
    std::uint8_t to = 0xE1, from = 0xE0;
    if (g_smeterlite == 2) {
        to = req[3];
        from = req[2];
    }
    if (req[4] == 0x04) {
        const std::uint8_t a[7] = {0xFE, 0xFE, to, from, 0x04, 0x01, 0xFD};
        std::memcpy(out, a, 7);
        return 7;
    }
    // A scale below 1 would divide by zero: the default serves.
    const int scale = g_zunscale >= 1 ? g_zunscale : 21;
    const int value = g_smeterpeak / scale;
    out[0] = 0xFE;
    out[1] = 0xFE;
    out[2] = to;
    out[3] = from;
    out[4] = 0x15;
    out[5] = 0x02;
    LevelToBcd(value, out + 6);
    out[8] = 0xFD;
    WriteTracef("smeterval %04X", unsigned(value));
    return 9;
}

void ProcessZunChars(const std::uint8_t* data, int len) {
    bool typed = false;
    for (int i = 0; i < len; ++i) {
        const std::uint8_t c = data[i];
        if (g_zunparams > 0) {
            ++g_zunindex;
            --g_zunparams;
            if (g_zuncmd == 0x00 && g_zunindex == 1) {
                if (c == 0x02) {
                    const std::uint8_t ack = 0x10;
                    ZunSend(&ack, 1);
                } else if (c == 0x1C) {
                    ++g_zunparams;
                }
            }
            if (g_zuncmd == 0x05 && g_zunindex == 1) g_zunkeep = c;
            if (g_zuncmd == 0x0F && g_zunindex == 2) g_zunkeep = c;
            const bool answer = (g_zuncmd == 0x05 && g_zunindex == 1) || (g_zuncmd == 0x0F && g_zunindex == 7 && g_zunkeep == 0);
            if (answer) {
                const std::uint8_t ack = 0x83;
                ZunSend(&ack, 1);
            }
            continue;
        }
        if (c < 0x20) {
            const int next = i + 1 < len ? data[i + 1] : -1;
            g_zuncmd = c;
            g_zunparams = ParamCount(c, next);
            g_zunindex = 0;
            continue;
        }
        int ch = -1;
        if (c == ':') ch = '^';
        else if (c == ';') ch = '*';
        else if (c == '<') ch = '+';
        else if (c == '=') ch = '-';
        else if (c == '>') ch = '$';
        else if ((c >= 0x20 && c <= 0x39) || (c >= 0x3F && c <= 0x7A)) ch = (c >= 'A' && c <= 'Z') ? c + 32 : c;
        if (ch < 0) continue;
        TypeChar(ch);
        ZunSend(&c, 1);
        typed = true;
    }
    if (typed) {
        const std::uint8_t done = 0xC0;
        ZunSend(&done, 1);
    }
}

void ReadZunMeter() {
    std::uint8_t buf[255];
    for (;;) {
        const int n = plat::SerialRead(g_zunport, buf, int(sizeof buf));
        if (n < 0) {
            ReportDefectivePort(g_zunport);
            return;
        }
        if (n == 0) return;
        if (g_trace > 1) {
            char prefix[48];
            std::snprintf(prefix, sizeof prefix, "from ZUN st %d count %d ", 0, n);
            TraceHex(prefix, buf, n);
        }
        if (g_emulyalt) {
            ProcessZunChars(buf, n);
            continue;
        }
        if (g_smeterlite == 2) SendToZunMeter(buf, n);
        // Each request is a CI-V frame; answer every whole one.
        int i = 0;
        while (i < n) {
            if (buf[i] != 0xFE) {
                ++i;
                continue;
            }
            const int end = FindCivEnd(buf + i, n - i);
            if (end == 0) break;
            std::uint8_t out[9];
            const int k = ZunAnswer(buf + i, end, out);
            if (k) SendToZunMeter(out, k);
            i += end;
        }
    }
}
