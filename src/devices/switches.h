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
// Writes one byte to an I/O port of the parallel port.
void outportb(unsigned short port, unsigned char value);
void ConnectToTavn_ag();
void AG_Tavn_TimeOut(int reason);
void setadr(int board);
void OpenDenkovi();
void WriteDenkovi(int relays);
void CloseDenkovi();
void CloseDelcom();
void OpenBcdPorts();
