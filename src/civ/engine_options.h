// Program-wide values the setters, radio initialisation and the state push
// read whose owners (keyer, close sequence, CAT-out ports, polling, the
// panel's RIT/XIT/PBT controls) come with later subsystems. Each keeps its
// program-wide name.
#pragma once

extern int g_cwspeed;       // CW speed in WPM
extern int g_closing;       // the close sequence runs
extern int g_pollvfoa;      // the mirror poll is on VFO A (cuts go to A, else B)
extern int g_sqlon;         // squelch on
extern int g_riton;         // RIT on
extern int g_xiton;         // XIT on
extern int g_pbton;         // twin PBT on
extern int g_ritoffset;     // RIT offset in Hz
extern int g_xitoffset;     // XIT offset in Hz
extern int g_passbandshift; // PBT shift in Hz for the Perseus passband (0 while PBT is off)
extern int g_client;        // "OPERATOR CLIENT": this program drives a remote radio
extern int g_radioserver;   // "RADIO SERVER": this program serves its radio to a client
extern int g_rtscw;         // "RTS CW": key CW with RTS
extern int g_dtrcw;         // "DTR CW": key CW with DTR
extern int g_rtsxm;         // "RTS XM": transmit with RTS
