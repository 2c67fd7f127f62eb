// What the station memories, the spectrum sweep and the radio-memory
// transfer do when the radio engine announces (memories/memory_events.cpp).
#pragma once
#include <cstdint>

// Shows the station name stored for `mhz`.
void ShowStationName(double mhz);
// Sweep: moves its marker, takes a reading.
void MoveSweepMarker(double mhz);
void SweepRetrigger(double mhz, int value);
// Radio-memory save: the replies of the channel being saved.
// The frequency reply: true when the save took it; false when the
// radio cannot be tuned there and it is processed as any frequency.
bool MemorySaveFrequency(double mhz);
void MemorySaveMode(int civMode, int filter);
void MemorySaveFilterWidth(int hz);
void MemorySaveContents(const std::uint8_t* frame, int length);
