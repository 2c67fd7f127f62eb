// The memories' side of the engine's announcements: the sweep, the station
// list and the radio-memory transfer. The program registers it with
// AddEngineListener at start-up.
#pragma once
#include "civ/engine_events.h"

EngineListener& MemoryEvents();
