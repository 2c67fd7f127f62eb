// The devices' side of the engine's announcements: CAT-out, the band
// decoder, antenna outputs, program links, keying, the keyer, the tuner,
// the external meters, the control surfaces and the remote link. The
// program registers it with AddEngineListener at start-up.
#pragma once
#include "civ/engine_events.h"

EngineListener& DeviceEvents();
