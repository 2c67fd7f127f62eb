// Options that only the settings window and the settings store touch.
// Each value is one key of "qarv.ini"; the comment names the key.
#pragma once
#include <string>

#include "platform/paint.h"

// Operating values: steps, sweep and scan, radio and panel state, timing.
extern char g_userbuttonvalue[4][40];  // "userval 1".."userval 4"
extern int g_e192;  // "E192"
extern int g_attn;  // "ATTN"
extern int g_attnb;  // "ATTNB"
extern int g_ssblowcut;  // "SSB LOW CUT"
extern int g_sweeprange;  // "SWEEP RANGE"
extern int g_sweepthresh;  // "SWEEP THRESH"
extern char g_sweepfreq[40];  // "SWEEP FREQ"
extern int g_sweepcenter;  // "SWEEP CENTER"
extern int g_sweepstyle;  // "SWEEP STYLE"
extern int g_rttymode;  // "RTTY MODE"
extern int g_rttymode2;  // "RTTY MODE2"
extern int g_rttyoffset2;  // "RTTY OFFSET2"
extern int g_mutespeakeronly;  // "MUTE SPEAKER ONLY"
extern int g_vaant;  // "VA ANT"
extern int g_vbant;  // "VB ANT"
extern int g_vaantb;  // "VA ANTB"
extern int g_vbantb;  // "VB ANTB"
extern int g_samstep;  // "SAMSTEP"
extern int g_sweepformat;  // "SWEEP FORMAT"
extern int g_nap3;  // "NAP3"
extern double g_4041meterline;  // "4041 meter line"
extern double g_fscanstart;  // "FSCAN START"
extern double g_fscanstop;  // "FSCAN STOP"
extern int g_fscandirection;  // "FSCAN DIRECTION"
extern int g_fscandwell;  // "FSCAN DWELL"
extern double g_scanfreq;  // range scan frequency (MHz); 0 when no scan is set up
extern char g_antname[8][11];  // "ANT 1 NAME".."ANT 8 NAME"
extern int g_swlbandset;  // "FT8 BANDS": the SWL Band Assign page's set, 1 FT8, 0 SWL
extern int g_sixmeterpower;  // "SIX METER POWER"
extern int g_sixmeterpowerlast;  // "SIX METER POWER LAST"
extern int g_sixmetercrystalcorrection;  // "SIX METER CRYSTAL CORRECTION"
extern double g_sixmeterif;  // "SIX METER IF"
extern int g_twometercrystalcorrection;  // "TWO METER CRYSTAL CORRECTION"
extern double g_twometerif;  // "TWO METER IF"
extern int g_sqlsetting;  // "SQL SETTING"
extern int g_rfgainb;  // "RF GAINB"
extern int g_digival;  // "DIGI VAL"
extern int g_digivalb;  // "DIGI VALB"
extern int g_nbvalb;  // "NB VALB"
extern int g_nrvalb;  // "NR VALB"
extern int g_noisesetting;  // "NOISE SETTING"
extern int g_digi;  // "DIGI"
extern int g_digib;  // "DIGIB"
extern int g_mnotchb;  // "MNOTCHB"
extern int g_agcvrb;  // "AGCVRB"
extern int g_apfb;  // "APFB"
extern int g_tpfb;  // "TPFB"
extern int g_nreducb;  // "NREDUCB"
extern int g_nblkb;  // "NBLKB"
extern int g_ipplus;  // "IPPLUS"
extern int g_manualnotchwidth;  // "MANUAL NOTCH WIDTH"
extern int g_anotchb;  // "ANOTCHB"
extern int g_apfvalb;  // "APFVALB"
extern int g_manntvalb;  // "MANNTVALB"
extern int g_agcvrvalb;  // "AGCVRVALB"
extern int g_preampb;  // "PREAMPB"
extern int g_battn;  // "BATTN"
extern int g_notchsetting;  // "NOTCH SETTING"

// Filter sets, preferences and per-mode values.
extern char g_hamcall[40];  // "HAM CALL"
extern int g_settingspage;  // "SELECTION"

// Window places ("%04d %04d" of left and top) and visibility.
extern char g_txoptionsplace[40];  // "[TX OPTIONS WINDOW] "LOCATION""
extern int g_txoptionsvisible;  // "VISIBLE"

// Colours (saved by name).
extern plat::Colour g_settingsbackgroundcolor;  // "SETTINGS BACKGROUND COLOR"

// Scales and CW volumes.
extern int g_callsize;  // "CALL SIZE"
extern double g_settingsscalex;  // "SETTINGS SCALEX"
extern double g_settingsscaley;  // "SETTINGS SCALEY"

// Radio, VOX and keyer values.
extern int g_rttymicgain;  // "RTTY MIC GAIN"
extern int g_monitor;  // "MONITOR"
extern int g_fesko;  // "FESKO"
extern int g_tooltip;  // "TOOLTIP"

// Devices, control surfaces, addresses, ports and network links.
extern char g_lp100comport[40];  // "LP100 COMPORT"
extern char g_powermastercomport[40];  // "POWERMASTER COMPORT"
extern char g_serialcdcomport[40];  // "SERIAL CD COMPORT"
extern char g_rotorcomport[40];  // "ROTOR COMPORT"
extern char g_thpcomport[40];  // "THP COMPORT"
extern char g_pw1comport[40];  // "PW1 COMPORT"
extern char g_om4comport[40];  // "OM4 COMPORT"
extern int g_pw1baud;  // "PW1 BAUD"
extern int g_om4baud;  // "OM4 BAUD"
extern char g_alpha87acomport[40];  // "ALPHA 87A COMPORT"
extern char g_acomcomport[40];  // "ACOM COMPORT"
extern char g_palstarcomport[40];  // "PALSTAR COMPORT"
extern char g_zuncomport[40];  // "ZUN COMPORT"
extern long g_thpbaud;  // "THP BAUD"
extern long g_alpha87abaud;  // "ALPHA 87A BAUD"
extern long g_palstarbaud;  // "PALSTAR BAUD"
extern long g_acombaud;  // "ACOM BAUD"
extern int g_rotorlowlimit;  // "ROTOR LOW LIMIT"
extern int g_rotorhighlimit;  // "ROTOR HIGH LIMIT"
extern int g_smeterlite;  // "SMETER LITE"
extern char g_autoprogramstart[64];  // "AUTO PROGRAM START"

// Read, never saved: the file keeps what the operator wrote.
extern int g_nokeepalive;  // "NO KEEP ALIVE"
extern int g_sqllevel;  // "SQL LEVEL"
extern int g_zix7;  // "ZIX7"
extern int g_x72;  // "X72"
extern int g_remotecontrol;  // "REMOTE CONTROL"
extern char g_remotecontrolfilepath[64];  // "REMOTE CONTROL FILE PATH"
extern int g_notchscale;  // "NOTCH_SCALE"
extern int g_idtimer;  // "ID TIMER"
extern int g_radiopanel;  // "RADIO_PANEL"

// The settings window's radio-type list selection, saved as "QARV" (the
// effective type after the start-up fix-up is saved as "OLD QARV").
extern int g_radiotypesel;

// Held by the settings window, in no settings key.
extern int g_toptenoption;       // TopTen devices option: 0 none, 1, 2
extern char g_rotortarget[4];    // bearing typed for the rotor ("%03d")
extern int g_ampoperate;         // the amplifier's operate button (Acom 2000, Alpha 87A)
extern int g_amppower;           // the Alpha 87A's power button
// CAT-out ports 2..5 chosen in their lists (an entry other than "NONE").
extern int g_thpchosen[4];
