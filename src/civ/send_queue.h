// The send queue: a ring of 180 frames that the send pump (TIMER_SENDQ,
// 50 ms) writes to the radio port, one frame per write. In paced mode the
// pump writes the head frame as soon as the handlers that queued it have
// finished when it has been idle for a period, then at most one frame per
// 50 ms, so that the radio's CI-V input never overflows (a reply from the
// radio, which has then taken the last frame in, still sends the next at
// once); a frame leaves the ring once written in full. In echo mode a frame
// leaves the ring only when the frame reader has read its echo back from
// the bus.
#pragma once
#include <cstdint>

constexpr int kSendSlots = 180;
constexpr int kSendSlotSize = 300;
constexpr int kMinCivFrame = 6;       // FE FE to from command FD
constexpr unsigned kSendPeriodMs = 50;
// Writes of one frame in echo mode before it is given up as unechoed.
constexpr int kMaxEchoWrites = 10;
// Time the radio takes to start answering a request, with room for a busy
// machine: an answer read late costs more wake-ups than one read a little
// later than needed.
constexpr unsigned kTurnaroundMs = 30;

extern std::uint8_t g_sendbuf[kSendSlots][kSendSlotSize];
extern std::int16_t g_sendlen[kSendSlots];
extern int g_putq;        // next free slot
extern int g_getq;        // next frame to write
extern int g_qdepth;      // frames put and not yet released (trace only)
extern int g_sendtimer;   // 1 while TIMER_SENDQ is armed
extern int g_sendpaced;   // 1 paced mode, 0 echo mode
extern int g_sendtries;   // writes of the head frame still waiting for its echo

bool SendQueueEmpty();
bool SendQueueFull();
// Frames waiting in the ring (put and not yet released).
int SendQueueDepth();

// Appends a frame and starts the pump. Refuses (false, traced) a frame that
// is not FE FE ... FD of 6 to 300 bytes, and any frame while the ring is full.
bool putq(const std::uint8_t* frame, int length);
// Moves the frame put last ahead of every waiting frame (a transmit-off
// must not wait behind a first contact's set-up).
void PromoteNewestFrame();
// Drops every frame not yet written whose command and data are `body`
// (a key-on still waiting when the transmit-off overtakes it); returns how
// many went.
int DropWaitingFrames(const std::uint8_t* body, int n);
// Writes the head frame.
void sendq();
// TIMER_SENDQ expiry, called by the main loop.
void OnSendQueueTimer();

// The reply side. After a write the radio's echo and answers are read in
// one go once they should all be in: the device poll falls due then instead
// of on the first byte.
// Time for `bytes` to go out and about as many to come back at g_baud, plus
// the radio's turnaround.
unsigned AnswerWindowMs(int bytes);
// A few character times at g_baud (at least the 10 ms timer floor): how long
// the line must have been quiet before a read takes what came.
unsigned LineQuietMs();
// Brings the device poll forward to the end of the answer to `bytes` just
// written (never later than it already falls due). Until then the echo's
// first byte does not wake it: each frame costs one wake-up, and the
// answer read then sends the next frame.
void ExpectRadioAnswer(int bytes);
// The device poll has re-armed itself: the answer to a frame written since
// (a reply sent it) is still read at its time, not woken by its echo.
void KeepAnswerExpected();

// Echo release: true when `frame` (a complete CI-V frame read back from the
// bus) is the echo of the head frame; a leading run of extra preamble bytes
// in the queued frame (the power-on frame) is not part of its echo.
bool EchoMatchesHead(const std::uint8_t* frame, int length);
// Releases the head frame.
void ReleaseHeadFrame();
