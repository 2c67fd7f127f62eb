#include "civ/radio_port.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/polling.h"
#include "civ/port_retry.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_search.h"
#include "civ/send_queue.h"
#include "civ/station_queries.h"
#include "platform/clock.h"
#include "platform/event_loop.h"

plat::PortHandle g_radioport = plat::kInvalidPort;
char g_comport[40] = "COM0";
long g_baud = 19200;
int g_readtimer = 10;
int g_dtrpw = 0;
int g_rtspw = 0;
int g_rawmode = 0;
int g_passive = 0;
int g_meterreplies = 0;
std::uint8_t g_lastpoll[kPollFrameSize];
int g_lastpolllen = 0;

namespace {
constexpr int kMeterPassLimit = 25;
constexpr int kDrainBytes = 300;
constexpr unsigned kDrainWaitMs = 100;

constexpr const char kPortWord[] = "Primary ";  // the radio port in messages

PortRetry g_radioretry;

// Writes in a row that failed because the device is gone.
constexpr int kGoneWrites = 3;
int g_gonewrites = 0;

void ArmDevicePoll() { SetCivTimer(TIMER_DEVICE_POLL, unsigned(g_readtimer > 0 ? g_readtimer : 1)); }

// Opens and configures the port named by g_comport; false when it cannot be
// opened (nothing is shown: the callers decide). A modem line that cannot
// be set reports the port defective, which closes it again.
bool OpenRadioDevice() {
    plat::SerialClose(g_radioport);
    g_gonewrites = 0;
    plat::SerialConfig cfg;
    cfg.baud = g_baud;
    cfg.eventChar = kCivEnd;
    g_radioport = plat::SerialOpen(g_comport, cfg);
    if (g_radioport == plat::kInvalidPort) return false;
    plat::SerialPurge(g_radioport, true, true);
    WriteTrace("setdsr");
    SetDTR(g_dtrpw, g_radioport);
    SetRTS(g_rtspw, g_radioport);
    WriteTrace("back from setrts");
    return true;
}

// The program has a radio port of its own and nothing else holds it: no
// operator client without mirror polls, no radio search running.
bool RadioPortWanted() { return !plat::IsNoPortName(g_comport) && (!g_client || g_mirror) && g_autobaud == 0; }

// Frames queued for a radio that went away are stale by the time it is back
// (a transmit key among them would key it); the pump stops writing them into
// a closed port.
void DropQueuedFrames() {
    if (SendQueueEmpty()) return;
    WriteTracef("radio port closed, %d queued frames dropped", SendQueueDepth());
    while (!SendQueueEmpty()) ReleaseHeadFrame();
}

// A transmit-off that never reached the radio before its port was lost
// (the fault release still waits for it) goes first to the radio back on
// its port: the radio may have stayed keyed all along.
void SendTransmitOffLeftOver() {
    namespace fatal = plat::fatal_release;
    if (!fatal::Armed(fatal::kRadioFrame)) return;
    std::uint8_t frame[kCivHeaderLen + 4];
    const int n = BuildCivFrame(frame, {0x1C, 0x00, 0x00});
    fatal::Arm(fatal::kRadioFrame, g_radioport, frame, n);
    WriteTrace("transmit-off sent again");
    putq(frame, n);
}
}  // namespace

void ApplyRadioLinkOptions() {
    if (g_dtrpw) g_dtrcw = 0;
    if (g_rtspw) {
        g_rtscw = 0;
        g_rtsxm = 0;
    }
    if (g_passive) g_rawmode = 1;
    if (g_rawmode || g_passive) g_sendpaced = 0;
}

void OpenRadioPort() {
    if (plat::IsNoPortName(g_comport)) {
        ArmDevicePoll();
        WriteTrace("COM0 exit");
        return;
    }
    if (g_client) {
        ArmDevicePoll();
        // An operator client has no radio port of its own, except for the
        // polls of mirror mode.
        if (!g_mirror) return;
    }
    if (!OpenRadioDevice()) ShowPortError(kPortWord, g_comport);
    ArmDevicePoll();
}

bool RetryRadioPort() {
    if (!RadioPortWanted()) {
        g_radioretry.Reset();
        return false;
    }
    const bool open = g_radioport != plat::kInvalidPort;
    if (!open) DropQueuedFrames();
    if (!g_radioretry.Due(open, kPortWord, g_comport)) return false;
    if (!OpenRadioDevice() || g_radioport == plat::kInvalidPort) return false;
    g_radioretry.Opened(kPortWord, g_comport);
    SendTransmitOffLeftOver();
    // An operator client's port carries only its mirror polls; the radio
    // it drives is the server's.
    if (!g_client) ContactRadioAgain();
    return true;
}

void sendtoradio(const std::uint8_t* frame, int length) {
    // A logged-on operator client drives the radio; the server's own
    // builders keep quiet meanwhile.
    if (Ask().RemoteOperatorActive()) return;
    sendtoradioactual(frame, length);
}

bool PassesSendFilter(const std::uint8_t* frame, int length) {
    if (!g_rawmode && !g_oldradio) return true;
    if (length < 5) return false;
    const std::uint8_t cmd = frame[4];
    const auto signedCmd = static_cast<std::int8_t>(cmd);
    if (g_rawmode && signedCmd < 0x08) return true;
    if (cmd == 0x15 && g_meterreplies < kMeterPassLimit) return true;
    if (cmd == 0x1A && length > 5 && frame[5] == 0x06) return true;
    if (g_oldradio && signedCmd < 0x10) return true;
    return false;
}

void sendtoradioactual(const std::uint8_t* frame, int length) {
    // Text commands that some settings build end here.
    if (!frame || length < 1 || frame[0] != kCivPreamble) return;
    if (CivTracing()) WriteTrace("Send to Qarv " + HexBytes(frame, CivTraceShown(length)));
    if (g_client) {
        if (Ask().RemoteClientReady()) Announce().FrameToPartner(frame, length);
        return;
    }
    if (!PassesSendFilter(frame, length)) {
        CivTrace("suppressed");
        return;
    }
    if (g_radioport == plat::kInvalidPort)
        CivTrace("comm not ready");
    else
        putq(frame, length);
    CivTrace("sendtoradioactual end");
}

void SendPoll(const std::uint8_t* frame, int length) {
    if (!g_mirror || !frame || length < 1) return;
    if (CivTracing()) WriteTrace("Poll Client " + HexBytes(frame, length));
    if (g_radioport == plat::kInvalidPort) {
        CivTrace("comm not ready");
        return;
    }
    g_lastpolllen = length < kPollFrameSize ? length : kPollFrameSize;
    std::memcpy(g_lastpoll, frame, std::size_t(g_lastpolllen));
    errno = 0;
    const int written = WriteRadioPort(frame, length);
    const int err = errno;
    if (written != length) WriteTracef("Poll WriteFile error %ld, %04x, rc %d", long(err), unsigned(err), written);
    if (written > 0) ExpectRadioAnswer(written);
}

void DrainRadioPort() {
    plat::SleepMs(kDrainWaitMs);
    std::uint8_t discard[kDrainBytes];
    ReadRadioPortBytes(discard, kDrainBytes);
}

int WriteRadioPort(const std::uint8_t* data, int length) {
    if (g_radioport == plat::kInvalidPort) return -1;
    const int written = plat::SerialWrite(g_radioport, data, length);
    const int err = plat::SerialWriteError();
    if (written >= 0 || !plat::SerialDeviceGone(err)) {
        g_gonewrites = 0;
        return written;
    }
    // A device that is gone fails every write. The device poll's read finds
    // that out too, but not while nothing reads the port (a box opened from
    // the poll holds it); the pump would write into the dead port for ever.
    // A few such failures in a row close it as a failed read does, and the
    // one-second upkeep starts trying it again.
    if (++g_gonewrites >= kGoneWrites) {
        g_gonewrites = 0;
        WriteTracef("radio port write failed with error %d, port closed", err);
        ReportDefectivePort(g_radioport);
    }
    errno = err;  // the callers trace it
    return written;
}

int ReadRadioPortBytes(std::uint8_t* data, int max) {
    if (g_radioport == plat::kInvalidPort) return -1;
    return plat::SerialRead(g_radioport, data, max);
}
