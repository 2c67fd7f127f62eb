// Radio initialisation and the state push: InitRadio pushes every saved
// setting to the radio; OnSwl compares the panel's values with the copies
// last sent and calls the setter of each value that changed.
#pragma once

#include "civ/civ_timers.h"  // the timers it arms

extern int g_allowed;         // set by InitRadio: frequency sends may go out
extern int g_swlpending;      // a state push requested while the frame reader was busy
extern int g_firstpoll;       // start-up hold ("QARV START"): some setters send nothing
extern int g_rfstarthold;     // "QARV START": preamp and attenuator are stored, not sent
extern int g_forcepush;       // OnSwl sends every compared value, changed or not
extern int g_reinitrequest;   // the next OnSwl reopens the port and runs InitRadio
extern int g_resendfreqs;     // InitRadio sends the frequencies (a memory transfer ended)
extern int g_radioinitialised;  // InitRadio has run (read by the radio server)
extern int g_powerchanged;    // the transmit power changed: OnSwl sends it
extern int g_keyerspeedchanged;  // the keyer speed changed: OnSwl applies it
extern int g_tunerstate;      // internal tuner: 1 requested, 2 running, 6 start, 0 idle
extern int g_tuneraction;     // tuner command byte (1C 01 x)
extern int g_userbutton;      // 1..4: user command to send on the next push
extern int g_bandchanged;     // the band changed since the last push
extern int g_tunesendpending; // a tuning send is waiting for TIMER_NEW_TUNING
extern int g_vfoadelaypending;  // TIMER_VFOA_DELAY runs
extern int g_bandreportpending; // TIMER_THP_FREQ runs
extern int g_mirrored1415;    // last mirrored 14 15 level; 1000 lets the next one through

// Pushes every saved setting to the radio ("Initializing Radio").
void InitRadio();
// Thin entry to radio initialisation, used by the main loop and the replies.
void FirstPoll();
// The general state push: sends every panel value that changed.
void OnSwl();
// The remote link's entry to OnSwl.
void RemoteOnSwl();
