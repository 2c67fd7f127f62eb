// The remote link's connection engine: listening, connecting, assembling
// and dispatching messages, keep-alives, time-outs and drops. Everything
// runs on the UI thread from the one-second tick and the socket messages.
#include "devices/remote_link.h"

#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/radio_init.h"
#include "devices/keying.h"
#include "platform/clock.h"

int g_linkstate = 0;
plat::SocketHandle g_partnersock = plat::kInvalidSocket;
plat::SocketHandle g_listensock = plat::kInvalidSocket;
plat::SocketHandle g_switchsock = plat::kInvalidSocket;
int g_socktimeout = 20000;
int g_remotelogon = 0;
int g_remoteclass = 0;
char g_holdercall[32] = {};
plat::SockAddr g_partneraddr;
RemoteSession g_remotesession;

namespace {
constexpr int kSwitchDatagramsPerEvent = 64;

PartnerAssembly g_rx;
// When the partner's silence ends the link (while one is connected).
unsigned g_partnerdeadline = 0;
bool g_partnerwatched = false;

const PartnerTransport* g_transport = nullptr;

void ResetAssembly() { g_rx.reset(); }

void Status(const std::string& text) { SetStatusBarText(text); }

int TransportRecv(plat::SocketHandle s, std::uint8_t* buf, int max) {
    if (g_transport) return g_transport->recv(s, buf, max);
    return plat::SocketRecv(s, buf, max);
}

int TransportSend(plat::SocketHandle s, const std::uint8_t* data, int len) {
    if (g_transport) return g_transport->send(s, data, len);
    return plat::SocketSend(s, data, len);
}

bool Connected() { return g_linkstate == 3 && (g_transport != nullptr || plat::SocketIsOpen(g_partnersock)); }

// Before a log-on only the log-on conversation may pass, both ways.
bool AllowedBeforeLogon(int type) {
    if (g_client) return type == kMsgLogOn || type == kMsgLogOff;
    return type == kMsgKeepAlive || type == kMsgLogOff || type == kMsgVersion || type == kMsgInUse ||
           type == kMsgRefused || type == kMsgAccepted;
}

void OnConnected() {
    g_linkstate = 3;
    Status("Connected");
    ArmPartnerTimeout(g_socktimeout);
    WriteTracef("setsockopt rc %d", plat::SocketSetKeepAlive(g_partnersock, true) ? 0 : -1);
    // Every message is an operator's action or the radio's answer to one.
    plat::SocketSetNoDelay(g_partnersock, true);
    plat::SocketSelect(g_partnersock, g_timerwindow, WM_SOCK_REMOTE, plat::kSockRead | plat::kSockClose);
    // Radio initialisation waits for the server's acknowledgement of the
    // log-on: before it the server takes nothing else.
}

void StartWinsock() {
    if (g_linkstate != 0) return;
    WriteTrace("socket init worked");
    g_linkstate = 1;
}

// A new socket in `s`, bound, with its events selected; each failed step is
// traced (the trace texts carry `tag`) and leaves no socket.
bool OpenBoundSocket(plat::SocketHandle& s, bool tcp, const char* address, int port, unsigned msg, unsigned events,
                     const char* tag) {
    plat::SocketClose(s);
    s = tcp ? plat::TcpSocket() : plat::UdpSocket();
    if (s == plat::kInvalidSocket) {
        WriteTracef("socket%s failed", tag);
        return false;
    }
    if (!plat::SocketBind(s, address, port)) {
        WriteTracef("bind%s failed", tag);
        plat::SocketClose(s);
        return false;
    }
    WriteTracef("ioctlsocket%s rc 0", tag);
    plat::SocketSelect(s, g_timerwindow, msg, events);
    return true;
}

void OpenSwitchSocket() {
    OpenBoundSocket(g_switchsock, false, "127.0.0.1", int(g_switchport), WM_SOCK_SWITCH, plat::kSockRead, " 6");
}

}  // namespace

// ---- The engine -------------------------------------------------------------

void TracePartnerBytes(const char* head, const std::uint8_t* payload, int length, int shown) {
    char text[48];
    std::snprintf(text, sizeof text, "%slength %d ", head, length % 256);
    std::string line = text;
    for (int i = 0; i < shown; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X ", unsigned(payload[i]));
        line += hex + 2;  // the last two digits
    }
    WriteTrace(line);
}

void SetPartnerTransport(const PartnerTransport* t) { g_transport = t; }

plat::SocketHandle AcceptCaller(plat::SockAddr* peer) {
    if (g_transport) return g_transport->accept ? g_transport->accept(peer) : plat::kInvalidSocket;
    return plat::SocketAccept(g_listensock, peer);
}

Assembled AssembleMessage(PartnerAssembly& rx, plat::SocketHandle s, int limit, int* length, bool* gotBytes) {
    *gotBytes = false;
    // Reads what is wanted of the current part: 1 when bytes came, 0 when
    // nothing is there yet, -1 when the connection ended.
    auto receive = [&]() {
        const int n = TransportRecv(s, rx.buf + rx.count, rx.wanted);
        const int err = plat::SocketLastError();
        if (g_trace > 1) {
            WriteTracef("cs recv length %d, lenbuf %d, offset %d", n, rx.wanted, rx.count);
            if (n < 0) WriteTracef("lasterror %d", err);
        }
        // Nothing there yet is normal; any other failure ends the link.
        if (n < 0) return err == plat::kSockWouldBlock ? 0 : -1;
        if (n == 0) return -1;
        rx.count += n;
        rx.wanted -= n;
        *gotBytes = true;
        return 1;
    };
    if (rx.phase < 2) {
        const int r = receive();
        if (r < 0) return Assembled::Closed;
        if (r == 0) return Assembled::Waiting;
        if (rx.count < 2) {
            rx.phase = 1;
            return Assembled::Waiting;
        }
        const int l = rx.buf[0] + 256 * rx.buf[1];
        if (l < 1 || l > limit) {
            *length = l;
            return Assembled::BadLength;
        }
        rx.length = l;
        rx.phase = 2;
        rx.count = 0;
        rx.wanted = l;
    }
    const int r = receive();
    if (r < 0) return Assembled::Closed;
    if (rx.wanted > 0) return Assembled::Waiting;  // the rest comes with the next notification
    *length = rx.length;
    rx.reset();
    return Assembled::Message;
}

int SendPartnerMessage(plat::SocketHandle s, const std::uint8_t* payload, int length, int type) {
    if (length < 0 || length + 1 > kMaxPartnerLength || (length > 0 && payload == nullptr)) return -1;
    const int shown = length < 128 ? length : 128;
    if (g_trace > 1) {
        WriteTracef("sendtopartner length %d, type %d", length, type);
        // A log-on carries the password: its bytes never reach the trace.
        if (type != kMsgLogOn) TracePartnerBytes(g_client ? "to server " : "to client ", payload, length, shown);
    }
    // One send of the whole message: a short send leaves the stream out of
    // step, so the caller ends the connection like after a failed one.
    std::uint8_t msg[3 + kMaxPartnerLength];
    const int total = length + 3;
    msg[0] = std::uint8_t((length + 1) & 0xFF);
    msg[1] = std::uint8_t((length + 1) >> 8);
    msg[2] = std::uint8_t(type);
    if (length > 0) std::memcpy(msg + 3, payload, std::size_t(length));
    const int rc = TransportSend(s, msg, total);
    if (rc != total) {
        WriteTracef("bad send rc %04x, lasterror %d", unsigned(rc), plat::SocketLastError());
        return -1;
    }
    return rc;
}

void ArmPartnerTimeout(int ms) {
    g_partnerdeadline = plat::GetTickCount() + unsigned(ms);
    g_partnerwatched = true;
    RearmLinkTimer();
}

void RearmLinkTimer() {
    const unsigned now = plat::GetTickCount();
    int soonest = -1;
    auto consider = [&](unsigned tick) {
        int left = int(tick - now);
        if (left < 1) left = 1;
        if (soonest < 0 || left < soonest) soonest = left;
    };
    if (g_linkstate == 3 && g_partnerwatched) consider(g_partnerdeadline);
    unsigned tick = 0;
    if (NextCallerDeadline(&tick)) consider(tick);
    if (soonest > 0) SetCivTimer(TIMER_SOCK_TIMEOUT, unsigned(soonest));
    else KillCivTimer(TIMER_SOCK_TIMEOUT);
}

bool RemoteOperatorActive() { return g_radioserver && g_linkstate == 3 && g_remotelogon; }
bool RemoteClientReady() { return g_client && g_linkstate == 3 && g_remotelogon; }

int sendtopartner(const std::uint8_t* payload, int length, int type) {
    if (!Connected() || length < 0 || length + 1 > kMaxPartnerLength || (length > 0 && payload == nullptr))
        return -1;
    if (!g_remotelogon && !AllowedBeforeLogon(type)) {
        if (g_trace > 1) WriteTracef("not logged on, type %d not sent", type);
        return -1;
    }
    const int rc = SendPartnerMessage(g_partnersock, payload, length, type);
    if (rc < 0) DropConnection(-3);
    return rc;
}

void SendKeepAlive() {
    WriteTrace("SendKeepAlive");
    sendtopartner(nullptr, 0, kMsgKeepAlive);
}

void DropConnection(int code) {
    const bool wasUp = g_linkstate == 3 || plat::SocketIsOpen(g_partnersock);
    if (g_radioserver && code == -2) {
        // A new port: every caller goes and the listener opens anew.
        CloseCallers();
        plat::SocketClose(g_listensock);
        if (g_linkstate == 2) g_linkstate = 1;
    }
    if (wasUp) {
        const bool operated = g_remotelogon != 0;
        plat::SocketClose(g_partnersock);
        g_partnerwatched = false;
        ResetAssembly();
        if (g_radioserver) {
            // The listener stays open for the next caller.
            g_linkstate = plat::SocketIsOpen(g_listensock) ? 2 : 1;
            // A client that never logged on never touched the transmitter
            // or the radio; only a real operator's drop releases them.
            if (operated) {
                keyoff();
                ReleaseAllKeying("remote link dropped");
                GiveBackRadio();
                WriteCallLog(0);
            }
        } else {
            g_linkstate = 1;
            ReleaseAllKeying("remote link dropped");
            g_radioinitialised = 0;
        }
        g_remotelogon = 0;
        g_holdercall[0] = '\0';
        Status(g_remotesession.inUseReceived ? g_remotesession.inUseText : "Lost Connection");
        g_remotesession.inUseReceived = 0;
    }
    RearmLinkTimer();
    WriteTracef("send rc %04x", unsigned(code));
}

void OnSockTimeout() {
    // One watchdog serves the partner and every caller: end what is due.
    if (g_linkstate == 3 && g_partnerwatched && int(plat::GetTickCount() - g_partnerdeadline) >= 0) {
        WriteTrace("sock timeout");
        DropConnection(-1);
    }
    ExpireCallers();
    RearmLinkTimer();
}

void DispatchPartnerMessage(const std::uint8_t* msg, int length) {
    const int type = msg[0];
    const std::uint8_t* payload = msg + 1;
    const int n = length - 1;
    WriteTracef("from partner msgtype %d", type);
    if (g_client) {
        WriteTrace("from server");
        if (!PartnerLengthValid(type, payload, n, false)) {
            WriteTracef("bad message type %d, length %d", type, n);
            DropConnection(-1);
        } else if (type == kMsgLogOff) {
            DropConnection(-1);
        } else if (type >= kMsgVersion && type <= kMsgAccepted) {
            ClientLogonMessage(payload, n, type);
        } else if (g_remotelogon) {
            ProcessServerMessage(payload, n, type);
        }
        return;
    }
    // The server's partner has logged on as a caller; a second log-on, or
    // anything from a partner that has not, ends the link.
    if (!g_remotelogon || type == kMsgLogOn || !PartnerLengthValid(type, payload, n, true)) {
        WriteTracef("bad message type %d, length %d", type, n);
        DropConnection(-1);
        return;
    }
    if (type == kMsgLogOff) {
        DropConnection(-1);
        return;
    }
    ProcessClientMessage(payload, n, type);
}

void ProcessPartnerData() {
    if (!Connected()) return;
    int length = 0;
    bool got = false;
    const Assembled r = AssembleMessage(g_rx, g_partnersock, kMaxPartnerLength, &length, &got);
    // Before the log-on only the fixed deadline counts.
    if (got && (g_client || g_remotelogon) && g_linkstate == 3) ArmPartnerTimeout(g_socktimeout);
    switch (r) {
    case Assembled::Waiting: return;
    case Assembled::Closed: DropConnection(-1); return;
    case Assembled::BadLength:
        WriteTracef("Bad length %d", length);
        DropConnection(-1);
        return;
    case Assembled::Message: DispatchPartnerMessage(g_rx.buf, length); return;
    }
}

void ServiceServerSocket() {
    switch (g_linkstate) {
    case 0:
    case 1: {
        StartWinsock();
        ResetAssembly();
        if (!OpenBoundSocket(g_listensock, true, "", int(g_serverport), WM_SOCK_REMOTE, plat::kSockAccept, ""))
            break;
        // A backlog as deep as the places: under a flood of callers the
        // system then drops no operator's connection attempt on the floor
        // (to be tried again only a second later).
        if (!plat::SocketListen(g_listensock, kCallersMax)) {
            WriteTracef("listen rc -1, lasterror %d", plat::SocketLastError());
            plat::SocketClose(g_listensock);
            break;
        }
        g_linkstate = 2;
        WriteTrace("Listen completed rc 0");
        Status("Waiting for Connection");
        break;
    }
    case 2:
    case 3:
        // The listener stays open while a client operates: further callers
        // are told the radio is in use rather than refused by the system.
        AcceptCallers();
        ServeCallers();
        if (g_linkstate == 3) ProcessPartnerData();
        break;
    default: break;
    }
    WriteTrace("leaving sock");
}

void ServiceClientSocket() {
    if (g_remotesession.giveUp) return;
    if (g_remotesession.retryTicks > 0 && g_linkstate != 3) {
        --g_remotesession.retryTicks;
        return;
    }
    switch (g_linkstate) {
    case 0:
    case 1: {
        StartWinsock();
        if (g_remoteswitch) OpenSwitchSocket();
        ResetAssembly();
        plat::SocketClose(g_partnersock);
        g_partnersock = plat::TcpSocket();
        if (g_partnersock == plat::kInvalidSocket) {
            WriteTrace("socket failed");
            break;
        }
        WriteTrace("host name");
        std::uint32_t ip = 0;
        if (!plat::ResolveHost(g_radioip, &ip)) {
            WriteTrace("gethostbyname failed");
            plat::SocketClose(g_partnersock);
            break;
        }
        WriteTracef("radio ip %08lx", static_cast<unsigned long>(ip));
        WriteTrace("ioctlsocket 0 rc 0");
        plat::SocketSelect(g_partnersock, g_timerwindow, WM_SOCK_CLIENT_CONNECT, plat::kSockConnect);
        WriteTrace("starting connect");
        const int rc = plat::SocketConnect(g_partnersock, {ip, int(g_serverport)});
        WriteTrace("back from connect");
        Status("Trying to Connect");
        if (rc != 0) WriteTracef("client connect failed rc %d, lasterror %d", rc, plat::SocketLastError());
        // Connected or not, the connect message says how it went.
        g_linkstate = 2;
        break;
    }
    case 2: {
        ResetAssembly();
        WriteTrace("starting connect 2");
        std::uint32_t ip = 0;
        plat::ResolveHost(g_radioip, &ip);
        const int rc = plat::SocketConnect(g_partnersock, {ip, int(g_serverport)});
        const int err = plat::SocketLastError();
        WriteTrace("back from connect 2");
        WriteTracef("connect rc %d, lasterror %d", rc, err);
        if (rc != 0 && err == plat::kSockIsConnected) {
            OnConnected();
        } else if (rc != 0 && err != plat::kSockAlready && err != plat::kSockInProgress) {
            // A failed connection is not tried again on its socket.
            plat::SocketClose(g_partnersock);
            g_linkstate = 1;
        }
        break;
    }
    case 3: ProcessPartnerData(); break;
    default: break;
    }
    WriteTrace("leaving sock");
}

void OnSockRemote(plat::SocketHandle s, unsigned event) {
    (void)event;
    // An event of a socket closed meanwhile says nothing about a new one.
    if (g_client && s == g_partnersock) ServiceClientSocket();
    if (!g_radioserver || s == plat::kInvalidSocket) return;
    if (s == g_listensock) {
        AcceptCallers();
    } else if (s == g_partnersock) {
        ProcessPartnerData();
    } else if (!ServeCaller(s)) {
        return;
    }
    WriteTrace("leaving sock");
}

void OnSockConnect(plat::SocketHandle s, plat::LPARAM event) {
    WriteTracef("Connect complete nID %d, direction %ld", s, long(event));
    if (!g_client || s != g_partnersock || g_linkstate != 2) return;
    if (plat::SocketEventOf(event) != plat::kSockConnect) return;
    if (plat::SocketErrorOf(event) != 0) {
        plat::SocketClose(g_partnersock);
        g_linkstate = 1;
        return;
    }
    OnConnected();
}

void OnSock6() {
    WriteTrace("OnSock6 called");
    std::uint8_t d[4];
    for (int k = 0; k < kSwitchDatagramsPerEvent; ++k) {
        const int n = plat::SocketRecvFrom(g_switchsock, d, sizeof d);
        if (n < 0) break;
        if (g_trace > 1) WriteTracef("sock 6 recv length %d", n);
        // A switch record is exactly three bytes; anything else is noise.
        if (n == 3) sendtopartner(d, 3, kMsgSwitch);
    }
    WriteTrace("OnSock6 exited");
}

bool OnRemoteSocketMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    switch (msg) {
    case WM_SOCK_REMOTE: OnSockRemote(plat::SocketHandle(wParam), plat::SocketEventOf(lParam)); return true;
    case WM_SOCK_CLIENT_CONNECT: OnSockConnect(plat::SocketHandle(wParam), lParam); return true;
    case WM_SOCK_SWITCH:
        if (plat::SocketHandle(wParam) == g_switchsock) OnSock6();
        return true;
    default: return false;
    }
}

void ShutdownRemote() {
    if (g_linkstate == 3) sendtopartner(nullptr, 0, kMsgLogOff);
    if (g_linkstate == 3 && g_radioserver && g_remotelogon) {
        ReleaseAllKeying("remote link closed");
        WriteCallLog(0);
    }
    g_linkstate = 0;
    g_remotelogon = 0;
    g_holdercall[0] = '\0';
    g_partnerwatched = false;
    CloseCallers();
    FlushCallLogSummaries();
    KillCivTimer(TIMER_SOCK_TIMEOUT);
    Status("Logged Off");
    plat::SocketClose(g_partnersock);
    plat::SocketClose(g_listensock);
    plat::SocketClose(g_switchsock);
}
