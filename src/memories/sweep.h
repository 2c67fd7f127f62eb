// The spectrum sweep: its trace buffer and the end of a sweep run.
#pragma once
#include <cstdint>

#include "memories/sweep_panel.h"

constexpr int kSweepSamples = 700;
extern std::uint16_t* g_sweeptrace;  // one sample per sweep step
extern int g_sweeppause;             // the sweep waits for the end of a transmission

void EndSweep();
