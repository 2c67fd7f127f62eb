// The radio's serial port and every byte that goes out on it: the one send
// entry of all CI-V builders, its filter by operating mode, the routing to
// the remote link, and the direct poll path of mirror mode.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern plat::PortHandle g_radioport;  // invalid: no radio port open
extern char g_comport[40];            // [INTERFACE] "COMPORT"; "COM0" means none
extern long g_baud;                   // [INTERFACE] "BAUD" (default 19200)
extern int g_readtimer;               // "READ TIMER": device poll period in ms (default 10)
extern int g_dtrpw;                   // "DTR PW": raise DTR to power the interface
extern int g_rtspw;                   // "RTS PW": raise RTS to power the interface
extern int g_rawmode;                 // "RAWMODE": echo mode, init commands only
extern int g_passive;                 // "PASSIVE": forces RAWMODE, no pacing

// Meter replies (command 15) stored so far; meter reads pass the raw-mode
// filter only for the first 25.
extern int g_meterreplies;
constexpr int kPollFrameSize = 300;
// The last frame written by SendPoll.
extern std::uint8_t g_lastpoll[kPollFrameSize];
extern int g_lastpolllen;

// Start-up, after the settings are read: the powering uses of DTR and RTS
// override their keying uses, and "PASSIVE" / "RAWMODE" switch the send
// queue to echo mode.
void ApplyRadioLinkOptions();

// (Re)opens the radio port from g_comport and g_baud; always leaves the
// device poll timer armed.
void OpenRadioPort();
// One second of upkeep: a radio port that should be open and is not (the
// radio was unplugged or switched off, or missing at start-up) is tried
// again every few seconds without a message box; when it opens, contact is
// made again as at start-up. True when the port was reopened now.
bool RetryRadioPort();
// The one public send of every CI-V builder.
void sendtoradio(const std::uint8_t* frame, int length);
// Filter and route; also the entry of frames from a remote operator client.
void sendtoradioactual(const std::uint8_t* frame, int length);
// True when the operating mode lets the frame through to the radio.
bool PassesSendFilter(const std::uint8_t* frame, int length);
// Mirror mode: writes a poll frame at once, bypassing the queue.
void SendPoll(const std::uint8_t* frame, int length);
// Waits 100 ms, then reads and discards what the port holds (up to 300 bytes).
void DrainRadioPort();

// Port access for the queue and the reader: bytes written or read, or -1 on
// a port error (also when no port is open).
int WriteRadioPort(const std::uint8_t* data, int length);
int ReadRadioPortBytes(std::uint8_t* data, int max);
