// Memory, sweep and lookup options loaded from the settings file.
// Each value is one key of "qarv.ini"; the comment names the key.
#pragma once
#include "platform/paint.h"

// Operating values: steps, sweep and scan, radio and panel state, timing.
extern int g_stationsort;  // "STATION SORT"
extern int g_autotune;  // "AUTO TUNE"
extern int g_dwell;  // "DWELL"
extern int g_sweepdelay;  // "SWEEP DELAY"
extern int g_sweeppulse;  // "SWEEP PULSE"
extern int g_sweepmaxhold;  // "SWEEP MAX HOLD"
extern int g_bigsweep;  // "BIG SWEEP"

// Filter sets, preferences and per-mode values.
extern int g_rx320duringsweep;  // "RX320 DURING SWEEP"
extern int g_savefmcts;  // "SAVE FMCTS"
extern char g_memfilename[128];  // "MEMORY FILE"

// Window places ("%04d %04d" of left and top) and visibility.
extern char g_lookupplace[40];  // "[LOOKUP WINDOW] "LOCATION""
extern char g_sweepplace[40];  // "[SWEEP WINDOW] "LOCATION""
extern int g_sweepvisible;  // "VISIBLE"
extern int g_sweepheight;  // "HEIGHT"
extern char g_memoryplace[40];  // "[MEMORY WINDOW] "LOCATION""
extern char g_craplace[40];  // "[CRA WINDOW] "LOCATION""
extern char g_dstarplace[40];  // "[DSTAR WINDOW] "LOCATION""
extern char g_qarvmemplace[40];  // "[QARVMEM WINDOW] "LOCATION""
extern char g_spplace[40];  // "[SP WINDOW] "LOCATION""
extern int g_memoryvisible;  // "VISIBLE"

// Colours (saved by name).
extern plat::Colour g_cwbackgroundcolor;  // "CW BACKGROUND COLOR"
extern plat::Colour g_spmembackgroundcolor;  // "SPMEM BACKGROUND COLOR"

// Radio, VOX and keyer values.
extern int g_hires;  // "HIRES"
extern int g_automemselect;  // "AUTO MEM SELECT"

// Devices, control surfaces, addresses, ports and network links.
extern int g_sweepintegrate;  // "SWEEP INTEGRATE"
extern int g_sweepfilter;  // "SWEEP FILTER"
extern int g_membank;  // "BANK"

// Read, never saved: the file keeps what the operator wrote.
extern int g_memcrash;  // "MEMORY CRASH"
extern char g_hamcalllibrary[256];  // [PREFERENCE] "HAMCALL LIBRARY"
