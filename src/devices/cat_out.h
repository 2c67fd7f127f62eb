// CAT-out ports and second receivers: up to five serial ports on which other
// programs (loggers, panadapters, amplifiers) follow and set the radio with
// the two-letter ';'-terminated command set; port 1 can carry the Perseus
// link instead. Also the RX331 receiver on the keypad-pod port and the
// IP-Sound program, which does not exist here.
#pragma once

#include <cstdint>

#include "devices/cat_commands.h"
#include "platform/serial_port.h"

constexpr int kThpPorts = 5;

// [SPECIAL] "TEST": 3 discards all CAT-out input and most output.
extern int g_test;

extern plat::PortHandle g_thpport[kThpPorts];  // ports 1..5 (invalid = closed)
extern int g_pollatstart;  // "THP POLL" was on when the ports opened: the second receiver may be muted
extern int g_thpopen[kThpPorts];               // port n was opened; port 1's flag gates all CAT-out reading
extern int g_activethp;  // CAT-out port SendToTHP writes to: 0 every port, n port n
extern int g_thpidrequest;  // the follower asks the attached device "ID;" once
// Reverse options of the digital modes' CAT digits (no settings key holds them).
extern int g_rttyreverse;
extern int g_pskreverse;

extern int g_ipsoundstate;
extern unsigned g_ipsoundstamp;  // tick of the last IP-Sound call (0 unset)

// Opens the configured ports 1..5 at "THP BAUD" with CTS/RTS handshake.
void OpenThpPorts();
// Closes them; a port that keyed the transmitter releases it.
void CloseThpPorts();
// CAT-out port n (1..5) after its name changed: closed, and opened anew
// when in use.
void ReopenThpPort(int n, int inUse);
// One second of upkeep: a port that was opened and has been lost (its
// adapter unplugged) is tried again every few seconds without a box; once
// back, the follower tells the ports the frequencies and mode again.
void RetryThpPorts();
// Reads port n (1..5), answers and executes its commands.
void ReadTHPPort(int n);
// Pushes VFO, mode and band changes to the ports (after each poll).
void FollowFrequency();
// Writes one CAT text to the ports by the fan-out rule; the last write's
// result, or -1 when port 1 is closed.
int SendToTHP(const std::uint8_t* bytes, int length);
// The CAT mode digit of a ModeChar as the ports are told it unasked.
char CatModeDigit(char mode);
// Kind 1 always sends "MD" + digit + ";", kind 2 unless the AM tune mode
// runs, kind 0 only returns the digit.
char SendModeToTHP(char mode, int kind);
// "ZZMU1;" while split or dual receive is on with the VFOs inside half the
// panadapter width, else "ZZMU0;".
void SendMultiRxToTHP();
// Second receiver: 0 unmute, 1 mute, 2 mute after 800 ms.
void MuteSecondReceiver(int a);
// VFO B set from outside: the program's value and the panel's.
void SetVfoB(double mhz);
// TIMER_THP_FREQ: a pending send-back tells the ports VFO A.
void OnThpFreqTimer();
// The options the mode maps read now.
CatModeOptions CurrentCatModeOptions();

// The Perseus link on port 1 ("PERSEUS PAN").
void SendToPerseus(const std::uint8_t* frame, int length);
// Reads Perseus frames from `data`; returns how many bytes at the end form an
// unfinished frame (kept as the port's carry, never above kThpCarrySize).
int ReadPerseus(const std::uint8_t* data, int count);
void AnalyzeMessageI(const std::uint8_t* frame, int size);
void PerseusModeCode();
void PerseusFilterCode();

// The RX331 receiver on the keypad-pod port.
void SendToRX331(const std::uint8_t* bytes, int length);
void SendRX331Init();

// IP-Sound: no such program exists here; every call finds it absent.
int PostIPSound(int function);
int CallIPSound(int function);
void DeleteIpSoundAtom();
