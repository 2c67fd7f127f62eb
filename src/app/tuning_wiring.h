// Start-up wiring of the tuning state's listeners: the radio panel shows
// what the engine announces.
#pragma once

void WireTuningView();
