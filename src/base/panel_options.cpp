#include "base/panel_options.h"


char g_userbuttonname[4][10] = {"User 1", "User 2", "User 3", "User 4"};
int g_yaltkeyer = 0;
int g_amptunedisablekeyingloop = 0;
int g_pbtscale = 8;
int g_ritscale = 8;
char g_rttylabel[30] = "FT8 ";
char g_rttylabel2[30] = "FT8";
int g_manualdatamode = 0;
int g_variablefrequencyscale = 0;
int g_removeextradecimal = 0;
int g_step1 = 1;
int g_step2 = 10;
int g_step3 = 100;
int g_step4 = 1000;
int g_step5 = 5000;
int g_step6 = 10000;
int g_amstep = 5000;
int g_ssbstep = 10;
int g_cwstep = 10;
int g_fmstep = 1000;
int g_rttystep = 10;
int g_mwstep = 10000;
int g_cwfilterposition = 9;
int g_amfilterposition = 2;
int g_rttyfilterposition = 8;
int g_rtty2filterposition = 8;
int g_ssbfilterposition = 6;
int g_voxchange = 0;
int g_speechsav = 0;

int g_filterbuttons[12] = {16, 17, 18, 27, 28, 29, 30, 33, 45, 48, 53, 57};
int g_amfilterbuttons[12] = {1, 6, 11, 16, 19, 21, 24, 26, 29, 31, 34, 36};
double g_step = 1000;
double g_stepb = 0;
int g_ssbagc = 0;
int g_cwagc = 0;
int g_fmagc = 0;
int g_amagc = 0;
int g_rttyagc = 0;
int g_keyerforcedoff = 0;
int g_keyerstate = 0;

char g_radioplace[40] = "";
int g_radiovisible = 1;
char g_mrplace[40] = "";

plat::Colour g_callcolor = 0x000000;
plat::Colour g_loctimecolor = 0x00FF00;
plat::Colour g_utctimecolor = 0xFFFF00;
plat::Colour g_centerbackcolor = 0xFFFFFF;
plat::Colour g_leftrightbackcolor = 0xFFFFFF;
plat::Colour g_buttontextcolor = 0x000000;
plat::Colour g_radiobackgroundcolor = 0xC0C000;
plat::Colour g_buttonselectedtextcolor = 0xFF0000;
plat::Colour g_specialbuttonselectedtextcolor = 0x0000FF;

double g_scalex = 1.4;
double g_scaley = 1.4;

int g_nospeedpot = 0;
int g_touchscreen = 0;
int g_crossband = 0;

int g_tmate2peak = 0;
char g_caption[12][10] = {"60", "49", "41", "31", "25", "22", "19", "16", "13", "11", "M W", "SWL"};
double g_sixtymlower = 0;
double g_sixtymupper = 0;
