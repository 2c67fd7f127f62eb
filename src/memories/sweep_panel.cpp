#include "memories/sweep_panel.h"

CSweepPanel* g_sweeppanel = nullptr;

// Built with the sweep.
void CSweepPanel::SetMarker(double) {}
void CSweepPanel::StartSweep() {}
void CSweepPanel::StopSweep() {}
