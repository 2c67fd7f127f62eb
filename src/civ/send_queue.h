// The send queue: a ring of 180 frames that the send pump (TIMER_SENDQ,
// 50 ms) writes to the radio port one at a time. In paced mode a frame
// leaves the ring once written in full; in echo mode only when the frame
// reader has read its echo back from the bus.
#pragma once
#include <cstdint>

constexpr int kSendSlots = 180;
constexpr int kSendSlotSize = 300;
constexpr int kMinCivFrame = 6;       // FE FE to from command FD
constexpr unsigned kSendPeriodMs = 50;
// Writes of one frame in echo mode before it is given up as unechoed.
constexpr int kMaxEchoWrites = 10;

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
// Writes the head frame.
void sendq();
// TIMER_SENDQ expiry, called by the main loop.
void OnSendQueueTimer();

// Echo release: true when `frame` (a complete CI-V frame read back from the
// bus) is the echo of the head frame; a leading run of extra preamble bytes
// in the queued frame (the power-on frame) is not part of its echo.
bool EchoMatchesHead(const std::uint8_t* frame, int length);
// Releases the head frame.
void ReleaseHeadFrame();
