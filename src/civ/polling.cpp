#include "civ/polling.h"

int g_mirror = 0;
int g_mirrorpoll = 60;
