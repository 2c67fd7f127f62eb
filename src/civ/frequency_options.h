// Program-wide values the frequency and reply code reads whose owners come
// with later subsystems (memory transfer and scan, CW identification, meter
// selection, amplifiers, sweep). Each keeps its program-wide name.
#pragma once

extern int g_savemem;        // radio-memory transfer: 0 none, else the channel
extern int g_memscan;        // memory scan: 0 off, 1 starting, 2 running
extern int g_doingcwid;      // a CW identification is being sent
extern int g_metertype;      // what the panel meter shows: 4 S, 1 power, 3 SWR, 5 COMP, 6 ALC
extern int g_experton;       // the Expert amplifier is on
extern int g_amtnactive;     // an amplifier tune runs
extern int g_radiodatamode;  // data mode as the radio reports it (AFSK)
extern int g_afskhold;       // replies to skip after a file exchange (AFSK)
