#include "devices/keyer.h"

int g_yaltstate = 0;
int g_yaltcount = 0;
int g_yaltversion = 0;
int g_yaltinflight = 0;
int g_yaltthreshold = 3;
int g_yaltpause = 0;
int g_spc = 60, g_dit = 60, g_dah = 180, g_bspc = 100;
int g_spcbase = 60, g_ditbase = 60, g_dahbase = 180, g_bspcbase = 100;

// Built with the serial keyer.
void ReadYaltPort() {}
void SendToYalt(const std::uint8_t*, int) {}
void CloseKeyerPort() {}
void kstats(int) {}
void SetKeyerSpeed(int) {}
