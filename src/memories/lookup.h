// Callsign lookup.
#pragma once

extern int g_hamcallloaded;  // the callsign library is loaded

void LoadHamCallLibrary();
