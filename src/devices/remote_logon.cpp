// The remote link's log-on: the server's check of a client's call sign and
// password against "passwords.csv", the client's log-on and its answers, and
// the call log of who operated the radio when.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace {
constexpr int kPasswordLineMax = 256;
constexpr int kInUseRetryTicks = 60;
// Refused tries back off per address; an address quiet for ten minutes
// after its back-off starts over. A record is only ever reused once it is
// that old: when the table is full of younger ones, a new address's log-on
// is not checked at all, so no flood of addresses resets anyone's back-off.
constexpr unsigned kBackoffFirstMs = 1000;
constexpr unsigned kBackoffMaxMs = 60000;
constexpr unsigned kBackoffForgetMs = 600000;
constexpr int kBackoffAddresses = 1024;
// Addresses that logged on keep their own back-off and check their
// passwords outside the common budget, so a guessing flood from elsewhere
// cannot lock the operator out.
constexpr int kKnownAddresses = 16;
// Every other address shares one budget of password checks: a burst of 20,
// then one each 600 ms (at most 120 in any minute).
constexpr int kGuessBurst = 20;
constexpr unsigned kGuessEveryMs = 600;
// Refusals of one address written in full before they are summed up, and
// how often a sum is written while the address goes on.
constexpr int kRefusalLinesInFull = 3;
constexpr unsigned kSummaryEveryMs = 600000;
// "calllog.txt" moves on to "calllog2.txt" (and that to "calllog3.txt")
// past this size.
constexpr long long kCallLogRotateBytes = 1000000;

struct Backoff {
    bool used = false;
    std::uint32_t ip = 0;
    int failures = 0;
    unsigned until = 0;  // tick when the address may try again
    unsigned seen = 0;   // known addresses: the last log-on
    // The call log of this address's refusals: lines written in full, and
    // those since counted but not yet written.
    int written = 0;
    int untold = 0;
    unsigned toldTick = 0;
    plat::SystemTime lastTime;
    char lastWhy[48] = {};
};
Backoff g_backoff[kBackoffAddresses];
Backoff g_known[kKnownAddresses];

int g_guesstokens = kGuessBurst;
unsigned g_guessclock = 0;  // tick the last token was added

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

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The call sign and password of one "passwords.csv" line: the first two
// fields, without blanks around them; a line of only two ends its password
// at the line end. An editor's byte-order mark before the first is no part
// of the call sign, and a line without a password grants nothing.
bool PasswordLineFields(const char* line, std::string* call, std::string* password) {
    std::string_view text(line);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    text = text.substr(0, text.find_first_of("\r\n"));
    const auto c1 = text.find(',');
    if (c1 == std::string_view::npos) return false;
    const auto c2 = text.find(',', c1 + 1);
    *call = TrimBlanks(text.substr(0, c1));
    *password = TrimBlanks(text.substr(c1 + 1, c2 == std::string_view::npos ? c2 : c2 - c1 - 1));
    return !call->empty() && !password->empty();
}

// 0 while the back-off runs (it ends at most a minute ahead; the tick count wraps).
unsigned SinceBackoffEnded(const Backoff& b, unsigned now) {
    return b.until - now <= kBackoffMaxMs ? 0 : now - b.until;
}

bool Forgotten(const Backoff& b, unsigned now) { return !b.used || SinceBackoffEnded(b, now) > kBackoffForgetMs; }

Backoff* FindKnown(std::uint32_t ip) {
    for (Backoff& b : g_known)
        if (b.used && b.ip == ip) return &b;
    return nullptr;
}

Backoff* FindBackoff(std::uint32_t ip) {
    if (Backoff* k = FindKnown(ip)) return k;
    for (Backoff& b : g_backoff)
        if (b.used && b.ip == ip) return &b;
    return nullptr;
}

void AppendCallLog(const std::string& line);

// Writes the refusals of `b` counted since its last line, if any.
void FlushRefusals(Backoff& b) {
    if (b.untold == 0) return;
    const plat::SystemTime& t = b.lastTime;
    AppendCallLog(CallLogSummaryLine(plat::AddressText(b.ip), b.untold, b.lastWhy, t.hour, t.minute, t.second,
                                     t.month, t.day, t.year));
    b.untold = 0;
    b.toldTick = plat::GetTickCount();
}

// The record of `ip` for a refusal: its own, else a free or long-forgotten
// one. Null when every record is still in use.
Backoff* RecordFor(std::uint32_t ip, unsigned now) {
    if (Backoff* b = FindBackoff(ip)) return b;
    for (Backoff& b : g_backoff) {
        if (!Forgotten(b, now)) continue;
        FlushRefusals(b);
        b = Backoff{};
        b.used = true;
        b.ip = ip;
        b.until = now;
        return &b;
    }
    return nullptr;
}

// Takes one password check from the budget every unknown address shares.
bool TakeGuess(unsigned now) {
    if (g_guesstokens >= kGuessBurst) {
        g_guessclock = now;
    } else if (const unsigned steps = (now - g_guessclock) / kGuessEveryMs) {
        g_guesstokens = steps >= unsigned(kGuessBurst - g_guesstokens) ? kGuessBurst : g_guesstokens + int(steps);
        g_guessclock += steps * kGuessEveryMs;
    }
    if (g_guesstokens == 0) return false;
    --g_guesstokens;
    return true;
}

// The address logged on (or gave the right password): its refusals are
// forgiven and from now on it checks outside the common budget.
void RememberGoodAddress(std::uint32_t ip) {
    const unsigned now = plat::GetTickCount();
    for (Backoff& b : g_backoff)
        if (b.used && b.ip == ip) {
            FlushRefusals(b);
            b.used = false;
        }
    Backoff* k = FindKnown(ip);
    if (k == nullptr) {
        k = &g_known[0];
        for (Backoff& b : g_known) {
            if (!b.used) {
                k = &b;
                break;
            }
            if (int(b.seen - k->seen) < 0) k = &b;
        }
        // The address it makes room for keeps its back-off among the others.
        if (k->used && k->failures > 0)
            for (Backoff& b : g_backoff)
                if (Forgotten(b, now)) {
                    FlushRefusals(b);
                    b = *k;
                    k->untold = 0;
                    break;
                }
    }
    FlushRefusals(*k);
    *k = Backoff{};
    k->used = true;
    k->ip = ip;
    k->until = now;
    k->seen = now;
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
    std::FILE* f = plat::OpenRegularFile("passwords.csv", plat::OpenFor::Read);
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
    if (std::FILE* f = plat::OpenRegularFile("passwords.csv", plat::OpenFor::Read)) {
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

namespace {
// Appends one line to "calllog.txt", first moving a full file on to
// "calllog2.txt" and that to "calllog3.txt", so the log never outgrows
// three files whoever calls.
void AppendCallLog(const std::string& line) {
    if (plat::FileSize("calllog.txt") > kCallLogRotateBytes) {
        plat::RenameFile("calllog2.txt", "calllog3.txt");
        plat::RenameFile("calllog.txt", "calllog2.txt");
    }
    std::FILE* f = plat::OpenRegularFile("calllog.txt", plat::OpenFor::Append);
    if (f == nullptr) return;
    const std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}
}  // namespace

void WriteCallLog(int kind) {
    if (kind == g_lastlogkind && std::strcmp(g_holdercall, g_lastlogcall) == 0) return;
    const plat::SystemTime t = plat::GetUtcTime();
    AppendCallLog(CallLogLine(g_holdercall, kind, g_remoteclass, t.hour, t.minute, t.second, t.month, t.day, t.year));
    std::snprintf(g_lastlogcall, sizeof g_lastlogcall, "%s", g_holdercall);
    g_lastlogkind = kind;
}

void FlushCallLogSummaries() {
    for (Backoff& b : g_backoff)
        if (b.used) FlushRefusals(b);
    for (Backoff& b : g_known)
        if (b.used) FlushRefusals(b);
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
    const plat::SystemTime t = plat::GetUtcTime();
    AppendCallLog(CallLogRefusalLine(tried, plat::AddressText(peer.ip), why, t.hour, t.minute, t.second, t.month,
                                     t.day, t.year));
}

void RefuseCaller(const std::string& tried, const plat::SockAddr& peer, const std::string& why) {
    const unsigned now = plat::GetTickCount();
    const std::string from = plat::AddressText(peer.ip);
    Backoff* b = RecordFor(peer.ip, now);
    if (b == nullptr) {
        // Every record is taken by addresses still backing off: this one
        // is not remembered, and its log-ons wait until a record is free.
        WriteTracef("caller %s refused (%s), too many addresses backing off", from.c_str(), why.c_str());
        return;
    }
    if (SinceBackoffEnded(*b, now) > kBackoffForgetMs) {
        FlushRefusals(*b);
        b->failures = 0;
        b->written = 0;
    }
    ++b->failures;
    const unsigned wait = LogonBackoffMs(b->failures);
    b->until = now + wait;
    WriteTracef("caller %s refused (%s), next try in %u ms", from.c_str(), why.c_str(), wait);
    // The first refusals in full; later ones are counted and summed up now
    // and then, so a persistent address adds a line every ten minutes.
    if (b->written < kRefusalLinesInFull) {
        ++b->written;
        b->toldTick = now;
        WriteRefusalLog(tried, peer, why);
        return;
    }
    ++b->untold;
    b->lastTime = plat::GetUtcTime();
    std::snprintf(b->lastWhy, sizeof b->lastWhy, "%s", why.c_str());
    if (now - b->toldTick >= kSummaryEveryMs) FlushRefusals(*b);
}

LogonAnswer ServerLogon(plat::SocketHandle s, const plat::SockAddr& peer, const std::uint8_t* payload, int length,
                        LogonRequest* req) {
    const std::string from = plat::AddressText(peer.ip);
    // Tries already under way when the address was refused wait like new ones.
    if (const unsigned left = LogonHeldOffMs(peer.ip)) {
        WriteTracef("log-on from %s held off for %u ms", from.c_str(), left);
        return LogonAnswer::Dropped;
    }
    if (!ParseLogon(payload, length, req)) {
        WriteTrace("bad logon message");
        RefuseCaller(TriedCall(payload, length), peer, "malformed log-on");
        return LogonAnswer::Dropped;
    }
    const unsigned now = plat::GetTickCount();
    if (FindKnown(peer.ip) == nullptr) {
        // A refusal must have a record to back off in, and every check
        // from an address that never logged on comes out of one budget.
        bool recordFree = FindBackoff(peer.ip) != nullptr;
        for (int i = 0; !recordFree && i < kBackoffAddresses; ++i) recordFree = Forgotten(g_backoff[i], now);
        if (!recordFree) {
            WriteTracef("log-on from %s not checked, too many addresses backing off", from.c_str());
            return LogonAnswer::Dropped;
        }
        if (!TakeGuess(now)) {
            WriteTracef("log-on from %s not checked, too many log-ons", from.c_str());
            return LogonAnswer::Dropped;
        }
    }
    const int result = checkpw(req->call, req->password);
    if (result != 0) RememberGoodAddress(peer.ip);
    if (result == 1) return LogonAnswer::Accepted;
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
    if (call.empty() || password.empty() || !PasswordLineFields(line, &lineCall, &linePassword)) return false;
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

std::string CallLogSummaryLine(const std::string& address, int count, const std::string& why, int hour, int minute,
                               int second, int month, int day, int year) {
    return address + " refused " + std::to_string(count) + " more times (last: " + why + ") up to " +
           CallLogTime(hour, minute, second, month, day, year);
}

unsigned LogonBackoffMs(int failures) {
    unsigned ms = kBackoffFirstMs;
    for (int i = 1; i < failures && ms < kBackoffMaxMs; ++i) ms *= 2;
    return ms < kBackoffMaxMs ? ms : kBackoffMaxMs;
}
