// Linear amplifiers on serial ports (Alpha 87A, Acom, PALStar, IC-PW1, OM4)
// and the PGXL network amplifier: their ports and the operations the main
// loop runs.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern plat::PortHandle g_a87port;
extern plat::PortHandle g_acomport;
extern plat::PortHandle g_pw1port;
extern plat::PortHandle g_om4port;
extern plat::PortHandle g_palstarport;
extern int g_acompending;     // an Acom command waits for TIMER_ACOM_SEND
extern int g_acomsegment;     // segment last sent to the Acom (-1 none)
extern int g_a87lastkhz;      // frequency last sent to the Alpha 87A (kHz)
extern int g_pw1reportstate;  // IC-PW1 report state
extern int g_om4reportstate;  // OM4 report state
extern int g_pgxlconnected;   // the PGXL amplifier is connected
extern int g_pgxlstatuschange;
extern int g_pgxlchange[3];   // the three PGXL change flags
// The amplifier's last reply for the settings window's amplifier text
// field: the Alpha 87A's number ("%d"), or at an operator client the reply
// text the server sent. Empty until the amplifier answered.
extern char g_amplifiertext[92];
// Takes the server's amplifier reply text (message 11) at an operator
// client: up to its NUL, printable characters only, and shows it.
void SetAmplifierText(const std::uint8_t* text, int length);
// An amplifier port that would not open: traced, and said on the main
// window's status bar ("PW1 open failed", "OM4 open failed").
void ReportAmplifierOpenFailure(const char* text);

plat::PortHandle OpenA87Port();
plat::PortHandle OpenAcomPort();
plat::PortHandle OpenPalstarPort();
plat::PortHandle OpenPw1Port();
plat::PortHandle OpenOm4Port();
void ReadA87Port();
void ReadPW1Port();
void ReadOM4Port();
void SendToA87(const std::uint8_t* data, int length);
void SendToAcom(const std::uint8_t* data, int length);
void SendToPALStar(const std::uint8_t* data, int length);
void SendToPW1(const std::uint8_t* data, int length);
void SendToOM4(const std::uint8_t* data, int length);
int GetAcomSegment(double mhz);
// The Alpha 87A's frequency in kHz, rounded: 2.002 MHz is 2002, not the
// 2001 that truncating the binary value gives.
int A87Khz(double mhz);
void SendFreqToPW1();
void SendFreqToOM4();
void SendModeToPW1();
void SendPGXLStatus();
void ProcessAmpWindow();
void StartPGXLDiscovery();

// The PGXL network amplifier.
constexpr unsigned kMsgPgxlConnect = 0x1807;
constexpr unsigned kMsgPgxlRead = 0x1808;
constexpr unsigned kMsgPgxlDiscovery = 0x1812;  // .. 0x1817, one per slot
extern char g_pgxladdress[18];  // the amplifier's address, from discovery
extern int g_pgxlport;          // TCP and discovery port (9008)
extern int g_pgxlfan;           // 1 STANDARD, 2 CONTEST, 3 BROADCAST
extern int g_pgxlmeffanow;      // 1 AUTO, 0 OFF
extern int g_pgxltemp;          // last reported temperature
// The MEFFA per band is the band table's saved "MEFFA" (g_bandmeffa): what
// the amplifier is sent and what its reports update. Besides it, the MEFFA a
// settings change wants sent and its request flag.
extern int g_pgxlwantedmeffa;
extern int g_pgxlmeffarequest;
// The settings window changed "Using Flex PGXL" or "Auto Fan Mode": the next
// status round sends the band's MEFFA and the fan mode (ProcessAmpWindow).
void PgxlOptionChanged();
// The radio's band row changed: the amplifier gets that band's MEFFA.
void PgxlBandChanged();
void ConnectToPGXL();
// The network amplifier's address changed: its link is made anew on the
// next send.
void ResetAmpSocket();
void OpenDiscoverySocket(const char* address, int slot);
void OnSockDiscoveryN(int slot, std::uintptr_t socket);
bool OnPgxlSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
void SendToPGXL(const char* text, int length);
void SetPGXLfan(int mode);
void SetPGXLmeffa(int on);
// One reply line of the amplifier.
void ParsePgxlReply(const std::uint8_t* data, int length);

// The readers' parsers: `buf` holds `len` bytes (carry first); each acts on
// every whole record and returns the carry left at the start of `buf`.
int ParseA87(std::uint8_t* buf, int len);
int ParsePW1(std::uint8_t* buf, int len);
int ParseOM4(std::uint8_t* buf, int len);
// The IC-PW1's mode byte for a ModeChar.
std::uint8_t Pw1ModeByte(int modeChar);
