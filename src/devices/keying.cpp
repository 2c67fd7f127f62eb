#include "devices/keying.h"

int g_rtscw = 0;
int g_dtrcw = 0;
int g_rtsxm = 0;
int g_keyingstate = 0;
int g_pulsekeying = 0;
int g_pulsephase = 0;
int g_idarmed = 0;
int g_idjustarmed = 0;
int g_idflash = 0;
int g_idrestorepending = 0;
char g_idsavedmode = '3';
int g_idsavedfilter = 0;
int g_idsavedoffset = 0;

// Built with keying and the automatic identification.
void autoid() {}

// Built with keying.
void keyon() {}
void keyoff() {}
void KeyOnOff(int on) { (void)on; }

void ReleaseAllKeying(const char* why) { (void)why; }
