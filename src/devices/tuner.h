// Antenna tuners: the LDG tuners and coax switch, the SteppIR antenna and
// the tuner sequence the main loop drives.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

constexpr int kLdgImageSize = 24000;
extern std::uint8_t* g_ldgimage;  // LDG tuner memory image (ldg.dat)
extern plat::PortHandle g_ldgcoaxport;
extern int g_ldgcoax;             // the LDG coax switch is enabled
extern int g_ldgmemclear;         // memory clear: 2 confirmed, 1 done
extern int g_ldgbusy;
extern int g_tunerpending;        // pending tuner action (10 store)

void ReadLdgPort();
void ReadLdg6();
void sendtoldg(const std::uint8_t* data, int length);
void SendToLdgCoax(const char* text);
void RunTunerSequence();
void TunerRecall();
void autotunerexit();
void ReadLdgFile();
void WriteLdgFile();
void SendToSteppir(const std::uint8_t* data, int length);

// The RTS-pulse flag that travels with the tuner commands of a remote client.
extern int g_ldgrtspulse;
// Parses tuner records in buffer[0..count); returns the unfinished carry.
int ParseLdg(std::uint8_t* buffer, int count);
