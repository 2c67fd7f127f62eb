// The remote link's connection engine: listening, connecting, assembling
// messages, the log-on, time-outs, drops and the call log. Everything runs
// on the UI thread from the one-second tick and the socket messages.
#include "devices/remote_link.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/band_plan.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/radio_init.h"
#include "devices/device_options.h"
#include "devices/keying.h"
#include "platform/clock.h"
#include "platform/message_box.h"

int g_client = 0;
int g_radioserver = 0;
int g_linkstate = 0;
plat::SocketHandle g_partnersock = plat::kInvalidSocket;
plat::SocketHandle g_listensock = plat::kInvalidSocket;
plat::SocketHandle g_switchsock = plat::kInvalidSocket;
int g_socktimeout = 20000;
int g_remotelogon = 0;
int g_remoteclass = 0;
char g_holdercall[32] = {};

namespace {
constexpr int kReceiveBuffer = 6000;
constexpr int kPasswordLineMax = 256;
constexpr int kSwitchDatagramsPerEvent = 64;
constexpr int kInUseRetryTicks = 60;
constexpr unsigned kRefusePauseMs = 100;

struct Assembly {
    std::uint8_t buf[kReceiveBuffer];
    int phase = 0;   // 0 new length, 1 length half read, 2 type and payload
    int count = 0;   // bytes read of the current part
    int wanted = 2;  // bytes still wanted of it
    int length = 0;  // L of the message being read
};
Assembly g_rx;

const PartnerTransport* g_transport = nullptr;

// Per connection.
int g_inusereceived = 0;  // 101 came in: the status keeps the retry text
char g_inusetext[128] = {};
unsigned g_logontick = 0;  // when the holder logged on
// Per run (client).
int g_giveup = 0;        // incompatible version or refused: no more attempts
int g_retryticks = 0;    // ticks to wait before connecting again (radio in use)
int g_inuseshown = 0;    // the in-use box was shown since the last accepted log-on
// Call log repeat suppression.
char g_lastlogcall[32] = {};
int g_lastlogkind = -1;

void ResetAssembly() {
    g_rx.phase = 0;
    g_rx.count = 0;
    g_rx.wanted = 2;
    g_rx.length = 0;
}

void Status(const std::string& text) { SetStatusBarText(text); }

int TransportRecv(std::uint8_t* buf, int max) {
    if (g_transport) return g_transport->recv(buf, max);
    return plat::SocketRecv(g_partnersock, buf, max);
}

int TransportSend(const std::uint8_t* data, int len) {
    if (g_transport) return g_transport->send(data, len);
    return plat::SocketSend(g_partnersock, data, len);
}

bool Connected() { return g_linkstate == 3 && (g_transport != nullptr || plat::SocketIsOpen(g_partnersock)); }

// Before a log-on only the log-on conversation may pass, both ways.
bool AllowedBeforeLogon(int type) {
    if (g_client) return type == kMsgLogOn || type == kMsgLogOff;
    return type == kMsgKeepAlive || type == kMsgLogOff || type == kMsgVersion || type == kMsgInUse ||
           type == kMsgRefused || type == kMsgAccepted;
}

void ArmTimeout(int ms) { SetCivTimer(TIMER_SOCK_TIMEOUT, unsigned(ms)); }

bool SameIgnoringCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsCallChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'; }

// Reads one line (bytes up to and including LF) of at most `size` - 1 bytes;
// the rest of a longer line is skipped and the line reported as too long.
bool ReadLine(std::FILE* f, char* line, int size, bool* tooLong) {
    int n = 0, c = 0;
    *tooLong = false;
    while ((c = std::fgetc(f)) != EOF) {
        if (n < size - 1)
            line[n++] = char(c);
        else
            *tooLong = true;
        if (c == '\n') break;
    }
    line[n] = '\0';
    return n > 0 || c != EOF;
}

// 0 refused, 1 accepted, 2 the radio is held by another call sign.
int checkpw(const std::string& call, const std::string& password) {
    // The password never goes to the trace.
    WriteTracef("call %s", call.c_str());
    std::FILE* f = std::fopen("passwords.csv", "rb");
    if (f == nullptr) {
        WriteTrace("checkpw bad open");
        return 0;
    }
    WriteTrace("checkpw good open");
    char line[kPasswordLineMax];
    bool tooLong = false;
    bool found = false;
    while (!found && ReadLine(f, line, sizeof line, &tooLong))
        if (!tooLong && PasswordLineMatches(line, call, password)) found = true;
    std::fclose(f);
    if (!found) return 0;
    if (g_holdercall[0] && call != g_holdercall) return 2;
    return 1;
}

void WriteCallLog(int kind) {
    if (kind == g_lastlogkind && std::strcmp(g_holdercall, g_lastlogcall) == 0) return;
    std::FILE* f = std::fopen("calllog.txt", "ab");
    if (f == nullptr) return;
    const plat::SystemTime t = plat::GetUtcTime();
    const std::string line =
        CallLogLine(g_holdercall, kind, g_remoteclass, t.hour, t.minute, t.second, t.month, t.day, t.year) + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    std::snprintf(g_lastlogcall, sizeof g_lastlogcall, "%s", g_holdercall);
    g_lastlogkind = kind;
}

// The log-on has made the client the radio's operator.
void TakeOverRadio() {
    ShowRadioWindow(false);
    KillCivTimer(TIMER_METER_CYCLE);
}

void GiveBackRadio() {
    ShowRadioWindow(true);
    SetCivTimer(TIMER_METER_CYCLE, unsigned(g_metercycle > 0 ? g_metercycle : 200));
}

void ServerLogon(const std::uint8_t* payload, int length) {
    LogonRequest req;
    if (!ParseLogon(payload, length, &req)) {
        WriteTrace("bad logon message");
        DropConnection(-1);
        return;
    }
    const int result = checkpw(req.call, req.password);
    if (result == 1) {
        std::snprintf(g_holdercall, sizeof g_holdercall, "%s", req.call.c_str());
        g_remoteclass = req.licenseClass;
        g_logontick = plat::GetTickCount();
        Status("Connected to " + req.call);
        WriteCallLog(1);
        g_remotelogon = 1;
        const std::uint8_t seconds = std::uint8_t(g_socktimeout / 1000);
        sendtopartner(&seconds, 1, kMsgAccepted);
        if (g_remotelogon) {
            TakeOverRadio();
            ArmTimeout(g_socktimeout);
        }
        return;
    }
    if (result == 2) {
        std::uint8_t msg[40] = {};
        const int n = int(std::strlen(g_holdercall));
        std::memcpy(msg, g_holdercall, std::size_t(n));
        int minutes = int((plat::GetTickCount() - g_logontick + 30000) / 60000);
        if (minutes < 1) minutes = 1;
        msg[n + 1] = std::uint8_t(minutes > 255 ? 255 : minutes);
        sendtopartner(msg, n + 2, kMsgInUse);
    } else {
        sendtopartner(nullptr, 0, kMsgRefused);
    }
    plat::SleepMs(kRefusePauseMs);
    DropConnection(-1);
}

void SendLogin() {
    // The client's password is the one "passwords.csv" holds for its own
    // call sign, so no password is kept in the settings file.
    std::string call = g_callsign;
    for (char& c : call) c = char(std::toupper(static_cast<unsigned char>(c)));
    std::string password;
    if (std::FILE* f = std::fopen("passwords.csv", "rb")) {
        char line[kPasswordLineMax];
        bool tooLong = false;
        while (ReadLine(f, line, sizeof line, &tooLong)) {
            const char* c1 = std::strchr(line, ',');
            const char* c2 = c1 ? std::strchr(c1 + 1, ',') : nullptr;
            if (tooLong || !c2 || std::size_t(c1 - line) != call.size() ||
                !SameIgnoringCase(line, call.c_str(), call.size()))
                continue;
            password.assign(c1 + 1, c2);
            break;
        }
        std::fclose(f);
    }
    std::uint8_t msg[kLogonMaxLength] = {};
    if (call.empty() || call.size() > 31 || password.size() > 63) {
        WriteTrace("no call sign or password for the log-on");
        DropConnection(-1);
        return;
    }
    msg[0] = std::uint8_t(LicenseClassIndex(g_licenseclass));
    std::memcpy(msg + 1, call.data(), call.size());
    std::memcpy(msg + 2 + call.size(), password.data(), password.size());
    sendtopartner(msg, int(call.size() + password.size() + 3), kMsgLogOn);
}

void ClientLogonMessage(const std::uint8_t* payload, int length, int type) {
    switch (type) {
    case kMsgVersion:
        if (payload[0] < 12) {
            SendLogin();
        } else {
            plat::MessageBox(g_timerwindow,
                             "This program does not match the version of the radio server.\nPlease upgrade it.\n",
                             "Remote", plat::MB_OK);
            g_giveup = 1;
            DropConnection(-1);
        }
        break;
    case kMsgInUse: {
        const int minutes = payload[length - 1];
        char text[160];
        std::snprintf(g_inusetext, sizeof g_inusetext, "Retrying once a minute, in use by %s for %d minutes\n",
                      reinterpret_cast<const char*>(payload), minutes);
        if (!g_inuseshown) {
            g_inuseshown = 1;
            std::snprintf(text, sizeof text,
                          "Radio is already in use by %s for %d minutes\nProgram will keep trying to connect once a "
                          "minute.\n",
                          reinterpret_cast<const char*>(payload), minutes);
            plat::MessageBox(g_timerwindow, text, "Remote", plat::MB_OK);
        }
        g_inusereceived = 1;
        Status(g_inusetext);
        g_retryticks = kInUseRetryTicks;
        DropConnection(-1);
        break;
    }
    case kMsgRefused:
        plat::MessageBox(g_timerwindow, g_remotelogon ? "Server being shutdown.\n" : "Password is not valid.\n",
                         "Remote", plat::MB_OK);
        g_giveup = 1;
        DropConnection(-1);
        break;
    case kMsgAccepted:
        g_socktimeout = TimeoutFromAck(payload[0]);
        g_remotelogon = 1;
        g_inuseshown = 0;
        ArmTimeout(g_socktimeout);
        Status("Connected");
        keyoff();
        InitRadio();
        RemoteOnSwl();
        break;
    default: break;
    }
}

void OnConnected() {
    g_linkstate = 3;
    Status("Connected");
    ArmTimeout(g_socktimeout);
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

// Reads what is wanted of the current part; the bytes read so far.
int ReceiveFromPartner() {
    const int n = TransportRecv(g_rx.buf + g_rx.count, g_rx.wanted);
    const int err = plat::SocketLastError();
    if (g_trace > 1) {
        WriteTracef("cs recv length %d, lenbuf %d, offset %d", n, g_rx.wanted, g_rx.count);
        if (n < 0) WriteTracef("lasterror %d", err);
    }
    if (n == 0) {
        DropConnection(-1);
        return -1;
    }
    if (n < 0) {
        // Nothing there yet is normal; any other failure ends the link.
        if (err != plat::kSockWouldBlock) DropConnection(-1);
        return -1;
    }
    g_rx.count += n;
    g_rx.wanted -= n;
    // Before the log-on only the fixed deadline counts.
    if (g_client || g_remotelogon) ArmTimeout(g_socktimeout);
    return g_rx.count;
}
}  // namespace

// ---- Pure rules -------------------------------------------------------------

bool ParseLogon(const std::uint8_t* payload, int length, LogonRequest* out) {
    if (payload == nullptr || length < 4 || length > kLogonMaxLength - 1) return false;
    if (payload[0] >= kLicenseClasses) return false;
    const auto* end = payload + length;
    const auto* call = payload + 1;
    const auto* nul1 = static_cast<const std::uint8_t*>(std::memchr(call, 0, std::size_t(end - call)));
    if (nul1 == nullptr) return false;
    const int callLen = int(nul1 - call);
    if (callLen < 1 || callLen > 31) return false;
    for (int i = 0; i < callLen; ++i)
        if (!IsCallChar(char(call[i]))) return false;
    const auto* pw = nul1 + 1;
    const auto* nul2 = static_cast<const std::uint8_t*>(std::memchr(pw, 0, std::size_t(end - pw)));
    if (nul2 == nullptr || nul2 != end - 1 || nul2 - pw > 63) return false;
    out->licenseClass = payload[0];
    out->call.assign(reinterpret_cast<const char*>(call), std::size_t(callLen));
    out->password.assign(reinterpret_cast<const char*>(pw), std::size_t(nul2 - pw));
    return true;
}

bool PasswordLineMatches(const char* line, const std::string& call, const std::string& password) {
    const char* c1 = std::strchr(line, ',');
    const char* c2 = c1 ? std::strchr(c1 + 1, ',') : nullptr;
    if (c2 == nullptr || call.empty()) return false;
    const std::size_t callLen = std::size_t(c1 - line), pwLen = std::size_t(c2 - c1 - 1);
    return callLen == call.size() && SameIgnoringCase(line, call.c_str(), callLen) && pwLen == password.size() &&
           SameIgnoringCase(c1 + 1, password.c_str(), pwLen);
}

int TimeoutFromAck(int seconds) { return seconds < 5 || seconds > 200 ? 20000 : seconds * 1000; }

std::string CallLogLine(const char* call, int kind, int licenseClass, int hour, int minute, int second, int month,
                        int day, int year) {
    char text[160];
    std::string line = call ? call : "";
    if (kind == 1) {
        std::snprintf(text, sizeof text, " license class %s, logged on at ",
                      kLicenseClassNames[LicenseClassIndex(licenseClass)]);
        line += text;
    } else {
        line += " logged off at ";
    }
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%04d", hour, minute, second, month, day, year);
    return line + text;
}

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

bool RemoteOperatorActive() { return g_radioserver && g_linkstate == 3 && g_remotelogon; }
bool RemoteClientReady() { return g_client && g_linkstate == 3 && g_remotelogon; }

int sendtopartner(const std::uint8_t* payload, int length, int type) {
    if (!Connected() || length < 0 || length + 1 > kMaxPartnerLength || (length > 0 && payload == nullptr))
        return -1;
    if (!g_remotelogon && !AllowedBeforeLogon(type)) {
        if (g_trace > 1) WriteTracef("not logged on, type %d not sent", type);
        return -1;
    }
    const int shown = length < 128 ? length : 128;
    if (g_trace > 1) {
        WriteTracef("sendtopartner length %d, type %d", length, type);
        // A log-on carries the password: its bytes never reach the trace.
        if (type != kMsgLogOn) TracePartnerBytes(g_client ? "to server " : "to client ", payload, length, shown);
    }
    // One send of the whole message: a short send leaves the stream out of
    // step, so it ends the link like a failed one.
    std::uint8_t msg[3 + kMaxPartnerLength];
    const int total = length + 3;
    msg[0] = std::uint8_t((length + 1) & 0xFF);
    msg[1] = std::uint8_t((length + 1) >> 8);
    msg[2] = std::uint8_t(type);
    if (length > 0) std::memcpy(msg + 3, payload, std::size_t(length));
    const int rc = TransportSend(msg, total);
    if (rc != total) {
        WriteTracef("bad send rc %04x, lasterror %d", unsigned(rc), plat::SocketLastError());
        DropConnection(-3);
        return -1;
    }
    return rc;
}

void SendKeepAlive() {
    WriteTrace("SendKeepAlive");
    sendtopartner(nullptr, 0, kMsgKeepAlive);
}

void DropConnection(int code) {
    const bool wasUp = g_linkstate == 3 || plat::SocketIsOpen(g_partnersock);
    if (wasUp) {
        const bool operated = g_remotelogon != 0;
        plat::SocketClose(g_partnersock);
        KillCivTimer(TIMER_SOCK_TIMEOUT);
        ResetAssembly();
        if (g_radioserver) {
            plat::SocketClose(g_listensock);
            g_linkstate = 1;
            // A client that never logged on never touched the transmitter
            // or the radio; only a real operator's drop releases them.
            if (operated) {
                keyoff();
                ReleaseAllKeying("remote link dropped");
                GiveBackRadio();
            }
            WriteCallLog(0);
        } else {
            g_linkstate = 1;
            ReleaseAllKeying("remote link dropped");
            g_radioinitialised = 0;
        }
        g_remotelogon = 0;
        g_holdercall[0] = '\0';
        Status(g_inusereceived ? g_inusetext : "Lost Connection");
        g_inusereceived = 0;
    }
    WriteTracef("send rc %04x", unsigned(code));
}

void OnSockTimeout() {
    WriteTrace("sock timeout");
    DropConnection(-1);
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
    if (!g_remotelogon) {
        // Nothing but a log-on or a log-off before a valid log-on.
        if (type == kMsgLogOn) {
            ServerLogon(payload, n);
        } else {
            WriteTracef("not logged on, message type %d", type);
            DropConnection(-1);
        }
        return;
    }
    if (type == kMsgLogOn || !PartnerLengthValid(type, payload, n, true)) {
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
    if (g_rx.phase < 2) {
        if (ReceiveFromPartner() < 0) return;
        if (g_rx.count < 2) {
            g_rx.phase = 1;
            return;
        }
        const int length = g_rx.buf[0] + 256 * g_rx.buf[1];
        const int limit = (g_radioserver && !g_remotelogon) ? kLogonMaxLength : kMaxPartnerLength;
        if (length < 1 || length > limit) {
            WriteTracef("Bad length %d", length);
            DropConnection(-1);
            return;
        }
        g_rx.length = length;
        g_rx.phase = 2;
        g_rx.count = 0;
        g_rx.wanted = length;
    }
    if (ReceiveFromPartner() < 0) return;
    if (g_rx.wanted > 0) return;  // the rest comes with the next notification
    const int length = g_rx.length;
    ResetAssembly();
    DispatchPartnerMessage(g_rx.buf, length);
}

void ServiceServerSocket() {
    switch (g_linkstate) {
    case 0:
    case 1: {
        StartWinsock();
        ResetAssembly();
        if (!OpenBoundSocket(g_listensock, true, "", int(g_serverport), WM_SOCK_REMOTE, plat::kSockAccept, ""))
            break;
        if (!plat::SocketListen(g_listensock, 5)) {
            WriteTracef("listen rc -1, lasterror %d", plat::SocketLastError());
            plat::SocketClose(g_listensock);
            break;
        }
        g_linkstate = 2;
        WriteTrace("Listen completed rc 0");
        Status("Waiting for Connection");
        break;
    }
    case 2: {
        ResetAssembly();
        const plat::SocketHandle s = plat::SocketAccept(g_listensock);
        if (s == plat::kInvalidSocket) {
            WriteTracef("accept skt %d, lasterror %d", s, plat::SocketLastError());
            break;
        }
        // One client at a time: later callers are refused by the system.
        plat::SocketClose(g_listensock);
        g_partnersock = s;
        g_remotelogon = 0;
        g_holdercall[0] = '\0';
        WriteTracef("setsockopt1 rc %d, we are connected", plat::SocketSetKeepAlive(s, true) ? 0 : -1);
        plat::SocketSetNoDelay(s, true);
        plat::SocketSelect(s, g_timerwindow, WM_SOCK_REMOTE, plat::kSockRead | plat::kSockClose);
        g_linkstate = 3;
        // The peer must log on in time; its bytes do not extend this.
        ArmTimeout(kLogonDeadlineMs);
        Status("Connected");
        const std::uint8_t version = kProtocolVersion;
        sendtopartner(&version, 1, kMsgVersion);
        break;
    }
    case 3: ProcessPartnerData(); break;
    default: break;
    }
    WriteTrace("leaving sock");
}

void ServiceClientSocket() {
    if (g_giveup) return;
    if (g_retryticks > 0 && g_linkstate != 3) {
        --g_retryticks;
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
    // An event of a socket closed meanwhile says nothing about the new one.
    if (s != g_partnersock && s != g_listensock) return;
    if (g_client) ServiceClientSocket();
    if (g_radioserver) ServiceServerSocket();
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
    KillCivTimer(TIMER_SOCK_TIMEOUT);
    Status("Logged Off");
    plat::SocketClose(g_partnersock);
    plat::SocketClose(g_listensock);
    plat::SocketClose(g_switchsock);
}
