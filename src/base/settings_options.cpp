#include "base/settings_options.h"


char g_userbuttonvalue[4][40] = {"0", "0", "0", "0"};
int g_e192 = 0;
int g_attn = 0;
int g_attnb = 0;
int g_ssblowcut = 200;
int g_sweeprange = 2;
int g_sweepthresh = 0;
char g_sweepfreq[40] = "14.000000";
int g_sweepcenter = 0;
int g_sweepstyle = 0;
int g_rttymode = 1;
int g_rttymode2 = 0;
int g_rttyoffset2 = 2125;
int g_mutespeakeronly = 0;
int g_vaant = 1;
int g_vbant = 0;
int g_vaantb = 1;
int g_vbantb = 0;
int g_samstep = 1;
int g_sweepformat = 0;
int g_nap3 = 0;
double g_4041meterline = 7.3;
double g_fscanstart = 15.000;
double g_fscanstop = 16.000;
int g_fscandirection = 1;
int g_fscandwell = 1;
double g_scanfreq = 0;
char g_antname[8][11] = {"PELX", "PELX", "PELX", "PELX", "PELX", "PELX", "PELX", "PELX"};
int g_swlbandset = 0;
int g_sixmeterpower = 5;
int g_sixmeterpowerlast = 500;
int g_sixmetercrystalcorrection = 0;
double g_sixmeterif = 14;
int g_twometercrystalcorrection = 0;
double g_twometerif = 28;
int g_sqlsetting = 0;
int g_rfgainb = 0;
int g_digival = 0;
int g_digivalb = 0;
int g_nbvalb = 0;
int g_nrvalb = 0;
int g_noisesetting = 0;
int g_digi = 0;
int g_digib = 0;
int g_mnotchb = 0;
int g_agcvrb = 0;
int g_apfb = 0;
int g_tpfb = 0;
int g_nreducb = 0;
int g_nblkb = 0;
int g_ipplus = 0;
int g_manualnotchwidth = 0;
int g_anotchb = 0;
int g_apfvalb = 0;
int g_manntvalb = 0;
int g_agcvrvalb = 0;
int g_preampb = 0;
int g_battn = 0;
int g_notchsetting = 0;

char g_hamcall[40] = "";
int g_settingspage = 21;

char g_txoptionsplace[40] = "0014 0359";
int g_txoptionsvisible = 1;

plat::Colour g_settingsbackgroundcolor = 0x00FFFF;

int g_callsize = 27;
double g_settingsscalex = 1.40;
double g_settingsscaley = 1.40;

int g_rttymicgain = 3;
int g_monitor = 0;
int g_fesko = 0;
int g_tooltip = 1;

char g_lp100comport[40] = "0";
char g_powermastercomport[40] = "0";
char g_serialcdcomport[40] = "0";
char g_rotorcomport[40] = "0";
char g_thpcomport[40] = "0";
char g_pw1comport[40] = "0";
char g_om4comport[40] = "0";
int g_pw1baud = 9600;
int g_om4baud = 9600;
char g_alpha87acomport[40] = "0";
char g_acomcomport[40] = "0";
char g_palstarcomport[40] = "0";
char g_zuncomport[40] = "0";
long g_thpbaud = 9600;
long g_alpha87abaud = 4800;
long g_palstarbaud = 9600;
long g_acombaud = 1200;
int g_rotorlowlimit = 0;
int g_rotorhighlimit = 359;
int g_smeterlite = 0;
char g_autoprogramstart[64] = "";

int g_nokeepalive = 0;
int g_sqllevel = 0;
int g_zix7 = 0;
int g_x72 = 0;
int g_remotecontrol = 0;
char g_remotecontrolfilepath[64] = "";
int g_notchscale = 8;
int g_idtimer = 53;
int g_radiopanel = 0;

int g_radiotypesel = 0;

int g_toptenoption = 0;
char g_rotortarget[4] = "";
int g_ampoperate = 0;
int g_amppower = 0;
int g_thpchosen[4] = {};
