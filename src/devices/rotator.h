// Rotators: the serial rotor (the "AP1" command set, or a text protocol)
// and the network rotor switch.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern plat::PortHandle g_rotorport;
extern int g_rotorconnected;    // the network rotor is connected
extern int g_rotormoving;
extern int g_rotorreportpending;  // a rotor report waits for the client
extern std::uint8_t g_rotorbuffer[3];
extern char g_rotorbearing[4];  // target bearing, three digits
extern char g_rotorshown[4];    // last bearing received, as shown

plat::PortHandle OpenRotorPort(long baud);
void ConnectToTavn_rg();
void ReadRotorPort();
void SendToRotor(const std::uint8_t* data, int length);
void PollRotorHeading();
void RG_Tavn_TimeOut();
// Sets the target from an operator's entry: 0..360, else refused (false).
bool SetRotorBearing(int degrees);
// Turns to g_rotorbearing / stops the rotor.
void StartRotor();
void StopRotor();
// Serial rotor replies: acts on every whole record, returns the carry.
int ParseRotor(std::uint8_t* buf, int len);
