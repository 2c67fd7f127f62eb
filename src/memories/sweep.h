// The spectrum sweep and its panel.
#pragma once
#include <cstdint>

constexpr int kSweepSamples = 700;
extern std::uint16_t* g_sweeptrace;  // one sample per sweep step
extern int g_sweeppause;             // the sweep waits for the end of a transmission

class CSweepPanel {
public:
    void SetMarker(double mhz);
    void StartSweep();
    void StopSweep();
};
extern CSweepPanel* g_sweeppanel;  // null until the sweep panel is built

void EndSweep();
