// Shell options loaded from the settings file.
// Each value is one key of "qarv.ini"; the comment names the key.
#pragma once

// Operating values read at start-up: prosigns, sweep, scan, tuning steps, panel
// and radio values, antennas, transverters, timing.
extern int g_steppir;  // "STEPPIR"
extern int g_pcutc;  // "PC_UTC"
extern int g_fscanincr;  // "FSCAN INCR"
extern int g_spvisible;  // "SP VISIBLE"

// Preferences: filter sets and clock options.
extern int g_local24hour;  // "LOCAL 24 HOUR"
extern int g_autodst;  // "AUTO DST"
extern int g_mutealways;  // "MUTE ALWAYS"
extern int g_utchourcorrection;  // "UTC_HOUR_CORRECTION"
extern int g_utcminutecorrection;  // "UTC_MINUTE_CORRECTION"

// Window places ("%04d %04d" of left and top) and visibility.
extern int g_wavevisible;  // "WAVE VISIBLE"
extern int g_dstarvisible;  // "DSTAR VISIBLE"
extern int g_qarvmemvisible;  // "QARVMEM VISIBLE"

// Radio, VOX and keyer values.
extern int g_controlbar;  // "CONTROLBAR"
extern int g_event;  // "EVENT"

// Devices, control surfaces, addresses, ports and network links.
extern char g_serialabcomport[40];  // "SERIAL AB COMPORT"
extern char g_autoprogramstartfolder[64];  // "AUTO PROGRAM START FOLDER"
