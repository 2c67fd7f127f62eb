#include "memories/station_hooks.h"

// Built with the sweep and the memory transfer (ShowStationName is in stations.cpp).
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
