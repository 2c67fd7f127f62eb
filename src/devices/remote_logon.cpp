// The remote link's log-on: the server's check of a client's call sign and
// password against "passwords.csv", the client's log-on and its answers, and
// the call log of who operated the radio when.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/band_plan.h"
#include "base/device_options.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/radio_init.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace {
constexpr int kPasswordLineMax = 256;
constexpr int kInUseRetryTicks = 60;
// Refused tries back off per address; an address quiet for ten minutes
// after its back-off starts over. The table keeps the latest addresses.
constexpr unsigned kBackoffFirstMs = 1000;
constexpr unsigned kBackoffMaxMs = 60000;
constexpr unsigned kBackoffForgetMs = 600000;
constexpr int kBackoffAddresses = 64;

struct Backoff {
    bool used = false;
    std::uint32_t ip = 0;
    int failures = 0;
    unsigned until = 0;  // tick when the address may try again
};
Backoff g_backoff[kBackoffAddresses];

// Call log repeat suppression.
char g_lastlogcall[32] = {};
int g_lastlogkind = -1;

void Status(const std::string& text) { SetStatusBarText(text); }

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

// The call sign and password of one "passwords.csv" line: the first two
// fields; a line of only two ends its password at the line end.
bool PasswordLineFields(const char* line, std::string* call, std::string* password) {
    const char* c1 = std::strchr(line, ',');
    if (c1 == nullptr) return false;
    const char* c2 = std::strchr(c1 + 1, ',');
    if (c2 == nullptr) c2 = c1 + 1 + std::strcspn(c1 + 1, "\r\n");
    call->assign(line, c1);
    password->assign(c1 + 1, c2);
    return !call->empty();
}

// 0 while the back-off runs (it ends at most a minute ahead; the tick count wraps).
unsigned SinceBackoffEnded(const Backoff& b, unsigned now) {
    return b.until - now <= kBackoffMaxMs ? 0 : now - b.until;
}

Backoff* FindBackoff(std::uint32_t ip) {
    for (Backoff& b : g_backoff)
        if (b.used && b.ip == ip) return &b;
    return nullptr;
}

// The call sign a refused log-on tried, made safe for the call log.
std::string TriedCall(const std::uint8_t* payload, int length) {
    std::string call;
    for (int i = 1; i < length && payload[i] != 0 && call.size() < 31; ++i) {
        const char c = char(payload[i]);
        call += IsCallChar(char(std::toupper(static_cast<unsigned char>(c)))) ? c : '?';
    }
    return call.empty() ? "-" : call;
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

void TakeOverRadio() {
    ShowRadioWindow(false);
    KillCivTimer(TIMER_METER_CYCLE);
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
        std::string lineCall, linePassword;
        while (ReadLine(f, line, sizeof line, &tooLong)) {
            if (tooLong || !PasswordLineFields(line, &lineCall, &linePassword) || lineCall.size() != call.size() ||
                !SameIgnoringCase(lineCall.c_str(), call.c_str(), call.size()))
                continue;
            password = linePassword;
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

}  // namespace

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
void GiveBackRadio() {
    ShowRadioWindow(true);
    SetCivTimer(TIMER_METER_CYCLE, unsigned(g_metercycle > 0 ? g_metercycle : 200));
}

unsigned LogonHeldOffMs(std::uint32_t ip) {
    const Backoff* b = FindBackoff(ip);
    if (b == nullptr) return 0;
    const unsigned now = plat::GetTickCount();
    return SinceBackoffEnded(*b, now) == 0 ? b->until - now : 0;
}

void WriteRefusalLog(const std::string& tried, const plat::SockAddr& peer, const std::string& why) {
    std::FILE* f = std::fopen("calllog.txt", "ab");
    if (f == nullptr) return;
    const plat::SystemTime t = plat::GetUtcTime();
    const std::string line = CallLogRefusalLine(tried, plat::AddressText(peer.ip), why, t.hour, t.minute, t.second,
                                                t.month, t.day, t.year) +
                             "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

void RefuseCaller(const std::string& tried, const plat::SockAddr& peer, const std::string& why) {
    const unsigned now = plat::GetTickCount();
    Backoff* b = FindBackoff(peer.ip);
    if (b != nullptr && SinceBackoffEnded(*b, now) > kBackoffForgetMs) b->failures = 0;
    if (b == nullptr) {
        // A free entry, else the one whose back-off ended longest ago.
        b = &g_backoff[0];
        for (Backoff& e : g_backoff) {
            if (!e.used) {
                b = &e;
                break;
            }
            if (SinceBackoffEnded(e, now) > SinceBackoffEnded(*b, now)) b = &e;
        }
        *b = Backoff{true, peer.ip, 0, now};
    }
    ++b->failures;
    const unsigned wait = LogonBackoffMs(b->failures);
    b->until = now + wait;
    WriteTracef("caller %s refused (%s), next try in %u ms", plat::AddressText(peer.ip).c_str(), why.c_str(), wait);
    WriteRefusalLog(tried, peer, why);
}

LogonAnswer ServerLogon(plat::SocketHandle s, const plat::SockAddr& peer, const std::uint8_t* payload, int length,
                        LogonRequest* req) {
    // Tries already under way when the address was refused wait like new ones.
    if (const unsigned left = LogonHeldOffMs(peer.ip)) {
        WriteTracef("log-on from %s held off for %u ms", plat::AddressText(peer.ip).c_str(), left);
        return LogonAnswer::Dropped;
    }
    if (!ParseLogon(payload, length, req)) {
        WriteTrace("bad logon message");
        RefuseCaller(TriedCall(payload, length), peer, "malformed log-on");
        return LogonAnswer::Dropped;
    }
    const int result = checkpw(req->call, req->password);
    if (result == 1) {
        if (Backoff* b = FindBackoff(peer.ip)) b->used = false;
        return LogonAnswer::Accepted;
    }
    if (result == 2) {
        std::uint8_t msg[40] = {};
        const int n = int(std::strlen(g_holdercall));
        std::memcpy(msg, g_holdercall, std::size_t(n));
        int minutes = int((plat::GetTickCount() - g_remotesession.logonTick + 30000) / 60000);
        if (minutes < 1) minutes = 1;
        msg[n + 1] = std::uint8_t(minutes > 255 ? 255 : minutes);
        // A good password: no back-off, but the call log says who was turned away.
        WriteRefusalLog(req->call, peer, std::string("in use by ") + g_holdercall);
        SendPartnerMessage(s, msg, n + 2, kMsgInUse);
    } else {
        RefuseCaller(req->call, peer, "bad call sign or password");
        SendPartnerMessage(s, nullptr, 0, kMsgRefused);
    }
    return LogonAnswer::Answered;
}

void OperatorLoggedOn(const LogonRequest& req) {
    std::snprintf(g_holdercall, sizeof g_holdercall, "%s", req.call.c_str());
    g_remoteclass = req.licenseClass;
    g_remotesession.logonTick = plat::GetTickCount();
    Status("Connected to " + req.call);
    WriteCallLog(1);
    g_remotelogon = 1;
    const std::uint8_t seconds = std::uint8_t(g_socktimeout / 1000);
    sendtopartner(&seconds, 1, kMsgAccepted);
    if (g_remotelogon) {
        TakeOverRadio();
        ArmPartnerTimeout(g_socktimeout);
    }
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
            g_remotesession.giveUp = 1;
            DropConnection(-1);
        }
        break;
    case kMsgInUse: {
        const int minutes = payload[length - 1];
        char text[160];
        std::snprintf(g_remotesession.inUseText, sizeof g_remotesession.inUseText, "Retrying once a minute, in use by %s for %d minutes\n",
                      reinterpret_cast<const char*>(payload), minutes);
        if (!g_remotesession.inUseShown) {
            g_remotesession.inUseShown = 1;
            std::snprintf(text, sizeof text,
                          "Radio is already in use by %s for %d minutes\nProgram will keep trying to connect once a "
                          "minute.\n",
                          reinterpret_cast<const char*>(payload), minutes);
            plat::MessageBox(g_timerwindow, text, "Remote", plat::MB_OK);
        }
        g_remotesession.inUseReceived = 1;
        Status(g_remotesession.inUseText);
        g_remotesession.retryTicks = kInUseRetryTicks;
        DropConnection(-1);
        break;
    }
    case kMsgRefused:
        plat::MessageBox(g_timerwindow, g_remotelogon ? "Server being shutdown.\n" : "Password is not valid.\n",
                         "Remote", plat::MB_OK);
        g_remotesession.giveUp = 1;
        DropConnection(-1);
        break;
    case kMsgAccepted:
        g_socktimeout = TimeoutFromAck(payload[0]);
        g_remotelogon = 1;
        g_remotesession.inUseShown = 0;
        ArmPartnerTimeout(g_socktimeout);
        // The operator hears that the server took the log-on.
        plat::MessageBeep(plat::MB_ICONEXCLAMATION);
        Status("Connected");
        keyoff();
        InitRadio();
        RemoteOnSwl();
        break;
    default: break;
    }
}

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
    std::string lineCall, linePassword;
    if (call.empty() || !PasswordLineFields(line, &lineCall, &linePassword)) return false;
    return lineCall.size() == call.size() && SameIgnoringCase(lineCall.c_str(), call.c_str(), call.size()) &&
           linePassword.size() == password.size() && SameIgnoringCase(linePassword.c_str(), password.c_str(), password.size());
}

int TimeoutFromAck(int seconds) { return seconds < 5 || seconds > 200 ? 20000 : seconds * 1000; }

namespace {
std::string CallLogTime(int hour, int minute, int second, int month, int day, int year) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%04d", hour, minute, second, month, day, year);
    return text;
}
}  // namespace

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
    return line + CallLogTime(hour, minute, second, month, day, year);
}

std::string CallLogRefusalLine(const std::string& tried, const std::string& address, const std::string& why, int hour,
                               int minute, int second, int month, int day, int year) {
    return tried + " from " + address + " refused (" + why + ") at " +
           CallLogTime(hour, minute, second, month, day, year);
}

unsigned LogonBackoffMs(int failures) {
    unsigned ms = kBackoffFirstMs;
    for (int i = 1; i < failures && ms < kBackoffMaxMs; ++i) ms *= 2;
    return ms < kBackoffMaxMs ? ms : kBackoffMaxMs;
}
