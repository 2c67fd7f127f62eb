#include "memories/station_hooks.h"

// Built with the station memories and the sweep.
void ShowStationName(double mhz) { (void)mhz; }
void MoveSweepMarker(double mhz) { (void)mhz; }
void SweepRetrigger(double mhz, int value) {
    (void)mhz;
    (void)value;
}
// The memory-save replies are handled in radio_memories.cpp.
