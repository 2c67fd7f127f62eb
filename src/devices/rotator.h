// Rotators: the serial rotor and the network rotor link.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern plat::PortHandle g_rotorport;
extern int g_rotorconnected;    // the network rotor is connected
extern int g_rotormoving;
extern int g_rotorreportpending;  // a rotor report waits for the client
extern std::uint8_t g_rotorbuffer[3];

plat::PortHandle OpenRotorPort(long baud);
void ConnectToTavn_rg();
void ReadRotorPort();
void SendToRotor(const std::uint8_t* data, int length);
void PollRotorHeading();
void RG_Tavn_TimeOut();
// Turns the rotor to the bearing typed in the settings window (g_rotortarget).
void StartRotor();
void StopRotor();
