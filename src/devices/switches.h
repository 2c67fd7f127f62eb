// Antenna switches, relay boards and band decoders: the LDG coax switch
// (serial, or a file another program reads), the relay-board text switch,
// the Denkovi (FTDI) and Delcom (HID) relay boards, the parallel port and
// the network antenna switch.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern int g_relayboards;      // relay or band-decoder boards configured (0, 1, 2)
extern int g_porttalkok;       // the parallel port is usable
extern int g_bandparallel;     // band data goes out on the parallel port
extern int g_denkoviopen;
extern int g_delcomopen;
extern plat::PortHandle g_bcdport[2];  // serial band-data outputs
extern int g_adrport;          // relay-board port `setadr` drives (1 or 2)
extern int g_useantb;          // the second antenna table is in use
extern int g_tavnagconnected;  // the network antenna switch is connected
extern int g_radioTavn;  // this radio's number on the network switch

bool OpenPortTalk();
// Writes `value` to I/O port `port`; only the parallel port's data (888)
// and control (890) registers exist here.
void outportb(int port, std::uint8_t value);
// The parallel port's open device, -1 when none is open.
int ParallelDescriptor();
// The network antenna switch's socket messages.
constexpr unsigned kMsgAgConnect = 0x1803;
constexpr unsigned kMsgAgRead = 0x1804;
void ConnectToTavn_ag();
bool OnAntennaSwitchMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
void AG_Tavn_TimeOut(int reason);
void setadr(int setting);
void setTavn(int setting);
// The network switch's band number for `mhz` (0 outside every band).
int GetTavnBand(double mhz);
void OpenDenkovi();
void WriteDenkovi(int setting);
void WriteDenkoviActual(std::uint8_t value);
void CloseDenkovi();
bool OpenDelcom();
// Switches latching relay `relay` (1..16) of `board` (0..8); refused
// outside those ranges.
bool WriteDelcom(int board, int relay, int on);
// A 3-byte switch record {board, relay, on} from the remote link.
void SendHamShack(const std::uint8_t* record);
void CloseDelcom();
// The two serial band-data outputs ("SERIAL AB/CD COMPORT"), 9600 baud.
void OpenBcdPorts(const char* abPort, const char* cdPort);
// The LDG coax switch.
void OpenLdg6();
void SendToLdg6(const std::uint8_t* data, int length);
void ReadLdg6();
void SelectLdg6Antenna(int setting);
void WriteAntennaFile(int setting);
// A relay-board text ("SPK00000100\r") to the coax-switch port.
void SendToLdgCoax(const char* text);
// The relay-board text of `setting` 1..8 for switch letter `letter`.
void RelayText(int setting, char letter, char* out13);
