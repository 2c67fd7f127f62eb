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
// The network rotor switch's socket messages.
constexpr unsigned kMsgRgConnect = 0x1805;
constexpr unsigned kMsgRgRead = 0x1806;
void ConnectToTavn_rg();
bool OnRotorSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
// One heading record of the rotor switch (CR, LF and NUL removed).
void ParseTavnRG(const std::uint8_t* record, int length);
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
