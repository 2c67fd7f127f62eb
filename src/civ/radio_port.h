// The radio's serial port and the send queue.
#pragma once
#include "platform/serial_port.h"

extern plat::PortHandle g_radioport;  // invalid: no radio port open
extern char g_comport[40];            // [INTERFACE] "COMPORT"; "COM0" means none
extern long g_baud;                   // [INTERFACE] "BAUD" (default 19200)
extern int g_readtimer;               // "READ TIMER": device poll period in ms (default 10)
extern int g_dtrpw;                   // "DTR PW": raise DTR to power the interface
extern int g_rtspw;                   // "RTS PW": raise RTS to power the interface
extern int g_rawmode;                 // "RAWMODE": echo mode, init commands only
extern int g_passive;                 // "PASSIVE": forces RAWMODE, no pacing
