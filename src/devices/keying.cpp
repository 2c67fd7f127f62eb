#include "devices/keying.h"

int g_rtscw = 0;
int g_dtrcw = 0;
int g_rtsxm = 0;

// Built with keying.
void keyon() {}
void KeyOnOff(int on) { (void)on; }
