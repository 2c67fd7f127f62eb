// The radio server's callers: connections that have not logged on yet. A
// few are held at once, each with its own log-on deadline, while the
// listener stays open; a silent or hostile caller therefore cannot keep the
// operator out, and a caller that was answered is let go without waiting on
// the UI thread.
#include <cstdint>
#include <string>

#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "devices/remote_link.h"
#include "platform/clock.h"

namespace {
// An answered caller gets this long to read the answer and close.
constexpr unsigned kLingerMs = 2000;
// Connections taken per accept event; more wait for the next one.
constexpr int kAcceptsPerEvent = 8;

struct Caller {
    plat::SocketHandle s = plat::kInvalidSocket;
    plat::SockAddr peer;
    std::uint64_t order = 0;  // accept order: the oldest goes first
    unsigned deadline = 0;    // log-on deadline, or the end of the linger
    bool answered = false;    // refused or told "in use": only its close is awaited
    PartnerAssembly rx;
};
Caller g_callers[kCallersMax];
std::uint64_t g_acceptorder = 0;

std::string From(const Caller& c) { return plat::AddressText(c.peer.ip); }

void Forget(Caller& c) {
    plat::SocketClose(c.s);
    c.answered = false;
    c.rx.reset();
}

Caller* Find(plat::SocketHandle s) {
    if (s == plat::kInvalidSocket) return nullptr;
    for (Caller& c : g_callers)
        if (c.s == s) return &c;
    return nullptr;
}

void Serve(Caller& c);

// The caller to let go for a newcomer from `ip`: an answered caller first,
// else the oldest caller of the address that would hold the most places
// (the newcomer's own first), so that no address holds two places while
// another's caller waits, and an address reconnecting in a loop only ever
// pushes out its own callers.
Caller& Victim(std::uint32_t ip) {
    Caller* victim = nullptr;
    int victimShare = 0;
    for (Caller& c : g_callers) {
        int share = c.peer.ip == ip ? 1 : 0;
        for (const Caller& o : g_callers)
            if (o.peer.ip == c.peer.ip) ++share;
        share = share * 2 + (c.peer.ip == ip ? 1 : 0);
        if (c.answered) share += 4 * kCallersMax;
        if (victim == nullptr || share > victimShare || (share == victimShare && c.order < victim->order)) {
            victim = &c;
            victimShare = share;
        }
    }
    return *victim;
}

// A place for a new caller from `ip`. A caller is read before it is let
// go: a log-on it has already sent is answered, never lost.
Caller& FreePlace(std::uint32_t ip) {
    for (int round = 0; round <= kCallersMax; ++round) {
        for (Caller& c : g_callers)
            if (c.s == plat::kInvalidSocket) return c;
        Caller& victim = Victim(ip);
        if (!victim.answered && round < kCallersMax) {
            Serve(victim);
            // It logged on, was answered or left: look again.
            if (victim.s == plat::kInvalidSocket || victim.answered) continue;
        }
        WriteTracef("caller %s let go for a newer one", From(victim).c_str());
        Forget(victim);
        return victim;
    }
    Caller& victim = Victim(ip);
    Forget(victim);
    return victim;
}

// Refused or told "in use": the answer goes out ahead of the end of the
// stream, and the socket closes once the caller has closed its end.
void LetGo(Caller& c) {
    plat::SocketShutdownSend(c.s);
    c.answered = true;
    c.deadline = plat::GetTickCount() + kLingerMs;
}

// A caller that logged on becomes the partner, taking over from an earlier
// connection of the same call sign (a client back after its link failed).
void Promote(Caller& c, const LogonRequest& req) {
    if (g_linkstate == 3) {
        WriteTracef("%s logged on again from %s", req.call.c_str(), From(c).c_str());
        DropConnection(-1);
    }
    g_partnersock = c.s;
    g_partneraddr = c.peer;
    c.s = plat::kInvalidSocket;
    c.rx.reset();
    g_linkstate = 3;
    OperatorLoggedOn(req);
}

void Serve(Caller& c) {
    int length = 0;
    bool got = false;
    if (c.answered) {
        // Whatever comes now is dropped; the socket closes when the caller's does.
        const Assembled r = AssembleMessage(c.rx, c.s, kLogonMaxLength, &length, &got);
        if (r == Assembled::Closed || r == Assembled::BadLength) Forget(c);
        return;
    }
    switch (AssembleMessage(c.rx, c.s, kLogonMaxLength, &length, &got)) {
    case Assembled::Waiting: return;
    case Assembled::Closed:
        // Nothing was tried: a trace, and no call-log line.
        WriteTracef("caller %s left without a log-on", From(c).c_str());
        Forget(c);
        return;
    case Assembled::BadLength:
        WriteTracef("Bad length %d", length);
        RefuseCaller("-", c.peer, "bad length " + std::to_string(length));
        Forget(c);
        return;
    case Assembled::Message: break;
    }
    const int type = c.rx.buf[0];
    WriteTracef("from partner msgtype %d", type);
    if (type == kMsgLogOff) {
        Forget(c);
        return;
    }
    if (type != kMsgLogOn) {
        WriteTracef("not logged on, message type %d", type);
        RefuseCaller("-", c.peer, "message type " + std::to_string(type) + " before log-on");
        Forget(c);
        return;
    }
    LogonRequest req;
    switch (ServerLogon(c.s, c.peer, c.rx.buf + 1, length - 1, &req)) {
    case LogonAnswer::Accepted: Promote(c, req); break;
    case LogonAnswer::Answered: LetGo(c); break;
    case LogonAnswer::Dropped: Forget(c); break;
    }
}
}  // namespace

void AcceptCallers() {
    for (int k = 0; k < kAcceptsPerEvent; ++k) {
        plat::SockAddr peer;
        plat::SocketHandle s = AcceptCaller(&peer);
        if (s == plat::kInvalidSocket) {
            if (k == 0) WriteTracef("accept skt %d, lasterror %d", s, plat::SocketLastError());
            break;
        }
        const std::string from = plat::AddressText(peer.ip);
        if (const unsigned left = LogonHeldOffMs(peer.ip)) {
            // Refused a moment ago: closed at once, no answer, no place taken.
            WriteTracef("caller %s held off for %u ms", from.c_str(), left);
            plat::SocketClose(s);
            continue;
        }
        Caller& c = FreePlace(peer.ip);
        c.s = s;
        c.peer = peer;
        c.order = ++g_acceptorder;
        c.deadline = plat::GetTickCount() + kLogonDeadlineMs;
        c.answered = false;
        c.rx.reset();
        WriteTracef("setsockopt1 rc %d, we are connected", plat::SocketSetKeepAlive(s, true) ? 0 : -1);
        WriteTracef("caller %s", from.c_str());
        plat::SocketSetNoDelay(s, true);
        plat::SocketSelect(s, g_timerwindow, WM_SOCK_REMOTE, plat::kSockRead | plat::kSockClose);
        const std::uint8_t version = kProtocolVersion;
        if (SendPartnerMessage(s, &version, 1, kMsgVersion) < 0) {
            Forget(c);
            continue;
        }
        // A caller that was kept waiting in the backlog may have sent its
        // log-on already: it is read before the next caller can push it out.
        Serve(c);
    }
    RearmLinkTimer();
}

bool ServeCaller(plat::SocketHandle s) {
    Caller* c = Find(s);
    if (c == nullptr) return false;
    Serve(*c);
    RearmLinkTimer();
    return true;
}

void ServeCallers() {
    for (Caller& c : g_callers)
        if (c.s != plat::kInvalidSocket) Serve(c);
    RearmLinkTimer();
}

void ExpireCallers() {
    const unsigned now = plat::GetTickCount();
    for (Caller& c : g_callers) {
        if (c.s == plat::kInvalidSocket || int(now - c.deadline) < 0) continue;
        if (!c.answered) {
            // The log-on deadline: nothing was tried, so no call-log line.
            WriteTrace("sock timeout");
            WriteTracef("caller %s did not log on in time", From(c).c_str());
        }
        Forget(c);
    }
}

bool NextCallerDeadline(unsigned* tick) {
    const unsigned now = plat::GetTickCount();
    bool any = false;
    for (const Caller& c : g_callers) {
        if (c.s == plat::kInvalidSocket) continue;
        if (!any || int(c.deadline - now) < int(*tick - now)) *tick = c.deadline;
        any = true;
    }
    return any;
}

void CloseCallers() {
    for (Caller& c : g_callers)
        if (c.s != plat::kInvalidSocket) Forget(c);
}

int RemoteCallerCount() {
    int n = 0;
    for (const Caller& c : g_callers)
        if (c.s != plat::kInvalidSocket) ++n;
    return n;
}
