#include "civ/frequency_options.h"

int g_savemem = 0;
int g_memscan = 0;
int g_doingcwid = 0;
int g_metertype = 4;
int g_experton = 0;
int g_amtnactive = 0;
int g_radiodatamode = 0;
int g_afskhold = 0;
