#include "civ/radio_init.h"

int g_allowed = 0;
int g_swlpending = 0;

// Built with radio initialisation.
void FirstPoll() {}

// Built with the state push.
void OnSwl() {}
