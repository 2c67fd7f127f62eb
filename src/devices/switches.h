// Antenna switches, relay boards and band decoders.
#pragma once
#include "platform/serial_port.h"

extern int g_relayboards;      // relay or band-decoder boards configured (0, 1, 2)
extern int g_porttalkok;       // the parallel-port driver is usable
extern int g_bandparallel;     // band data goes out on the parallel port
extern int g_denkoviopen;
extern int g_delcomopen;
extern plat::PortHandle g_bcdport[2];  // serial band-data outputs

bool OpenPortTalk();
void ConnectToTavn_ag();
void AG_Tavn_TimeOut(int reason);
void setadr(int board);
void OpenDenkovi();
void WriteDenkovi(int relays);
void CloseDenkovi();
void CloseDelcom();
void OpenBcdPorts();

// The Tavn switch's radio number (1 or 2) and its antenna setting.
extern int g_radioTavn;
void setTavn(int setting);
// One relay record {board, relay, on} to the USB relay board.
void SendHamShack(const std::uint8_t* record);
