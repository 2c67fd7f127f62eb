// Radio search: the port on which the program's own frames come back, then
// the baud rate at which the radio answers.
#pragma once

extern int g_autobaud;  // 0 off, 1 baud search, 2 port search
extern int g_echoseen;  // the program's own frame came back during the port search

// The radio answered during the baud search from address `from`.
void RadioFound(int from);

// TIMER_AUTOBAUD expiry: the next step of the search.
void RadioSearchStep();
