#include "memories/sweep.h"

std::uint16_t* g_sweeptrace = nullptr;
int g_sweeppause = 0;
CSweepPanel* g_sweeppanel = nullptr;

// Built with the sweep.
void CSweepPanel::SetMarker(double) {}
void CSweepPanel::StartSweep() {}
void CSweepPanel::StopSweep() {}
void EndSweep() {}
