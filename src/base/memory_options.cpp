#include "base/memory_options.h"


int g_stationsort = 0;
int g_autotune = 0;
int g_dwell = 2;
int g_sweepdelay = 30;
int g_sweeppulse = 0;
int g_sweepmaxhold = 0;
int g_bigsweep = 0;

int g_rx320duringsweep = 1;
int g_savefmcts = 0;
char g_memfilename[128] = "WORLD.RMY";

char g_lookupplace[40] = "";
char g_sweepplace[40] = "";
int g_sweepvisible = 0;
int g_sweepheight = 148;
char g_memoryplace[40] = "";
char g_craplace[40] = "";
char g_dstarplace[40] = "";
char g_qarvmemplace[40] = "";
char g_spplace[40] = "";
int g_memoryvisible = 0;

plat::Colour g_cwbackgroundcolor = 0x000000;
plat::Colour g_spmembackgroundcolor = 0xFF0000;

int g_hires = 0;
int g_automemselect = 1;

int g_sweepintegrate = 4;
int g_sweepfilter = 36;
int g_membank = 0;

int g_memcrash = 0;
char g_hamcalllibrary[256] = "hamcal32.so";
