#include "civ/send_queue.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_timers.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"

std::uint8_t g_sendbuf[kSendSlots][kSendSlotSize];
std::int16_t g_sendlen[kSendSlots];
int g_putq = 0;
int g_getq = 0;
int g_qdepth = 0;
int g_sendtimer = 0;
int g_sendpaced = 1;
int g_sendtries = 0;

namespace {
// When the pump last wrote: the next write waits for the rest of its period.
std::uint32_t g_lastwrite = 0;
bool g_haswritten = false;
bool g_readfirst = false;  // echo mode: the repeat of the head frame waits for a read
// The answer to the last write is read when it should be complete.
std::uint32_t g_answerdue = 0;
bool g_answerpending = false;

int Next(int index) { return index + 1 >= kSendSlots ? 0 : index + 1; }
int Prev(int index) { return index == 0 ? kSendSlots - 1 : index - 1; }

bool WellFormed(const std::uint8_t* frame, int length) {
    return frame && length >= kMinCivFrame && length <= kSendSlotSize && frame[0] == kCivPreamble &&
           frame[1] == kCivPreamble && frame[length - 1] == kCivEnd;
}

void ArmSendTimer(const char* trace, unsigned ms = kSendPeriodMs) {
    KillCivTimer(TIMER_SENDQ);
    SetCivTimer(TIMER_SENDQ, ms);
    g_sendtimer = 1;
    CivTrace(trace);
}

// Paced mode: the pump runs once the handlers now running are done, unless
// it wrote less than a period ago; then at the end of that period.
void StartPump(const char* trace) {
    const std::uint32_t since = plat::GetTickCount() - g_lastwrite;
    if (g_haswritten && since < kSendPeriodMs) {
        ArmSendTimer(trace, kSendPeriodMs - since);
        return;
    }
    ArmSendTimer(trace);
    if (g_timerwindow) plat::TimerDueSoon(g_timerwindow, TIMER_SENDQ);
}

// 10 bits a character on the line.
unsigned CharTimesMs(long chars) {
    const long baud = g_baud >= 300 ? g_baud : 19200;
    return unsigned((chars * 10 * 1000 + baud - 1) / baud);
}

// Start of the CI-V frame that the bus echoes: a frame led by a longer
// preamble run (the power-on frame wakes the radio with it) is echoed, but
// the reader cuts the echo at its last two FE.
int EchoStart(const std::uint8_t* slot, int length) {
    int start = 0;
    while (start + 2 < length && slot[start + 2] == kCivPreamble) ++start;
    return start;
}

// The first slot whose frame has not gone out: in echo mode a head frame
// written and waiting for its echo is on the line already.
int FirstWaiting() { return !g_sendpaced && g_sendtries > 0 ? Next(g_getq) : g_getq; }

bool Carries(int slot, const std::uint8_t* body, int n) {
    const std::uint8_t* frame = g_sendbuf[slot];
    const int start = EchoStart(frame, g_sendlen[slot]);
    // FE FE to from, the body, FD
    return g_sendlen[slot] - start == n + 5 && std::memcmp(frame + start + 4, body, std::size_t(n)) == 0;
}

constexpr std::uint8_t kTransmitOn[3] = {0x1C, 0x00, 0x01};
constexpr std::uint8_t kTransmitOff[3] = {0x1C, 0x00, 0x00};

// The fault handler writes the transmit-off itself until the pump has put
// it on the line; a key-on still behind it keeps the handler armed.
void TransmitOffWritten(int slot) {
    if (!Carries(slot, kTransmitOff, 3)) return;
    for (int i = Next(slot); i != g_putq; i = Next(i))
        if (Carries(i, kTransmitOn, 3)) return;
    plat::fatal_release::Disarm(plat::fatal_release::kRadioFrame);
}
}  // namespace

bool SendQueueEmpty() { return g_putq == g_getq; }
bool SendQueueFull() { return Next(g_putq) == g_getq; }
int SendQueueDepth() { return (g_putq - g_getq + kSendSlots) % kSendSlots; }

bool putq(const std::uint8_t* frame, int length) {
    if (!WellFormed(frame, length)) {
        WriteTracef("putq refused frame, length %d", length);
        return false;
    }
    // A full ring would wrap onto the head and read as empty, losing every
    // pending frame; the new frame is refused instead.
    if (SendQueueFull()) {
        WriteTracef("send queue full, frame refused, depth %d", g_qdepth);
        return false;
    }
    const int s = g_putq;
    std::memcpy(g_sendbuf[s], frame, std::size_t(length));
    g_sendlen[s] = std::int16_t(length);
    g_putq = Next(g_putq);
    ++g_qdepth;
    WriteTracef("put depth %d, putq %d, getq %d", g_qdepth, g_putq, g_getq);
    if (g_sendpaced) {
        if (!g_sendtimer) StartPump("putq sets timer");
    } else if (s == g_getq) {
        sendq();
    }
    return true;
}

void PromoteNewestFrame() {
    if (SendQueueEmpty()) return;
    // A head frame already written and waiting for its echo keeps its place.
    const int first = FirstWaiting();
    const int last = Prev(g_putq);
    if (last == first || first == g_putq) return;
    std::uint8_t frame[kSendSlotSize];
    const std::int16_t length = g_sendlen[last];
    std::memcpy(frame, g_sendbuf[last], std::size_t(length));
    for (int i = last; i != first; i = Prev(i)) {
        const int from = Prev(i);
        std::memcpy(g_sendbuf[i], g_sendbuf[from], std::size_t(g_sendlen[from]));
        g_sendlen[i] = g_sendlen[from];
    }
    std::memcpy(g_sendbuf[first], frame, std::size_t(length));
    g_sendlen[first] = length;
    WriteTracef("frame moved to the front, depth %d", g_qdepth);
}

int DropWaitingFrames(const std::uint8_t* body, int n) {
    if (SendQueueEmpty()) return 0;
    int to = FirstWaiting(), dropped = 0;
    for (int from = to; from != g_putq; from = Next(from)) {
        if (Carries(from, body, n)) {
            ++dropped;
            continue;
        }
        if (to != from) {
            std::memcpy(g_sendbuf[to], g_sendbuf[from], std::size_t(g_sendlen[from]));
            g_sendlen[to] = g_sendlen[from];
        }
        to = Next(to);
    }
    g_putq = to;
    g_qdepth -= dropped;
    if (dropped) WriteTracef("%d waiting frames dropped, depth %d", dropped, g_qdepth);
    return dropped;
}

void ReleaseHeadFrame() {
    if (SendQueueEmpty()) return;
    g_getq = Next(g_getq);
    --g_qdepth;
    g_sendtries = 0;
}

bool EchoMatchesHead(const std::uint8_t* frame, int length) {
    if (SendQueueEmpty()) return false;
    const std::uint8_t* slot = g_sendbuf[g_getq];
    const int slotLen = g_sendlen[g_getq];
    const int start = EchoStart(slot, slotLen);
    return slotLen - start == length && std::memcmp(slot + start, frame, std::size_t(length)) == 0;
}

void sendq() {
    KillCivTimer(TIMER_SENDQ);
    g_sendtimer = 0;
    if (SendQueueEmpty()) return;

    // In echo mode a frame whose echo never comes would hold the ring for
    // good; after a bounded number of writes it is given up.
    if (!g_sendpaced && g_sendtries >= kMaxEchoWrites) {
        WriteTracef("no echo after %d writes, frame dropped, getq %d", g_sendtries, g_getq);
        ReleaseHeadFrame();
        if (SendQueueEmpty()) return;
    }
    // Echo mode, the head frame written and its echo not read yet: it is
    // written again only once a pump period has passed and nothing waits to
    // be read. A reply to the frame before must not repeat it (each repeat
    // draws another reply, and that one repeats the next frame, so every
    // frame would go twice from then on), and an echo that a busy moment
    // left unread is read first.
    if (!g_sendpaced && g_sendtries > 0) {
        const std::uint32_t since = plat::GetTickCount() - g_lastwrite;
        if (since < kSendPeriodMs) {
            ArmSendTimer("sendq sets timer", kSendPeriodMs - since);
            return;
        }
        if (!g_readfirst && g_radioport != plat::kInvalidPort && plat::SerialPending(g_radioport) > 0 &&
            g_timerwindow) {
            g_readfirst = true;  // once per write: a chattering line cannot hold the frame back
            plat::TimerDueSoon(g_timerwindow, TIMER_DEVICE_POLL);
            ArmSendTimer("sendq sets timer");
            return;
        }
    }

    // One frame per write: paced mode gives the radio a pump period to take
    // each in, echo mode waits for each one's echo.
    const std::uint8_t* frame = g_sendbuf[g_getq];
    const int length = g_sendlen[g_getq];
    const int shown = CivTraceShown(length);
    CivTrace("calling writefile\n");
    errno = 0;
    const int written = WriteRadioPort(frame, length);
    const int err = errno;
    CivTrace("back from writefile\n");
    if (written < 0) WriteTracef("WriteFile error %ld, %04x", long(err), unsigned(err));

    if (written == length) {
        TransmitOffWritten(g_getq);
        if (CivTracing()) {
            WriteTracef("really Send depth %d, length %d, allowed %d, putq %d, getq %d", g_qdepth, length,
                        g_allowed, g_putq, g_getq);
            WriteTrace("really send " + HexBytes(frame, shown));
        }
        if (g_sendpaced)
            ReleaseHeadFrame();
        else
            ++g_sendtries;
    } else if (CivTracing()) {
        // The frame stays; it goes again whole next time.
        char head[32];
        std::snprintf(head, sizeof head, "waiting Send %d ", shown);
        WriteTrace(std::string(head) + std::string(reinterpret_cast<const char*>(frame), std::size_t(shown)));
    }
    if (written > 0) {
        g_lastwrite = plat::GetTickCount();
        g_haswritten = true;
        g_readfirst = false;
        ExpectRadioAnswer(written);
    }

    if (!SendQueueEmpty() && !g_sendtimer) ArmSendTimer("sendq sets timer");
}

void OnSendQueueTimer() {
    KillCivTimer(TIMER_SENDQ);
    g_sendtimer = 0;
    CivTrace("timer calls sendq");
    sendq();
}

unsigned AnswerWindowMs(int bytes) { return kTurnaroundMs + CharTimesMs(2L * (bytes > 0 ? bytes : 0)); }

unsigned LineQuietMs() {
    const unsigned ms = CharTimesMs(4);
    return ms > 10 ? ms : 10;
}

void ExpectRadioAnswer(int bytes) {
    g_answerdue = plat::GetTickCount() + AnswerWindowMs(bytes);
    g_answerpending = true;
    KeepAnswerExpected();
}

void KeepAnswerExpected() {
    if (!g_answerpending || !g_timerwindow || g_radioport == plat::kInvalidPort) return;
    const auto left = std::int32_t(g_answerdue - plat::GetTickCount());
    if (left <= 0) {
        g_answerpending = false;
        return;
    }
    // A write made by the device poll itself (a reply sent the next frame):
    // the poll calls this again once it has re-armed.
    const long due = plat::TimerDueIn(g_timerwindow, TIMER_DEVICE_POLL);
    if (due < 0) return;
    if (due > long(left)) SetCivTimer(TIMER_DEVICE_POLL, unsigned(left));
    // The first byte of the echo must not wake the poll, which reads once
    // the answer should be complete (a late one still wakes it afterwards).
    plat::StopWakeOnReadable(g_radioport);
}
