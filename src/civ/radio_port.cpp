#include "civ/radio_port.h"

plat::PortHandle g_radioport = plat::kInvalidPort;
char g_comport[40] = "COM0";
long g_baud = 19200;
int g_readtimer = 10;
int g_dtrpw = 0;
int g_rtspw = 0;
int g_rawmode = 0;
int g_passive = 0;
