#include "civ/engine_options.h"

int g_cwspeed = 20;
int g_closing = 0;
int g_pollvfoa = 1;
int g_sqlon = 0;
int g_riton = 0;
int g_xiton = 0;
int g_pbton = 0;
int g_ritoffset = 0;
int g_xitoffset = 0;
int g_passbandshift = 0;
int g_client = 0;
int g_radioserver = 0;
int g_rtscw = 0;
int g_dtrcw = 0;
int g_rtsxm = 0;
