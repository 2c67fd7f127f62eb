// Linear amplifiers on serial ports (Alpha 87A, Acom, IC-PW1, OM4) and the
// PGXL network amplifier: their ports and the operations the main loop runs.
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
int GetAcomSegment(double mhz);
void SendFreqToPW1();
void SendFreqToOM4();
void SendModeToPW1();
void SendPGXLStatus();
void ProcessAmpWindow();
void StartPGXLDiscovery();
// The network amplifier's address changed: its socket is made anew on the next send.
void ResetAmpSocket();
