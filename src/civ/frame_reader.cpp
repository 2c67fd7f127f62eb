#include "civ/frame_reader.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/mirror_replies.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "civ/station_queries.h"

std::uint8_t g_rxcarry[kReadBufferSize];
int g_rxcarrylen = 0;
int g_rxreset = 0;
int g_inreader = 0;
int g_radioheard = 0;

namespace {
constexpr std::uint8_t kPad = 0xF0;         // never FE or FD
constexpr std::uint8_t kAmpAddress = 0x54;  // IC-PW1 on the bus
constexpr std::uint8_t kBroadcast = 0x00;

void Dump(const char* head, int count, const std::uint8_t* bytes, int n) {
    char text[64];
    std::snprintf(text, sizeof text, head, count % 256);
    WriteTrace(text + HexBytes(bytes, CivTraceShown(n)));
}

// One frame of `len` bytes at buf[i] that is not an echo.
void RouteFrame(const std::uint8_t* buf, int i, int len) {
    const std::uint8_t to = buf[i + 2];
    const std::uint8_t from = buf[i + 3];
    const std::uint8_t cmd = buf[i + 4];
    CivTrace("Good Message 2");
    CivTrace("Good Message 3");
    // The radio has answered the search: in the baud search any frame to
    // the controller; in the port search an answer that came without the
    // bus echo (a USB CI-V port echoes nothing).
    if ((g_autobaud == 1 && !g_echoseen) || (g_autobaud == 2 && to == std::uint8_t(g_myaddr))) {
        CivTrace("Good Message 4");
        RadioFound(from);
    }
    if (g_radioheard == 0) g_radioheard = 1;
    NoteRadioFrame();
    // The radio has answered a request: the next frame follows at once.
    if (!g_client && to == std::uint8_t(g_myaddr)) sendq();
    // A value with a nibble above 9 is no number the radio meant: taken, it
    // would tune, save and pass on a frequency the radio never had.
    if (!CivFrameBcdValid(buf + i, len)) {
        WriteTrace("Throw away bad BCD " + HexBytes(buf + i, CivTraceShown(len)));
        return;
    }
    if (Ask().RemoteOperatorActive()) {
        WriteTracef("received message size %d, command %02x", len, unsigned(cmd));
        if (cmd != kCivNg && cmd != kCivOk) Announce().FrameToPartner(buf + i, len);
    } else if (g_mirror) {
        StoreMirrorReply(buf, len, i);
    } else if (!g_client) {
        StoreCivReply(buf, len, i);
    }
}

void HandleEcho(const std::uint8_t* frame, int len) {
    if (g_mirror) return;  // the echo of a direct poll frame
    if (g_sendpaced == 0 && EchoMatchesHead(frame, len)) {
        CivTrace("Increment queue echoback");
        ReleaseHeadFrame();
    }
    if (CivTracing()) {
        const int headLen = g_sendlen[g_getq];
        WriteTracef("echoback depth %d, length %d, putq %d, getq %d", g_qdepth, CivTraceShown(headLen),
                    g_putq, g_getq);
    }
}

// Cuts frames out of buf[0..count) (padded behind) and leaves the
// unfinished tail in the carry-over.
void Scan(std::uint8_t* buf, int count) {
    const std::uint8_t my = std::uint8_t(g_myaddr);
    const std::uint8_t radio = std::uint8_t(g_radioadr);
    const bool ampRule = g_pw1 && g_rawmode;
    g_rxcarrylen = 0;
    int i = 0;
    while (i < count - 5) {
        const std::uint8_t to = buf[i + 2];
        const std::uint8_t from = buf[i + 3];
        const bool amp = ampRule && to == kAmpAddress;
        bool accepted = false;
        if (buf[i] == kCivPreamble && buf[i + 1] == kCivPreamble) {
            if (g_autobaud == 1)
                accepted = to == my;
            else
                accepted = ((to == my || to == kBroadcast || to == radio) && (from == my || from == radio)) ||
                           to == kBroadcast || (g_autobaud == 2 && to == my);
        }
        if (!accepted && !amp) {
            ++i;
            continue;
        }
        CivTrace("Good Message");
        const int len = FindCivEnd(buf + i, count - i);
        if (len == 0) break;  // no FD yet: the rest waits for the next read
        if (g_autobaud == 2 && (to == radio || from == my)) g_echoseen = 1;
        const bool echo = to == radio || (to == kBroadcast && from == my && buf[i + 4] == 0x00) || amp;
        if (echo) {
            HandleEcho(buf + i, len);
            CivTrace("Good Message 2");
        } else {
            RouteFrame(buf, i, len);
        }
        i += len;
    }
    if (i < count) {
        g_rxcarrylen = count - i;
        std::memcpy(g_rxcarry, buf + i, std::size_t(g_rxcarrylen));
    }
    // A tail this long has lost its FD; holding it would only delay the
    // frames behind it.
    if (g_rxcarrylen > kCarryLimit) g_rxcarrylen = 0;
}

// Radio initialisation asks for a clean start: the tail of the last read
// belongs to the conversation before it.
void TakeReset() {
    if (!g_rxreset) return;
    g_rxcarrylen = 0;
    g_rxreset = 0;
}

void FinishRead() {
    g_inreader = 0;
    ReleaseOperatorNotices();
    if (g_swlpending) OnSwl();
}

// One read: n fresh bytes, n <= kReadBufferSize - g_rxcarrylen.
void ProcessRead(const std::uint8_t* data, int n) {
    std::uint8_t buf[kReadBufferSize + kReadPadding];
    const int carry = g_rxcarrylen;
    std::memcpy(buf, g_rxcarry, std::size_t(carry));
    std::memcpy(buf + carry, data, std::size_t(n));
    const int count = carry + n;
    g_inreader = 1;
    HoldOperatorNotices();
    std::memset(buf + count, kPad, kReadPadding);
    ClearReplyFlags();
    if (g_mirror) ClearMirrorFlags();
    if (g_trace > 1 && CivTracing()) Dump(("before Qarv st " + std::to_string(carry) + " count %d ").c_str(), count, data, n);
    Scan(buf, count);
    if (CivTracing()) Dump("From Qarv        count %d ", count, buf, count);
    if (g_mirror)
        ApplyMirrorReplies();
    else
        ProcessCivReplies();
    FinishRead();
}
}  // namespace

void ProcessRadioBytes(const std::uint8_t* data, int n) {
    TakeReset();
    if (n <= 0 || !data) {
        CivTrace("readfile count 0");
        FinishRead();
        return;
    }
    while (n > 0) {
        const int room = kReadBufferSize - g_rxcarrylen;
        const int take = n < room ? n : room;
        ProcessRead(data, take);
        data += take;
        n -= take;
    }
}

void ReadRadioPort() {
    // A modal box opened from inside a scan keeps the timers running; the
    // scan in progress owns the buffers.
    if (g_inreader) return;
    TakeReset();
    std::uint8_t data[kReadBufferSize];
    CivTrace("calling readfile\n");
    int n = ReadRadioPortBytes(data, kReadBufferSize - g_rxcarrylen);
    CivTrace("back from readfile\n");
    if (n < 0 && g_radioport != plat::kInvalidPort) {
        // The port failed (an unplugged adapter): polling it on would fail
        // every tick unseen. Close it and tell the operator once.
        ReportDefectivePort(g_radioport);
    }
    ProcessRadioBytes(data, n > 0 ? n : 0);
}
