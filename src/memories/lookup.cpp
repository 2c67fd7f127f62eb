#include "memories/lookup.h"

int g_hamcallloaded = 0;

// Built with the callsign lookup.
void LoadHamCallLibrary() {}
