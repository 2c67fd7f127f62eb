// The serial CW keyer.
#pragma once
#include <cstdint>

extern int g_yaltstate;       // host-open state: 0 send, 1 waiting, -3 reopened
extern int g_yaltcount;       // seconds waited for the host-open answer
extern int g_yaltversion;     // firmware version the keyer reported
extern int g_yaltinflight;    // characters sent and not yet echoed
extern int g_yaltthreshold;   // in-flight threshold (initial 3)
extern int g_yaltpause;       // the keyer pause mark
// CW element times in ms and their base copies (kstats sets both).
extern int g_spc, g_dit, g_dah, g_bspc;
extern int g_spcbase, g_ditbase, g_dahbase, g_bspcbase;

void ReadYaltPort();
void SendToYalt(const std::uint8_t* data, int length);
void CloseKeyerPort();
// Element times from the speed (wpm).
void kstats(int speed);
void SetKeyerSpeed(int speed);
