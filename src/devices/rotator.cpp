#include "devices/rotator.h"

plat::PortHandle g_rotorport = plat::kInvalidPort;
int g_rotorconnected = 0;
int g_rotormoving = 0;
int g_rotorreportpending = 0;
std::uint8_t g_rotorbuffer[3] = {'Z', 0, 0};

// Built with the rotators.
plat::PortHandle OpenRotorPort(long) { return plat::kInvalidPort; }
void ConnectToTavn_rg() {}
void ReadRotorPort() {}
void SendToRotor(const std::uint8_t*, int) {}
void PollRotorHeading() {}
void RG_Tavn_TimeOut() {}
void StartRotor() {}
void StopRotor() {}
