#include "memories/memory_events.h"

#include <cstdint>

#include "memories/radio_memories.h"
#include "memories/station_hooks.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "memories/sweep_panel.h"

namespace {
class Memories final : public EngineListener {
public:
    void SweepFrequency(double mhz) override { MoveSweepMarker(mhz); }
    void SweepReading(double mhz, int level) override { SweepRetrigger(mhz, level); }
    void StopSweep() override {
        if (g_sweeppanel)
            g_sweeppanel->StopSweep();
        else
            EndSweep();
    }
    void SweepKeepsVfoB(double mhz, int mode, int filter) override { SweepKeepVfoB(mhz, mode, filter); }
    void StationFrequency(double mhz) override { ShowStationName(mhz); }
    void ScanNextStation() override { TuneNextStation(1); }
    bool MemoryFrequency(double mhz) override { return MemorySaveFrequency(mhz); }
    void MemoryFilterWidth(int hz) override { MemorySaveFilterWidth(hz); }
    void MemoryMode(int civMode, int filter) override { MemorySaveMode(civMode, filter); }
    void MemoryContents(const std::uint8_t* bytes, int length) override { MemorySaveContents(bytes, length); }
    void MemoryTransferEnds() override { CloseMemoryTransferFile(); }
};
}  // namespace

EngineListener& MemoryEvents() {
    static Memories memories;
    return memories;
}
