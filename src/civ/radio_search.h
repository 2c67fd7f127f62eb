// Radio search: the port on which the program's own frames come back (the
// CI-V bus echoes every frame), then the baud rate at which the radio
// answers. A radio on a USB CI-V port, which echoes nothing, is found by its
// answer alone. The search ends found, or after one pass over the ports and
// one cycle of the rates, or when it is stopped; unless it found the radio
// it leaves the port and baud that were set before it started. The settings
// window's port list and baud list show what it tries.
#pragma once
#include <string>
#include <vector>

extern int g_autobaud;  // 0 off, 1 baud search, 2 port search
extern int g_echoseen;  // the program's own frame came back during the port search

// Starts the search over `ports` (port names as the settings store them),
// or over the ports the system offers.
void StartRadioSearch(const std::vector<std::string>& ports);
void StartRadioSearch();

// Ends a running search (the operator unticked it, or the program closes)
// with the port and baud the operator had.
void StopRadioSearch();

// The radio answered from address `from` (00: a broadcast answer).
void RadioFound(int from);

// TIMER_AUTOBAUD expiry: the next step of the search.
void RadioSearchStep();

// The rate tried after `baud` (19200, 9600, 4800, 1200, 38400, 57600,
// 115200, 19200 ...); a rate outside the cycle stays as it is.
long NextSearchBaud(long baud);
// The settings window's baud list index of a rate, -1 when not listed.
int BaudComboIndex(long baud);
