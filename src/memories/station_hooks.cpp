#include "memories/station_hooks.h"

// Built with the station memories. The sweep hooks are in sweep.cpp.
void ShowStationName(double mhz) { (void)mhz; }
// The memory-save replies are handled in radio_memories.cpp.
