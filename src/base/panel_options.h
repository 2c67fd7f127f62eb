// Radio window options loaded from the settings file.
// Each value is one key of "qarv.ini"; the comment names the key.
#pragma once
#include "platform/paint.h"

// Operating values: steps, sweep and scan, radio and panel state, timing.
extern char g_userbuttonname[4][10];  // "user 1".."user 4"
extern int g_yaltkeyer;  // "YALT KEYER"
extern int g_amptunedisablekeyingloop;  // "AMPTUNE DISABLE KEYING LOOP"
extern int g_pbtscale;  // "PBT_SCALE"
extern int g_ritscale;  // "RIT_SCALE"
extern char g_rttylabel[30];  // "RTTY LABEL"
extern char g_rttylabel2[30];  // "RTTY LABEL2"
extern int g_manualdatamode;  // "MANUAL DATAMODE"
extern int g_variablefrequencyscale;  // "VARIABLE FREQUENCY SCALE"
extern int g_removeextradecimal;  // "REMOVE EXTRA DECIMAL"
extern int g_step1;  // "STEP1"
extern int g_step2;  // "STEP2"
extern int g_step3;  // "STEP3"
extern int g_step4;  // "STEP4"
extern int g_step5;  // "STEP5"
extern int g_step6;  // "STEP6"
extern int g_amstep;  // "AMSTEP"
extern int g_ssbstep;  // "SSBSTEP"
extern int g_cwstep;  // "CWSTEP"
extern int g_fmstep;  // "FMSTEP"
extern int g_rttystep;  // "RTTYSTEP"
extern int g_mwstep;  // "MWSTEP"
extern int g_cwfilterposition;  // "CW FILTER POSITION"
extern int g_amfilterposition;  // "AM FILTER POSITION"
extern int g_rttyfilterposition;  // "RTTY FILTER POSITION"
extern int g_rtty2filterposition;  // "RTTY2 FILTER POSITION"
extern int g_ssbfilterposition;  // "SSB FILTER POSITION"
extern int g_voxchange;  // "VOX CHANGE"
extern int g_speechsav;  // "SPEECHSAV"

// Filter sets, preferences and per-mode values.
extern int g_filterbuttons[12];  // "FILTER 1".."FILTER 12"
extern int g_amfilterbuttons[12];  // "AM FILTER 1".."AM FILTER 12"
extern double g_step;  // "STEP"
extern double g_stepb;  // "STEPB"
extern int g_ssbagc;  // "SSBAGC"
extern int g_cwagc;  // "CWAGC"
extern int g_fmagc;  // "FMAGC"
extern int g_amagc;  // "AMAGC"
extern int g_rttyagc;  // "RTTYAGC"
extern int g_keyerforcedoff;  // "KEYER FORCED OFF"
extern int g_keyerstate;  // "KEYER STATE"

// Window places ("%04d %04d" of left and top) and visibility.
extern char g_radioplace[40];  // "[RW] "LOCATION""
extern int g_radiovisible;  // "VISIBLE"
extern char g_mrplace[40];  // "[MR WINDOW] "LOCATION""

// Colours (saved by name).
extern plat::Colour g_callcolor;  // "CALL COLOR"
extern plat::Colour g_loctimecolor;  // "LOC TIME COLOR"
extern plat::Colour g_utctimecolor;  // "UTC TIME COLOR"
extern plat::Colour g_centerbackcolor;  // "CENTER BACK COLOR"
extern plat::Colour g_leftrightbackcolor;  // "LEFT RIGHT BACK COLOR"
extern plat::Colour g_buttontextcolor;  // "BUTTON TEXT COLOR"
extern plat::Colour g_radiobackgroundcolor;  // "RADIO BACKGROUND COLOR"
extern plat::Colour g_buttonselectedtextcolor;  // "BUTTON SELECTED TEXT COLOR"
extern plat::Colour g_specialbuttonselectedtextcolor;  // "SPECIAL BUTTON SELECTED TEXT COLOR"

// Scales and CW volumes.
extern double g_scalex;  // "SCALEX"
extern double g_scaley;  // "SCALEY"

// Radio, VOX and keyer values.
extern int g_nospeedpot;  // "NO SPEED POT"
extern int g_touchscreen;  // "Touch Screen"
extern int g_crossband;  // "CROSSBAND"

// Devices, control surfaces, addresses, ports and network links.
extern int g_tmate2peak;  // "TMATE2 PEAK"
extern char g_caption[12][10];  // "caption 0".."caption 11"
extern double g_sixtymlower;  // "lower limit"
extern double g_sixtymupper;  // "upper limit"
