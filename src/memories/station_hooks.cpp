#include "memories/station_hooks.h"

// The sweep hooks are in sweep.cpp, the memory-save replies in
// radio_memories.cpp and ShowStationName in stations.cpp.
