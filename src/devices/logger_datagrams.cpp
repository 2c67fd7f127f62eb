// UDP links of the program links: a contest logger's active-radio datagrams
// in, the transmit frequency out to network amplifiers and followers.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "devices/program_links.h"
#include "platform/clock.h"
#include "platform/socket.h"

int g_activeradio = -1;
std::uint32_t g_b26destination = 0;

namespace {

constexpr int kDatagramMax = 1024;
// Datagrams taken per event: a flooding peer cannot hold the UI thread; the
// next event brings the rest.
constexpr int kDatagramsPerEvent = 64;

plat::SocketHandle g_gorvsock = plat::kInvalidSocket;
plat::SocketHandle g_b26sock = plat::kInvalidSocket;
// A name lookup waits on the resolver; after a failure it is not tried
// again for a while, so a dead name server cannot stall every second.
constexpr unsigned kLookupRetryMs = 30000;
unsigned g_lookupfailedat = 0;
bool g_lookupfailed = false;

bool OpenB26Socket() {
    g_b26sock = plat::UdpSocket();
    if (g_b26sock == plat::kInvalidSocket) {
        WriteTrace("socket b26write failed");
        return false;
    }
    WriteTracef("ioctlsocket b26write rc %d", 0);
    // The configured address may be a broadcast address.
    plat::SocketSetBroadcast(g_b26sock, true);
    return true;
}

void TraceSend(bool kpa, int rc, int length) {
    if (rc == length)
        WriteTracef(kpa ? "good kpa1500 dgram length %d" : "good b26 dgram length %d", length);
    else
        WriteTracef(kpa ? "bad kpa1500 dgram send rc %d, length %d" : "bad b26 dgram send rc %d, length %d", rc, length);
}

}  // namespace

std::string RadioInfoXml(double rxMhz, double txMhz) {
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RadioInfo>\r\n<Freq>%07.0f</Freq>\r\n"
                  "<TXFreq>%07.0f</TXFreq>\r\n</RadioInfo>\r\n",
                  rxMhz * 1e5, txMhz * 1e5);
    return buf;
}

std::string Kpa1500Datagram(double txMhz) {
    // Rounded: a truncated 2.002 MHz would read 2001 kHz.
    char buf[24];
    std::snprintf(buf, sizeof buf, "^FR%05lld;", std::llround(txMhz * 1000));
    return buf;
}

int ActiveRadioOf(const std::uint8_t* data, int length) {
    static constexpr std::string_view kTag = "<ActiveRadioNr>";
    const std::string_view text(reinterpret_cast<const char*>(data), std::size_t(length));
    const std::size_t at = text.find(kTag);
    if (at == std::string_view::npos || at + kTag.size() >= text.size()) return -1;
    const char c = text[at + kTag.size()];
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

void CloseGorvSocket() { plat::SocketClose(g_gorvsock); }

void OpenGorvSocket() {
    CloseGorvSocket();
    g_gorvsock = plat::UdpSocket();
    if (g_gorvsock == plat::kInvalidSocket) {
        WriteTrace("socket gorv read failed");
        return;
    }
    // Several programs listen to the logger's broadcasts: the bind shares
    // the port (SO_REUSEADDR).
    if (!plat::SocketBind(g_gorvsock, "", g_gorvport)) {
        WriteTracef(" bind gorv read failed %d", plat::SocketLastError());
        CloseGorvSocket();
        return;
    }
    WriteTracef("ioctlsocket gorv read rc %d", 0);
    const bool ok = plat::SocketSelect(g_gorvsock, g_timerwindow, WM_SOCK_GORV, plat::kSockRead);
    WriteTracef("WSAAsyncSelect gorv read rc %d", ok ? 0 : -1);
}

void OnSockGorvRead(plat::WPARAM wParam, plat::LPARAM lParam) {
    (void)lParam;
    WriteTrace("OnSockGorvRead called");
    if (g_gorvsock == plat::kInvalidSocket || plat::SocketHandle(wParam) != g_gorvsock) return;
    std::uint8_t buf[kDatagramMax];
    for (int k = 0; k < kDatagramsPerEvent; ++k) {
        const int n = plat::SocketRecvFrom(g_gorvsock, buf, kDatagramMax);
        if (n < 0) break;
        WriteTracef("sock gorv read recv length %d", n);
        const int radio = ActiveRadioOf(buf, n);
        WriteTracef("activeradio %d, gorvradio %d", radio, g_gorvradio);
        if ((radio == 1 || radio == 2) && radio != g_activeradio) {
            g_activeradio = radio;
            if (radio == g_gorvradio) SendRadioInfo();
        }
    }
    WriteTrace("OnSockGorvread exited");
}

void SendRadioInfo() {
    if (g_b26sock == plat::kInvalidSocket && !OpenB26Socket()) return;
    const double rx = g_vfoafreq;
    const double tx = g_split ? g_vfobfreq : g_vfoafreq;
    // Looked up before the first datagram: a broadcast to the whole network
    // is not what an operator who typed an address expects.
    if (g_b26destination == 0) {
        if (g_lookupfailed && plat::GetTickCount() - g_lookupfailedat < kLookupRetryMs) return;
        std::uint32_t ip = 0;
        if (!plat::ResolveHost(g_b26ip, &ip)) {
            WriteTrace("gethostbyname failed");
            g_lookupfailed = true;
            g_lookupfailedat = plat::GetTickCount();
            return;
        }
        g_lookupfailed = false;
        g_b26destination = ip;
        WriteTracef("b26 ip %08lx", static_cast<unsigned long>(ip));
    }
    if (!(tx > 1.79 && tx < 60)) return;
    // The radio number matters only when one is configured.
    if (g_gorvradio != 0 && g_activeradio != g_gorvradio) return;
    const bool kpa = g_kpa1500 != 0;
    plat::SockAddr to;
    to.ip = g_b26destination;
    to.port = int(kpa ? g_kpa1500port : g_b26port);
    WriteTracef(kpa ? "sendto kpa1500 ip %08lx, port %d" : "sendto b26 ip %08lx, port %d",
                static_cast<unsigned long>(to.ip), to.port);
    std::string payload;
    if (g_b26smodel) {
        payload = RadioInfoXml(rx, tx);
    } else if (kpa) {
        payload = Kpa1500Datagram(tx);
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "FA%011.0f;", tx * 1e6);
        payload = buf;
    }
    const int len = int(payload.size());
    const int rc = plat::SocketSendTo(g_b26sock, reinterpret_cast<const std::uint8_t*>(payload.data()), len, to);
    TraceSend(kpa && !g_b26smodel, rc, len);
}
