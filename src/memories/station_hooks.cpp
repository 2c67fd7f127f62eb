#include "memories/station_hooks.h"

// Built with the station memories, the sweep and the memory transfer.
void ShowStationName(double mhz) { (void)mhz; }
void MoveSweepMarker(double mhz) { (void)mhz; }
void SweepRetrigger(double mhz, int value) {
    (void)mhz;
    (void)value;
}
void MemorySaveFrequency(double mhz) { (void)mhz; }
void MemorySaveMode(int civMode, int filter) {
    (void)civMode;
    (void)filter;
}
void MemorySaveFilterWidth(int hz) { (void)hz; }
void MemorySaveContents(const std::uint8_t* frame, int length) {
    (void)frame;
    (void)length;
}
