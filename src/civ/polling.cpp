#include "civ/polling.h"

int g_mirror = 0;
int g_mirrorpoll = 60;
int g_metersuspend = 0;

// Built with polling.
void PollMeters() {}
void PollRadio() {}
